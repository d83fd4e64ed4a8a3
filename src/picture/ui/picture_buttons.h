#pragma once

#include "picture/ui/picture_window.h"

#include <array>
#include <string_view>

namespace orvanta::picture {

// The picture window's column of buttons, top to bottom, each with its handler.
struct PictureButton
{
    std::string_view name;
    std::string_view caption;
    std::string_view tooltip; // empty: none
    int top;
    int height;
    void (PictureWindow::*click)();
};

inline constexpr int kButtonLeft = 544;
inline constexpr int kButtonWidth = 65;

inline constexpr std::array<PictureButton, 8> kPictureButtons{{
    {"cmdDownload", "Download Single Frame", "Down loads screen data from the Orvanta", 16, 49,
        &PictureWindow::cmdDownload_Click},
    {"cmdAbort", "Stop Download", "Stops the download from the Orvanta", 80, 41, &PictureWindow::cmdAbort_Click},
    {"cmdContinuous", "Continuous Download", "", 136, 41, &PictureWindow::cmdContinuous_Click},
    {"cmdConvert", "Convert to Black on White", "Use before printing an image", 200, 49,
        &PictureWindow::cmdConvert_Click},
    {"cmdPrint", "Print  Frame", "Send image to a printer", 280, 41, &PictureWindow::cmdPrint_Click},
    {"cmdGetBMP", "Store or Recall Frames", "Allows the screen images to be stored or recalled from disk", 336, 57,
        &PictureWindow::cmdGetBMP_Click},
    {"cmdClear", "Clear Display", "Clears the screen", 416, 33, &PictureWindow::cmdClear_Click},
    {"cmdExit", "Exit", "Return to main screen", 472, 33, &PictureWindow::cmdExit_Click},
}};

inline constexpr std::array<std::string_view, 9> kPictureTabOrder{
    "cmdClear",
    "cmdExit",
    "cmdAbort",
    "picDownload",
    "cmdGetBMP",
    "cmdDownload",
    "cmdPrint",
    "cmdConvert",
    "cmdContinuous",
};

// Hidden in this order for printing, and shown again in the same order.
inline constexpr std::array<std::string_view, 8> kPrintHideOrder{
    "cmdDownload",
    "cmdAbort",
    "cmdPrint",
    "cmdGetBMP",
    "cmdClear",
    "cmdExit",
    "cmdConvert",
    "cmdContinuous",
};

} // namespace orvanta::picture
