// The jobs as a user's script runs them: the built program, no display, the
// simulator on a pty, checked on the wire and against what the windows make of the same.
#include "panel/settings_file.h"
#include "support/file_bytes.h"
#include "support/job_process.h"
#include "support/logger_rig.h"
#include "support/picture_rig.h"
#include "support/shown_messages.h"
#include "support/working_folder.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace orvanta;
using test::readFile;
using test::runProgram;
using test::SimProcess;
using test::writeFile;

namespace {

// Far above the two-second status wait, for a loaded machine.
constexpr qint64 kTimeoutGuardMs = 20000;

// The annotation's time and date, which differ from one download to the next:
// left of the range text, on the annotation's row (PAL 480, NTSC 400).
bool inTimeAndDate(int column, int row, bool pal)
{
    const int top = pal ? 480 : 400;
    return column < 280 && row >= top && row < top + 24;
}

} // namespace

class TestJobs : public QObject
{
    Q_OBJECT

private slots:
    void statusReport_data();
    void statusReport();
    void linkFromSettingsFile_data();
    void linkFromSettingsFile();
    void captureIsTheWindowsPicture_data();
    void captureIsTheWindowsPicture();
    void readLogIsWhatTheWindowShows_data();
    void readLogIsWhatTheWindowShows();
    void monitorEndsOnSignal_data();
    void monitorEndsOnSignal();
    void monitorEndsWhenItsReaderGoes();
    void runs_data();
    void runs();
};

void TestJobs::statusReport_data()
{
    QTest::addColumn<QString>("block");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("printed");
    QTest::newRow("the simulator at power-on, as text")
        << test::kPalWaveform << QStringList{} << QByteArray(R"(Input:        SDI1
Display:      waveform
Standard:     PAL
Gains:        W Gain Norm, V Gain 100%
Filter:       Norm
Safe area:    Off
Audio source: Emb'd Gp1
Peak hold:    Off
De-emphasis:  Off
Audio scale:  UK PPM
Ref button:   Int
SDI button:   EDH
Lamps:        SDI1 on, SDI2 off, CVS1 off, CVS2 off, CMPT off, POS off, NEG off
Checked:      Config/Mag Lines/4 Lines
              Gains/W Gain Norm
              Gains/V Gain 100%
              Filters/Norm
              Display/Trace
              Display/Safe Area/Off
              Audio/Source/Emb'd Gp1
              Audio/Peak Hold/Off
              Audio/De Emphasis/Off
              Audio/Scale/UK PPM
Captions:     Input: RGB; Output: RGB; Display: RGB; Small Box: Btm; 525: PALM; View as Analog; Colour: Full; Phase: Ch 1+2
Disabled:     none
Block:        03 21 00 00 80 0c 20 05 00 00 00 00 00 00 1e 30
)");
    // Every group on another choice, the box lock on, lamps alternating.
    QTest::newRow("vector, NTSC, all else changed, as JSON")
        << "830a3c4590ad980c00171e9607041a10" << QStringList{"--json"}
        << QByteArray(R"({"audioScale":["DIN"],"audioSource":["AES"],"block":"830a3c4590ad980c00171e9607041a10",
"captions":["Input: YUV","Output: YUV","Display: YUV","Small Box: Top","525: NTSC","View as Digital","Colour: Mono",
"Phase: Ch 3+4"],"checked":["Config/Alarms/Full Pic CRC","Config/Alarms/Gamut Errs","Config/Alarms/No Aud",
"Config/Alarms/Hi Aud","Config/Alarms/No Vid","Config/Alarms/Black","Config/Alarms/Key Press",
"Config/Mag Lines/8 Lines","Gains/W Gain Mag","Gains/V Gain 75%","Filters/LPass","Display/Trace",
"Display/Special/H Blank","Display/Special/PAL Switch","Display/Safe Area/Off","Display/V Res","Audio/Source/AES",
"Audio/Peak Hold/Infinite","Audio/De Emphasis/Off","Audio/Scale/DIN"],"deEmphasis":["Off"],
"disabled":["Display/Position/Left Box <--","Display/Position/Left Box -->","Display/Position/Right Box <--",
"Display/Position/Right Box -->"],"display":"vector","filter":["LPass"],"gains":["W Gain Mag","V Gain 75%"],
"input":["SDI1","CVS1"],"lamps":{"CMPT":false,"CVS1":true,"CVS2":false,"NEG":true,"POS":false,"SDI1":true,
"SDI2":false},"peakHold":["Infinite"],"refButton":"Ext","safeArea":["Off"],"sdiButton":"GEN","standard":"NTSC"})");
}

