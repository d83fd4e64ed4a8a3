// Start-up, the port and baud items, and shutdown, on the real windows.
#include "jobs/stop_signals.h"
#include "logger/ui/logger_window.h"
#include "messages/messages.h"
#include "panel/ui/menu_item.h"
#include "support/file_bytes.h"
#include "support/program_rig.h"
#include "support/shown_messages.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/stat.h>

using namespace orvanta;
using test::readFile;
using test::RecordingNotifier;
using test::SimProcess;
using test::writeFile;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QStringList checkedItems(const panel::MainWindow &window)
{
    QStringList names;
    for (QAction *action : window.leafItems())
        if (panel::itemChecked(action))
            names << action->objectName();
    return names;
}

const RecordingNotifier::Message kSettingsMessage = test::shown::kSettingsFile;

} // namespace

class TestPanelController : public QObject
{
    Q_OBJECT

private slots:
    void startUpFromFile_data()
    {
        QTest::addColumn<QByteArray>("file"); // written back as it was at exit
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QStringList>("checked");

        QTest::newRow("no file") << QByteArray() << 4 << "38400,N,8,1" << QStringList{"mnuPort4", "mnu384k"};
        QTest::newRow("port 2 at 19.2K") << hex("0200020002000200") << 2 << "19200,N,8,1"
                                         << QStringList{"mnuPort2", "mnu192k"};
        QTest::newRow("port 0, baud 7 kept")
            << hex("0200070002000000") << 4 << "38400,N,8,1" << QStringList{"mnuPort4", "mnu384k"};
        QTest::newRow("six bytes: port 3")
            << hex("000002000300") << 3 << "38400,N,8,1" << QStringList{"mnuPort3", "mnu384k"};
    }

