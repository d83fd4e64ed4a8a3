// The logger and picture windows in the whole program: the menu takes the link
// from the poll, Exit and the close box give it back, the files window works
// on whichever picture window there is, and a failed monitoring loop's output
// is ended by the poll.
#include "logger/ui/logger_window.h"
#include "picture/ui/directory_list.h"
#include "picture/ui/file_list.h"
#include "picture/ui/files_window.h"
#include "picture/ui/picture_window.h"
#include "support/logger_rig.h"
#include "support/program_rig.h"
#include "support/shown_messages.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>

using namespace orvanta;
using test::logShape;

class TestProgramWindows : public QObject
{
    Q_OBJECT

private slots:
    void loggerOpenLeaveAndOpenAgain()
    {
        test::ProgramRig run({{"--log-records", "2"}});
        run.start();
        QPointer window = run.other<logger::LoggerWindow>("frmLogger");
        QVERIFY(window && !window->isVisible() && run.polling());
        run.item("mnu_Logger")->trigger();
        QVERIFY(window->isVisible() && !run.polling());
        window->button("cmdReadlog")->click();
        QCOMPARE(logShape(window->logText()), "HRRE");
        const QString readout = window->log().shownText();
        window->button("cmdExit")->click();
        QVERIFY(!window->isVisible() && run.polling() && !run.link().waitTimer().isActive());

        // Shown again: the same window, LogText emptied, the text area as it was.
        run.item("mnu_Logger")->trigger();
        QVERIFY(window && window->isVisible() && !run.polling());
        QVERIFY(window->logText().isEmpty() && window->log().shownText() == readout);

        // The close box unloads it; the next opening makes a fresh one.
        window->close();
        QVERIFY(run.polling());
        QTRY_VERIFY(window.isNull());
        run.item("mnu_Logger")->trigger();
        auto *fresh = run.other<logger::LoggerWindow>("frmLogger");
        QVERIFY(fresh->isVisible() && !run.polling() && fresh->log().shownText().isEmpty());
        QVERIFY(run.notifier.messages.isEmpty());
    }

    // A monitoring loop whose port goes says so once, with no closing line and
    // no 16: the instrument goes on sending, past Stop and Exit, until the
    // poll that comes back opens the port and ends the output first.
    void pollEndsTheOutputOfAFailedLoop()
    {
        test::ProgramRig run({{"--error-interval", "0"}});
        run.start();
        run.item("mnu_Logger")->trigger();
        link::SerialLink &serial = run.link();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (serial.realtimeActive() && serial.IsPortOpen())
                serial.ClosePort();
        });
        watch.start(5);
        auto *logger = run.other<logger::LoggerWindow>("frmLogger");
        logger->button("cmdStartreal")->click();
        watch.stop();
        QCOMPARE(run.notifier.messages, QList{test::shown::kMonitoringFailed});
        QCOMPARE(logShape(logger->logText()), "H");

        logger->button("cmdStopreal")->click();
        QVERIFY(serial.realtimeActive());
        logger->button("cmdExit")->click();
        const qsizetype started = run.sim->receivedBytes().lastIndexOf('\x0e');
        QVERIFY(started >= 0 && run.polling() && run.sim->waitForReceived(int(started) + 3, 5000));
        QCOMPARE(run.sim->receivedBytes().mid(started, 3), QByteArray("\x0e\x10\x0d"));
        QVERIFY(!serial.realtimeActive() && run.notifier.messages.size() == 1);
    }

    // "&Download" stops the poll, Exit restarts it and the picture stays. The files window works
    // on whichever picture window there is: after the close box a picture displayed is there
    // in the fresh one.
    void downloadFilesAndCloseBox()
    {
        test::ProgramRig run;
        run.start();
        const auto pictureWindow = [&] { return run.other<picture::PictureWindow>("frmUpload"); };
        const QPointer files = run.other<picture::FilesWindow>("frmFiles");
        QPointer first = pictureWindow();
        QVERIFY(first && !first->isVisible() && files && !files->isVisible() && run.polling());

        run.item("mnuUpload")->trigger();
        QVERIFY(first->isVisible() && !run.polling());
        const QImage blank = first->canvas().image();
        first->button("cmdDownload")->click();
        const QImage downloaded = first->canvas().image();
        QVERIFY(downloaded != blank);
        first->button("cmdExit")->click();
        QVERIFY(!first->isVisible() && run.polling());
        run.item("mnuUpload")->trigger();
        QVERIFY(first && !run.polling());
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
        QVERIFY(run.polling() && files->isVisible());
        files->file1()->setCurrentItem(files->file1()->findItems("mypic.bmp", Qt::MatchExactly).value(0));
        files->findChild<QPushButton *>("cmdDispFile")->click();
        QVERIFY(!files->isVisible());
        QCOMPARE(run.notifier.beeps, 2);

        // Loaded afresh, hidden, with the stored picture; "&Download" shows it.
        const QPointer second = pictureWindow();
        QVERIFY(second && !second->isVisible() && run.polling());
        QCOMPARE(second->canvas().image(), downloaded);
        run.item("mnuUpload")->trigger();
        QVERIFY(second->isVisible() && !run.polling());
        QCOMPARE(run.notifier.messages, {});
    }
};

QTEST_MAIN(TestProgramWindows)
#include "test_program_windows.moc"
