// "Download Single Frame" and "Continuous Download" against the simulator over its pty:
// the bytes on the line, the picture on its graticule, the graticule files, the faults,
// and a continuous download ended after its cycle with the picture always the latest.
#include "picture/picture_file.h"
#include "screen_layout.h"
#include "support/picture_rig.h"
#include "support/shown_messages.h"
#include "support/working_folder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <sys/stat.h>

using namespace orvanta;
using picture::Canvas;
using test::kPalWaveform;
using Message = test::RecordingNotifier::Message;
using Pixel = std::optional<picture::PaletteIndex>;
namespace layout = sim::layout;
namespace palette = picture::palette;

namespace {

// One whole transfer: 16 first only when asked, the status request, the start,
// one 10 per block plus the one read ahead, the end.
const QRegularExpression kTransfer(QStringLiteral("^(16 )?13 11 (10 ){2,}12$"));
constexpr const char *kSmallBoxes = "03200000800c20040000000000001e30";

// The live marker of a transfer stands on the canvas.
bool markerShown(const Canvas &canvas, int transfer)
{
    const int column = layout::liveMarkerColumn(transfer);
    for (int row = layout::kLiveMarkerTop; row < layout::kLiveMarkerTop + layout::kLiveMarkerHeight; ++row)
        for (int c = column; c < column + layout::kLiveMarkerWidth; ++c)
            if (canvas.pixelIndex(c, row) != palette::kWhite)
                return false;
    return true;
}

// Empty when the canvas is a whole picture converted to ink on paper, as
// tempbw.bmp holds it: black and white only, the annotation line in ink.
QString inkOnPaper(const Canvas &canvas)
{
    const std::optional<QImage> file = picture::loadPicture("tempbw.bmp");
    if (!file || file->convertToFormat(QImage::Format_RGB32) != canvas.image())
        return "tempbw.bmp is not what the canvas shows";
    int ink = 0;
    for (int row = 0; row < Canvas::kSize; ++row)
        for (int column = 0; column < Canvas::kSize; ++column) {
            const Pixel pixel = canvas.pixelIndex(column, row);
            if (pixel != palette::kBlack && pixel != palette::kWhite)
                return QString("%1,%2 is in colour").arg(column).arg(row);
            ink += row >= 480 && row < 496 && column < 280 && pixel == palette::kBlack;
        }
    return ink > 100 ? QString() : "the annotation is not in ink";
}

} // namespace

class TestPictureDownload : public QObject
{
    Q_OBJECT

private slots:
    void outcomes_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QList<Message>>("warnings");
        QTest::addColumn<QString>("codes"); // a pattern
        QTest::addColumn<int>("atLeastMs");

