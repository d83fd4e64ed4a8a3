#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvanta::sim {

// Codes picture rows as the stream of the picture transfer: a repeat token (128 + N,
// then one byte drawn N times) or a literal token (N, then N bytes), N at most 127.
// The rows are one run of bytes: tokens carry on across row ends, and the stream ends
// with the last token, exactly at the end of the last row.
std::vector<std::uint8_t> encodeRunLength(std::span<const std::uint8_t> rows);

} // namespace orvanta::sim
