#pragma once

#include <QRgb>

#include <array>
#include <cstdint>

namespace orvanta::picture {

// A colour of the classic 16-colour palette, by its index.
using PaletteIndex = std::uint8_t;

namespace palette {

inline constexpr PaletteIndex kBlack = 0;
inline constexpr PaletteIndex kBlue = 1;
inline constexpr PaletteIndex kGreen = 2;
inline constexpr PaletteIndex kRed = 4;
inline constexpr PaletteIndex kLightGrey = 7;
inline constexpr PaletteIndex kGrey = 8;
inline constexpr PaletteIndex kLightBlue = 9;
inline constexpr PaletteIndex kLightGreen = 10;
inline constexpr PaletteIndex kLightRed = 12;
inline constexpr PaletteIndex kWhite = 15;

// The toolkit's RGB values for the 16 indexes; the picture uses only the ones named above.
inline constexpr std::array<QRgb, 16> kRgb{
    qRgb(0, 0, 0),
    qRgb(0, 0, 128),
    qRgb(0, 128, 0),
    qRgb(0, 128, 128),
    qRgb(128, 0, 0),
    qRgb(128, 0, 128),
    qRgb(128, 128, 0),
    qRgb(192, 192, 192),
    qRgb(128, 128, 128),
    qRgb(0, 0, 255),
    qRgb(0, 255, 0),
    qRgb(0, 255, 255),
    qRgb(255, 0, 0),
    qRgb(255, 0, 255),
    qRgb(255, 255, 0),
    qRgb(255, 255, 255),
};

constexpr QRgb rgb(PaletteIndex index)
{
    return kRgb[index & 0x0F];
}

} // namespace palette

} // namespace orvanta::picture
