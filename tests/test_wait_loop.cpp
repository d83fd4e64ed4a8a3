// The one wait loop: it wakes for the event that ends it, sleeps otherwise,
// and unwinds when the program ends.
#include "link/wait_loop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using namespace orvanta;
using link::WaitLoop;

namespace {

// Runs fn inside the delivery of a posted event, as a click handler runs.
class Poster : public QObject
{
public:
    std::function<void()> fn;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        fn();
        return true;
    }
};

} // namespace

class TestWaitLoop : public QObject
{
    Q_OBJECT

private slots:
    // The wait starts inside one posted event; the event that ends it was posted
    // right behind. With nothing else to wake it, it must not fall asleep.
    void heldBackPostedEventEndsTheWait()
    {
        WaitLoop waits;
        QObject guard; // far off, should the wait fall asleep
        QTimer::singleShot(10'000, &guard, [&] { waits.end(); });

        bool released = false;
        std::optional<WaitLoop::Result> result;
        int depthInside = 0;
        Poster start, release;
        start.fn = [&] { result = waits.until([&] { return released; }); };
        release.fn = [&] {
            depthInside = waits.depth();
            released = true;
        };
        QCoreApplication::postEvent(&start, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&release, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents();

        QCOMPARE(result, WaitLoop::Result::Done);
        QCOMPARE(depthInside, 1);
        QVERIFY(!waits.running());
    }

    // A bounded wait sleeps until its deadline, read again on every pass: the
    // condition moves it on while there is progress.
    void deadlineMovedOnByProgress()
    {
        WaitLoop waits;
        QTimer ticks; // progress to notice: one event every 20 ms
        ticks.start(20);
        QElapsedTimer clock;
        clock.start();
        QDeadlineTimer deadline(100);
        const auto result = waits.until(
            [&] {
                if (clock.elapsed() < 200)
                    deadline.setRemainingTime(100);
                return false;
            },
            deadline);
        QCOMPARE(result, WaitLoop::Result::TimedOut);
        QVERIFY2(clock.elapsed() >= 200, qPrintable(QString::number(clock.elapsed())));
    }

    // A wait that naps through the bytes still on the line wakes for the event
    // that ends it all the same, long before a nap as long as it asks for.
    void napEndsWithTheEventThatEndsTheWait()
    {
        WaitLoop waits;
        bool done = false;
        QTimer::singleShot(20, [&] { done = true; });
        QElapsedTimer clock;
        clock.start();
        const auto result = waits.until([&] { return done; }, QDeadlineTimer::Forever,
            [] { return std::chrono::microseconds(std::chrono::seconds(20)); });
        QCOMPARE(result, WaitLoop::Result::Done);
        QVERIFY2(clock.elapsed() < 10'000, qPrintable(QString::number(clock.elapsed())));
    }

    void endingUnwindsNestedWaits()
    {
        WaitLoop waits;
        std::optional<WaitLoop::Result> inner;
        QTimer::singleShot(10, [&] {
            QTimer::singleShot(10, [&] { waits.end(); });
            inner = waits.until([] { return false; });
        });
        QCOMPARE(waits.until([] { return false; }), WaitLoop::Result::Ending);
        QCOMPARE(inner, WaitLoop::Result::Ending);
        QCOMPARE(waits.until([] { return true; }), WaitLoop::Result::Ending);
        QVERIFY(!waits.runPending());
        QCOMPARE(waits.depth(), 0);
    }
};

QTEST_GUILESS_MAIN(TestWaitLoop)
#include "test_wait_loop.moc"