// What the menus, the two status buttons and the lamps would show, and one status request on the wire.
void TestJobs::statusReport()
{
    QFETCH(QString, block);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, printed);
    SimProcess sim({"--status", block});
    const test::JobResult run
        = runProgram(QStringList{"status", "--device", sim.devicePath(), "--baud", "9600"} + arguments);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    if (arguments.contains("--json"))
        QCOMPARE(QJsonDocument::fromJson(run.out), QJsonDocument::fromJson(printed));
    else
        QCOMPARE(run.out, printed);
    QCOMPARE(test::receivedBefore(sim), QByteArray(1, '\x0d'));
}

void TestJobs::linkFromSettingsFile_data()
{
    QTest::addColumn<QByteArray>("settings"); // "none": no file
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("simulatorPort"); // the others lead nowhere
    QTest::newRow("no file: port 4, as the window starts") << QByteArray("none") << QStringList{} << 4;
    QTest::newRow("port 2 remembered") << panel::encodeSettings({.baud = 1, .port = 2})
                                       << QStringList{"--baud", "38400"} << 2;
    QTest::newRow("--port wins over the file")
        << panel::encodeSettings({.baud = 2, .port = 2}) << QStringList{"--port", "3"} << 3;
}

void TestJobs::linkFromSettingsFile()
{
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, arguments);
    QFETCH(int, simulatorPort);
    SimProcess sim;
    QTemporaryDir dir;
    const QString path = dir.filePath("orva.set");
    if (settings != "none")
        writeFile(path, settings);
    QProcessEnvironment environment = test::jobEnvironment();
    for (int port = 1; port <= 4; ++port)
        environment.insert(QString("ORVANTA_PORT%1").arg(port),
            port == simulatorPort ? sim.devicePath() : dir.filePath("no-such-tty"));
    const test::JobResult run = runProgram(QStringList{"status"} + arguments, dir.path(), environment);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    const QString text = QString::fromUtf8(run.out);
    for (const char *line : {"Display:      waveform\n", "Standard:     PAL\n", "Filter:       Norm\n",
             "Lamps:        SDI1 on, SDI2 off, CVS1 off, CVS2 off, CMPT off, POS off, NEG off\n",
             "Block:        03 21 00 00 80 0c 20 05 00 00 00 00 00 00 1e 30\n"})
        QVERIFY2(text.contains(line), qPrintable(text));
    // A job reads the file and leaves it as it was, or absent.
    QCOMPARE(readFile(path), settings == "none" ? QByteArray("<missing>") : settings);
}

void TestJobs::captureIsTheWindowsPicture_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("convert");
    QTest::newRow("PAL waveform, PNG") << test::kPalWaveform << "picture.png" << false;
    QTest::newRow("NTSC vector, BMP, black on white")
        << QString("03020000800c20040000000000001e30") << QString("paper.BMP") << true;
}

