// In the program: "&Logger" takes the link from the poll, Exit and the close
// box give it back, and a failed monitoring loop's output is ended by the poll.
#include "app/ui/program.h"
#include "messages/messages.h"
#include "panel/ui/main_window.h"
#include "support/logger_rig.h"
#include "support/working_folder.h"

#include <QAction>

using namespace orvanta;
using test::logShape;

namespace {

struct ProgramRun
{
    explicit ProgramRun(const QStringList &options)
        : sim(options)
    {
        for (int port = 1; port <= 4; ++port)
            map.setDevice(port, sim.devicePath());
        program = std::make_unique<app::Program>(
            map, std::make_unique<test::RecordingNotifier>(), [] {}, folder.filePath("orva.set"),
            std::make_unique<print::PdfPrinterTarget>(folder.filePath("log.pdf")));
        program->start();
    }

    bool polling() const { return program->panel().window().pollTimer()->isActive(); }
    void openLogger() const { program->panel().window().menuItem("mnu_Logger")->trigger(); }
    logger::LoggerWindow *logger() const
    {
        return qobject_cast<logger::LoggerWindow *>(program->panel().otherWindow("frmLogger")->window());
    }
    const auto &messages() const { return static_cast<test::RecordingNotifier &>(program->notifier()).messages; }

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
        window->button("cmdReadlog")->click();
        QCOMPARE(logShape(window->logText()), "HRRE");
        const QString readout = window->log().shownText();
        window->button("cmdExit")->click();
        QVERIFY(!window->isVisible() && run.polling() && !run.program->link().waitTimer().isActive());

        // Shown again: the same window, LogText emptied, the text area as it was.
        run.openLogger();
        QVERIFY(window && window->isVisible() && !run.polling());
        QVERIFY(window->logText().isEmpty() && window->log().shownText() == readout);

        // The close box unloads it; the next opening makes a fresh one.
        window->close();
        QVERIFY(run.polling());
        QTRY_VERIFY(window.isNull());
        run.openLogger();
        QVERIFY(run.logger()->isVisible() && !run.polling() && run.logger()->log().shownText().isEmpty());
        QVERIFY(run.messages().isEmpty());
    }

    // A monitoring loop whose port goes says so once, with no closing line and
    // no 16: the instrument goes on sending, past Stop and Exit, until the
    // poll that comes back opens the port and ends the output first.
    void pollEndsTheOutputOfAFailedLoop()
    {
        ProgramRun run({"--error-interval", "0"});
        run.openLogger();
        link::SerialLink &serial = run.program->link();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (serial.realtimeActive() && serial.IsPortOpen())
                serial.ClosePort();
        });
        watch.start(5);
        run.logger()->button("cmdStartreal")->click();
        watch.stop();
        const messages::Message &failed = messages::kMonitoringFailed;
        QCOMPARE(run.messages(), QList{qMakePair(failed.text.toString(), failed.title.toString())});
        QCOMPARE(logShape(run.logger()->logText()), "H");

        run.logger()->button("cmdStopreal")->click();
        QVERIFY(serial.realtimeActive());
        run.logger()->button("cmdExit")->click();
        const qsizetype started = run.sim.receivedBytes().lastIndexOf('\x0e');
        QVERIFY(started >= 0 && run.polling() && run.sim.waitForReceived(int(started) + 3, 5000));
        QCOMPARE(run.sim.receivedBytes().mid(started, 3), QByteArray("\x0e\x10\x0d"));
        QVERIFY(!serial.realtimeActive() && run.messages().size() == 1);
    }
};

QTEST_MAIN(TestLoggerProgram)
#include "test_logger_program.moc"
