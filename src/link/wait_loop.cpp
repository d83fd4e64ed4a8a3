#include "link/wait_loop.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

#include <optional>
#include <thread>

namespace orvanta::link {

namespace {

// A wait runs inside the delivery of some event (a click, a press). Events
// posted before that delivery are held back by the event loop until
// something new is posted; they may be what ends the wait, so they run
// before the condition is tested, never after the thread has gone to sleep.
void runHeldBack()
{
    QCoreApplication::sendPostedEvents();
}

} // namespace

// Shorter naps save nothing over waking for the next event.
constexpr std::chrono::microseconds kShortestNap{500};

WaitLoop::Result WaitLoop::until(
    const std::function<bool()> &done, const QDeadlineTimer &deadline, const Earliest &earliest)
{
    ++depth_;
    const auto leave = qScopeGuard([this] { --depth_; });
    // Made only for a bounded wait: it wakes the sleep when the deadline is due.
    std::optional<QTimer> waker;
    for (;;) {
        if (ending_)
            return Result::Ending;
        runHeldBack();
        if (ending_)
            return Result::Ending;
        if (done())
            return Result::Done;
        if (!deadline.isForever()) {
            const qint64 left = deadline.remainingTime();
            if (left == 0)
                return Result::TimedOut;
            if (!waker) {
                waker.emplace();
                waker->setSingleShot(true);
                waker->setTimerType(Qt::PreciseTimer);
            }
            // Moved on by the condition since it was armed: armed again when it fires.
            if (!waker->isActive())
                waker->start(int(std::min<qint64>(left, std::numeric_limits<int>::max())));
        }
        if (earliest) {
            auto nap = std::min<std::chrono::microseconds>(earliest(), kLongestNap);
            if (!deadline.isForever())
                nap = std::min(
                    nap, std::chrono::duration_cast<std::chrono::microseconds>(deadline.remainingTimeAsDuration()));
            if (nap >= kShortestNap) {
                // The bytes gather in the port meanwhile and arrive as one event.
                std::this_thread::sleep_for(nap);
                QCoreApplication::processEvents(QEventLoop::AllEvents);
                continue;
            }
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

bool WaitLoop::runPending()
{
    if (ending_)
        return false;
    ++depth_;
    const auto leave = qScopeGuard([this] { --depth_; });
    runHeldBack();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !ending_;
}

} // namespace orvanta::link
