#include "logger/stored_log_readout.h"

#include "link/serial_link.h"
#include "logger/log_sink.h"
#include "logger/log_texts.h"
#include "messages/messages.h"
#include "messages/notifier.h"

namespace orvanta::logger {

StoredLogReadout::StoredLogReadout(link::SerialLink &link, LogSink &log)
    : link_(link)
    , log_(log)
{ }

StoredLogReadout::Outcome StoredLogReadout::run()
{
    stopRequested_ = false;
    reachedLimit_ = false;
    if (!(link_.IsPortOpen() || link_.OpenPort()) || !link_.WriteByte(link::codes::kStartLogReadout))
        return fail();
    log_.start(texts::headingLines());
    link_.Delay(kSettle);

    Outcome outcome = Outcome::Ended;
    bool endSeen = false;
    for (int recordCounter = 0; recordCounter < kRequests; ++recordCounter) {
        if (link_.ending())
            return Outcome::Ending;
        if (stopRequested_)
            return Outcome::Stopped;
        // Flushed first: only the reply to this request may be counted.
        link_.FlushInput();
        if (!link_.WriteByte(link::codes::kNextLogRecord))
            return fail();
        const bool arrived = link_.WaitForBytes(kRecordSize);
        if (link_.ending())
            return Outcome::Ending;
        QString logLine;
        if (arrived) {
            logLine = link_.ReadText();
            if (logLine.startsWith(texts::kEndMarker)) {
                logLine = texts::kEndLine.toString();
                recordCounter = kRequests - 1;
                endSeen = true;
            }
        } else {
            // A port lost meanwhile is a failure of the link, not a silent instrument.
            if (!link_.IsPortOpen())
                return fail();
            logLine = texts::kTimeoutLine.toString();
            recordCounter = kRequests - 1;
            endSeen = true;
            outcome = Outcome::TimedOut;
        }
        log_.append(logLine);
    }
    reachedLimit_ = !endSeen;
    return outcome;
}

StoredLogReadout::Outcome StoredLogReadout::fail()
{
    if (link_.ending())
        return Outcome::Ending;
    // What was read so far stays in the log.
    link_.failWith(messages::kReadLogFailed);
    return Outcome::Failed;
}

} // namespace orvanta::logger
