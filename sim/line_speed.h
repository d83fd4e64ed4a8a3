#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace orvanta::sim {

// A start bit, eight data bits and a stop bit.
constexpr std::int64_t kBitsPerByte = 10;

// How long a line at baud takes to carry one byte; zero for baud 0 (no line speed).
constexpr std::chrono::nanoseconds byteTime(unsigned baud)
{
    return baud == 0 ? std::chrono::nanoseconds::zero()
                     : std::chrono::nanoseconds(kBitsPerByte * 1'000'000'000 / std::int64_t{baud});
}

// The output speed set on the terminal behind fd, custom rates included.
std::optional<unsigned> lineSpeed(int fd);

} // namespace orvanta::sim
