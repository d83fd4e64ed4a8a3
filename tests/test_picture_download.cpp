// "Download Single Frame" against the simulator over its pty: the bytes on
// the line, the picture on its graticule, and the faults.
#include "../sim/screen_layout.h"
#include "link/messages.h"
#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "picture/canvas.h"
#include "picture/graticule_choice.h"
#include "picture/graticule_file.h"
#include "picture/pixel_colour.h"
#include "picture/upload_window.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orvanta;
using picture::Canvas;
using picture::PaletteIndex;
using test::RecordingNotifier;
using test::SimProcess;
namespace layout = sim::layout;
namespace palette = picture::palette;

namespace {

const QString kGraticules = QStringLiteral(ORVANTA_DATA_DIR "/graticules");

// Waveform, range H; PAL or NTSC (byte 7 bit 0).
const char *const kPalWaveform = "03210000800c20050000000000001e30";
const char *const kNtscWaveform = "03210000800c20040000000000001e30";

class RecordingPoll : public link::PollSwitch
{
public:
    QList<link::PollEvent> events;
    void pollEvent(link::PollEvent event) override { events.append(event); }
};

RecordingNotifier::Message message(const link::Message &m)
{
    return {m.text.toString(), m.title.toString()};
}

// The picture window on the simulator, as the program puts them together.
struct Rig
{
    explicit Rig(const QString &status, QStringList options = {}, const QString &graticules = kGraticules)
        : sim(options << "--status" << status)
    {
        map.setDevice(1, sim.devicePath());
        // Port 2 leads nowhere.
        map.setDevice(2, QDir(dir.path()).filePath("no-such-tty"));
        serial = std::make_unique<link::SerialLink>(map, notifier);
        window = new picture::UploadWindow(*serial, notifier, poll, graticules);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    }
    ~Rig() { delete window.data(); }

    QPushButton *button(QStringView name) const { return window->button(name); }
    void download() const { button(u"cmdDownload")->click(); }
    // Everything the instrument got so far. With the port open a marker it
    // ignores goes last, so nothing still on its way is missed.
    QList<SimProcess::Received> received() const
    {
        if (serial->IsPortOpen() && serial->WriteByte(kMarker)) {
            QDeadlineTimer deadline(5000);
            QList<SimProcess::Received> list;
            while ((list = sim.received()).isEmpty() || list.last().byte != kMarker) {
                if (deadline.hasExpired())
                    return {};
                QTest::qWait(10);
            }
            list.removeIf([](const SimProcess::Received &r) { return r.byte == kMarker; });
            return list;
        }
        QTest::qWait(300);
        return sim.received();
    }
    // As a string of codes: "13 11 10 10 12".
    QString codes() const
    {
        QStringList list;
        for (const SimProcess::Received &r : received())
            list << QString::number(r.byte);
        return list.join(' ');
    }

    static constexpr quint8 kMarker = 0;

    SimProcess sim;
    QTemporaryDir dir;
    link::PortMap map;
    RecordingNotifier notifier;
    std::unique_ptr<link::SerialLink> serial;
    RecordingPoll poll;
    QPointer<picture::UploadWindow> window;
};

// One whole transfer: 16 first only when asked, then the status request,
// the start, one 10 per block plus the one read ahead, the end.
const QRegularExpression kTransfer(QStringLiteral("^(16 )?13 11 (10 ){2,}12$"));

// The graticule as the file alone paints it on a black canvas, rows 3 to last.
Canvas graticuleOnly(const QString &file, int last)
{
    Canvas canvas;
    picture::GraticuleFile graticule;
    if (!file.isEmpty() && graticule.open(QDir(kGraticules).filePath(file)))
        for (int row = 3; row <= last; ++row)
            graticule.DrawGratLine(canvas, row);
    return canvas;
}

} // namespace

class TestPictureDownload : public QObject
{
    Q_OBJECT

private slots:
    void bytesOnTheLine_data();
    void bytesOnTheLine();
    void pictureOnItsGraticule_data();
    void pictureOnItsGraticule();
    void smallBoxes();
    void faultsEndInTheMessage_data();
    void faultsEndInTheMessage();
    void statusReadFailsAlone_data();
    void statusReadFailsAlone();
    void graticuleFileMissingOrShort();
    void closeBoxDuringADownload();
    void exitDuringADownloadAndASecondClick();
    void programEndsDuringADownload();
};

