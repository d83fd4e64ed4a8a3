#pragma once

#include <QStringView>

#include <array>

namespace orvanta::picture {

// The picture window's column of buttons, top to bottom.
struct PictureButton
{
    QStringView name;
    QStringView caption;
    QStringView tooltip; // empty: none
    int top;
    int height;
};

inline constexpr int kButtonLeft = 544;
inline constexpr int kButtonWidth = 65;

inline constexpr std::array<PictureButton, 8> kPictureButtons{{
    {u"cmdDownload", u"Download Single Frame", u"Down loads screen data from the Orvanta", 16, 49},
    {u"cmdAbort", u"Stop Download", u"Stops the download from the Orvanta", 80, 41},
    {u"cmdContinuous", u"Continuous Download", u"", 136, 41},
    {u"cmdConvert", u"Convert to Black on White", u"Use before printing an image", 200, 49},
    {u"cmdPrint", u"Print  Frame", u"Send image to a printer", 280, 41},
    {u"cmdGetBMP", u"Store or Recall Frames", u"Allows the screen images to be stored or recalled from disk", 336, 57},
    {u"cmdClear", u"Clear Display", u"Clears the screen", 416, 33},
    {u"cmdExit", u"Exit", u"Return to main screen", 472, 33},
}};

inline constexpr std::array<QStringView, 9> kPictureTabOrder{
    u"cmdClear",
    u"cmdExit",
    u"cmdAbort",
    u"picDownload",
    u"cmdGetBMP",
    u"cmdDownload",
    u"cmdPrint",
    u"cmdConvert",
    u"cmdContinuous",
};

// Hidden in this order for printing, and shown again in the same order.
inline constexpr std::array<QStringView, 8> kPrintHideOrder{
    u"cmdDownload",
    u"cmdAbort",
    u"cmdPrint",
    u"cmdGetBMP",
    u"cmdClear",
    u"cmdExit",
    u"cmdConvert",
    u"cmdContinuous",
};

} // namespace orvanta::picture
