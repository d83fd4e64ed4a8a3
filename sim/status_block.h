#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvanta::sim {

// The instrument's whole front-panel state, as it answers a status request.
inline constexpr std::size_t kStatusLength = 16;
using StatusBlock = std::array<std::uint8_t, kStatusLength>;

// Safe area off, internal reference; waveform, range H, four mag lines; PAL, EDH,
// embedded group 1; trace on; de-emphasis off; SDI 1 lamp lit (lamps are lit low),
// both gamut lamps off.
inline constexpr StatusBlock kDefaultStatus{
    0x03,
    0x21,
    0x00,
    0x00,
    0x80,
    0x0C,
    0x20,
    0x05,
    0x00,
    0x00,
    0x00,
    0x00,
    0x00,
    0x00,
    0x1E,
    0x30,
};

// Exactly 32 hex digits (either case), nothing else.
std::optional<StatusBlock> parseStatusHex(std::string_view text);

} // namespace orvanta::sim
