#pragma once

#include "logger/ui/logger_window.h"

#include <array>
#include <string_view>

namespace orvanta::logger {

// The logger window's frames and buttons, in the order they stand.
struct LoggerFrame
{
    std::string_view name;
    std::string_view caption;
};

struct LoggerButton
{
    std::string_view name;
    std::string_view caption;
    std::string_view tooltip; // empty: none
    std::string_view frame;   // empty: on the window, below the text area
    void (LoggerWindow::*click)();
};

inline constexpr std::array<LoggerFrame, 2> kLoggerFrames{{
    {"Frame1", "Store Selected Errors Internally"},
    {"Frame2", "Monitor Selected Errors in Realtime"},
}};

inline constexpr std::array<LoggerButton, 8> kLoggerButtons{{
    {"cmdStartlog", "Start Logging", "", "Frame1", &LoggerWindow::cmdStartlog_Click},
    {"cmdStoplog", "Stop Logging", "", "Frame1", &LoggerWindow::cmdStoplog_Click},
    {"cmdReadlog", "Read Stored Log", "", "Frame1", &LoggerWindow::cmdReadlog_Click},
    {"cmdStartreal", "Start Realtime Log", "", "Frame2", &LoggerWindow::cmdStartreal_Click},
    {"cmdStopreal", "Stop Realtime Log ", "", "Frame2", &LoggerWindow::cmdStopreal_Click},
    {"cmdPrintLog", "Print Log", "", "", &LoggerWindow::cmdPrintLog_Click},
    {"cmdClearscn", "Clear Screen", "Clear the onscreen messages", "", &LoggerWindow::cmdClearscn_Click},
    {"cmdExit", "Exit", "Return to the main screen", "", &LoggerWindow::cmdExit_Click},
}};

} // namespace orvanta::logger
