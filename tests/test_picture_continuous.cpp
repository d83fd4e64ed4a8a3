// "Continuous Download" against the simulator: cycle after cycle until a button ends it
// after the cycle under way, the picture always the latest.
#include "screen_layout.h"
#include "support/picture_rig.h"
#include "support/working_folder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

using namespace orvanta;
using picture::Canvas;
namespace layout = sim::layout;
namespace palette = picture::palette;

namespace {

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

} // namespace

class TestPictureContinuous : public QObject
{
    Q_OBJECT

private slots:
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
            // Converted under the running cycle, which then went on drawing in colour.
            QVERIFY(QFile::exists("tempbw.bmp"));
            QCOMPARE(canvas.pixelIndex(100, 0), palette::kWhite);
        } else {
            // The latest picture, not an earlier one.
            QVERIFY(markerShown(canvas, pressedIn - 1));
            QVERIFY(!markerShown(canvas, pressedIn - 2));
        }
    }
};

QTEST_MAIN(TestPictureContinuous)
#include "test_picture_continuous.moc"
