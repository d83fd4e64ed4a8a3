#pragma once

#include "logger/ui/logger_window.h"

#include <QStringView>

#include <array>

namespace orvanta::logger {

// The logger window's frames and buttons, in the order they stand.
struct LoggerFrame
{
    QStringView name;
    QStringView caption;
};

struct LoggerButton
{
    QStringView name;
    QStringView caption;
    QStringView tooltip; // empty: none
    QStringView frame;   // empty: on the window, below the text area
    void (LoggerWindow::*click)();
};

inline constexpr std::array<LoggerFrame, 2> kLoggerFrames{{
    {u"Frame1", u"Store Selected Errors Internally"},
    {u"Frame2", u"Monitor Selected Errors in Realtime"},
}};

inline constexpr std::array<LoggerButton, 8> kLoggerButtons{{
    {u"cmdStartlog", u"Start Logging", u"", u"Frame1", &LoggerWindow::cmdStartlog_Click},
    {u"cmdStoplog", u"Stop Logging", u"", u"Frame1", &LoggerWindow::cmdStoplog_Click},
    {u"cmdReadlog", u"Read Stored Log", u"", u"Frame1", &LoggerWindow::cmdReadlog_Click},
    {u"cmdStartreal", u"Start Realtime Log", u"", u"Frame2", &LoggerWindow::cmdStartreal_Click},
    {u"cmdStopreal", u"Stop Realtime Log ", u"", u"Frame2", &LoggerWindow::cmdStopreal_Click},
    {u"cmdPrintLog", u"Print Log", u"", u"", &LoggerWindow::cmdPrintLog_Click},
    {u"cmdClearscn", u"Clear Screen", u"Clear the onscreen messages", u"", &LoggerWindow::cmdClearscn_Click},
    {u"cmdExit", u"Exit", u"Return to the main screen", u"", &LoggerWindow::cmdExit_Click},
}};

} // namespace orvanta::logger