void TestPictureDownload::bytesOnTheLine_data()
{
    QTest::addColumn<bool>("realtime");
    QTest::newRow("plain") << false;
    QTest::newRow("real-time output running") << true;
}

void TestPictureDownload::bytesOnTheLine()
{
    QFETCH(bool, realtime);

    Rig rig(kPalWaveform);
    rig.serial->setRealtimeActive(realtime);
    rig.download();

    const QString codes = rig.codes();
    QVERIFY2(kTransfer.match(codes).hasMatch(), qPrintable(codes));
    QCOMPARE(codes.startsWith("16 "), realtime);
    QVERIFY(!rig.serial->realtimeActive());
    QVERIFY(rig.notifier.messages.isEmpty());
    QVERIFY(rig.serial->IsPortOpen());
    QCOMPARE(rig.window->cursor().shape(), Qt::ArrowCursor);

    // The pauses of the cycle: 100 ms after 16, and after 11 before the first 10.
    const QList<SimProcess::Received> received = rig.received();
    const auto timeOf = [&](int code) {
        for (const SimProcess::Received &r : received)
            if (r.byte == code)
                return r.nanoseconds;
        return qint64(-1);
    };
    QVERIFY(timeOf(10) - timeOf(11) >= 95'000'000);
    if (realtime)
        QVERIFY(timeOf(13) - timeOf(16) >= 95'000'000);
}

void TestPictureDownload::pictureOnItsGraticule_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("graticule"); // the file the picture lies on; empty: none
    QTest::addColumn<int>("traceRow");      // a row of the white bar's trace; 0: not checked

    const auto whiteBarRow = [](const layout::Standard &standard) {
        return int(std::lround(layout::levelRow(standard, layout::kBars[0].luma())));
    };
    QTest::newRow("pal waveform") << kPalWaveform << "pal_wfmd.rle" << whiteBarRow(layout::kPal);
    QTest::newRow("ntsc waveform") << kNtscWaveform << "ntsc_wfmd.rle" << whiteBarRow(layout::kNtsc);
    // Byte 6 bit 1: the analogue set.
    QTest::newRow("pal vector, a") << "03220000800c22050000000000001e30" << "pal_veca.rle" << 0;
    QTest::newRow("ntsc combination") << "03230000800c20040000000000001e30" << "ntsc_comd.rle" << 0;
    QTest::newRow("vector without graticule") << "07220000800c20050000000000001e30" << "" << 0;
    // Byte 1 0x61 and byte 10 bit 0: the YRGB parade, in four colours.
    QTest::newRow("pal YRGB parade") << "03610000800c20050000010000001e30" << "pal_wfmd.rle" << 0;
    QTest::newRow("ntsc RGB parade") << "03610000800c20040000000000001e30" << "ntsc_wfmd.rle" << 0;
}

void TestPictureDownload::pictureOnItsGraticule()
{
    QFETCH(QString, status);
    QFETCH(QString, graticule);
    QFETCH(int, traceRow);

    Rig rig(status);
    rig.download();
    QVERIFY2(rig.notifier.messages.isEmpty(), qPrintable(rig.notifier.messages.value(0).first));

    const link::StatusBlock block(QByteArray::fromHex(status.toLatin1()));
    const bool pal = block.isSet(link::status::kPal).value_or(false);
    const int last = pal ? 510 : 430;
    const int annotation = pal ? 480 : 400;
    const Canvas reference = graticuleOnly(graticule, last);
    const Canvas &canvas = rig.window->canvas();
    const auto bands = picture::pictureBands(block);

    int trace = 0;
    int graticulePixels = 0;
    for (int row = 0; row < Canvas::kSize; ++row) {
        for (int column = 0; column < Canvas::kSize; ++column) {
            const std::optional<PaletteIndex> got = canvas.pixelIndex(column, row);
            const std::optional<PaletteIndex> expected = reference.pixelIndex(column, row);
            if (row <= 2 || row > last || (!pal && row >= 430)) {
                QVERIFY2(got == palette::kBlack, qPrintable(QString("%1,%2").arg(column).arg(row)));
                continue;
            }
            graticulePixels += expected == palette::kGreen && got == palette::kGreen;
            if (got == expected)
                continue;
            if (row >= annotation && row < annotation + 16 && got == palette::kWhite)
                continue;
            // Anything else is trace, in the colours of its byte column, never in 508 to 511.
            const int byteColumn = column / 4 + 1;
            const bool traceColour = got == picture::SelectPixelColour(bands, 1, byteColumn) ||
                                     got == picture::SelectPixelColour(bands, 2, byteColumn) ||
                                     got == picture::SelectPixelColour(bands, 3, byteColumn);
            QVERIFY2(traceColour && column < 508 && row < last,
                     qPrintable(QString("%1,%2: %3").arg(column).arg(row).arg(got.value_or(99))));
            ++trace;
        }
    }
    QVERIFY(trace > 500);
    QCOMPARE(graticulePixels > 1000, !graticule.isEmpty());

    if (traceRow) {
        // The white bar: brightest on its level, fainter just above and below.
        for (const int column : {40, 60, 85}) {
            QCOMPARE(canvas.pixelIndex(column, traceRow), std::optional<PaletteIndex>(palette::kWhite));
            QCOMPARE(canvas.pixelIndex(column, traceRow - 1), std::optional<PaletteIndex>(palette::kLightGrey));
            QCOMPARE(canvas.pixelIndex(column, traceRow + 2), std::optional<PaletteIndex>(palette::kGrey));
        }
    }
}

