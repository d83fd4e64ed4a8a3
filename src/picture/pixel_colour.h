#pragma once

#include "picture/palette.h"

#include <array>
#include <climits>
#include <span>

namespace orvanta::link {
class StatusBlock;
}

namespace orvanta::picture {

// The colours for the pixel values 1, 2 and 3.
using ValueColours = std::array<PaletteIndex, 3>;

namespace colours {
inline constexpr ValueColours kGrey{palette::kGrey, palette::kLightGrey, palette::kWhite};
inline constexpr ValueColours kRed{palette::kRed, palette::kRed, palette::kLightRed};
inline constexpr ValueColours kGreen{palette::kGreen, palette::kGreen, palette::kLightGreen};
inline constexpr ValueColours kBlue{palette::kBlue, palette::kBlue, palette::kLightBlue};
} // namespace colours

// A band of byte columns of a parade picture: every column below `below`
// that no earlier band took.
struct ColourBand
{
    int below;
    const ValueColours *colours;
};

namespace bands {
inline constexpr std::array<ColourBand, 1> kGreyOnly{{{INT_MAX, &colours::kGrey}}};
inline constexpr std::array<ColourBand, 4> kParadeYrgb{
    {{32, &colours::kGrey}, {64, &colours::kRed}, {96, &colours::kGreen}, {INT_MAX, &colours::kBlue}}};
inline constexpr std::array<ColourBand, 3> kParadeYuv{
    {{43, &colours::kGrey}, {85, &colours::kBlue}, {INT_MAX, &colours::kRed}}};
inline constexpr std::array<ColourBand, 3> kParadeRgb{
    {{43, &colours::kRed}, {85, &colours::kGreen}, {INT_MAX, &colours::kBlue}}};
} // namespace bands

// The bands the status block calls for: colours only for a waveform parade.
std::span<const ColourBand> pictureBands(const link::StatusBlock &status);

// The palette colour of a pixel value 1 to 3 at a byte column.
constexpr PaletteIndex SelectPixelColour(std::span<const ColourBand> bands, int pixelValue, int byteColumn)
{
    for (const ColourBand &band : bands)
        if (byteColumn < band.below)
            return (*band.colours)[pixelValue - 1];
    return palette::kBlack;
}

} // namespace orvanta::picture
