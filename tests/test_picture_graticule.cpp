// Graticule files: the rows they paint and which file the status calls for.
#include "link/messages.h"
#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "link/status_block.h"
#include "picture/canvas.h"
#include "picture/graticule_choice.h"
#include "picture/graticule_file.h"
#include "picture/upload_window.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanta;
using picture::Canvas;
using picture::GraticuleFile;
using picture::PaletteIndex;
namespace palette = picture::palette;

// Runs of a row: (from, up to but not including, palette index); all else untouched.
using Runs = QList<std::array<int, 3>>;

namespace {

constexpr PaletteIndex kUntouched = 5;
constexpr int kRow = 100;

// The painted row as runs, merging neighbours of one colour.
Runs runsOf(const Canvas &canvas, int row)
{
    Runs runs;
    for (int column = 0; column < Canvas::kSize; ++column) {
        const int colour = canvas.pixelIndex(column, row).value_or(-1);
        if (!runs.isEmpty() && runs.last()[1] == column && runs.last()[2] == colour)
            runs.last()[1] = column + 1;
        else
            runs.append({column, column + 1, colour});
    }
    return runs;
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath("grat.rle");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

link::StatusBlock status(int byte0, int byte1, int byte6, int byte7, int byte12)
{
    QByteArray bytes(16, '\0');
    bytes[0] = char(byte0);
    bytes[1] = char(byte1);
    bytes[6] = char(byte6);
    bytes[7] = char(byte7);
    bytes[12] = char(byte12);
    return link::StatusBlock(bytes);
}

} // namespace

class TestPictureGraticule : public QObject
{
    Q_OBJECT

private slots:
    void row_data();
    void row();
    void shortFileStopsOnce();
    void missingFileIsNotCreated();
    void choice_data();
    void choice();
    void checkWhenTheWindowLoads_data();
    void checkWhenTheWindowLoads();
};

void TestPictureGraticule::row_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Runs>("runs");

    const int u = kUntouched;
    const int black = palette::kBlack;
    const int green = palette::kGreen;
    QTest::newRow("00 64 04 01 09 9B") << QByteArray::fromHex("00640401099b")
                                       << Runs{{0, 100, black}, {100, 101, green}, {101, 512, black}};
    QTest::newRow("flags 0x0B length 0: 768 black") << QByteArray::fromHex("0b00") << Runs{{0, 512, black}};
    QTest::newRow("last record of length 0")
        << QByteArray::fromHex("040a0800") << Runs{{0, 10, green}, {10, 512, u}};
    QTest::newRow("only a last record of length 0") << QByteArray::fromHex("0800") << Runs{{0, 512, u}};
    QTest::newRow("bits 4 to 7 not read") << QByteArray::fromHex("f405f800") << Runs{{0, 5, green}, {5, 512, u}};
    QTest::newRow("256 and 512 add up") << QByteArray::fromHex("0302040a0800") << Runs{{0, 512, black}};
    QTest::newRow("runs right of the canvas") << QByteArray::fromHex("05ff040a0c10") << Runs{{0, 512, green}};
    QTest::newRow("green up to 300, then 12")
        << QByteArray::fromHex("052c080c") << Runs{{0, 300, green}, {300, 312, black}, {312, 512, u}};
}

void TestPictureGraticule::row()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Runs, runs);

    QTemporaryDir dir;
    Canvas canvas;
    canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
    GraticuleFile file;
    QVERIFY(file.open(writeFile(dir, bytes)));
    QVERIFY(file.DrawGratLine(canvas, kRow));

    QCOMPARE(runsOf(canvas, kRow), runs);
    QCOMPARE(runsOf(canvas, kRow - 1), (Runs{{0, 512, kUntouched}}));
    QCOMPARE(runsOf(canvas, kRow + 1), (Runs{{0, 512, kUntouched}}));
    QVERIFY(!file.exhausted());
}

void TestPictureGraticule::shortFileStopsOnce()
{
    // Two whole rows, then a row cut off after one record, then half a record.
    QTemporaryDir dir;
    Canvas canvas;
    canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
    GraticuleFile file;
    QVERIFY(file.open(writeFile(dir, QByteArray::fromHex("04010800" "0e00" "0405" "01"))));
    QVERIFY(file.DrawGratLine(canvas, 3));
    QVERIFY(file.DrawGratLine(canvas, 4));
    QVERIFY(!file.DrawGratLine(canvas, 5));
    QVERIFY(file.exhausted());
    QVERIFY(!file.DrawGratLine(canvas, 6));
    QCOMPARE(runsOf(canvas, 3), (Runs{{0, 1, palette::kGreen}, {1, 512, kUntouched}}));
    QCOMPARE(runsOf(canvas, 4), (Runs{{0, 512, palette::kGreen}}));
    QCOMPARE(runsOf(canvas, 5), (Runs{{0, 5, palette::kGreen}, {5, 512, kUntouched}}));
    QCOMPARE(runsOf(canvas, 6), (Runs{{0, 512, kUntouched}}));

    // A closed file paints nothing.
    file.close();
    QVERIFY(!file.DrawGratLine(canvas, 7));
    QCOMPARE(runsOf(canvas, 7), (Runs{{0, 512, kUntouched}}));
}