void TestPictureDownload::smallBoxes()
{
    Rig rig("03200000800c20040000000000001e30");
    rig.window->canvas().fillRows(0, Canvas::kSize - 1, palette::kGreen);
    rig.download();

    // No block is asked for; the one block the instrument sends anyway is collected first.
    QCOMPARE(rig.codes(), QString("13 11 12"));
    QCOMPARE(rig.notifier.messages, QList{message(link::messages::kSmallBoxes)});
    const Canvas &canvas = rig.window->canvas();
    QCOMPARE(canvas.pixelIndex(300, 2), std::optional<PaletteIndex>(palette::kBlack));
    QCOMPARE(canvas.pixelIndex(300, 3), std::optional<PaletteIndex>(palette::kGreen));
    QCOMPARE(canvas.pixelIndex(300, 430), std::optional<PaletteIndex>(palette::kBlack));
    // The annotation without a gain item: nothing white right of column 400 on its row.
    int white = 0;
    for (int row = 400; row < 416; ++row)
        for (int column = 0; column < Canvas::kSize; ++column)
            if (canvas.pixelIndex(column, row) == palette::kWhite) {
                ++white;
                QVERIFY(column < 400);
            }
    QVERIFY(white > 0);
}

void TestPictureDownload::faultsEndInTheMessage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("atLeastMs");
    QTest::newRow("stall after 3 blocks") << QStringList{"--stall-after", "3"} << 4500;
    QTest::newRow("hang-up after 3 blocks") << QStringList{"--hangup-after", "3"} << 0;
}

void TestPictureDownload::faultsEndInTheMessage()
{
    QFETCH(QStringList, options);
    QFETCH(int, atLeastMs);

    Rig rig(kPalWaveform, options);
    QElapsedTimer clock;
    clock.start();
    rig.download();
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(rig.notifier.messages, QList{message(link::messages::kDownloadFailed)});
    QVERIFY(!rig.serial->IsPortOpen());
    QVERIFY2(elapsed >= atLeastMs && elapsed < 15000, qPrintable(QString::number(elapsed)));
    QVERIFY(rig.codes().startsWith("13 11 10 10 10 10"));
    QVERIFY(!rig.codes().contains("12"));
    QVERIFY(!rig.window->cycle().running());
    QCOMPARE(rig.window->cursor().shape(), Qt::ArrowCursor);
}

void TestPictureDownload::statusReadFailsAlone_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<RecordingNotifier::Message>("said");
    QTest::newRow("port cannot open") << false << message(link::messages::kStatusLinkFailure);
    QTest::newRow("instrument silent") << true << message(link::messages::kStatusTimeout);
}

void TestPictureDownload::statusReadFailsAlone()
{
    QFETCH(bool, reachable);
    QFETCH(RecordingNotifier::Message, said);

    // The status read has said what went wrong; the download adds nothing and sends nothing.
    Rig rig(kPalWaveform, {"--silent"});
    if (!reachable)
        rig.serial->SetPortNumber(2);
    rig.download();
    QCOMPARE(rig.notifier.messages, QList{said});
    QCOMPARE(rig.codes(), QString(reachable ? "13" : ""));
    QVERIFY(!rig.window->cycle().running());
}

