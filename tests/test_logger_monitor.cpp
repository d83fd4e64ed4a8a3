// "Start Realtime Log" against the simulator: each way monitoring ends, what
// LogText and the text area show then, the codes on the wire, and a failure.
#include "link/messages.h"
#include "logger/log_view.h"
#include "support/logger_rig.h"

#include <QScrollBar>

using namespace orvanta;
using test::LoggerRig;
using test::logShape;
using Message = test::RecordingNotifier::Message;
using link::PollEvent;

class TestLoggerMonitor : public QObject
{
    Q_OBJECT

private slots:
    void stops_data()
    {
        QTest::addColumn<QString>("interval"); // between the simulator's errors; 0: none
        QTest::addColumn<QString>("when");     // "running", "starting" or "line": a line is in
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shape"); // a pattern
        QTest::addColumn<QString>("codes");

        QTest::newRow("Stop, nothing waiting") << "0"
                                               << "running"
                                               << "cmdStopreal"
                                               << "HF"
                                               << "14 16";
        // The line waiting at the stop is the last one; no closing line.
        QTest::newRow("Stop, a line waiting") << "150"
                                              << "line"
                                              << "cmdStopreal"
                                              << "HR+"
                                              << "14 16";
        QTest::newRow("Stop while starting: no wait begins") << "0"
                                                             << "starting"
                                                             << "cmdStopreal"
                                                             << "HF"
                                                             << "14 16";
        QTest::newRow("Stop Logging") << "0"
                                      << "running"
                                      << "cmdStoplog"
                                      << "HF"
                                      << "14 89 16";
        QTest::newRow("Exit") << "0"
                              << "running"
                              << "cmdExit"
                              << "HF"
                              << "14 16";
        QTest::newRow("close box") << "0"
                                   << "running"
                                   << "close"
                                   << "HF"
                                   << "14 16";
    }

    void stops()
    {
        QFETCH(QString, interval);
        QFETCH(QString, when);
        QFETCH(QString, action);
        QFETCH(QString, shape);
        QFETCH(QString, codes);
        LoggerRig rig({"--error-interval", interval});
        QString shownAfterAction;
        QList<PollEvent> pollAtAction;
        const auto holds = [&] {
            if (when == "starting")
                return logShape(rig.logText()) == "H" && !rig.serial->realtimeActive();
            if (when == "line")
                return logShape(rig.logText()) == "HR";
            return rig.serial->realtimeActive();
        };
        rig.when(holds, [&] {
            // The next line is in before the loop looks again.
            for (QDeadlineTimer deadline(5000); when == "line" && rig.serial->BytesWaiting() < 34;)
                if (!deadline.hasExpired())
                    QTest::qWait(10);
            // Pressed again while monitoring runs, and the readout: both ignored.
            rig.click(u"cmdStartreal");
            rig.click(u"cmdReadlog");
            action == "close" ? void(rig.window->close()) : rig.click(action);
            shownAfterAction = rig.window ? rig.shown() : QString();
            pollAtAction = rig.pollEvents;
        });
        rig.click(u"cmdStartreal");

        QVERIFY(rig.fired());
        QVERIFY2(QRegularExpression("^" + shape + "$").match(logShape(rig.logText())).hasMatch(),
            qPrintable(logShape(rig.logText())));
        QCOMPARE(rig.codes(), codes);
        QVERIFY(!rig.serial->realtimeActive() && rig.serial->IsPortOpen());
        QVERIFY(rig.notifier.messages.isEmpty());
        if (action == "cmdStoplog")
            QCOMPARE(shownAfterAction, logger::texts::kLoggerStopped.toString());
        // Leaving gives the poll back, only once the loop has unwound; a closed window goes then.
        const bool leaving = action == "cmdExit" || action == "close";
        QCOMPARE(pollAtAction, QList{PollEvent::RealtimeStarted});
        QList<PollEvent> expected{PollEvent::RealtimeStarted};
        if (leaving)
            expected << PollEvent::LoggerClosed;
        QCOMPARE(rig.pollEvents, expected);
        QTRY_COMPARE(rig.window.isNull(), action == "close");
        if (rig.window) {
            QCOMPARE(rig.window->isVisible(), !leaving);
            QCOMPARE(rig.shown(), test::asShown(rig.logText()));
        }
    }

    // The next line goes to an empty log: the heading is gone from the screen.
    void clearScreenWhileMonitoring()
    {
        LoggerRig rig({"--error-interval", "150"});
        rig.when([&] { return logShape(rig.logText()) == "HR"; },
            [&] {
                rig.click(u"cmdClearscn");
                QCOMPARE(rig.shown(), QString());
                rig.when([&] { return !rig.logText().isEmpty(); }, [&] { rig.click(u"cmdStopreal"); });
            });
        rig.click(u"cmdStartreal");

        QVERIFY2(QRegularExpression("^R+F?$").match(logShape(rig.logText())).hasMatch(),
            qPrintable(logShape(rig.logText())));
        QCOMPARE(rig.shown(), test::asShown(rig.logText()));
        QCOMPARE(rig.codes(), "14 16");
    }

    // The port goes: said once, no closing line, no 16, and the flag stays set
    // for the poll or a picture download to end the instrument's output. Leaving
    // the window does not clear it.
    void failure()
    {
        LoggerRig rig({"--error-interval", "150"});
        rig.when([&] { return logShape(rig.logText()) == "HR"; }, [&] { rig.serial->ClosePort(); });
        rig.click(u"cmdStartreal");

        QCOMPARE(rig.notifier.messages,
            QList{Message(link::messages::kMonitoringFailed.text.toString(),
                link::messages::kMonitoringFailed.title.toString())});
        QVERIFY(!rig.serial->IsPortOpen());
        QCOMPARE(logShape(rig.logText()), "HR");
        QCOMPARE(rig.codes(), "14");
        QVERIFY(rig.serial->realtimeActive());
        rig.click(u"cmdStopreal");
        rig.click(u"cmdExit");
        QVERIFY(rig.serial->realtimeActive());
        QCOMPARE(rig.pollEvents, (QList{PollEvent::RealtimeStarted, PollEvent::LoggerClosed}));
    }

    void viewLineBreaks_data()
    {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF") << QStringList{"a\r\nb\r\n"} << "a\nb\n";
        QTest::newRow("CR LF split between two lines") << QStringList{"a\r", "\nb\r", "\n"} << "a\nb\n";
        QTest::newRow("lone CR and LF") << QStringList{"a\r", "b\n", "c"} << "a\nb\nc";
    }

    void viewLineBreaks()
    {
        QFETCH(QStringList, pieces);
        QFETCH(QString, shown);
        logger::LogView view;
        view.showText(u"x\r");
        view.showText(QString());
        for (const QString &piece : pieces)
            view.appendText(piece);
        QCOMPARE(view.text(), shown);
    }

    // The view follows the newest line, unless the user has scrolled up to read.
    void viewFollowsNewestLine()
    {
        logger::LogView view;
        view.resize(300, 200);
        view.show();
        for (int i = 0; i < 200; ++i)
            view.appendText(u"line\r\n");
        QScrollBar *bar = view.verticalScrollBar();
        QVERIFY(bar->maximum() > 100);
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(10);
        view.appendText(u"more\r\n");
        QCOMPARE(bar->value(), 10);
        bar->setValue(bar->maximum());
        view.appendText(u"newest\r\n");
        QCOMPARE(bar->value(), bar->maximum());
    }
};

QTEST_MAIN(TestLoggerMonitor)
#include "test_logger_monitor.moc"