    void startUpFromFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, port);
        QFETCH(QString, settings);
        QFETCH(QStringList, checked);

        test::ProgramRig run(std::nullopt);
        const QString path = run.folder.filePath("orva.set");
        if (!file.isEmpty())
            writeFile(path, file);
        QVERIFY(run.program->panel().Form_Load());
        QCOMPARE(readFile(path), file);
        QCOMPARE(run.link().portNumber(), port);
        QCOMPARE(run.link().portSettings(), settings);
        // Before any poll nothing else carries a check mark, and nothing was sent.
        QCOMPARE(checkedItems(run.window()), checked);
        QVERIFY(!run.link().IsPortOpen() && run.polling() && run.notifier.messages.isEmpty());

        run.item("mnuExit")->trigger();
        // A missing file is made empty at start-up and gets both values as "none" at exit.
        QCOMPARE(readFile(path), file.isEmpty() ? hex("00000000") : file);
        QCOMPARE(run.ended, 1);
    }

    void unreadableSettingsFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        // A pipe would block the start for ever if it were opened.
        QTest::newRow("pipe") << "pipe";
    }

    void unreadableSettingsFile()
    {
        QFETCH(QString, kind);
        test::ProgramRig run(std::nullopt);
        const QString path = run.folder.filePath("orva.set");
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QVERIFY(!run.program->panel().Form_Load());
        QCOMPARE(run.notifier.messages, QList{kSettingsMessage});
        QVERIFY(!run.polling() && !run.link().waitTimer().isActive());
        QVERIFY(checkedItems(run.window()).isEmpty());

        // The program goes on; exit says once that the choice is lost, then
        // closes and ends all the same.
        run.program->start();
        QVERIFY(run.window().isVisible());
        run.item("mnuPort3")->trigger();
        run.notifier.clear();
        run.item("mnuExit")->trigger();
        QCOMPARE(run.ended, 1);
        QCOMPARE(run.notifier.messages.size(), 1);
        const auto &[text, title] = run.notifier.messages[0];
        QCOMPARE(title, "Can't Save Settings File");
        QVERIFY2(text.contains(QFileInfo(path).absoluteFilePath() + ": "), qPrintable(text));
        QCOMPARE(QFileInfo(path).isDir(), kind == "folder");
    }

    void windowThatFailsToLoad()
    {
        // A start-up that ends before the file is read must not overwrite it at exit.
        QTemporaryDir dir;
        const QString path = dir.filePath("orva.set");
        writeFile(path, hex("0200020002000300"));

        link::PortMap map;
        RecordingNotifier notifier;
        link::SerialLink serial(map, notifier);
        QString loaded;
        // Each form notes its loading; frmHelp fails.
        const auto form = [&](const char *name, bool fails) -> panel::PanelController::WindowEntry {
            return {name, [&loaded, name, fails]() -> QWidget * {
                        loaded += QChar(name[3]);
                        auto *widget = fails ? nullptr : new QWidget;
                        if (widget)
                            widget->setObjectName(name);
                        return widget;
                    }};
        };
        std::vector<panel::PanelController::WindowEntry> forms{
            form("frmUpload", false), form("frmHelp", true), form("frmLogger", false)};
        int ended = 0;
        panel::PanelController panel(
            serial, notifier, std::move(forms), [&] { ++ended; }, path);
        QVERIFY(!panel.Form_Load());
        QCOMPARE(loaded, QString("UH"));
        QCOMPARE(notifier.messages, QList{kSettingsMessage});
        QVERIFY(!panel.window().pollTimer()->isActive());
        panel.Shutdown();
        QCOMPARE(ended, 1);
        QCOMPARE(readFile(path), hex("0200020002000300"));
    }

    void choicesSavedAtShutdown_data()
    {
        QTest::addColumn<bool>("closeBox"); // else "Exit"
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("exit") << false << QStringList{"mnuPort2", "mnu192k"} << hex("0200020002000200");
        QTest::newRow("close box") << true << QStringList{"mnuPort1", "mnu288k"} << hex("0200030002000100");
    }

    // Start-up loads the other windows hidden. The choices are written only at
    // shutdown, which also closes the port and hides every window.
    void choicesSavedAtShutdown()
    {
        QFETCH(bool, closeBox);
        QFETCH(QStringList, chosen);
        QFETCH(QByteArray, saved);
        test::ProgramRig run;
        QVERIFY(run.program->panel().Form_Load());
        const QList<QPair<QString, QString>> forms{{"frmUpload", "Download"}, {"frmHelp", "HELP"},
            {"frmLogger", "Logger"}, {"frmAbout", "About Brellin Orvanta"}, {"frmFiles", "File Organisation"}};
        for (const auto &[name, caption] : forms) {
            panel::WindowSlot *slot = run.program->panel().otherWindow(name);
            QVERIFY2(slot && slot->loaded(), qPrintable(name));
            QCOMPARE(slot->window()->objectName(), name);
            QCOMPARE(slot->window()->windowTitle(), caption);
            QVERIFY(!slot->window()->isVisible());
            slot->window()->show();
        }
        run.window().show();
        for (const QString &name : chosen)
            run.window().menuItem(name)->trigger();
        QCOMPARE(checkedItems(run.window()), chosen);
        run.link().SendCode(47);
        QVERIFY(run.link().IsPortOpen());
        QCOMPARE(readFile(run.folder.filePath("orva.set")), QByteArray());

        if (closeBox)
            QVERIFY(run.window().close());
        else
            run.item("mnuExit")->trigger();
        QCOMPARE(readFile(run.folder.filePath("orva.set")), saved);
        QVERIFY(!run.link().IsPortOpen());
        QCOMPARE(run.ended, 1);
        QVERIFY(!run.window().isVisible());
        for (const auto &form : forms)
            QVERIFY2(!run.program->panel().otherWindow(form.first)->window()->isVisible(), qPrintable(form.first));
        QVERIFY(run.notifier.messages.isEmpty());
    }

    void leavingWhileMonitoring_data()
    {
        QTest::addColumn<int>("signal"); // 0: "&Exit"
        QTest::newRow("Exit") << 0;
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    // Exit, and the signals that end the program as Exit does, while the
    // logger monitors: the instrument is told to stop sending errors before
    // the port closes, the settings are saved, the loop unwinds.
    void leavingWhileMonitoring()
    {
        QFETCH(int, signal);
        test::ProgramRig run;
        const jobs::StopSignals stopSignals([&run] { run.program->panel().Shutdown(); });
        run.start();
        run.item("mnu_Logger")->trigger();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (run.link().realtimeActive()) {
                watch.stop();
                signal ? void(::raise(signal)) : run.item("mnuExit")->trigger();
            }
        });
        watch.start(5);
        run.other<logger::LoggerWindow>("frmLogger")->button("cmdStartreal")->click();
        QCOMPARE(run.ended, 1);
        QCOMPARE(readFile(run.folder.filePath("orva.set")), hex("00000000"));
        const QByteArray got = run.sim->receivedBytes();
        QVERIFY2(got.endsWith("\x0e\x10"), got.toHex().constData());
        QVERIFY(!run.link().IsPortOpen());
    }

    void exitInsideARunningWait()
    {
        test::ProgramRig run({{"--silent"}});
        QVERIFY(run.program->panel().Form_Load());
        link::SerialLink &serial = run.link();
        QVERIFY(serial.OpenPort());

        QTimer::singleShot(200, run.item("mnuExit"), &QAction::trigger);
        QElapsedTimer clock;
        clock.start();
        serial.Delay(std::chrono::milliseconds(30'000));
        // Far short of the time the wait was given.
        QVERIFY2(clock.elapsed() < 15'000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(run.ended, 1);
        QVERIFY(!serial.IsPortOpen());
        QCOMPARE(readFile(run.folder.filePath("orva.set")), hex("00000000"));

        // Whatever the unwound caller would say next is not shown, and the port stays shut.
        run.notifier.warn(messages::kSerialPort);
        serial.SendCode(47);
        QVERIFY(run.notifier.messages.isEmpty());
        QVERIFY(!serial.IsPortOpen());
    }

    // A baud item retunes the open port; a port item closes it, so the next
    // request goes to the device chosen, even when the open one fell silent.
    void portAndBaudItemsOnTheOpenPort()
    {
        SimProcess other;
        test::ProgramRig run(QStringList{}, other.devicePath());
        QVERIFY(run.program->panel().Form_Load());
        link::SerialLink &serial = run.link();
        serial.SendCode(13);
        QVERIFY(serial.WaitForBytes(16));

        run.item("mnu9600")->trigger();
        QCOMPARE(serial.portSettings(), QString("9600,N,8,1"));
        QVERIFY(serial.IsPortOpen());
        run.item("mnuPort2")->trigger();
        QVERIFY(!serial.IsPortOpen());
        serial.SendCode(47);
        QVERIFY(other.waitForReceived(1));
        QCOMPARE(other.receivedBytes(), QByteArray("\x2f"));
        QCOMPARE(run.sim->receivedBytes(), QByteArray("\x0d"));
        QVERIFY(run.notifier.messages.isEmpty());
        QCOMPARE(checkedItems(run.window()), (QStringList{"mnuPort2", "mnu9600"}));
    }
};

QTEST_MAIN(TestPanelController)
#include "test_panel_controller.moc"
