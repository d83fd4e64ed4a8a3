// The link against the simulator on a real pseudo-terminal.
#include "link/messages.h"
#include "link/serial_link.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <asm/termbits.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace orvanta;
using test::RecordingNotifier;
using test::SimProcess;

namespace {

// The line speed the tty itself is set to, read through a second descriptor.
int lineSpeed(const QString &path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    termios2 settings{};
    const int result = ::ioctl(fd, TCGETS2, &settings);
    ::close(fd);
    return result == 0 ? int(settings.c_ospeed) : -1;
}

struct Bench
{
    explicit Bench(const QStringList &simOptions = {})
        : sim(simOptions)
    {
        map.setDevice(1, sim.devicePath());
        serial = std::make_unique<link::SerialLink>(map, notifier);
    }

    SimProcess sim;
    RecordingNotifier notifier;
    link::PortMap map;
    std::unique_ptr<link::SerialLink> serial;
};

const RecordingNotifier::Message kSerialPortMessage{
    link::messages::kSerialPort.text.toString(), link::messages::kSerialPort.title.toString()};

} // namespace

class TestLink : public QObject
{
    Q_OBJECT

private slots:
    void sendCodeOpensOnceThenOnlyWrites();
    void delayLastsItsTimeAndRestoresTheTimer();
    void waitForBytes_data();
    void waitForBytes();
    void staleTimeoutFlagNeverEndsAWaitEarly();
    void flushAtTheBufferLimitKeepsListening();
    void unopenablePort_data();
    void unopenablePort();
    void lineTime_data();
    void lineTime();
    void baudChangeOnOpenPortTakesEffectAtOnce_data();
    void baudChangeOnOpenPortTakesEffectAtOnce();
    void portNumberChosenWhileOpenCountsFromNextOpen();
    void simulatorKilledDuringWait();
    void endingUnwindsARunningWait();
};

void TestLink::sendCodeOpensOnceThenOnlyWrites()
{
    Bench bench;
    QVERIFY(bench.sim.started());
    QVERIFY(!bench.serial->IsPortOpen());

    bench.serial->SendCode(13); // the simulator answers with its status block
    QVERIFY(bench.serial->IsPortOpen());
    QVERIFY(bench.serial->WaitForBytes(16));
    bench.serial->SendCode(47);

    // A reopen would have dropped the reply still waiting.
    QCOMPARE(bench.serial->BytesWaiting(), 16);
    QVERIFY(bench.sim.waitForReceived(2));
    QCOMPARE(bench.sim.receivedBytes(), QByteArray("\x0d\x2f"));
    QVERIFY(bench.notifier.messages.isEmpty());
}

void TestLink::delayLastsItsTimeAndRestoresTheTimer()
{
    Bench bench;
    QElapsedTimer clock;
    clock.start();
    bench.serial->Delay(100);
    const qint64 elapsed = clock.elapsed();
    // Short of the 2 s interval it would last if the time it was given were lost.
    QVERIFY2(elapsed >= 99 && elapsed < 1900, qPrintable(QString::number(elapsed)));
    QVERIFY(!bench.serial->waitTimer().isActive());
    QCOMPARE(bench.serial->waitTimer().interval(), 2000);
    QCOMPARE(bench.serial->timeoutFlag(), link::SerialLink::kTrue);
}

void TestLink::waitForBytes_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<bool>("arrives");
    QTest::addColumn<int>("waiting");

    QTest::newRow("15 bytes time out and stay") << QStringList{"--short", "15"} << false << 15;
    QTest::newRow("exactly 16") << QStringList{} << true << 16;
    QTest::newRow("more than 16 all taken") << QStringList{"--short", "20"} << true << 20;
}

void TestLink::waitForBytes()
{
    QFETCH(QStringList, simOptions);
    QFETCH(bool, arrives);
    QFETCH(int, waiting);

    Bench bench(simOptions);
    QVERIFY(bench.serial->OpenPort());
    bench.serial->FlushInput();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(bench.serial->WriteByte(13));
    QCOMPARE(bench.serial->WaitForBytes(16), arrives);
    const qint64 elapsed = clock.elapsed();

    if (arrives) {
        QTest::qWait(50); // anything still on its way
        QCOMPARE(bench.serial->ReadBytes().size(), waiting);
    } else {
        QVERIFY2(elapsed >= 1990, qPrintable(QString::number(elapsed)));
        QCOMPARE(bench.serial->BytesWaiting(), waiting);
    }
    QCOMPARE(bench.serial->timeoutFlag(), link::SerialLink::kFalse);
    QVERIFY(!bench.serial->waitTimer().isActive());
}

void TestLink::staleTimeoutFlagNeverEndsAWaitEarly()
{
    Bench bench({"--silent"});
    QVERIFY(bench.serial->OpenPort());
    bench.serial->Delay(10);
    QCOMPARE(bench.serial->timeoutFlag(), link::SerialLink::kTrue);

    QElapsedTimer clock;
    clock.start();
    QVERIFY(!bench.serial->WaitForBytes(16));
    QVERIFY2(clock.elapsed() >= 1990, qPrintable(QString::number(clock.elapsed())));
}

