// The picture and files windows in the whole program.
#include "app/ui/program.h"
#include "panel/ui/main_window.h"
#include "picture/ui/directory_list.h"
#include "picture/ui/file_list.h"
#include "picture/ui/files_window.h"
#include "picture/ui/picture_window.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"
#include "support/working_folder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanta;

class TestPictureProgram : public QObject
{
    Q_OBJECT

private slots:
    // "&Download" stops the poll, Exit restarts it and the picture stays. The files window works
    // on whichever picture window there is: after the close box a picture displayed is there
    // in the fresh one.
    void downloadFilesAndCloseBox()
    {
        test::WorkingFolder folder;
        test::SimProcess sim;
        link::PortMap map;
        for (int port = 1; port <= 4; ++port)
            map.setDevice(port, sim.devicePath());
        app::Program program(
            map, std::make_unique<test::RecordingNotifier>(), [] {}, folder.filePath("orva.set"));
        program.start();
        auto &notifier = static_cast<test::RecordingNotifier &>(program.notifier());
        const auto polling = [&] { return program.panel().window().pollTimer()->isActive(); };
        const auto open = [&] { program.panel().window().menuItem("mnuUpload")->trigger(); };
        const auto pictureWindow = [&] {
            return qobject_cast<picture::PictureWindow *>(program.panel().otherWindow("frmUpload")->window());
        };
        const QPointer files = qobject_cast<picture::FilesWindow *>(program.panel().otherWindow("frmFiles")->window());
        QPointer first = pictureWindow();
        QVERIFY(first && !first->isVisible() && files && !files->isVisible() && polling());

        open();
        QVERIFY(first->isVisible() && !polling());
        const QImage blank = first->canvas().image();
        first->button("cmdDownload")->click();
        const QImage downloaded = first->canvas().image();
        QVERIFY(downloaded != blank);
        first->button("cmdExit")->click();
        QVERIFY(!first->isVisible() && polling());
        open();
        QVERIFY(first && !polling());
        QCOMPARE(first->canvas().image(), downloaded);

        first->button("cmdGetBMP")->click();
        QVERIFY(files->isVisible());
        // Into the working folder, whatever folder the lists show.
        QTemporaryDir elsewhere;
        files->dir1()->setPath(elsewhere.path());
        files->findChild<QPushButton *>("cmdStoreFile")->click();
        QVERIFY(!files->isVisible() && QFile::exists("mypic.bmp") && QDir(elsewhere.path()).isEmpty());
        files->dir1()->setPath(QDir::currentPath());

        first->button("cmdGetBMP")->click();
        first->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(polling() && files->isVisible());
        files->file1()->setCurrentItem(files->file1()->findItems("mypic.bmp", Qt::MatchExactly).value(0));
        files->findChild<QPushButton *>("cmdDispFile")->click();
        QVERIFY(!files->isVisible());
        QCOMPARE(notifier.beeps, 2);

        // Loaded afresh, hidden, with the stored picture; "&Download" shows it.
        const QPointer second = pictureWindow();
        QVERIFY(second && !second->isVisible() && polling());
        QCOMPARE(second->canvas().image(), downloaded);
        open();
        QVERIFY(second->isVisible() && !polling());
        QCOMPARE(notifier.messages, {});
    }
};

QTEST_MAIN(TestPictureProgram)
#include "test_picture_program.moc"
