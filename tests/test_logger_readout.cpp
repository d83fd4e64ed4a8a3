// "Read Stored Log" against the simulator: the codes on the wire, LogText and
// the text area, the end of the readout in each of its ways, and its failures.
#include "link/messages.h"
#include "support/logger_rig.h"

#include <QElapsedTimer>

using namespace orvanta;
using test::LoggerRig;
using test::logShape;
using Message = test::RecordingNotifier::Message;

namespace {

Message message(const link::Message &m)
{
    return {m.text.toString(), m.title.toString()};
}

QString repeated(const QString &part, int times)
{
    return QStringList(times, part).join(QString());
}

} // namespace

class TestLoggerReadout : public QObject
{
    Q_OBJECT

private slots:
    void readout_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("atLeastMs");

        QTest::newRow("END first: one request") << QStringList{"--log-records", "0"} << "8 7"
                                                << "HE" << 1000;
        QTest::newRow("records, then END") << QStringList{"--log-records", "3"} << "8 7 7 7 7"
                                           << "HRRRE" << 1000;
        QTest::newRow("no END: 125 requests, no closing line")
            << QStringList{"--log-records", "200", "--log-no-end"} << "8" + repeated(" 7", 125)
            << "H" + repeated("R", 125) << 1000;
        QTest::newRow("a record of 33, then the time-out")
            << QStringList{"--log-records", "3", "--log-short-at", "2"} << "8 7 7"
            << "HRT" << 3000;
        QTest::newRow("two records at once are one line")
            << QStringList{"--log-records", "4", "--log-pairs", "--log-no-end"} << "8 7 7 7"
            << "HRRRRT" << 3000;
        QTest::newRow("records in pieces") << QStringList{"--log-records", "2", "--log-pieces"} << "8 7 7 7"
                                           << "HRRE" << 1000;
        QTest::newRow("lower-case end goes on") << QStringList{"--log-records", "1", "--log-end", "end"} << "8 7 7 7"
                                                << "HReT" << 3000;
        QTest::newRow("no instrument") << QStringList{"--silent"} << "8 7"
                                       << "HT" << 3000;
    }

    void readout()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, codes);
        QFETCH(QString, shape);
        QFETCH(int, atLeastMs);
        LoggerRig rig(options);
        rig.window->log().start("earlier text\r\n");
        QElapsedTimer clock;
        clock.start();
        rig.click(u"cmdReadlog");
        const qint64 elapsed = clock.elapsed();

        QVERIFY2(elapsed >= atLeastMs - 50 && elapsed < 60'000, qPrintable(QString::number(elapsed)));
        QCOMPARE(logShape(rig.logText()), shape);
        QCOMPARE(rig.shown(), test::asShown(rig.logText()));
        QCOMPARE(rig.codes(), codes);
        QVERIFY(rig.notifier.messages.isEmpty());
        // Left as the next wait needs it.
        QVERIFY(rig.serial->IsPortOpen());
        QVERIFY(!rig.serial->waitTimer().isActive());
        QCOMPARE(rig.serial->waitTimer().interval(), 2000);
        QCOMPARE(rig.serial->timeoutFlag(), link::SerialLink::kFalse);
        QVERIFY(!rig.window->busy() && rig.pollEvents.isEmpty());
    }

    void failures_data()
    {
        QTest::addColumn<bool>("instrument");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<QString>("shape"); // what stays of the log

        // The port cannot be opened: nothing is sent and the old log stays.
        QTest::newRow("no port") << false << ""
                                 << "?earlier text\r\n";
        // The port goes while the second record is awaited: a failure, not a
        // time-out; what was read stays.
        QTest::newRow("port lost") << true << "8 7 7"
                                   << "HR";
    }

    void failures()
    {
        QFETCH(bool, instrument);
        QFETCH(QString, codes);
        QFETCH(QString, shape);
        // In pieces: each record takes a while, so the window sees each state.
        LoggerRig rig({"--log-records", "5", "--log-pieces"}, instrument);
        rig.window->log().start("earlier text\r\n");
        rig.when([&] { return logShape(rig.logText()) == "HR"; }, [&] { rig.serial->ClosePort(); });
        rig.click(u"cmdReadlog");

        QCOMPARE(rig.notifier.messages, QList{message(link::messages::kReadLogFailed)});
        QVERIFY(!rig.serial->IsPortOpen());
        QCOMPARE(logShape(rig.logText()), shape);
        QCOMPARE(rig.codes(), codes);
    }

    // Pressed again while it runs: ignored, as is real-time monitoring.
    void secondPressIgnored()
    {
        LoggerRig rig({"--log-records", "3", "--log-pieces"});
        rig.when([&] { return logShape(rig.logText()) == "HR"; },
            [&] {
                rig.click(u"cmdReadlog");
                rig.click(u"cmdStartreal");
            });
        rig.click(u"cmdReadlog");
        QVERIFY(rig.fired());
        QCOMPARE(logShape(rig.logText()), "HRRRE");
        QCOMPARE(rig.codes(), "8 7 7 7 7");
        QVERIFY(rig.pollEvents.isEmpty());
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
                closeBox ? void(rig.window->close()) : rig.click(u"cmdExit");
                during = rig.pollEvents;
            });
        rig.click(u"cmdReadlog");

        // The poll comes back once the readout has unwound; a closed window goes then.
        QVERIFY(during.isEmpty());
        QCOMPARE(rig.pollEvents, QList{link::PollEvent::LoggerClosed});
        QCOMPARE(rig.codes(), closeBox ? "8 7 7 7" : "8 7 7 7 7 7 7 7");
        QVERIFY(rig.notifier.messages.isEmpty() && rig.serial->IsPortOpen());
        QTRY_COMPARE(rig.window.isNull(), closeBox);
        QVERIFY(closeBox || (!rig.window->isVisible() && logShape(rig.logText()) == "HRRRRRRE"));
    }
};

QTEST_MAIN(TestLoggerReadout)
#include "test_logger_readout.moc"