void TestJobs::captureIsTheWindowsPicture()
{
    QFETCH(QString, status);
    QFETCH(QString, output);
    QFETCH(bool, convert);
    const bool pal = QByteArray::fromHex(status.toLatin1()).at(7) & 0x01;
    test::WorkingFolder folder;
    test::PictureRig rig(status);
    rig.download();
    QVERIFY(rig.notifier.messages.isEmpty());
    const QImage window = rig.window->canvas().image().convertToFormat(QImage::Format_RGB32);
    // The job has the instrument to itself.
    rig.serial->ClosePort();

    QStringList arguments{"capture", "--device", rig.sim.devicePath(), "-o", output};
    if (convert)
        arguments << "--black-on-white";
    const test::JobResult run = runProgram(arguments, folder.path());
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(run.out, output.toUtf8() + '\n');
    const QImage job = QImage(folder.filePath(output)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(job.size(), window.size());
    int different = 0;
    for (int row = 0; row < job.height(); ++row)
        for (int column = 0; column < job.width(); ++column) {
            // Black on white: black paper, everything else drawn black.
            const QRgb shown = window.pixel(column, row);
            const QRgb expected = !convert ? shown : shown == qRgb(0, 0, 0) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            different += !inTimeAndDate(column, row, pal) && job.pixel(column, row) != expected;
        }
    QCOMPARE(different, 0);
    // Only the picture: no conversion file as the window's, no settings file.
    QVERIFY(!QFile::exists(folder.filePath("tempbw.bmp")) && !QFile::exists(folder.filePath("orva.set")));
}

void TestJobs::readLogIsWhatTheWindowShows_data()
{
    QTest::addColumn<QStringList>("simulatorOptions");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("eight records and the end") << QStringList{} << 0;
    QTest::newRow("replies in two pieces") << QStringList{"--log-pieces", "--log-records", "3"} << 0;
    QTest::newRow("an empty log") << QStringList{"--log-records", "0"} << 0;
    // The window writes the time-out into the log; the job says so and fails.
    QTest::newRow("no end record") << QStringList{"--log-no-end", "--log-records", "2"} << 1;
}

void TestJobs::readLogIsWhatTheWindowShows()
{
    QFETCH(QStringList, simulatorOptions);
    QFETCH(int, exitCode);
    test::LoggerRig rig(simulatorOptions);
    rig.click("cmdReadlog");
    const QString shown = rig.shown();
    const QString windowCodes = rig.codes();
    QVERIFY(shown.startsWith(test::asShown(test::kHeadingLines)));

    SimProcess sim(simulatorOptions);
    const test::JobResult run = runProgram({"read-log", "--device", sim.devicePath()});
    QCOMPARE(run.exitCode, exitCode);
    // The text area's text, its last line ended as a file's is.
    QCOMPARE(QString::fromUtf8(run.out), shown.endsWith('\n') ? shown : shown + '\n');
    QStringList jobCodes;
    for (const char code : test::receivedBefore(sim))
        jobCodes << QString::number(quint8(code));
    QCOMPARE(jobCodes.join(' '), windowCodes);
}

void TestJobs::monitorEndsOnSignal_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("toFile"); // appended to a file, with timestamps; else standard output
    QTest::newRow("SIGTERM, a log file with timestamps") << int(SIGTERM) << true;
    QTest::newRow("SIGINT, standard output") << int(SIGINT) << false;
}

