// The picture window in the whole program: "&Download" stops the poll, a
// download shows the simulator's screen, Exit restarts the poll.
#include "app/program.h"
#include "panel/main_window.h"
#include "picture/canvas.h"
#include "picture/upload_window.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"
#include "support/working_folder.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace orvanta;
using test::RecordingNotifier;

namespace {

struct Run
{
    Run()
    {
        link::PortMap map;
        for (int port = 1; port <= 4; ++port)
            map.setDevice(port, sim.devicePath());
        auto recorder = std::make_unique<RecordingNotifier>();
        notifier = recorder.get();
        program = std::make_unique<app::Program>(map, std::move(recorder), [] {}, folder.filePath("orva.set"));
    }

    panel::MainWindow &window() const { return program->panel().window(); }
    bool polling() const { return window().pollTimer()->isActive(); }
    picture::UploadWindow *picture() const
    {
        panel::FormSlot *slot = program->panel().form("frmUpload");
        return slot ? qobject_cast<picture::UploadWindow *>(slot->form()) : nullptr;
    }
    void openPictureWindow() const { window().menuItem("mnuUpload")->trigger(); }

    test::WorkingFolder folder;
    test::SimProcess sim;
    RecordingNotifier *notifier = nullptr;
    std::unique_ptr<app::Program> program;
};

int tracePixels(const picture::Canvas &canvas)
{
    int count = 0;
    for (int row = 3; row < 480; ++row)
        for (int column = 0; column < picture::Canvas::kSize; ++column) {
            const auto colour = canvas.pixelIndex(column, row);
            count += colour == picture::palette::kWhite || colour == picture::palette::kGrey;
        }
    return count;
}

} // namespace

class TestPictureProgram : public QObject
{
    Q_OBJECT

private slots:
    void downloadThenExit();
};

void TestPictureProgram::downloadThenExit()
{
    Run run;
    QVERIFY(run.program->panel().Form_Load());
    run.program->start();
    QVERIFY(run.notifier->messages.isEmpty());
    QVERIFY(run.picture() && !run.picture()->isVisible());
    QVERIFY(run.polling());

    run.openPictureWindow();
    QVERIFY(!run.polling());
    QVERIFY(run.picture()->isVisible());
    run.picture()->button(u"cmdDownload")->click();
    QVERIFY(tracePixels(run.picture()->canvas()) > 500);
    QVERIFY(run.notifier->messages.isEmpty());

    run.picture()->button(u"cmdExit")->click();
    QVERIFY(!run.picture()->isVisible());
    QVERIFY(run.polling());

    // Shown again: the same picture, no check again.
    const QImage before = run.picture()->canvas().image();
    run.openPictureWindow();
    QVERIFY(!run.polling());
    QCOMPARE(run.picture()->canvas().image(), before);
    QVERIFY(run.notifier->messages.isEmpty());
}

QTEST_MAIN(TestPictureProgram)
#include "test_picture_program.moc"
