#pragma once

#include "link/protocol.h"

#include <chrono>

namespace orvanta::link {
class PollSwitch;
class SerialLink;
} // namespace orvanta::link

namespace orvanta::logger {

class LogSink;

// "Start Realtime Log": code 14, the heading, then every error line the
// instrument sends (taken once 34 characters wait, with no time-out) until
// RealtimeActive is cleared; then the closing line if no line waits, and code 16.
class RealtimeMonitor
{
public:
    static constexpr int kLineSize = link::kLogRecordSize;
    static constexpr std::chrono::milliseconds kSettle{1000};

    enum class Outcome {
        Finished, // stopped, code 16 written
        Failed,   // said so, port closed, RealtimeActive left set for whoever ends the output
        Ending,   // the program is ending
    };

    RealtimeMonitor(link::SerialLink &link, link::PollSwitch &poll, LogSink &log);

    Outcome run();
    // Ends the running loop, also one still starting. A flag left set by a
    // failed loop is not cleared here: the poll or a picture download finds it
    // and ends the instrument's output.
    void stop();

private:
    Outcome monitor();
    Outcome fail();

    link::SerialLink &link_;
    link::PollSwitch &poll_;
    LogSink &log_;
    bool running_ = false;
    bool stopRequested_ = false;
};

} // namespace orvanta::logger
