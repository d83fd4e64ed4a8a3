// The simulator's contract as the program's tests rely on it, over a real pseudo-terminal.
#include "support/pty_client.h"
#include "support/sim_process.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace orvanta::test;

class TestSim : public QObject
{
    Q_OBJECT

private slots:
    void statusReply_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("sent"); // codes before the status request
        QTest::addColumn<QByteArray>("expected");

        const QStringList none;
        const QByteArray other = QByteArray::fromHex("0123456789abcdeffedcba9876543210");
        QTest::newRow("default block") << none << QByteArray() << kSimStatus;
        QTest::newRow("--status") << QStringList{"--status", other.toHex()} << QByteArray() << other;
        QTest::newRow("--short 15") << QStringList{"--short", "15"} << QByteArray() << kSimStatus.left(15);
        QTest::newRow("--silent") << QStringList{"--silent"} << QByteArray() << QByteArray();
        QTest::newRow("--pace 1200") << QStringList{"--pace", "1200"} << QByteArray() << kSimStatus;

        // One row for each kind of effect a code has on the state.
        QTest::newRow("alarms toggle bits in bytes 3 and 10")
            << none << codes({32, 38, 41, 33, 33}) << simStatus({{3, 0x02}, {10, 0x14}});
        QTest::newRow("a field is replaced: 8, then 16 (code 56) mag lines")
            << none << codes({54, 56}) << simStatus({{1, 0x25}});
        QTest::newRow("two fields a code: AES, then embedded group 4")
            << none << codes({21, 19}) << simStatus({{6, 0x20}, {7, 0x35}});
        QTest::newRow("H/V range steps and wraps: 2H V 2V parade H 2H")
            << none << codes({87, 87, 87, 87, 87, 87}) << simStatus({{1, 0x41}});
        QTest::newRow("mag range starts at its first step: HMag, VMag")
            << none << codes({91, 91}) << simStatus({{1, 0x81}});
        QTest::newRow("ANA from SDI 1 lights CVS 1, other lamp bits kept")
            << QStringList{"--status", "0000000000000000000000000000FE30"} << codes({27})
            << QByteArray::fromHex("0000000000000000000000000000FB30");
        QTest::newRow("store 8 and 5, recall 8 by code 120")
            << none << codes({119, 109, 119, 62, 106, 120}) << simStatus({{0, 0x83}});
        QTest::newRow("known codes without a status bit")
            << none << codes({1, 6, 23, 24, 26, 43, 52, 61, 69, 75, 79, 84, 88, 123, 141, 155}) << kSimStatus;
        QTest::newRow("unknown codes") << none << codes({0, 9, 80, 200, 255}) << kSimStatus;
    }

    void statusReply()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, expected);

        SimProcess sim(options);
        PtyClient client(sim.devicePath());
        QElapsedTimer timer;
        timer.start();
        client.send(sent + '\r');
        QCOMPARE(client.read(int(expected.size())).toHex(' '), expected.toHex(' '));
        // Paced: fifteen byte-times of 10 bits between the first byte and the last, less rounding.
        if (const qsizetype pace = options.indexOf("--pace"); pace >= 0)
            QVERIFY(timer.elapsed() >= 150'000 / options[pace + 1].toInt() - 1);
        QCOMPARE(client.read(1, 200).toHex(' '), QByteArray()); // and nothing more
        QVERIFY(sim.waitForReceived(int(sent.size()) + 1));
        QCOMPARE(sim.receivedBytes(), sent + '\r');
    }

    void everyByteRecorded_data()
    {
        QTest::addColumn<int>("baud");
        QTest::newRow("9600") << 9600;
        QTest::newRow("28800, not a standard rate") << 28800;
    }

    // Every byte value, in order, stamped on the test's own clock. A pty hands over a whole
    // write at once; the record stamps its bytes as a line at the client's rate carries them.
    // All those codes leave the instrument serving, and their state outlives the client.
    void everyByteRecorded()
    {
        QFETCH(int, baud);

        SimProcess sim;
        QByteArray sent;
        for (int value = 0; value < 256; ++value)
            sent.append(char(value));
        const qint64 before = SimProcess::monotonicNanoseconds();
        QByteArray state;
        {
            PtyClient client(sim.devicePath());
            QVERIFY(client.port.setBaudRate(baud));
            client.send(sent);
            QVERIFY(sim.waitForReceived(256));
            client.read(1 << 20, 300); // whatever those codes made it send
            client.send("\r");
            state = client.read(17, 300);
        }
        const qint64 after = SimProcess::monotonicNanoseconds();
        QCOMPARE(state.size(), 16);
        QVERIFY(state != kSimStatus);
        PtyClient again(sim.devicePath());
        again.send("\r");
        QCOMPARE(again.read(16), state);

        QVERIFY(sim.waitForReceived(258));
        QCOMPARE(sim.receivedBytes(), sent + "\r\r");
        const QList<SimProcess::Received> received = sim.received();
        QVERIFY(received[0].nanoseconds >= before && received[0].nanoseconds <= after);
        // Never closer than a byte-time; exactly one apart where one read held them.
        const qint64 byteTime = 10 * 1'000'000'000LL / baud;
        int exact = 0;
        for (qsizetype i = 1; i < sent.size(); ++i) {
            const qint64 apart = received[i].nanoseconds - received[i - 1].nanoseconds;
            QVERIFY2(apart >= byteTime, qPrintable(QString::number(i)));
            exact += apart == byteTime;
        }
        QVERIFY(exact > 0);
    }

    void stopSignalRemovesLink_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void stopSignalRemovesLink()
    {
        QFETCH(int, signal);

        QTemporaryDir dir;
        const QString link = dir.filePath("orvanta-port");
        QProcess sim;
        sim.start(ORVANTA_SIM_PATH, {"--link", link});
        for (int i = 0; i < 50 && !sim.canReadLine(); ++i)
            sim.waitForReadyRead(100);
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QVERIFY(!device.isEmpty());
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);

        ::kill(pid_t(sim.processId()), signal);
        QVERIFY(sim.waitForFinished(3000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(sim.readAllStandardOutput(), QByteArray());
    }

    void badCommandLine_data()
    {
        QTest::addColumn<QStringList>("options");

        QTest::newRow("status too short") << QStringList{"--status", kSimStatus.toHex().chopped(1)};
        QTest::newRow("status not hex") << QStringList{"--status", "x" + kSimStatus.toHex().mid(1)};
        QTest::newRow("pace zero") << QStringList{"--pace", "0"};
        QTest::newRow("record without file") << QStringList{"--record"};
        QTest::newRow("unknown option") << QStringList{"--loud"};
        QTest::newRow("more records than the memory holds") << QStringList{"--log-records", "1001"};
        QTest::newRow("record 0 short") << QStringList{"--log-short-at", "0"};
        QTest::newRow("a flag given a value") << QStringList{"--log-pairs=2"};
    }

    void badCommandLine()
    {
        QFETCH(QStringList, options);

        QProcess sim;
        sim.start(ORVANTA_SIM_PATH, options);
        QVERIFY(sim.waitForFinished(3000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardOutput().isEmpty());
        QVERIFY(sim.readAllStandardError().contains("usage"));
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"
