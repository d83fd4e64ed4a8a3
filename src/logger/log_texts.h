#pragma once

#include <QString>
#include <QStringView>

// The fixed texts of the log display and the printed log, exactly as shown.
namespace orvanta::logger::texts {

// The instrument lays its records out under these columns; the program only frames them.
inline constexpr QStringView kHeading = u" Type    Hour   Min   Sec   Source";
inline constexpr QStringView kRuler = u"-----------------------------------------------";
inline constexpr QStringView kLineEnd = u"\r\n";

// A stored record that starts with this ends the stored log.
inline constexpr QStringView kEndMarker = u"END";
inline constexpr QStringView kEndLine = u" End of Internally Logged Errors";
inline constexpr QStringView kTimeoutLine = u"Com Port Timeout\r\n";
inline constexpr QStringView kFinishedLine = u"  Finished Realtime Logging\r\n";

inline constexpr QStringView kLoggerRunning = u" Internal Logger Running";
inline constexpr QStringView kLoggerStopped = u" Internal Logger Stopped";

inline constexpr QStringView kPrintTitle = u"Brellin Orvanta Error Logger";

static_assert(kRuler.size() == 47);

// What a readout and monitoring start the log with.
inline QString headingLines()
{
    QString text;
    text.append(kHeading).append(kLineEnd).append(kRuler).append(kLineEnd);
    return text;
}

} // namespace orvanta::logger::texts