void TestJobs::monitorEndsOnSignal()
{
    QFETCH(int, signal);
    QFETCH(bool, toFile);
    SimProcess sim({"--error-interval", "100"});
    QTemporaryDir dir;
    const QString logFile = dir.filePath("errors.log");
    writeFile(logFile, "an earlier run\n");

    QProcess job;
    job.setProcessEnvironment(test::jobEnvironment());
    job.start(ORVANTA_PROGRAM_PATH,
        QStringList{"monitor", "--device", sim.devicePath()}
            + (toFile ? QStringList{"--timestamps", "-o", logFile} : QStringList{}));
    QVERIFY(job.waitForStarted());
    // Stopped once an error line is out: heading, ruler and one line.
    QByteArray out;
    const auto lines = [&] {
        out += job.readAllStandardOutput();
        return (toFile ? readFile(logFile) : out).count('\n') >= (toFile ? 4 : 3);
    };
    QVERIFY(QTest::qWaitFor(lines, 30000));
    ::kill(pid_t(job.processId()), signal);
    QVERIFY(job.waitForFinished(30000));
    QCOMPARE(job.exitStatus(), QProcess::NormalExit);
    QCOMPARE(job.exitCode(), 0);
    out += job.readAllStandardOutput();

    QString text = QString::fromUtf8(toFile ? readFile(logFile) : out);
    if (toFile) {
        QVERIFY(text.startsWith("an earlier run\n"));
        text.remove(0, 15);
        // Every line after the computer's time in ISO 8601, with its offset.
        static const QRegularExpression stamp(
            R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(Z|[+-]\d\d:\d\d) )", QRegularExpression::MultilineOption);
        QCOMPARE(text.count(stamp), text.count('\n'));
        text.remove(stamp);
    }
    // Heading, the error lines, the closing line; 14 first, 16 last, nothing else.
    QVERIFY2(
        QRegularExpression("^HR+F$").match(test::logShape(text.replace("\n", "\r\n"))).hasMatch(), qPrintable(text));
    QCOMPARE(test::receivedBefore(sim), QByteArray("\x0e\x10"));
}

void TestJobs::monitorEndsWhenItsReaderGoes()
{
    SimProcess sim({"--error-interval", "100"});
    // head leaves after the first error line: the next one cannot be written.
    const QString pipe = QString("'%1' monitor --device '%2' | head -3 >/dev/null; exit ${PIPESTATUS[0]}");
    const test::JobResult run = runProgram(
        {"-c", pipe.arg(ORVANTA_PROGRAM_PATH, sim.devicePath())}, {}, test::jobEnvironment(), 30000, "bash");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("Can't write standard output"), run.err.constData());
    // The instrument was told to stop all the same.
    QCOMPARE(test::receivedBefore(sim), QByteArray("\x0e\x10"));
}

