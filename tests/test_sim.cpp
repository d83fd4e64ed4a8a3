// The simulator's contract as the program's tests rely on it, over a real pseudo-terminal.
#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <signal.h>
#include <initializer_list>
#include <utility>

using orvanta::test::SimProcess;

namespace {

const QByteArray kDefaultBlock = QByteArray::fromHex("03 21 00 00 80 0C 20 05 00 00 00 00 00 00 1E 30");
const QByteArray kOtherBlock = QByteArray::fromHex("0123456789abcdeffedcba9876543210");

// The default block with whole bytes replaced: {index, value}.
QByteArray patched(std::initializer_list<std::pair<int, int>> changes)
{
    QByteArray block = kDefaultBlock;
    for (const auto &[index, value] : changes)
        block[index] = char(value);
    return block;
}

QByteArray codes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(value));
    return bytes;
}

// The client end of the line, opened the way the program opens it.
struct Client
{
    explicit Client(const QString &path)
    {
        port.setPortName(path);
        port.setBaudRate(9600);
        port.open(QIODevice::ReadWrite);
    }

    void send(const QByteArray &bytes)
    {
        port.write(bytes);
        port.flush();
    }

    // Waits for count bytes, then a little longer, so a reply too long shows too.
    QByteArray receive(int count, int settleMs = 50)
    {
        QByteArray data;
        QDeadlineTimer deadline(3000);
        while (data.size() < count && !deadline.hasExpired()) {
            port.waitForReadyRead(50);
            data += port.readAll();
        }
        QDeadlineTimer settle(settleMs);
        while (!settle.hasExpired()) {
            port.waitForReadyRead(int(settle.remainingTime()));
            data += port.readAll();
        }
        return data;
    }

    QByteArray status(const QByteArray &before = {})
    {
        send(before + '\r');
        return receive(16);
    }

    QSerialPort port;
};

} // namespace

class TestSim : public QObject
{
    Q_OBJECT

private slots:
    void statusReply_data();
    void statusReply();
    void commandChangesState_data();
    void commandChangesState();
    void everyByteRecordedInOrder();
    void stateSurvivesReopen();
    void pacedReplyTakesLineTime_data();
    void pacedReplyTakesLineTime();
    void stopSignalRemovesLink_data();
    void stopSignalRemovesLink();
    void badCommandLine_data();
    void badCommandLine();
};

void TestSim::statusReply_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("default block") << QStringList{} << kDefaultBlock;
    QTest::newRow("--status") << QStringList{"--status", kOtherBlock.toHex()} << kOtherBlock;
    QTest::newRow("--short 5") << QStringList{"--short", "5"} << kDefaultBlock.left(5);
    QTest::newRow("--short 15") << QStringList{"--short", "15"} << kDefaultBlock.left(15);
    QTest::newRow("--short 0") << QStringList{"--short", "0"} << QByteArray();
    QTest::newRow("--silent") << QStringList{"--silent"} << QByteArray();
}

void TestSim::statusReply()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, expected);

    SimProcess sim(options);
    QVERIFY(sim.started());
    Client client(sim.devicePath());
    QVERIFY(client.port.isOpen());
    client.send("\r");
    QCOMPARE(client.receive(expected.size(), 300).toHex(' '), expected.toHex(' '));
    QVERIFY(sim.waitForReceived(1));
    QCOMPARE(sim.receivedBytes(), QByteArray("\r"));
}

