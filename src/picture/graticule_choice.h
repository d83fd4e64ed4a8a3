#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace orvanta::link {
class StatusBlock;
}

namespace orvanta::picture {

// The folder below the working directory that holds the twelve files.
inline constexpr QStringView kGraticuleFolder = u"graticules";

// The twelve files, in the order the picture window checks them when it loads.
inline constexpr std::array<QStringView, 12> kGraticuleFiles{
    u"pal_wfmd.rle",
    u"pal_vecd.rle",
    u"pal_comd.rle",
    u"ntsc_wfmd.rle",
    u"ntsc_vecd.rle",
    u"ntsc_comd.rle",
    u"pal_wfma.rle",
    u"pal_veca.rle",
    u"pal_coma.rle",
    u"ntsc_wfma.rle",
    u"ntsc_veca.rle",
    u"ntsc_coma.rle",
};

struct GraticuleChoice
{
    QString fileName;        // inside the graticule folder; empty: no graticule
    bool smallBoxes = false; // no picture to read; the user is told so
};

// The file for the picture the status block describes.
GraticuleChoice chooseGraticule(const link::StatusBlock &status);

} // namespace orvanta::picture
