// The simulator's contract as the program's tests rely on it, over a real
// pseudo-terminal: the status block and what codes do to it, the record of what
// it got, the graticule files it draws to, its stop and its command line.
// Its picture and its faults are proved by the program's own downloads.
#include "support/file_bytes.h"
#include "support/link_rig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace orvanta;
using test::readFile;
using test::SimProcess;
using namespace std::chrono_literals;

namespace {

// The simulator's status block at power-on: PAL waveform, digital set.
const QByteArray kSimStatus = QByteArray::fromHex("03210000800C20050000000000001E30");

// That block with whole bytes replaced: {index, value}.
QByteArray simStatus(std::initializer_list<std::pair<int, int>> changes)
{
    QByteArray block = kSimStatus;
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

// Whether each row of a graticule file paints exactly the canvas's 512
// columns and the file holds `rows` of them, ending with the last.
QString malformed(const QByteArray &file, int rows)
{
    int row = 0, column = 0;
    for (int i = 0; i + 1 < file.size(); i += 2) {
        column += quint8(file[i + 1]) + (quint8(file[i]) & 3) * 256;
        if (quint8(file[i]) & 8) {
            if (column != 512)
                return QStringLiteral("row %1 covers %2 columns").arg(row).arg(column);
            ++row;
            column = 0;
        }
    }
    if (file.size() % 2 != 0 || column != 0)
        return QStringLiteral("the file ends inside a row");
    return row == rows ? QString() : QStringLiteral("%1 rows").arg(row);
}

} // namespace

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
        // One row for each kind of effect a code has on the state.
        QTest::newRow("alarms toggle bits in bytes 3 and 10")
            << none << codes({32, 38, 41, 33, 33}) << simStatus({{3, 0x02}, {10, 0x14}});
        QTest::newRow("a field is replaced: 8, then 16 (code 56) mag lines")
            << none << codes({54, 56}) << simStatus({{1, 0x25}});
        QTest::newRow("H/V range steps and wraps: 2H V 2V parade H 2H")
            << none << codes({87, 87, 87, 87, 87, 87}) << simStatus({{1, 0x41}});
        QTest::newRow("ANA from SDI 1 lights CVS 1, other lamp bits kept")
            << QStringList{"--status", "0000000000000000000000000000FE30"} << codes({27})
            << QByteArray::fromHex("0000000000000000000000000000FB30");
        QTest::newRow("codes without a status bit, and unknown ones")
            << none << codes({1, 6, 23, 43, 79, 84, 88, 123, 141, 155, 9, 80, 200, 255}) << kSimStatus;
    }

    // The reply, and nothing more; every code recorded.
    void statusReply()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, expected);
        test::LinkRig rig(options);
        QVERIFY(rig.serial->OpenPort());
        for (const char code : sent + '\r')
            QVERIFY(rig.serial->WriteByte(quint8(code)));
        QVERIFY(rig.serial->WaitForBytes(int(expected.size())));
        rig.serial->Delay(200ms);
        QCOMPARE(rig.serial->ReadBytes().toHex(' '), expected.toHex(' '));
        QCOMPARE(rig.receivedSince(), sent + '\r');
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
        QVERIFY(QTest::qWaitFor([&] { return sim.canReadLine(); }, 5000));
        const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
        QCOMPARE(QFileInfo(link).symLinkTarget(), device);
        ::kill(pid_t(sim.processId()), signal);
        QVERIFY(sim.waitForFinished(3000));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(sim.readAllStandardOutput(), QByteArray());
    }

    // The generator makes the twelve files checked in, each whole; the "a" and "d" sets differ.
    void graticuleFiles()
    {
        QTemporaryDir dir;
        QProcess generator;
        generator.start(QCoreApplication::applicationDirPath() + "/graticule-gen", {dir.path()});
        QVERIFY2(generator.waitForFinished(30000), "build graticule-gen (it is part of the tree)");
        QCOMPARE(generator.exitCode(), 0);
        const QString shipped = ORVANTA_DATA_DIR "/graticules/";
        const QStringList made = QDir(dir.path()).entryList({"*.rle"});
        QCOMPARE(made.size(), 12);
        for (const QString &name : made) {
            const QByteArray data = readFile(shipped + name);
            QVERIFY2(readFile(dir.filePath(name)) == data, qPrintable(name + " is not as generated"));
            QCOMPARE(malformed(data, name.startsWith("pal") ? 508 : 428), QString());
            QString other = name;
            other[other.size() - 5] = name.endsWith("a.rle") ? 'd' : 'a';
            QVERIFY2(readFile(shipped + other) != data, qPrintable(name));
        }
    }
};

QTEST_MAIN(TestSim)
#include "test_sim.moc"