        const auto add
            = [](const char *name, const char *button, const QStringList &options, const QList<Message> &warnings,
                  const char *codes, int atLeastMs, const char *status = kPalWaveform) {
                  QTest::newRow(name) << QString(button) << QString(status) << options << warnings << QString(codes)
                                      << atLeastMs;
              };
        const char *single = "cmdDownload", *continuous = "cmdContinuous";
        const QList failed{test::shown::kDownloadFailed};
        // The pauses, on the program's own clock: 100 ms after 11 and after 16, 500 before a continuous cycle.
        add("whole", single, {}, {}, "13 11 (10 ){2,}12", 100);
        add("real-time output running", single, {}, {}, "16 13 11 (10 ){2,}12", 200);
        // No block is asked for; the one block the instrument sends anyway is collected first.
        add("small boxes", single, {}, {test::shown::kSmallBoxes}, "13 11 12", 0, kSmallBoxes);
        add("stall", single, {"--stall-after", "3"}, failed, "13 11 10 10 10 10", 4500);
        add("hang-up", single, {"--hangup-after", "3"}, failed, "13 11 10 10 10 10( 10)*", 0);
        // The status read has said what went wrong; the download adds nothing and sends nothing.
        add("status read fails", single, {"--silent"}, {test::shown::kStatusTimeout}, "13", 0);
        // A failure ends a continuous download, said once: a message every cycle would leave no
        // moment to press Stop.
        add("continuous, hang-up", continuous, {"--hangup-after", "2"}, failed, "13 11 10 10 10( 10)*", 500);
        add("continuous, status read fails", continuous, {"--silent"}, {test::shown::kStatusTimeout}, "13", 500);
    }

    void outcomes()
    {
        QFETCH(QString, button);
        QFETCH(QString, status);
        QFETCH(QStringList, options);
        QFETCH(QList<Message>, warnings);
        QFETCH(QString, codes);
        QFETCH(int, atLeastMs);
        test::PictureRig rig(status, options);
        // Real-time output running where 16 is to end it.
        rig.serial->setRealtimeActive(codes.startsWith("16"));
        // Painted once before any row arrives, as a user's window is.
        QVERIFY(QTest::qWaitForWindowExposed(rig.window));
        QElapsedTimer clock;
        clock.start();
        rig.click(button.toStdString());
        const qint64 elapsed = clock.elapsed();

        rig.expectIdle(warnings);
        QVERIFY2(elapsed >= atLeastMs && elapsed < 15000, qPrintable(QString::number(elapsed)));
        QCOMPARE(rig.serial->IsPortOpen(), !warnings.contains(test::shown::kDownloadFailed));
        QVERIFY(!rig.serial->realtimeActive() && rig.pollEvents.isEmpty());
        const QString sent = rig.codes();
        QVERIFY2(QRegularExpression("^" + codes + "$").match(sent).hasMatch(), qPrintable(sent));

        // On the screen, the picture as a whole repaint draws it: the rows repainted as
        // they arrived cover every row drawn (a failed download gets no last repaint).
        QWidget *picture = rig.window->findChild<QWidget *>(QStringLiteral("picDownload"));
        QCoreApplication::sendPostedEvents();
        const QImage shown
            = rig.window->screen()
                  ->grabWindow(rig.window->winId(), picture->x(), picture->y(), picture->width(), picture->height())
                  .toImage();
        QVERIFY(!shown.isNull());
        QCOMPARE(shown, picture->grab().toImage().convertToFormat(shown.format()));
    }

    void pictureOnItsGraticule_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("graticule"); // the file the picture lies on; empty: none
        QTest::newRow("pal waveform") << kPalWaveform << "pal_wfmd.rle";
        QTest::newRow("ntsc waveform") << "03210000800c20040000000000001e30"
                                       << "ntsc_wfmd.rle";
        QTest::newRow("vector without graticule") << "07220000800c20050000000000001e30"
                                                  << "";
        // Byte 1 0x61 and byte 10 bit 0: the YRGB parade, in four colours.
        QTest::newRow("pal YRGB parade") << "03610000800c20050000010000001e30"
                                         << "pal_wfmd.rle";
    }

    void pictureOnItsGraticule()
    {
        QFETCH(QString, status);
        QFETCH(QString, graticule);
        // On a green picture: what the download leaves untouched shows.
        test::PictureRig rig(status);
        rig.window->canvas().fillRows(0, Canvas::kSize - 1, palette::kGreen);
        rig.download();
        rig.expectIdle({});

        const link::StatusBlock block(QByteArray::fromHex(status.toLatin1()));
        const bool pal = block.isSet(link::status::kPal).value_or(false);
        const int last = pal ? 510 : 430, annotation = pal ? 480 : 400;
        // Rows 0 to 2 go black, and NTSC's from 430; the graticule as the file alone paints it.
        Canvas reference;
        reference.fillRows(3, pal ? Canvas::kSize - 1 : 429, palette::kGreen);
        picture::GraticuleFile file;
        QVERIFY(graticule.isEmpty() || file.open(QDir(test::kDataGraticules).filePath(graticule)));
        for (int row = 3; row <= (pal ? 510 : 429) && file.isOpen(); ++row)
            file.DrawGratLine(reference, row);

        const Canvas &canvas = rig.window->canvas();
        const auto bands = picture::pictureBands(block);
        int trace = 0, ink = 0;
        for (int row = 0; row < Canvas::kSize; ++row) {
            for (int column = 0; column < Canvas::kSize; ++column) {
                const Pixel got = canvas.pixelIndex(column, row);
                const bool annotated = row >= annotation && row < annotation + 16 && got == palette::kWhite;
                ink += annotated;
                if (got == reference.pixelIndex(column, row) || annotated)
                    continue;
                // Anything else is trace, in the colours of its byte column, only in rows 3 to the last
                // but one and never in columns 508 to 511.
                const auto traceColour = [&](int v) { return got == SelectPixelColour(bands, v, column / 4 + 1); };
                QVERIFY2(column < 508 && row > 2 && row < last && std::ranges::any_of(std::array{1, 2, 3}, traceColour),
                    qPrintable(QString("%1,%2: %3").arg(column).arg(row).arg(got.value_or(99))));
                ++trace;
            }
        }
        QVERIFY(trace > 500 && ink > 100);
    }

    void graticuleFiles_data()
    {
        QTest::addColumn<int>("rows");           // in pal_wfmd.rle, the file the picture uses; -1: no files at all
        QTest::addColumn<Message>("atDownload"); // said at the download
        QTest::addColumn<bool>("pipe");          // ntsc_coma.rle a pipe, which would block the load if opened
        QTest::newRow("none") << -1 << test::shown::kGraticulesMissing << false;
        QTest::newRow("last checked missing, the one used short") << 100 << test::shown::kGraticuleShort << false;
        QTest::newRow("last checked a pipe") << 100 << test::shown::kGraticuleShort << true;
    }

    void graticuleFiles()
    {
        QFETCH(int, rows);
        QFETCH(Message, atDownload);
        QFETCH(bool, pipe);
        // Rows that paint column 0 green; ntsc_coma.rle, checked last at load, is missing.
        QTemporaryDir folder;
        for (QStringView name : picture::kGraticuleFiles) {
            QFile file(folder.filePath(name.toString()));
            if (rows >= 0 && name != u"ntsc_coma.rle") {
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(QByteArray::fromHex("04010800").repeated(name == u"pal_wfmd.rle" ? rows : 508));
            }
        }
        if (pipe)
            QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("ntsc_coma.rle")).constData(), 0600), 0);
        // Said once at load however many are missing, with the port closed and the poll left alone.
        test::PictureRig rig(kPalWaveform, {}, folder.path());
        QCOMPARE(rig.notifier.messages, QList{test::shown::kGraticulesMissing});
        QVERIFY(!rig.serial->IsPortOpen() && rig.pollEvents.isEmpty());

        // The picture comes all the same, on as much graticule as there is; no file is created.
        rig.download();
        rig.expectIdle({test::shown::kGraticulesMissing, atDownload});
        QVERIFY(kTransfer.match(rig.codes()).hasMatch());
        QCOMPARE(QFile::exists(folder.filePath("ntsc_coma.rle")), pipe);
        QCOMPARE(QFile::exists(folder.filePath("pal_wfmd.rle")), rows >= 0);
        const Canvas &canvas = rig.window->canvas();
        for (int row = 3; row <= 510; ++row)
            QCOMPARE(canvas.pixelIndex(0, row), Pixel(row < rows + 3 ? palette::kGreen : palette::kBlack));
    }

    void leaveDuringADownload_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("close box") << true;
        QTest::newRow("Exit") << false;
    }

    void leaveDuringADownload()
    {
        QFETCH(bool, closeBox);
        // Paced, so that the window is left in the middle of the transfer.
        test::PictureRig rig(kPalWaveform, {"--pace", "38400"});
        rig.download();
        const QString whole = rig.codes();
        QList<link::PollEvent> during{link::PollEvent::StartUpFailed};
        QTimer::singleShot(300, rig.window, [&] {
            rig.download(); // inside the running download: ignored
            closeBox ? void(rig.window->close()) : rig.click("cmdExit");
            during = rig.pollEvents;
        });
        rig.download();

        // The poll comes back once the download has ended: early and properly after the
        // close box, in full after Exit.
        const QString codes = rig.codes().mid(whole.size() + 1);
        QVERIFY2(kTransfer.match(codes).hasMatch(), qPrintable(codes));
        QCOMPARE(codes.count("10") < whole.count("10"), closeBox);
        QVERIFY(during.isEmpty());
        QCOMPARE(rig.pollEvents, QList{link::PollEvent::PictureWindowClosed});
        QVERIFY(rig.notifier.messages.isEmpty() && rig.serial->IsPortOpen());
        // A closed window goes once the download has unwound.
        QTRY_COMPARE(rig.window.isNull(), closeBox);
        QVERIFY(closeBox || !rig.window->isVisible());
    }

    // Pressed while the rows come in, Convert waits for the picture to be whole.
    void convertDuringASingleDownload()
    {
        test::WorkingFolder folder;
        test::PictureRig rig(test::kPalWaveform, {"--pace", "115200"});
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (rig.window->cycle().decoder().pictureRow() > 100) {
                watch.stop();
                rig.click("cmdConvert");
            }
        });
        watch.start(5);
        rig.download();
        rig.expectIdle({});
        QCOMPARE(inkOnPaper(rig.window->canvas()), QString());
    }

    void endsAfterItsCycle_data()
    {
        QTest::addColumn<QString>("button"); // empty: the close box
        QTest::addColumn<bool>("pollBack");
        QTest::newRow("Stop Download") << "cmdAbort" << false;
        QTest::newRow("Convert to Black on White") << "cmdConvert" << false;
        QTest::newRow("Download Single Frame") << "cmdDownload" << false;
        QTest::newRow("Print  Frame") << "cmdPrint" << false;
        QTest::newRow("Exit") << "cmdExit" << true;
        QTest::newRow("close box") << "" << true;
    }

    void endsAfterItsCycle()
    {
        QFETCH(QString, button);
        QFETCH(bool, pollBack);
        test::WorkingFolder folder;
        // Paced, so that a cycle's rows take many passes of the wait.
        test::PictureRig rig(test::kPalWaveform, {"--live", "--pace", "115200"});
        const picture::PictureDecoder &decoder = rig.window->cycle().decoder();

        // Pressed in the middle of the rows of the second cycle or a later one.
        int pressedIn = 0;
        QList<link::PollEvent> pollWhenPressed{link::PollEvent::StartUpFailed};
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            const int started = int(rig.sim.receivedBytes().count(char(11)));
            if (pressedIn || started < 2 || decoder.pictureRow() < 20 || decoder.pictureRow() >= 400)
                return;
            // Its 11 was answered, and no later 11 was written yet.
            pressedIn = started;
            pollWhenPressed = rig.pollEvents;
            button.isEmpty() ? void(rig.window->close()) : rig.click(button.toStdString());
        });
        watch.start(5);
        rig.click("cmdContinuous");
        watch.stop();

        QVERIFY(pressedIn >= 2);
        rig.expectIdle({});
        // Whole cycles, the one pressed in the last: nothing but block requests inside a transfer.
        const QString codes = rig.codes();
        QVERIFY2(QRegularExpression(QString("^(13 11 (10 )+12( |$)){%1}$").arg(pressedIn)).match(codes).hasMatch(),
            qPrintable(codes));
        QVERIFY(rig.serial->IsPortOpen());
        // The poll comes back once, and only after the cycle has unwound.
        QVERIFY(pollWhenPressed.isEmpty());
        QCOMPARE(rig.pollEvents.size(), pollBack ? 1 : 0);
        if (button.isEmpty()) {
            QTRY_VERIFY(rig.window.isNull());
            return;
        }
        const Canvas &canvas = rig.window->canvas();
        if (button == u"cmdPrint")
            QVERIFY(QFileInfo(rig.printer.path()).size() > 0);
        if (button == u"cmdConvert") {
            // The whole latest picture, converted once it was drawn.
            QCOMPARE(inkOnPaper(canvas), QString());
            QCOMPARE(
                canvas.pixelIndex(layout::liveMarkerColumn(pressedIn - 1), layout::kLiveMarkerTop), palette::kBlack);
        } else {
            // The latest picture, not an earlier one.
            QVERIFY(markerShown(canvas, pressedIn - 1));
            QVERIFY(!markerShown(canvas, pressedIn - 2));
        }
    }
};

QTEST_MAIN(TestPictureDownload)
#include "test_picture_download.moc"