void TestPictureDownload::graticuleFileMissingOrShort()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("graticules");
    QVERIFY(QDir(dir.path()).mkdir("graticules"));
    {
        // Missing: said at load and at the download, and the picture comes without it.
        Rig rig(kPalWaveform, {}, folder);
        rig.download();
        QCOMPARE(rig.notifier.messages, (QList{message(link::messages::kGraticulesMissing),
                                               message(link::messages::kGraticulesMissing)}));
        QVERIFY(kTransfer.match(rig.codes()).hasMatch());
        QVERIFY(!QFile::exists(folder + "/pal_wfmd.rle"));
    }
    // Rows that paint column 0 green: 100 of them in the file the picture uses.
    for (QStringView name : picture::kGraticuleFiles) {
        QFile file(folder + "/" + name.toString());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromHex("04010800").repeated(name == u"pal_wfmd.rle" ? 100 : 508));
    }
    Rig rig(kPalWaveform, {}, folder);
    rig.download();
    QCOMPARE(rig.notifier.messages, QList{message(link::messages::kGraticuleShort)});
    QVERIFY(kTransfer.match(rig.codes()).hasMatch());
    for (int row = 3; row <= 510; ++row)
        QCOMPARE(rig.window->canvas().pixelIndex(0, row),
                 std::optional<PaletteIndex>(row <= 102 ? palette::kGreen : palette::kBlack));
}

void TestPictureDownload::closeBoxDuringADownload()
{
    // Paced, so that the close lands in the middle of the transfer.
    Rig rig(kPalWaveform, {"--pace", "38400"});
    rig.download();
    const QString whole = rig.codes();
    QVERIFY(kTransfer.match(whole).hasMatch());

    QTimer::singleShot(400, rig.window, [&] { QVERIFY(rig.window->close()); });
    rig.download();

    // It stopped early and ended the transfer properly; the poll came back once.
    const QString closed = rig.codes().mid(whole.size() + 1);
    QVERIFY2(kTransfer.match(closed).hasMatch(), qPrintable(closed));
    QVERIFY2(closed.count("10") < whole.count("10"), qPrintable(closed));
    QCOMPARE(rig.poll.events, QList{link::PollEvent::PictureWindowClosed});
    QVERIFY(rig.notifier.messages.isEmpty());
    QVERIFY(rig.serial->IsPortOpen());
    // The window goes once the download has unwound.
    QTRY_VERIFY(rig.window.isNull());
}

void TestPictureDownload::exitDuringADownloadAndASecondClick()
{
    Rig rig(kPalWaveform, {"--pace", "38400"});
    QList<link::PollEvent> duringDownload{link::PollEvent::StartUpFailed};
    QTimer::singleShot(300, rig.window, [&] {
        // A second click inside the running download is ignored.
        rig.download();
        rig.button(u"cmdExit")->click();
        duringDownload = rig.poll.events;
    });
    rig.download();

    // The poll waits for the download to end, which it does in full, once.
    QVERIFY(duringDownload.isEmpty());
    QCOMPARE(rig.poll.events, QList{link::PollEvent::PictureWindowClosed});
    QVERIFY2(kTransfer.match(rig.codes()).hasMatch(), qPrintable(rig.codes()));
    QVERIFY(!rig.window->isVisible());
    QVERIFY(rig.notifier.messages.isEmpty());
    QCOMPARE(rig.window->canvas().pixelIndex(60, 168), std::optional<PaletteIndex>(palette::kWhite));
}

void TestPictureDownload::programEndsDuringADownload()
{
    Rig rig(kPalWaveform, {"--pace", "38400"});
    QTimer::singleShot(300, rig.window, [&] {
        rig.serial->ClosePort();
        rig.serial->endWaits();
        rig.notifier.silence();
    });
    QElapsedTimer clock;
    clock.start();
    rig.download();
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY(rig.notifier.messages.isEmpty());
    QVERIFY(!rig.window->cycle().running());
    QCOMPARE(rig.window->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(TestPictureDownload)
#include "test_picture_download.moc"
