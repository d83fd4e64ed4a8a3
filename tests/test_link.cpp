// The one wait loop, and the link against the simulator on a real pseudo-terminal.
#include "link/wait_loop.h"
#include "support/line_speed.h"
#include "support/link_rig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTest>
#include <QTimer>

using namespace orvanta;
using test::RecordingNotifier;
using test::SimProcess;
using namespace std::chrono_literals;
using link::WaitLoop;

class TestLink : public QObject
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
        // Each a posted event, as a click is.
        QObject receiver;
        QMetaObject::invokeMethod(
            &receiver, [&] { result = waits.until([&] { return released; }); }, Qt::QueuedConnection);
        QMetaObject::invokeMethod(
            &receiver,
            [&] {
                depthInside = waits.depth();
                released = true;
            },
            Qt::QueuedConnection);
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

    void sendCodeOpensOnceThenOnlyWrites()
    {
        test::LinkRig bench;
        QVERIFY(!bench.serial->IsPortOpen());
        bench.serial->SendCode(13); // the simulator answers with its status block
        QVERIFY(bench.serial->WaitForBytes(16));
        bench.serial->SendCode(47);

        // A reopen would have dropped the reply still waiting.
        QCOMPARE(bench.serial->BytesWaiting(), 16);
        QVERIFY(bench.sim.waitForReceived(2));
        QCOMPARE(bench.sim.receivedBytes(), QByteArray("\x0d\x2f"));
        QVERIFY(bench.notifier.messages.isEmpty());
    }

    // Behind a Delay, whose tick left TimeoutFlag true: that stale flag must not end the wait.
    void shortReplyTimesOutAndStays()
    {
        test::LinkRig bench(QStringList{"--short", "15"});
        QVERIFY(bench.serial->OpenPort());
        bench.serial->Delay(10ms);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(bench.serial->WriteByte(13));
        QVERIFY(!bench.serial->WaitForBytes(16));
        QVERIFY2(clock.elapsed() >= 1990, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(bench.serial->BytesWaiting(), 15);
        QCOMPARE(bench.serial->timeoutFlag(), link::SerialLink::kFalse);
        QVERIFY(!bench.serial->waitTimer().isActive());
    }

    void flushAtTheBufferLimitKeepsListening()
    {
        // A reply larger than the link buffers: reading stops at the limit until flushed.
        test::LinkRig bench(QStringList{"--short", "40000"});
        QVERIFY(bench.serial->OpenPort());
        QVERIFY(bench.serial->WriteByte(13));
        QVERIFY(bench.serial->WaitForBytes(32767));
        bench.serial->Delay(100ms); // the rest of the reply knocks at the full buffer
        bench.serial->FlushInput();
        QCOMPARE(bench.serial->BytesWaiting(), 0);

        QVERIFY(bench.serial->WriteByte(13));
        QVERIFY(bench.serial->WaitForBytes(16));
    }

    // Held by another program: each try fails again, said once each.
    void busyPort()
    {
        SimProcess sim;
        QSerialPort holder(sim.devicePath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        RecordingNotifier notifier;
        link::PortMap map;
        map.setDevice(1, sim.devicePath());
        link::SerialLink serial(map, notifier);
        const RecordingNotifier::Message said{"Can't communicate with Orvanta", "Serial Port Error"};
        for (int attempt = 1; attempt <= 2; ++attempt) {
            serial.SendCode(47);
            QCOMPARE(notifier.messages, QList<RecordingNotifier::Message>(attempt, said));
            QVERIFY(!serial.IsPortOpen());
        }
    }

    // Set before the open and on the open port, standard rates and one that is not.
    void lineSpeedFollowsTheSettingsAtOnce()
    {
        test::LinkRig bench;
        QVERIFY(bench.serial->SetPortSettings("28800,N,8,1"));
        QVERIFY(bench.serial->OpenPort());
        QCOMPARE(test::lineSpeed(bench.sim.devicePath()), 28800);
        for (const int speed : {9600, 38400, 28800}) {
            QVERIFY(bench.serial->SetPortSettings(QString("%1,N,8,1").arg(speed)));
            QCOMPARE(test::lineSpeed(bench.sim.devicePath()), speed);
        }
        QVERIFY(bench.serial->IsPortOpen());
    }

    void endingUnwindsARunningWait()
    {
        test::LinkRig bench(QStringList{"--silent"});
        QVERIFY(bench.serial->OpenPort());
        QTimer::singleShot(100, [&] { bench.serial->endWaits(); });
        QElapsedTimer clock;
        clock.start();
        bench.serial->Delay(30s);
        // Far short of the time the wait was given.
        QVERIFY2(clock.elapsed() < 15'000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!bench.serial->WaitForBytes(16)); // a wait begun after the end returns at once
        bench.serial->Delay(30s);
        QVERIFY2(clock.elapsed() < 15'000, qPrintable(QString::number(clock.elapsed())));
        bench.serial->ClosePort();
        QVERIFY(!bench.serial->OpenPort());
    }
};

QTEST_MAIN(TestLink)
#include "test_link.moc"
