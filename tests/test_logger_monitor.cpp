// "Start Realtime Log" against the simulator: each way monitoring ends, what
// LogText and the text area show then, and the codes on the wire.
#include "logger/ui/log_view.h"
#include "support/logger_rig.h"

#include <QScrollBar>

using namespace orvanta;
using link::PollEvent;
using test::LoggerRig;
using test::logShape;

class TestLoggerMonitor : public QObject
{
    Q_OBJECT

private slots:
    void stops_data()
    {
        QTest::addColumn<QString>("interval"); // between the simulator's errors; 0: none
        QTest::addColumn<QString>("when");     // "running", "starting" or "line": one is waiting
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shape"); // a pattern
        QTest::addColumn<QString>("codes");

        const auto add = [](const char *name, const char *interval, const char *when, const char *action,
                             const char *shape, const char *codes) {
            QTest::newRow(name) << QString(interval) << QString(when) << QString(action) << QString(shape)
                                << QString(codes);
        };
        add("Stop, nothing waiting", "0", "running", "cmdStopreal", "HF", "14 16");
        add("Stop, a line waiting: no closing line", "150", "line", "cmdStopreal", "HR+", "14 16");
        add("Stop while starting: no wait begins", "0", "starting", "cmdStopreal", "HF", "14 16");
        add("Stop Logging", "0", "running", "cmdStoplog", "HF", "14 89 16");
        add("Exit", "0", "running", "cmdExit", "HF", "14 16");
        add("close box", "0", "running", "close", "HF", "14 16");
    }

    void stops()
    {
        QFETCH(QString, interval);
        QFETCH(QString, when);
        QFETCH(QString, action);
        QFETCH(QString, shape);
        QFETCH(QString, codes);
        LoggerRig rig({"--error-interval", interval});
        QString shownAfter;
        QList<PollEvent> pollAtAction;
        rig.when(
            [&] {
                if (when == "starting")
                    return logShape(rig.logText()) == "H" && !rig.serial->realtimeActive();
                return when == "line" ? logShape(rig.logText()) == "HR" : rig.serial->realtimeActive();
            },
            [&] {
                // The next line is in before the loop looks again; if it never comes, the shape says so.
                (void)QTest::qWaitFor([&] { return when != "line" || rig.serial->BytesWaiting() >= 34; }, 5000);
                rig.click("cmdStartreal"); // both ignored while it runs
                rig.click("cmdReadlog");
                action == "close" ? void(rig.window->close()) : rig.click(action.toStdString());
                shownAfter = rig.window ? rig.shown() : QString();
                pollAtAction = rig.pollEvents;
            });
        rig.click("cmdStartreal");

        const QString got = logShape(rig.logText());
        QVERIFY2(QRegularExpression("^" + shape + "$").match(got).hasMatch(), qPrintable(got));
        QCOMPARE(rig.codes(), codes);
        QVERIFY(!rig.serial->realtimeActive() && rig.serial->IsPortOpen() && rig.notifier.messages.isEmpty());
        if (action == "cmdStoplog")
            QCOMPARE(shownAfter, " Internal Logger Stopped");
        // Leaving gives the poll back once the loop has unwound; a closed window goes then.
        const bool leaving = action == "cmdExit" || action == "close";
        QCOMPARE(pollAtAction, QList{PollEvent::RealtimeStarted});
        QCOMPARE(rig.pollEvents.mid(1), leaving ? QList{PollEvent::LoggerClosed} : QList<PollEvent>{});
        QTRY_COMPARE(rig.window.isNull(), action == "close");
        QVERIFY(!rig.window || (rig.window->isVisible() != leaving && rig.shown() == test::asShown(rig.logText())));
    }

    // The next line goes to an empty log: the heading is gone from the screen.
    void clearScreenWhileMonitoring()
    {
        LoggerRig rig({"--error-interval", "150"});
        rig.when([&] { return logShape(rig.logText()) == "HR"; },
            [&] {
                rig.click("cmdClearscn");
                rig.when([&] { return !rig.logText().isEmpty(); }, [&] { rig.click("cmdStopreal"); });
            });
        rig.click("cmdStartreal");
        QVERIFY2(QRegularExpression("^R+F?$").match(logShape(rig.logText())).hasMatch(), qPrintable(rig.logText()));
        QCOMPARE(rig.shown(), test::asShown(rig.logText()));
    }

    // Appended pieces keep their CR LF as one break; the view follows the
    // newest line unless the user has scrolled up.
    void viewAppends()
    {
        logger::LogView view;
        view.resize(300, 200);
        view.show();
        for (const char *piece : {"a\r", "\nb\r\n", "c"})
            view.appendText(QString(piece));
        QCOMPARE(view.text(), "a\nb\nc");
        for (int i = 0; i < 200; ++i)
            view.appendText(u"\r\nline");
        QScrollBar *bar = view.verticalScrollBar();
        QVERIFY(bar->maximum() > 100 && bar->value() == bar->maximum());
        bar->setValue(10);
        view.appendText(u"\r\nmore");
        QCOMPARE(bar->value(), 10);
    }
};

QTEST_MAIN(TestLoggerMonitor)
#include "test_logger_monitor.moc"