void TestJobs::runs_data()
{
    QTest::addColumn<QStringList>("simulatorOptions"); // {"none"}: no simulator
    QTest::addColumn<QString>("made");                 // in the job's folder first: "name/" a folder, else a file
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");    // on standard error; empty: nothing
    QTest::addColumn<QByteArray>("wire"); // what the instrument got; "*": not checked
    namespace m = test::shown;
    const QStringList none{"none"};
    const QStringList sim;
    const auto row = [](const char *name, const QStringList &simulator, const QString &made,
                         const QStringList &arguments, int exitCode, const QString &says, const QByteArray &wire) {
        QTest::newRow(name) << simulator << made << arguments << exitCode << says << wire;
    };
    const auto send = [&](const char *name, const QStringList &names, const QByteArray &codes) {
        row(name, sim, {}, QStringList{"send", "--device", "%sim"} + names, 0, {}, codes);
    };
    send("send: a button caption", {"Wfm"}, "\x2f");
    send("send: a menu path", {"Presets/Full Size Vector Mode"}, "\x2c");
    send("send: an alarm item", {"Config/Alarms/Gamut Errs"}, "\x25");
    send("send: control names, one blank caption", {"cmdRef", "imgScaleUp"}, "\x77\x54");
    send("send: codes, decimal and hex", {"155", "0x2F", "1"}, "\x9b\x2f\x01");
    send("send: case, when only one name fits", {"wfm", "recall settings/recall 8"}, "\x2f\x78");
    send("send: in order, the two Bars alike", {"Bars", "Display/Trace", "Trace", "Audio/Peak Hold/Off"},
        "\x7b\x44\x37\x87");
    // An item that opens a window sends nothing, and none of the other names either.
    row("send: an item that sends no code", sim, {}, {"send", "--device", "%sim", "Wfm", "Special/Logger"}, 2,
        "sends no code", "");
    row("send: an unknown name sends nothing", sim, {}, {"send", "--device", "%sim", "Wfm", "Full Size Vector"}, 2,
        "close matches:\n  Presets/Full Size Vector Mode\n", "");
    row("send: no such device", none, {}, {"send", "--device", "%dir/no-such-tty", "Wfm"}, 1, m::kSerialPort.first, {});
    row("status: no such device", none, {}, {"status", "--device", "%dir/no-such-tty"}, 1, m::kStatusLinkFailure.first,
        {});
    row("status: a silent instrument", {"--silent"}, {}, {"status", "--device", "%sim"}, 1, m::kStatusTimeout.first,
        "\x0d");
    row("orva.set is a folder", none, "orva.set/", {"status"}, 1, m::kSettingsFile.first, {});
    row("a working folder that is a file", none, "plain", {"status", "--simulate", "--workdir", "%dir/plain"}, 2,
        "%dir/plain", {});
    row("an option of another job", none, {}, {"status", "--timestamps"}, 2, "Unknown option 'timestamps'", {});
    row("two devices", none, {}, {"status", "--device", "/dev/null", "--port", "2"}, 2, "give one", {});
    row("no such port", none, {}, {"send", "--port", "5", "Wfm"}, 2, "from 1 to 4", {});
    row("capture: no folder for the file", sim, {}, {"capture", "--device", "%sim", "-o", "%dir/missing/x.png"}, 1,
        "Can't write %dir/missing/x.png", "");
    // Said before orva.set is read, which would fail too.
    row("capture: neither PNG nor BMP", sim, "orva.set/", {"capture", "--device", "%sim", "-o", "orva.set"}, 2,
        "must end in .png or .bmp", "");
    row("capture: a silent instrument", {"--silent"}, {}, {"capture", "--device", "%sim", "-o", "x.png"}, 1,
        m::kStatusTimeout.first, "\x0d");
    // Past the first 20 blocks the instrument says nothing more.
    row("capture: the picture stops", {"--stall-after", "20"}, {}, {"capture", "--device", "%sim", "-o", "x.bmp"}, 1,
        m::kDownloadFailed.first, "*");
    row("read-log: a silent instrument", {"--silent"}, {}, {"read-log", "--device", "%sim", "-o", "log.txt"}, 1,
        "Com Port Timeout", "\x08\x07");
    row("read-log: no folder for the file", sim, {}, {"read-log", "--device", "%sim", "-o", "%dir/missing/log"}, 1,
        "Can't write %dir/missing/log", "");
    row("monitor: no folder for the file", sim, {}, {"monitor", "--device", "%sim", "-o", "%dir/missing/log"}, 1,
        "Can't write %dir/missing/log", "");
}

// Nothing on standard output, and nothing in the folder but what was there.
void TestJobs::runs()
{
    QFETCH(QStringList, simulatorOptions);
    QFETCH(QString, made);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    QFETCH(QByteArray, wire);
    QTemporaryDir dir;
    if (made.endsWith('/'))
        QVERIFY(QDir(dir.path()).mkdir(made.chopped(1)));
    else if (!made.isEmpty())
        QVERIFY(QFile(dir.filePath(made)).open(QIODevice::WriteOnly));
    std::optional<SimProcess> sim;
    if (simulatorOptions != QStringList{"none"})
        sim.emplace(simulatorOptions);
    for (QString &argument : arguments)
        argument.replace("%dir", dir.path()).replace("%sim", sim ? sim->devicePath() : QString());

    const test::JobResult run = runProgram(arguments, dir.path());
    QCOMPARE(run.exitCode, exitCode);
    if (says.isEmpty())
        QCOMPARE(run.err, QByteArray());
    else
        QVERIFY2(QString::fromUtf8(run.err).contains(says.replace("%dir", dir.path())), run.err.constData());
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.elapsedMs < kTimeoutGuardMs, qPrintable(QString::number(run.elapsedMs)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        made.isEmpty() ? QStringList{} : QStringList{made.remove('/')});
    if (sim && wire != "*")
        QCOMPARE(test::receivedBefore(*sim), wire);
}

QTEST_MAIN(TestJobs)
#include "test_jobs.moc"