void TestLink::flushAtTheBufferLimitKeepsListening()
{
    // A reply larger than the link buffers: reading stops at the limit until flushed.
    Bench bench({"--short", "40000"});
    QVERIFY(bench.serial->OpenPort());
    QVERIFY(bench.serial->WriteByte(13));
    QVERIFY(bench.serial->WaitForBytes(32767));
    bench.serial->Delay(100); // the rest of the reply knocks at the full buffer
    bench.serial->FlushInput();
    QCOMPARE(bench.serial->BytesWaiting(), 0);

    QVERIFY(bench.serial->WriteByte(13));
    QVERIFY(bench.serial->WaitForBytes(16));
}

void TestLink::unopenablePort_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing device") << "missing";
    QTest::newRow("a directory") << "directory";
    QTest::newRow("busy") << "busy";
}

void TestLink::unopenablePort()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    SimProcess sim;
    QSerialPort holder;
    QString path = dir.filePath(QStringLiteral("no-such-tty"));
    if (kind == u"directory") {
        path = dir.path();
    } else if (kind == u"busy") {
        path = sim.devicePath();
        holder.setPortName(path);
        QVERIFY(holder.open(QIODevice::ReadWrite));
    }

    RecordingNotifier notifier;
    link::PortMap map;
    map.setDevice(1, path);
    link::SerialLink serial(map, notifier);

    serial.SendCode(47);
    QCOMPARE(notifier.messages, QList{kSerialPortMessage});
    QVERIFY(!serial.IsPortOpen());
    serial.SendCode(47); // tries again, fails again, once
    QCOMPARE(notifier.messages.size(), 2);
    QVERIFY(!serial.IsPortOpen());
}

// A download sleeps through the time a block needs on the line: too long a
// time slows every picture, too short wakes the thread for nothing.
void TestLink::lineTime_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<qint64>("blockMicroseconds"); // 128 bytes
    QTest::newRow("8N1, 10 bits a byte") << "38400,N,8,1" << qint64(33'333);
    QTest::newRow("7E2, 11 bits a byte") << "9600,E,7,2" << qint64(146'666);
}

void TestLink::lineTime()
{
    QFETCH(QString, settings);
    QFETCH(qint64, blockMicroseconds);
    Bench bench;
    QVERIFY(bench.serial->SetPortSettings(settings));
    QCOMPARE(bench.serial->lineTime(128).count(), blockMicroseconds);
}

void TestLink::baudChangeOnOpenPortTakesEffectAtOnce_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("speed");
    QTest::newRow("9600") << "9600,N,8,1" << 9600;
    QTest::newRow("19200") << "19200,N,8,1" << 19200;
    QTest::newRow("28800, not a standard rate") << "28800,N,8,1" << 28800;
    QTest::newRow("38400") << "38400,N,8,1" << 38400;
}

void TestLink::baudChangeOnOpenPortTakesEffectAtOnce()
{
    QFETCH(QString, settings);
    QFETCH(int, speed);
    Bench bench;
    QVERIFY(bench.serial->SetPortSettings(settings));
    QVERIFY(bench.serial->OpenPort());
    QCOMPARE(lineSpeed(bench.sim.devicePath()), speed);

    // Switch to another rate while open, then back.
    QVERIFY(bench.serial->SetPortSettings(speed == 9600 ? "38400,N,8,1" : "9600,N,8,1"));
    QCOMPARE(lineSpeed(bench.sim.devicePath()), speed == 9600 ? 38400 : 9600);
    QVERIFY(bench.serial->SetPortSettings(settings));
    QCOMPARE(lineSpeed(bench.sim.devicePath()), speed);
    QVERIFY(bench.serial->IsPortOpen());
}

void TestLink::portNumberChosenWhileOpenCountsFromNextOpen()
{
    SimProcess first, second;
    RecordingNotifier notifier;
    link::PortMap map;
    map.setDevice(1, first.devicePath());
    map.setDevice(2, second.devicePath());
    link::SerialLink serial(map, notifier);

    serial.SendCode(1);
    serial.SetPortNumber(2); // the open port keeps its device
    serial.SendCode(2);
    serial.ClosePort();
    serial.SendCode(3);

    QVERIFY(first.waitForReceived(2));
    QVERIFY(second.waitForReceived(1));
    QCOMPARE(first.receivedBytes(), QByteArray("\x01\x02"));
    QCOMPARE(second.receivedBytes(), QByteArray("\x03"));
    QVERIFY(notifier.messages.isEmpty());
}

void TestLink::simulatorKilledDuringWait()
{
    Bench bench({"--silent"});
    QVERIFY(bench.serial->OpenPort());
    QTimer::singleShot(300, [&] { bench.sim.kill(); });
    QVERIFY(!bench.serial->WaitForBytes(16));
    // The hang-up closed the port instead of reporting errors for ever.
    QVERIFY(!bench.serial->IsPortOpen());
    QVERIFY(bench.notifier.messages.isEmpty());
}

void TestLink::endingUnwindsARunningWait()
{
    Bench bench({"--silent"});
    QVERIFY(bench.serial->OpenPort());
    QTimer::singleShot(100, [&] { bench.serial->endWaits(); });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!bench.serial->WaitForBytes(16));
    // Short of the 2 s time-out it would otherwise run into.
    QVERIFY2(clock.elapsed() < 1900, qPrintable(QString::number(clock.elapsed())));
    bench.serial->Delay(5000); // a wait begun after the end returns at once
    QVERIFY2(clock.elapsed() < 4900, qPrintable(QString::number(clock.elapsed())));
    bench.serial->ClosePort();
    QVERIFY(!bench.serial->OpenPort());
}

QTEST_MAIN(TestLink)
#include "test_link.moc"