void TestPictureGraticule::missingFileIsNotCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("graticules/pal_wfma.rle");
    GraticuleFile file;
    QVERIFY(!file.open(path));
    QVERIFY(!file.isOpen());
    QVERIFY(!QFile::exists(path));
    Canvas canvas;
    QVERIFY(!file.DrawGratLine(canvas, 3));
}

void TestPictureGraticule::choice_data()
{
    QTest::addColumn<link::StatusBlock>("status");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("smallBoxes");

    // status(byte 0, byte 1, byte 6, byte 7, byte 12)
    QTest::newRow("pal waveform, d") << status(0, 0x21, 0, 1, 0) << "pal_wfmd.rle" << false;
    QTest::newRow("byte 6 bit 1: a, whatever byte 12") << status(0, 0x21, 0x02, 1, 0xff) << "pal_wfma.rle" << false;
    QTest::newRow("byte 6 bit 2, view clear: a") << status(0, 0x21, 0x04, 1, 0) << "pal_wfma.rle" << false;
    QTest::newRow("byte 6 bit 2, view digital: d") << status(0, 0x21, 0x04, 1, 0x04) << "pal_wfmd.rle" << false;
    QTest::newRow("byte 12 bit 1 does not count") << status(0, 0x21, 0x04, 1, 0x02) << "pal_wfma.rle" << false;
    QTest::newRow("byte 12 other bits neither") << status(0, 0x21, 0x04, 1, 0xfb) << "pal_wfma.rle" << false;
    QTest::newRow("byte 6 other bits: d") << status(0, 0x21, 0xf9, 1, 0) << "pal_wfmd.rle" << false;
    QTest::newRow("ntsc waveform") << status(0, 0x21, 0, 0, 0) << "ntsc_wfmd.rle" << false;
    QTest::newRow("byte 7 other bits: ntsc") << status(0, 0x21, 0, 0xfe, 0) << "ntsc_wfmd.rle" << false;
    QTest::newRow("pal vector a") << status(0x03, 0x22, 0x02, 1, 0) << "pal_veca.rle" << false;
    QTest::newRow("vector, byte 0 bit 2: none") << status(0x04, 0x22, 0x02, 1, 0) << "" << false;
    QTest::newRow("ntsc combination") << status(0, 0x63, 0, 0, 0) << "ntsc_comd.rle" << false;
    QTest::newRow("combination ignores byte 0 bit 2") << status(0x04, 0x23, 0x02, 0, 0) << "ntsc_coma.rle" << false;
    QTest::newRow("small boxes, ntsc: pal waveform") << status(0, 0x20, 0, 0, 0) << "pal_wfmd.rle" << true;
    QTest::newRow("small boxes, a set") << status(0x04, 0x40, 0x02, 0, 0) << "pal_wfma.rle" << true;
}

void TestPictureGraticule::choice()
{
    QFETCH(link::StatusBlock, status);
    QFETCH(QString, file);
    QFETCH(bool, smallBoxes);

    const picture::GraticuleChoice choice = picture::chooseGraticule(status);
    QCOMPARE(choice.fileName, file);
    QCOMPARE(choice.smallBoxes, smallBoxes);
    if (!file.isEmpty())
        QVERIFY(std::find(picture::kGraticuleFiles.begin(), picture::kGraticuleFiles.end(), file) !=
                picture::kGraticuleFiles.end());
}

void TestPictureGraticule::checkWhenTheWindowLoads_data()
{
    QTest::addColumn<QString>("missing");
    QTest::newRow("all there") << "";
    QTest::newRow("first checked") << "pal_wfmd.rle";
    QTest::newRow("last checked") << "ntsc_coma.rle";
    QTest::newRow("no folder") << "*";
}

void TestPictureGraticule::checkWhenTheWindowLoads()
{
    QFETCH(QString, missing);

    QTemporaryDir dir;
    const QString folder = dir.filePath("graticules");
    if (missing != "*") {
        QVERIFY(QDir(dir.path()).mkdir("graticules"));
        for (QStringView name : picture::kGraticuleFiles) {
            QFile file(folder + "/" + name.toString());
            QVERIFY(name == missing || file.open(QIODevice::WriteOnly));
        }
    }
    test::SimProcess sim;
    link::PortMap map;
    map.setDevice(1, sim.devicePath());
    test::RecordingNotifier notifier;
    link::SerialLink serial(map, notifier);
    QVERIFY(serial.OpenPort());
    struct : link::PollSwitch
    {
        void pollEvent(link::PollEvent) override { QFAIL("the check does not touch the poll"); }
    } poll;

    const picture::UploadWindow window(serial, notifier, poll, folder);
    // One message however many are missing, and the port closed; nothing is created.
    const link::Message said = link::messages::kGraticulesMissing;
    QCOMPARE(notifier.messages.size(), missing.isEmpty() ? 0 : 1);
    if (!missing.isEmpty())
        QCOMPARE(notifier.messages.first(), (test::RecordingNotifier::Message{said.text.toString(), said.title.toString()}));
    QCOMPARE(serial.IsPortOpen(), missing.isEmpty());
    QVERIFY(missing.isEmpty() || !QFile::exists(folder + "/" + missing));
}

QTEST_MAIN(TestPictureGraticule)
#include "test_picture_graticule.moc"
