// The logger window against the simulator: "Read Stored Log" and "Start
// Realtime Log", the codes on the wire, LogText and the text area for each way
// they end, their failures, and leaving the window while one runs.
#include "support/logger_rig.h"
#include "support/shown_messages.h"

#include <QElapsedTimer>
#include <QRegularExpression>

using namespace orvanta;
using link::PollEvent;
using test::LoggerRig;
using test::logShape;

class TestLogger : public QObject
{
    Q_OBJECT

private slots:
    void readout_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("fault"); // "no port", or "port lost" awaiting the second record
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("atLeastMs");
        const auto add = [](const char *name, const QString &options, const QString &fault, const QString &codes,
                             const QString &shape,
                             int atLeastMs) { QTest::newRow(name) << options << fault << codes << shape << atLeastMs; };
        add("END first: one request", "--log-records 0", "", "8 7", "HE", 1000);
        add("no END: 125 requests, no closing line", "--log-records 200 --log-no-end", "",
            "8 " + QStringList(125, "7").join(' '), "H" + QString(125, 'R'), 1000);
        add("33 characters, then the time-out", "--log-records 3 --log-short-at 2", "", "8 7 7", "HRT", 3000);
        add("two records at once are one line", "--log-records 2 --log-pairs --log-no-end", "", "8 7 7", "HRRT", 3000);
        add("in pieces", "--log-records 2 --log-pieces", "", "8 7 7 7", "HRRE", 1000);
        add("lower-case end goes on", "--log-records 1 --log-end end", "", "8 7 7 7", "HReT", 3000);
        // In pieces: each record takes a while, so the port goes while one is awaited.
        add("no port: nothing sent, the old log stays", "--log-records 5 --log-pieces", "no port", "",
            "?earlier text\r\n", 0);
        add("port lost awaiting a record: what was read stays", "--log-records 5 --log-pieces", "port lost", "8 7 7",
            "HR", 0);
    }

    void readout()
    {
        QFETCH(QString, options);
        QFETCH(QString, fault);
        QFETCH(QString, codes);
        QFETCH(QString, shape);
        QFETCH(int, atLeastMs);
        LoggerRig rig(options.split(' '), fault != "no port");
        rig.window->log().start("earlier text\r\n");
        if (fault == "port lost")
            rig.when([&] { return logShape(rig.logText()) == "HR"; }, [&] { rig.serial->ClosePort(); });
        QElapsedTimer clock;
        clock.start();
        rig.click("cmdReadlog");
        QVERIFY(clock.elapsed() >= atLeastMs - 50);

        QCOMPARE(logShape(rig.logText()), shape);
        QCOMPARE(rig.shown(), test::asShown(rig.logText()));
        QCOMPARE(rig.codes(), codes);
        QVERIFY(rig.pollEvents.isEmpty());
        QCOMPARE(rig.notifier.messages,
            fault.isEmpty() ? QList<test::RecordingNotifier::Message>() : QList{test::shown::kReadLogFailed});
        QCOMPARE(rig.serial->IsPortOpen(), fault.isEmpty());
        // Left as the next wait needs it.
        QVERIFY(!rig.serial->waitTimer().isActive());
        QVERIFY(!fault.isEmpty()
            || (rig.serial->waitTimer().interval() == 2000 && rig.serial->timeoutFlag() == link::SerialLink::kFalse));
    }

    // Internal logging: 88 and 89 with their status lines on screen only; the
    // errors stored meanwhile come out under the heading's columns.
    void loggingThenReadout()
    {
        LoggerRig rig({"--log-records", "0", "--error-interval", "100"});
        rig.click("cmdStartlog");
        QCOMPARE(rig.shown(), " Internal Logger Running");
        QTest::qWait(600);
        rig.click("cmdStoplog");
        QCOMPARE(rig.shown(), " Internal Logger Stopped");
        QVERIFY(rig.logText().isEmpty());
        rig.click("cmdReadlog");
        QVERIFY2(QRegularExpression("^HRRR+E$").match(logShape(rig.logText())).hasMatch(), qPrintable(rig.logText()));
        QCOMPARE(rig.codes().left(9), "88 89 8 7");
        const auto wordStarts = [](QStringView line) {
            QList<qsizetype> starts;
            for (qsizetype i = 1; i < line.size(); ++i)
                if (line[i] != u' ' && line[i - 1] == u' ')
                    starts << i;
            return starts;
        };
        const QList<qsizetype> columns = wordStarts(test::kHeadingLines);
        for (const QString &record : rig.logText().split("\r\n").mid(2, 3))
            QCOMPARE(wordStarts(record), columns);
    }

    void leaveDuringAReadout_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Exit: the readout goes on") << false;
        QTest::newRow("close box: no further request") << true;
    }

    void leaveDuringAReadout()
    {
        QFETCH(bool, closeBox);
        LoggerRig rig({"--log-records", "6", "--log-pieces"});
        QList<link::PollEvent> during{link::PollEvent::StartUpFailed};
        rig.when([&] { return logShape(rig.logText()) == "HRR"; },
            [&] {
                rig.click("cmdReadlog"); // ignored: one runs
                closeBox ? void(rig.window->close()) : rig.click("cmdExit");
                during = rig.pollEvents;
            });
        rig.click("cmdReadlog");

        // The poll comes back once the readout has unwound; a closed window goes then.
        QVERIFY(during.isEmpty());
        QCOMPARE(rig.pollEvents, QList{link::PollEvent::LoggerClosed});
        QCOMPARE(rig.codes(), closeBox ? "8 7 7 7" : "8 7 7 7 7 7 7 7");
        QVERIFY(rig.notifier.messages.isEmpty() && rig.serial->IsPortOpen());
        QTRY_COMPARE(rig.window.isNull(), closeBox);
        QVERIFY(closeBox || (!rig.window->isVisible() && logShape(rig.logText()) == "HRRRRRRE"));
    }

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
};

QTEST_MAIN(TestLogger)
#include "test_logger.moc"