void TestSim::commandChangesState_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QByteArray>("expected");

    const QStringList none;
    QTest::newRow("alarm act pic CRC on") << none << codes({32}) << patched({{3, 0x02}});
    QTest::newRow("alarm toggled twice is off") << none << codes({32, 32}) << kDefaultBlock;
    QTest::newRow("alarms in byte 10") << none << codes({38, 41}) << patched({{10, 0x14}});
    QTest::newRow("key press alarm") << none << codes({42}) << patched({{3, 0x40}});
    QTest::newRow("16 mag lines is 0x04") << none << codes({56}) << patched({{1, 0x25}});
    QTest::newRow("8 mag lines is 0x08") << none << codes({54}) << patched({{1, 0x29}});
    QTest::newRow("vector gain mag") << none << codes({100}) << patched({{2, 0x10}});
    QTest::newRow("vector gain 75%") << none << codes({100, 99}) << patched({{2, 0x20}});
    QTest::newRow("waveform gain mag") << none << codes({97}) << patched({{2, 0x04}});
    QTest::newRow("peak hold 4 s") << none << codes({138}) << patched({{11, 200}});
    QTest::newRow("peak hold infinite") << none << codes({139}) << patched({{11, 255}});
    QTest::newRow("audio AES") << none << codes({21}) << patched({{6, 0x10}});
    QTest::newRow("AES then embedded group 4")
        << none << codes({21, 19}) << patched({{6, 0x20}, {7, 0x35}});
    QTest::newRow("display vector") << none << codes({59}) << patched({{1, 0x22}});
    QTest::newRow("display dual") << none << codes({62}) << patched({{1, 0x23}});
    QTest::newRow("waveform pressed again stays") << none << codes({47, 47}) << kDefaultBlock;
    QTest::newRow("H/V range H to 2H") << none << codes({87}) << patched({{1, 0x41}});
    QTest::newRow("H/V range to parade") << none << codes({87, 87, 87, 87}) << patched({{1, 0x61}});
    QTest::newRow("H/V range wraps to H") << none << codes({87, 87, 87, 87, 87}) << kDefaultBlock;
    QTest::newRow("mag range starts at HMag") << none << codes({91}) << patched({{1, 0x01}});
    QTest::newRow("mag range to VMag") << none << codes({91, 91}) << patched({{1, 0x81}});
    QTest::newRow("H/V range from HMag starts at H") << none << codes({91, 87}) << kDefaultBlock;
    QTest::newRow("reference external") << none << codes({119}) << patched({{0, 0x83}});
    QTest::newRow("EDH to generator") << none << codes({111}) << patched({{7, 0x09}});
    QTest::newRow("generator to off") << none << codes({111, 111}) << patched({{7, 0x01}});
    QTest::newRow("safe area action") << none << codes({92}) << patched({{0, 0x01}});
    QTest::newRow("filter chroma-pass, trace off") << none << codes({83, 68}) << patched({{4, 0x20}});
    QTest::newRow("meter scale expand") << none << codes({150}) << patched({{9, 0x18}});
    QTest::newRow("de-emphasis 32 kHz") << none << codes({64}) << patched({{5, 0x00}});
    QTest::newRow("store, change, recall")
        << none << codes({103, 119, 62, 113}) << kDefaultBlock;
    QTest::newRow("recall 8 is code 120")
        << none << codes({119, 109, 119, 120}) << patched({{0, 0x83}});
    QTest::newRow("presets kept apart")
        << none << codes({119, 105, 119, 62, 106, 115}) << patched({{0, 0x83}});
    QTest::newRow("SDI 1 to SDI 2") << none << codes({15}) << patched({{14, 0x1D}});
    QTest::newRow("SDI back to SDI 1") << none << codes({15, 15}) << kDefaultBlock;
    QTest::newRow("ANA starts at CVS 1") << none << codes({27}) << patched({{14, 0x1B}});
    QTest::newRow("ANA to component") << none << codes({27, 27, 27}) << patched({{14, 0x0F}});
    QTest::newRow("ANA wraps, SDI returns")
        << none << codes({27, 27, 27, 27, 15}) << kDefaultBlock;
    QTest::newRow("lamp keeps other bits")
        << QStringList{"--status", "0000000000000000000000000000FE30"} << codes({27})
        << QByteArray::fromHex("0000000000000000000000000000FB30");
    QTest::newRow("known codes without a status bit")
        << none << codes({1, 6, 23, 24, 26, 43, 52, 61, 69, 75, 79, 84, 88, 123, 141, 155})
        << kDefaultBlock;
    QTest::newRow("unknown codes") << none << codes({0, 9, 80, 200, 255}) << kDefaultBlock;
}

void TestSim::commandChangesState()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, sent);
    QFETCH(QByteArray, expected);

    SimProcess sim(options);
    QVERIFY(sim.started());
    Client client(sim.devicePath());
    QVERIFY(client.port.isOpen());
    QCOMPARE(client.status(sent).toHex(' '), expected.toHex(' '));
}

