#pragma once

#include "link/protocol.h"

#include <chrono>

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::logger {

class LogSink;

// "Read Stored Log": code 8, the heading, then up to 125 requests (code 7),
// each answered by one record, taken once 34 characters wait. Ends at the
// record starting "END", at the first request left unanswered, or after the
// 125th record.
class StoredLogReadout
{
public:
    static constexpr int kRequests = 125;
    static constexpr int kRecordSize = link::kLogRecordSize;
    static constexpr std::chrono::milliseconds kSettle{1000};

    enum class Outcome {
        Ended,    // by the end record or after the last request
        TimedOut, // a record did not come: the log ends with the time-out line
        Failed,   // the link failed: said so, port closed
        Stopped,  // the window was closed
        Ending,   // the program is ending
    };

    StoredLogReadout(link::SerialLink &link, LogSink &log);

    Outcome run();
    // The window is closing: no request after the one under way.
    void stop() { stopRequested_ = true; }
    // The last readout ended at its 125th record, with no end record: the
    // instrument may hold more.
    bool reachedLimit() const { return reachedLimit_; }

private:
    Outcome fail();

    link::SerialLink &link_;
    LogSink &log_;
    bool stopRequested_ = false;
    bool reachedLimit_ = false;
};

} // namespace orvanta::logger
