// "Continuous Download" against the simulator: cycle after cycle until a button ends it
// after the cycle under way, the picture always the latest, and its failures said once.
#include "screen_layout.h"
#include "link/messages.h"
#include "support/pdf_facts.h"
#include "support/picture_rig.h"
#include "support/working_folder.h"

#include <QFile>
#include <QRegularExpression>
#include <QTimer>

using namespace orvanta;
using picture::Canvas;
using Message = test::RecordingNotifier::Message;
namespace layout = sim::layout;
namespace palette = picture::palette;

namespace {

Message message(const link::Message &m)
{
    return {m.text.toString(), m.title.toString()};
}

// Cycles as the instrument saw them: nothing but block requests inside a transfer.
QRegularExpression cycles(int count)
{
    return QRegularExpression(QStringLiteral("^(13 11 (10 )+12( |$)){%1}$").arg(count));
}

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
            button.isEmpty() ? void(rig.window->close()) : rig.click(button);
        });
        watch.start(5);
        rig.click(u"cmdContinuous");
        watch.stop();

        QVERIFY(pressedIn >= 2);
        QVERIFY(!rig.window->cycle().running() && !rig.window->cycle().continuous());
        QVERIFY2(cycles(pressedIn).match(rig.codes()).hasMatch(), qPrintable(rig.codes()));
        QCOMPARE(rig.notifier.messages, {});
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
            QCOMPARE(test::pdfPageCount(rig.printer.path()), 1);
        if (button == u"cmdConvert") {
            // Converted under the running cycle, which then went on drawing in colour.
            QVERIFY(QFile::exists(picture::PictureWindow::kConversionFile));
            QCOMPARE(canvas.pixelIndex(100, 0), palette::kWhite);
        } else {
            // The latest picture, not an earlier one.
            QVERIFY(markerShown(canvas, pressedIn - 1));
            QVERIFY(!markerShown(canvas, pressedIn - 2));
        }
    }

    void failuresEndIt_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<Message>("said");
        QTest::addColumn<QString>("codes"); // a pattern
        QTest::addColumn<bool>("portOpen");

        QTest::newRow("stall") << test::kPalWaveform << QStringList{"--stall-after", "3"}
                               << message(link::messages::kDownloadFailed) << "13 11 10 10 10 10" << false;
        QTest::newRow("hang-up") << test::kPalWaveform << QStringList{"--hangup-after", "2"}
                                 << message(link::messages::kDownloadFailed) << "13 11 10 10 10( 10)*" << false;
        // Said once, not every half second: the pause alone would leave no moment to press Stop.
        QTest::newRow("small boxes") << "03200000800c20040000000000001e30" << QStringList{}
                                     << message(link::messages::kSmallBoxes) << "13 11 12" << true;
        QTest::newRow("status read fails")
            << test::kPalWaveform << QStringList{"--silent"} << message(link::messages::kStatusTimeout) << "13" << true;
    }

    void failuresEndIt()
    {
        QFETCH(QString, status);
        QFETCH(QStringList, options);
        QFETCH(Message, said);
        QFETCH(QString, codes);
        QFETCH(bool, portOpen);
        test::PictureRig rig(status, options);
        rig.click(u"cmdContinuous");

        QCOMPARE(rig.notifier.messages, QList{said});
        QVERIFY(!rig.window->cycle().running() && !rig.window->cycle().continuous());
        QCOMPARE(rig.serial->IsPortOpen(), portOpen);
        const QString sent = rig.codes();
        QVERIFY2(QRegularExpression("^" + codes + "$").match(sent).hasMatch(), qPrintable(sent));
        // The window stays open, and so the poll stays off.
        QVERIFY(rig.pollEvents.isEmpty());
    }
};

QTEST_MAIN(TestPictureContinuous)
#include "test_picture_continuous.moc"
