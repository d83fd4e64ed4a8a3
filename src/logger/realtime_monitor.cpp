#include "logger/realtime_monitor.h"

#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "logger/log_sink.h"
#include "logger/log_texts.h"
#include "messages/messages.h"
#include "messages/notifier.h"

#include <QScopeGuard>

namespace orvanta::logger {

RealtimeMonitor::RealtimeMonitor(link::SerialLink &link, link::PollSwitch &poll, LogSink &log)
    : link_(link)
    , poll_(poll)
    , log_(log)
{ }

void RealtimeMonitor::stop()
{
    if (!running_)
        return;
    stopRequested_ = true;
    link_.setRealtimeActive(false);
}

RealtimeMonitor::Outcome RealtimeMonitor::run()
{
    running_ = true;
    stopRequested_ = false;
    const auto done = qScopeGuard([this] { running_ = false; });
    return monitor();
}

RealtimeMonitor::Outcome RealtimeMonitor::monitor()
{
    poll_.pollEvent(link::PollEvent::RealtimeStarted);
    if (!(link_.IsPortOpen() || link_.OpenPort()) || !link_.WriteByte(link::codes::kStartRealtime))
        return fail();
    log_.start(texts::headingLines());
    link_.Delay(kSettle);
    if (link_.ending())
        return Outcome::Ending;

    // A stop while the instrument was starting ends monitoring before it waits.
    if (stopRequested_)
        log_.append(texts::kFinishedLine);
    else
        link_.setRealtimeActive(true);
    while (link_.realtimeActive()) {
        link_.FlushInput();
        bool lost = false;
        // No time-out: the next error comes when it comes. Each pass sleeps until an event.
        const auto waited = link_.waits().until([&] {
            if (!link_.realtimeActive())
                return true;
            lost = !link_.IsPortOpen();
            return lost || link_.BytesWaiting() >= kLineSize;
        });
        if (waited == link::WaitLoop::Result::Ending)
            return Outcome::Ending;
        if (lost)
            return fail();
        if (link_.BytesWaiting() >= kLineSize)
            log_.append(link_.ReadText());
        else
            log_.append(texts::kFinishedLine);
    }
    if (!link_.WriteByte(link::codes::kEndRealtime))
        return fail();
    return Outcome::Finished;
}

RealtimeMonitor::Outcome RealtimeMonitor::fail()
{
    if (link_.ending())
        return Outcome::Ending;
    link_.failWith(messages::kMonitoringFailed);
    return Outcome::Failed;
}

} // namespace orvanta::logger