void TestSim::everyByteRecordedInOrder()
{
    SimProcess sim;
    QVERIFY(sim.started());
    Client client(sim.devicePath());
    QVERIFY(client.port.isOpen());

    QByteArray sent;
    for (int value = 0; value < 256; ++value)
        sent.append(char(value));
    const qint64 before = SimProcess::monotonicNanoseconds();
    for (int offset = 0; offset < sent.size(); offset += 64) {
        client.send(sent.mid(offset, 64));
        QTest::qWait(5);
    }
    QVERIFY(sim.waitForReceived(sent.size()));
    const qint64 after = SimProcess::monotonicNanoseconds();

    QCOMPARE(sim.receivedBytes(), sent);
    qint64 previous = before;
    for (const SimProcess::Received &r : sim.received()) {
        QVERIFY(r.nanoseconds >= previous);
        previous = r.nanoseconds;
    }
    QVERIFY(previous <= after);
    // All that traffic left it serving.
    client.receive(0);
    QCOMPARE(client.status().size(), 16);
}

void TestSim::stateSurvivesReopen()
{
    SimProcess sim;
    QVERIFY(sim.started());
    {
        Client client(sim.devicePath());
        QVERIFY(client.port.isOpen());
        QCOMPARE(client.status(codes({119})), patched({{0, 0x83}}));
    }
    Client again(sim.devicePath());
    QVERIFY(again.port.isOpen());
    QCOMPARE(again.status(), patched({{0, 0x83}}));
}

void TestSim::pacedReplyTakesLineTime_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("atLeastMs");

    // Fifteen byte-times separate the first byte from the last.
    QTest::newRow("9600") << 9600 << 15;
    QTest::newRow("1200") << 1200 << 120;
}

void TestSim::pacedReplyTakesLineTime()
{
    QFETCH(int, baud);
    QFETCH(int, atLeastMs);

    SimProcess sim({"--pace", QString::number(baud)});
    QVERIFY(sim.started());
    Client client(sim.devicePath());
    QVERIFY(client.port.isOpen());
    QElapsedTimer timer;
    timer.start();
    client.send("\r");
    const QByteArray reply = client.receive(16, 0);
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(reply, kDefaultBlock);
    QVERIFY2(elapsed >= atLeastMs, qPrintable(QString::number(elapsed) + " ms"));
}

void TestSim::stopSignalRemovesLink_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestSim::stopSignalRemovesLink()
{
    QFETCH(int, signal);

    QTemporaryDir dir;
    const QString link = dir.filePath("orvanta-port");
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(ORVANTA_SIM_PATH, {"--link", link});
    QVERIFY(sim.waitForStarted());
    QDeadlineTimer deadline(5000);
    while (!sim.canReadLine() && !deadline.hasExpired())
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

void TestSim::badCommandLine_data()
{
    QTest::addColumn<QStringList>("options");

    QTest::newRow("status too short") << QStringList{"--status", kDefaultBlock.toHex().chopped(1)};
    QTest::newRow("status too long") << QStringList{"--status", kDefaultBlock.toHex() + "0"};
    QTest::newRow("status not hex") << QStringList{"--status", "x" + kDefaultBlock.toHex().mid(1)};
    QTest::newRow("short negative") << QStringList{"--short", "-1"};
    QTest::newRow("pace zero") << QStringList{"--pace", "0"};
    QTest::newRow("record without file") << QStringList{"--record"};
    QTest::newRow("unknown option") << QStringList{"--loud"};
}

void TestSim::badCommandLine()
{
    QFETCH(QStringList, options);

    QProcess sim;
    sim.start(ORVANTA_SIM_PATH, options);
    QVERIFY(sim.waitForFinished(3000));
    QCOMPARE(sim.exitCode(), 2);
    QVERIFY(sim.readAllStandardOutput().isEmpty());
    QVERIFY(sim.readAllStandardError().contains("usage"));
}

QTEST_GUILESS_MAIN(TestSim)
#include "test_sim.moc"
