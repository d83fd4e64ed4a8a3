// In the program: "&Logger" takes the link from the poll, Exit and the close
// box give it back, and a failed monitoring loop's output is ended by the poll.
#include "app/program.h"
#include "link/messages.h"
#include "logger/log_view.h"
#include "logger/logger_window.h"
#include "panel/main_window.h"
#include "support/logger_rig.h"
#include "support/working_folder.h"

#include <QAction>
#include <QFontInfo>
#include <QGroupBox>

using namespace orvanta;
using test::logShape;

namespace {

struct ProgramRun
{
    explicit ProgramRun(const QStringList &options = {})
        : sim(options)
    {
        for (int port = 1; port <= 4; ++port)
            map.setDevice(port, sim.devicePath());
        program = std::make_unique<app::Program>(
            map, std::make_unique<test::RecordingNotifier>(), [] {}, folder.filePath("orva.set"));
        program->start();
    }

    bool polling() const { return program->panel().window().pollTimer()->isActive(); }
    void openLogger() const { program->panel().window().menuItem("mnu_Logger")->trigger(); }
    logger::LoggerWindow *logger() const
    {
        return qobject_cast<logger::LoggerWindow *>(program->panel().form("frmLogger")->form());
    }
    test::RecordingNotifier &notifier() const { return static_cast<test::RecordingNotifier &>(program->notifier()); }

    test::WorkingFolder folder;
    test::SimProcess sim;
    link::PortMap map;
    std::unique_ptr<app::Program> program;
};

} // namespace

class TestLoggerProgram : public QObject
{
    Q_OBJECT

private slots:
    void openLeaveAndOpenAgain()
    {
        ProgramRun run({"--log-records", "2"});
        QPointer<logger::LoggerWindow> window = run.logger();
        QVERIFY(window && !window->isVisible() && run.polling());

        run.openLogger();
        QVERIFY(window->isVisible() && !run.polling());
        // The controls stand in their frames; the text area keeps the columns.
        for (const char *name : {"cmdStartlog", "cmdStoplog", "cmdReadlog"})
            QCOMPARE(window->button(QString(name))->parent()->objectName(), "Frame1");
        for (const char *name : {"cmdStartreal", "cmdStopreal"})
            QCOMPARE(window->button(QString(name))->parent()->objectName(), "Frame2");
        QCOMPARE(window->button(u"cmdStopreal")->text(), "Stop Realtime Log ");
        QCOMPARE(window->button(u"cmdExit")->toolTip(), "Return to the main screen");
        QCOMPARE(window->findChild<QGroupBox *>("Frame2")->title(), "Monitor Selected Errors in Realtime");
        QVERIFY(window->txtLogger()->isReadOnly() && QFontInfo(window->txtLogger()->font()).fixedPitch());

        window->button(u"cmdReadlog")->click();
        QCOMPARE(logShape(window->logText()), "HRRE");
        const QString readout = window->log().shownText();
        window->button(u"cmdExit")->click();
        QVERIFY(!window->isVisible() && run.polling());
        QVERIFY(!run.program->link().waitTimer().isActive());

        // Shown again: the same window, LogText emptied, the text area as it was.
        run.openLogger();
        QVERIFY(window && window->isVisible() && !run.polling());
        QCOMPARE(window->logText(), QString());
        QCOMPARE(window->log().shownText(), readout);

        // The close box unloads it; the next opening makes a fresh one.
        window->close();
        QVERIFY(run.polling());
        QTRY_VERIFY(window.isNull());
        run.openLogger();
        QVERIFY(run.logger() && run.logger()->isVisible() && !run.polling());
        QCOMPARE(run.logger()->log().shownText(), QString());
        QVERIFY(run.notifier().messages.isEmpty());
    }

    // A monitoring loop that failed leaves the instrument sending: the poll
    // that comes back after Exit opens the port and ends the output first.
    void pollEndsTheOutputOfAFailedLoop()
    {
        ProgramRun run({"--error-interval", "0"});
        run.openLogger();
        logger::LoggerWindow *window = run.logger();
        link::SerialLink &serial = run.program->link();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (serial.realtimeActive()) {
                watch.stop();
                serial.ClosePort();
            }
        });
        watch.start(5);
        window->button(u"cmdStartreal")->click();
        QCOMPARE(run.notifier().messages.size(), 1);
        QCOMPARE(run.notifier().messages[0].first, link::messages::kMonitoringFailed.text.toString());
        QVERIFY(serial.realtimeActive() && !serial.IsPortOpen());

        window->button(u"cmdExit")->click();
        QVERIFY(run.polling());
        const QByteArray sent = run.sim.receivedBytes();
        const qsizetype started = sent.lastIndexOf(char(14));
        QVERIFY(started >= 0);
        QVERIFY(run.sim.waitForReceived(int(started) + 3, 5000));
        QCOMPARE(run.sim.receivedBytes().mid(started, 3).toHex(' '), QByteArray("0e 10 0d"));
        QVERIFY(!serial.realtimeActive());
        QCOMPARE(run.notifier().messages.size(), 1);
    }
};

QTEST_MAIN(TestLoggerProgram)
#include "test_logger_program.moc"
