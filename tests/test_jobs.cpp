// The jobs as a user's script runs them: the built program, no display, the
// simulator on a pty; what comes out, what is said, what files are left, what
// reached the wire; and what the windows make of the same.
#include "panel/command_table.h"
#include "panel/menu_tree.h"
#include "support/file_bytes.h"
#include "support/job_process.h"
#include "support/logger_rig.h"
#include "support/picture_rig.h"
#include "support/shown_messages.h"
#include "support/working_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <QScopeGuard>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvanta;
using test::readFile;
using test::runProgram;
using test::SimProcess;
using test::writeFile;

namespace {

// One run of the program and what must come of it. In the command line, the
// environment and the texts, %sim stands for the simulator's device, %dir for
// the folder the run starts in and %bin for the program.
struct Run
{
    QString line;          // the arguments, as a shell splits them
    QStringList sim = {};  // the simulator's options; {"none"}: no simulator
    QString shell = {};    // run by bash, with this before and "%bin ARGUMENTS" after
    QStringList made = {}; // in the folder first: "name/" a folder, "name|" a pipe, "name=HEX" a file
    QStringList env = {};  // NAME=VALUE
    int exitCode = 0;
    QByteArray out = {};    // standard output exactly; "*TEXT": holding TEXT
    QStringList err = {};   // what standard error holds; none: it says nothing
    QByteArray wire = "*";  // what the instrument got; "*": not checked
    QStringList files = {}; // written by the run, in the folder or one inside it; "*.png": one such
    bool json = false;      // standard output: one JSON value a line
};

// The simulator at power-on, as the status job prints it.
const QByteArray kPowerOnStatus = R"(Input:        SDI1
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
)";

// Every port number leading nowhere but this one, which is the simulator.
QStringList simulatorOnPort(int port)
{
    QStringList environment;
    for (int n = 1; n <= 4; ++n)
        environment << QString("ORVANTA_PORT%1=%2").arg(n).arg(n == port ? "%sim" : "%dir/no-such-tty");
    return environment;
}

// The annotation's time and date, which differ from one download to the next:
// left of the range text, on the annotation's row (PAL 480, NTSC 400).
bool inTimeAndDate(int column, int row, bool pal)
{
    const int top = pal ? 480 : 400;
    return column < 280 && row >= top && row < top + 24;
}

// The computer's time as the logs give it: ISO 8601, milliseconds, the offset from UTC.
const QString kTime = R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d\d\d[+-]\d\d:\d\d)";

// JSON Lines as the letters of test::logShape, U for a line that is not a
// record; a line without the time and the instrument, with a field too many,
// or whose fields are not its text's words, stops it with "?" and the line.
// The records' texts, the unparsed lines' too, go to texts.
QString jsonShape(const QByteArray &out, const QString &device, QStringList *texts = nullptr)
{
    static const QHash<QString, QChar> letters{
        {"record", 'R'}, {"unparsed", 'U'}, {"end", 'E'}, {"timeout", 'T'}, {"finished", 'F'}};
    static const QRegularExpression time('^' + kTime + '$');
    QString shape;
    for (const QByteArray &line : out.chopped(out.endsWith('\n')).split('\n')) {
        QJsonObject object = QJsonDocument::fromJson(line).object();
        const bool carried = time.match(object.take("time").toString()).hasMatch()
            && object.take("instrument") == QJsonObject{{"port", 1}, {"device", device}};
        const QString event = object.take("event").toString();
        const QString text = object.take("text").toString();
        const QStringList fields{object.take("type").toString(), object.take("timeOfDay").toString().replace(':', ' '),
            object.take("source").toString()};
        const bool words = event == "record" ? fields.join(' ') == text.simplified() : fields.join("").isEmpty();
        if (!carried || !letters.contains(event) || !words || !object.isEmpty())
            return shape + '?' + line;
        shape += letters[event];
        if (texts && (event == "record" || event == "unparsed"))
            *texts << text;
    }
    return shape;
}

// What the simulator a job started itself got, from the record it was told to keep.
QByteArray recorded(const QString &path)
{
    QByteArray bytes;
    for (const QByteArray &line : readFile(path).split('\n'))
        if (const QList<QByteArray> fields = line.split(' '); fields.size() == 2)
            bytes += char(fields[1].toInt());
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Run)

class TestJobs : public QObject
{
    Q_OBJECT

private slots:
    void runs_data()
    {
        QTest::addColumn<Run>("run");
        const auto add = [](const char *name, const Run &run) { QTest::newRow(name) << run; };
        namespace m = test::shown;
        const QStringList none{"none"};
        // No simulator: usage, and what fails before any instrument is reached.
        const auto alone = [&](const char *name, const QString &line, int exitCode, const QStringList &err) {
            add(name, {.line = line, .sim = none, .exitCode = exitCode, .err = err});
        };
        // The simulator there, and the run fails.
        const auto fails = [&](const char *name, const QString &line, const QStringList &sim, int exitCode,
                               const QStringList &err, const QByteArray &wire = "*") {
            add(name, {.line = line, .sim = sim, .exitCode = exitCode, .err = err, .wire = wire});
        };
        const QString noTty = "%dir/no-such-tty (port 1, %1 baud): No such file or directory";
        add("status: what the window would show",
            {.line = "status --device %sim", .out = kPowerOnStatus, .wire = "\x0d"});
        // Without --device or --port, the port and rate remembered in orva.set, mapped as the window maps them.
        const QByteArray status = "*Block:        03 21 00";
        add("status: no orva.set, port 4 as the window starts",
            {.line = "status", .env = simulatorOnPort(4), .out = status});
        add("status: port 2 remembered, left as it was",
            {.line = "status --baud 38400",
                .made = {"orva.set=0200010002000200"},
                .env = simulatorOnPort(2),
                .out = status});
        add("status: --port wins over orva.set",
            {.line = "status --port 3",
                .made = {"orva.set=0200020002000200"},
                .env = simulatorOnPort(3),
                .out = status});
        // A failed write is a failure, and a closed standard output too.
        add("status into a full disk",
            {.line = "status --json --simulate",
                .sim = none,
                .shell = "exec > /dev/full;",
                .exitCode = 1,
                .err = {"Can't write standard output: No space left on device"}});
        add("status with standard output closed",
            {.line = "status --simulate",
                .sim = none,
                .shell = "exec >&-;",
                .exitCode = 1,
                .err = {"Can't write standard output: standard output is closed"}});
        // Which device, on which port at which rate, and why.
        alone("status: no such device", "status --device %dir/no-such-tty --baud 9600", 1,
            {m::kStatusLinkFailure.first, noTty.arg(9600)});
        alone("status: not a serial device", "status --device /dev/null", 1,
            {"/dev/null (port 1, 38400 baud): not a serial device"});
        fails("status: a silent instrument", "status --device %sim", {"--silent"}, 1,
            {m::kStatusTimeout.first, "no answer to the status request within 2 seconds"}, "\x0d");
        add("orva.set is a folder",
            {.line = "status", .sim = none, .made = {"orva.set/"}, .exitCode = 1, .err = {m::kSettingsFile.first}});
        const auto send = [&](const char *name, const QString &names, const QByteArray &codes) {
            add(name, {.line = "send --device %sim " + names, .wire = codes});
        };
        send("send: a button caption", "Wfm", "\x2f");
        send("send: a menu path", "\"Presets/Full Size Vector Mode\"", "\x2c");
        send("send: an alarm item", "\"Config/Alarms/Gamut Errs\"", "\x25");
        send("send: control names, one blank caption", "cmdRef imgScaleUp", "\x77\x54");
        send("send: codes, decimal and hex", "155 0x2F 1", "\x9b\x2f\x01");
        send("send: case, when only one name fits", "wfm \"recall settings/recall 8\"", "\x2f\x78");
        send("send: in order, the two Bars alike", "Bars Display/Trace Trace \"Audio/Peak Hold/Off\"",
            "\x7b\x44\x37\x87");
        add("send --list: every name with its code", {.line = "send --list", .sim = none, .out = "*\nWfm\t47\n"});
        // An item that opens a window sends nothing, and none of the other names either.
        fails(
            "send: an item that sends no code", "send --device %sim Wfm Special/Logger", {}, 2, {"sends no code"}, "");
        fails("send: an unknown name sends nothing", "send --device %sim Wfm \"Full Size Vector\"", {}, 2,
            {"close matches:\n  Presets/Full Size Vector Mode\n"}, "");
        alone(
            "send: no such device", "send --device %dir/no-such-tty Wfm", 1, {m::kSerialPort.first, noTty.arg(38400)});
        // Usage: said as such, before anything is opened.
        add("the version, no display", {.line = "--version", .sim = none, .out = "orvanta 6.1\n"});
        add("--help-all", {.line = "--help-all", .sim = none, .out = "*Port numbers 1 to 4"});
        alone("a mistyped option", "--list-port", 2, {"Unknown option 'list-port'"});
        alone("the job name after an option", "--simulate status", 2, {"the job name comes first: orvanta status"});
        add("the serial devices as JSON", {.line = "--list-ports --json", .sim = none, .out = "*[", .json = true});
        alone("--json without the port list", "--json", 2, {"--json goes with --list-ports"});
        alone("a port number out of range", "status --device 5=/dev/x", 2,
            {"--device 5=/dev/x: port numbers are 1 to 4"});
        alone("the window's port number out of range", "--device 5=/dev/x", 2,
            {"--device 5=/dev/x: port numbers are 1 to 4"});
        alone("a simulator option refused", "status --simulate --sim-option=--bogus", 2,
            {"the simulator refused its options: orvanta-sim: unknown option --bogus"});
        add("a working folder that is a file",
            {.line = "status --simulate --workdir %dir/plain",
                .sim = none,
                .made = {"plain="},
                .exitCode = 2,
                .err = {"%dir/plain"}});
        alone("an option of another job", "status --timestamps", 2, {"Unknown option 'timestamps'"});
        alone("two devices", "status --device /dev/null --port 2", 2, {"give one"});
        // Pictures: where they go, and never over another by chance.
        add("capture: a default name in the working folder",
            {.line = "capture --simulate --workdir %dir/work",
                .sim = none,
                .out = "*%dir/work/capture-",
                .files = {"work/capture-*.png"}});
        add("capture: a relative -o from where the job started",
            {.line = "capture --simulate --workdir %dir/work -o a.png",
                .sim = none,
                .out = "a.png\n",
                .files = {"a.png", "work/"}});
        add("capture: -o replaces the file it names",
            {.line = "capture --simulate -o old.bmp",
                .sim = none,
                .made = {"old.bmp=00"},
                .out = "old.bmp\n",
                .files = {"old.bmp"}});
        add("capture: to standard output", {.line = "capture --simulate -o - --format bmp", .sim = none, .out = "*BM"});
        fails("capture: no folder for the file", "capture --device %sim -o %dir/missing/x.png", {}, 1,
            {"Can't write %dir/missing/x.png"}, "");
        add("capture: a pipe's name",
            {.line = "capture --device %sim -o fifo.png",
                .made = {"fifo.png|"},
                .exitCode = 1,
                .err = {"Can't write %dir/fifo.png: it is not a regular file"},
                .wire = ""});
        // Said before orva.set is read, which would fail too.
        add("capture: neither PNG nor BMP",
            {.line = "capture --device %sim -o orva.set",
                .made = {"orva.set/"},
                .exitCode = 2,
                .err = {"must end in .png or .bmp"},
                .wire = ""});
        // 131 072 bytes at most, for a BMP of 131 190: the old file stays as it was.
        add("capture: a file size limit",
            {.line = "capture --simulate -o old.bmp",
                .sim = none,
                .shell = "trap '' XFSZ; ulimit -f 128;",
                .made = {"old.bmp=00"},
                .exitCode = 1,
                .err = {"Can't write %dir/old.bmp: File too large"}});
        // Past the first 20 blocks the instrument says nothing more.
        fails("capture: the picture stops", "capture --device %sim -o x.bmp", {"--stall-after", "20"}, 1,
            {m::kDownloadFailed.first, "no picture bytes came for 5 seconds"});
        // Logs.
        add("read-log: to standard output with -", {.line = "read-log --device %sim -o -", .out = "* Type    Hour"});
        add("read-log: stopped at its limit, said",
            {.line = "read-log --simulate --sim-option=--log-records=200 -o log.txt",
                .sim = none,
                .err = {"stopped after 125 records; the instrument may hold more"},
                .files = {"log.txt"}});
        fails("read-log: a silent instrument", "read-log --device %sim -o log.txt", {"--silent"}, 1,
            {"Com Port Timeout"}, "\x08\x07");
        fails("monitor: no folder for the file", "monitor --device %sim -o %dir/missing/log", {}, 1,
            {"Can't write %dir/missing/log"}, "");
        alone("monitor: no such device", "monitor --device %dir/no-such-tty", 1,
            {m::kMonitoringFailed.first, noTty.arg(38400)});
    }

    void runs()
    {
        QFETCH(Run, run);
        QTemporaryDir dir;
        std::optional<SimProcess> sim;
        if (run.sim != QStringList{"none"})
            sim.emplace(run.sim);
        const auto filled = [&](QString text) {
            return text.replace("%dir", dir.path())
                .replace("%sim", sim ? sim->devicePath() : QString())
                .replace("%bin", ORVANTA_PROGRAM_PATH);
        };
        for (const QString &made : std::as_const(run.made)) {
            if (made.endsWith('/'))
                QVERIFY(QDir(dir.path()).mkdir(made.chopped(1)));
            else if (made.endsWith('|'))
                QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(made.chopped(1))).constData(), 0600), 0);
            else
                writeFile(dir.filePath(made.section('=', 0, 0)), QByteArray::fromHex(made.section('=', 1).toLatin1()));
        }
        QProcessEnvironment environment = test::jobEnvironment();
        for (const QString &variable : std::as_const(run.env))
            environment.insert(variable.section('=', 0, 0), filled(variable.section('=', 1)));
        QStringList arguments = QProcess::splitCommand(filled(run.line));
        const test::JobResult result = run.shell.isEmpty()
            ? runProgram(arguments, dir.path(), environment)
            : runProgram(QStringList{"-c", run.shell + " exec \"$0\" \"$@\"", ORVANTA_PROGRAM_PATH} + arguments,
                dir.path(), environment, 60000, "bash");

        QCOMPARE(result.exitCode, run.exitCode);
        if (run.err.isEmpty())
            QCOMPARE(result.err, QByteArray());
        for (const QString &said : std::as_const(run.err))
            QVERIFY2(QString::fromUtf8(result.err).contains(filled(said)), result.err.constData());
        if (run.out.startsWith('*'))
            QVERIFY2(result.out.contains(filled(run.out.mid(1)).toUtf8()), result.out.left(300).constData());
        else
            QCOMPARE(QString::fromUtf8(result.out), filled(run.out));
        for (const QByteArray &line : run.json ? result.out.trimmed().split('\n') : QList<QByteArray>())
            QVERIFY2(!QJsonDocument::fromJson(line).isNull(), line.constData());
        // The folder's top holds what was made, left as it was unless the run
        // writes it, and what the run writes, nothing else; a pattern stands
        // for one file, its folder's name for a file inside it.
        QStringList top, expected;
        for (const QFileInfo &entry :
            QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
            top << entry.fileName() + (entry.isDir() ? "/" : "");
        for (const QString &made : std::as_const(run.made)) {
            expected << made.section('=', 0, 0).remove('|');
            if (made.contains('=') && !run.files.contains(expected.last()))
                QCOMPARE(readFile(dir.filePath(expected.last())).toHex(), made.section('=', 1).toLatin1());
        }
        for (const QString &file : std::as_const(run.files)) {
            const QFileInfo pattern(dir.filePath(file));
            QVERIFY2(file.endsWith('/') ? pattern.isDir()
                                        : pattern.dir().entryList({pattern.fileName()}, QDir::Files).size() == 1,
                qPrintable(file));
            expected << (file.contains('/') ? file.section('/', 0, 0) + '/' : file);
            top.replaceInStrings(QRegularExpression(QRegularExpression::wildcardToRegularExpression(file)), file);
        }
        top.removeDuplicates();
        expected.removeDuplicates();
        top.sort();
        expected.sort();
        QCOMPARE(top, expected);
        if (sim && run.wire != "*")
            QCOMPARE(test::receivedBefore(*sim), run.wire);
    }

    // Every group on another choice, the box lock on, lamps alternating; as JSON.
    void statusAsJson()
    {
        SimProcess sim({"--status", "830a3c4590ad980c00171e9607041a10"});
        const test::JobResult run = runProgram({"status", "--json", "--device", sim.devicePath()});
        QVERIFY2(run.exitCode == 0 && run.err.isEmpty(), run.err.constData());
        QCOMPARE(QJsonDocument::fromJson(run.out),
            QJsonDocument::fromJson(
                R"({"audioScale":["DIN"],"audioSource":["AES"],"block":"830a3c4590ad980c00171e9607041a10",
"controls":{"audioScale":["mnuScaleDIN"],"audioSource":["mnuAESAud"],"deEmphasis":["mnuDempOff"],
"filter":["mnuLpass"],"gains":["mnuWGainMag","mnuVGain75"],"peakHold":["mnuPksInf"],"safeArea":["mnuSafeoff"]},
"captions":["Input: YUV","Output: YUV","Display: YUV","Small Box: Top","525: NTSC","View as Digital","Colour: Mono",
"Phase: Ch 3+4"],"checked":["Config/Alarms/Full Pic CRC","Config/Alarms/Gamut Errs","Config/Alarms/No Aud",
"Config/Alarms/Hi Aud","Config/Alarms/No Vid","Config/Alarms/Black","Config/Alarms/Key Press",
"Config/Mag Lines/8 Lines","Gains/W Gain Mag","Gains/V Gain 75%","Filters/LPass","Display/Trace",
"Display/Special/H Blank","Display/Special/PAL Switch","Display/Safe Area/Off","Display/V Res","Audio/Source/AES",
"Audio/Peak Hold/Infinite","Audio/De Emphasis/Off","Audio/Scale/DIN"],"deEmphasis":["Off"],
"disabled":["Display/Position/Left Box <--","Display/Position/Left Box -->","Display/Position/Right Box <--",
"Display/Position/Right Box -->"],"display":"vector","filter":["LPass"],"gains":["W Gain Mag","V Gain 75%"],
"input":["SDI1","CVS1"],"lamps":{"CMPT":false,"CVS1":true,"CVS2":false,"NEG":true,"POS":false,"SDI1":true,
"SDI2":false},"peakHold":["Infinite"],"refButton":"Ext","safeArea":["Off"],"sdiButton":"GEN","standard":"NTSC"})"));
    }

    void captureIsTheWindowsPicture_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("convert");
        QTest::newRow("PAL waveform, PNG") << test::kPalWaveform << "picture.png" << false;
        QTest::newRow("NTSC vector, BMP, black on white")
            << QString("03020000800c20040000000000001e30") << QString("paper.BMP") << true;
    }

    void captureIsTheWindowsPicture()
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

    void readLogIsWhatTheWindowShows_data()
    {
        QTest::addColumn<QStringList>("simulatorOptions");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("asJson"); // read-log --json, as jsonShape gives it
        QTest::newRow("eight records and the end") << QStringList{} << 0 << "RRRRRRRRE";
        QTest::newRow("replies in two pieces") << QStringList{"--log-pieces", "--log-records", "3"} << 0 << "RRRE";
        QTest::newRow("an empty log") << QStringList{"--log-records", "0"} << 0 << "E";
        // The window writes the time-out into the log; the job says so and fails.
        QTest::newRow("no end record") << QStringList{"--log-no-end", "--log-records", "2"} << 1 << "RRT";
        QTest::newRow("a record that is not one")
            << QStringList{"--log-end", "xyz", "--log-records", "1"} << 1 << "RUT";
    }

    void readLogIsWhatTheWindowShows()
    {
        QFETCH(QStringList, simulatorOptions);
        QFETCH(int, exitCode);
        QFETCH(QString, asJson);
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

        // As JSON Lines: the same records, an object each, the first one's fields read from its columns.
        SimProcess again(simulatorOptions);
        const test::JobResult json = runProgram({"read-log", "--json", "--device", again.devicePath()});
        QCOMPARE(json.exitCode, exitCode);
        QStringList texts;
        QCOMPARE(jsonShape(json.out, again.devicePath(), &texts), asJson);
        QCOMPARE(texts, QString::fromUtf8(run.out).split('\n').mid(2, texts.size()));
        if (asJson.startsWith('R')) {
            QJsonObject first = QJsonDocument::fromJson(json.out.left(json.out.indexOf('\n'))).object();
            first.remove("time");
            first.remove("instrument");
            QCOMPARE(first,
                QJsonDocument::fromJson(R"({"event":"record","type":"FullCRC","timeOfDay":"08:00:00","source":"SDI1",
"text":" FullCRC 08     00    00    SDI1"})")
                    .object());
        }
    }

    void monitorEndsOnSignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("toFile"); // appended to a file, with timestamps; else standard output
        QTest::addColumn<bool>("group");  // the simulator a child of the job, the signal to the whole process group
        QTest::addColumn<bool>("json");
        QTest::newRow("SIGTERM, a log file with timestamps") << int(SIGTERM) << true << false << false;
        QTest::newRow("SIGHUP, a closed terminal") << int(SIGHUP) << false << false << false;
        // As Ctrl+C from a shell: the simulator, in a session of its own, goes on until the job ends it.
        QTest::newRow("SIGINT to the process group of monitor --simulate") << int(SIGINT) << false << true << false;
        QTest::newRow("SIGTERM, JSON Lines") << int(SIGTERM) << false << false << true;
    }

    // The closing line, code 16 last, exit 0.
    void monitorEndsOnSignal()
    {
        QFETCH(int, signal);
        QFETCH(bool, toFile);
        QFETCH(bool, group);
        QFETCH(bool, json);
        QTemporaryDir dir;
        std::optional<SimProcess> sim;
        QStringList arguments{"monitor"};
        if (group)
            arguments << "--simulate"
                      << "--sim-option=--error-interval=100"
                      << "--sim-option=--record=" + dir.filePath("rec");
        else
            arguments << "--device" << sim.emplace(QStringList{"--error-interval", "100"}).devicePath();
        const QString logFile = dir.filePath("errors.log");
        writeFile(logFile, "an earlier run\n");
        if (toFile)
            arguments << "--timestamps"
                      << "-o" << logFile;
        if (json)
            arguments << "--json";
        QProcess job;
        job.setProcessEnvironment(test::jobEnvironment());
        job.setChildProcessModifier([] { ::setpgid(0, 0); });
        job.start(ORVANTA_PROGRAM_PATH, arguments);
        QVERIFY(job.waitForStarted());
        // Stopped once an error line is out: heading, ruler (none in JSON) and one
        // line. Each is out as it comes; held in a file's buffer, they would take 20 s.
        QByteArray out;
        const auto lines = [&] {
            out += job.readAllStandardOutput();
            return (toFile ? readFile(logFile) : out).count('\n') >= (json ? 1 : toFile ? 4 : 3);
        };
        QVERIFY(QTest::qWaitFor(lines, 10000));
        ::kill(group ? -pid_t(job.processId()) : pid_t(job.processId()), signal);
        QVERIFY(job.waitForFinished(30000));
        QCOMPARE(job.exitStatus(), QProcess::NormalExit);
        QCOMPARE(job.exitCode(), 0);
        out += job.readAllStandardOutput();
        QString text = QString::fromUtf8(toFile ? readFile(logFile) : out);
        if (toFile) {
            QVERIFY(text.startsWith("an earlier run\n"));
            text.remove(0, 15);
            // Every line after the computer's time.
            static const QRegularExpression stamp('^' + kTime + ' ', QRegularExpression::MultilineOption);
            QCOMPARE(text.count(stamp), text.count('\n'));
            text.remove(stamp);
        }
        // Heading, the error lines, the closing line; 14 first, 16 last, nothing else.
        const QString shape = json ? jsonShape(out, sim->devicePath()) : test::logShape(text.replace("\n", "\r\n"));
        QVERIFY2(QRegularExpression(json ? "^R+F$" : "^HR+F$").match(shape).hasMatch(), qPrintable(shape));
        QCOMPARE(sim ? test::receivedBefore(*sim) : recorded(dir.filePath("rec")), QByteArray("\x0e\x10"));
    }

    void monitorEndsWhenItsReaderGoes()
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

    // The window ends on SIGTERM as its Exit does: a first run's orva.set gets its two "no value"s.
    void windowEndsOnSignal()
    {
        QTemporaryDir dir;
        QProcessEnvironment environment = test::jobEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess window;
        window.setProcessEnvironment(environment);
        window.setWorkingDirectory(dir.path());
        window.start(ORVANTA_PROGRAM_PATH, {"--simulate", "--workdir", dir.path()});
        // Made empty by start-up, before the main window shows.
        QVERIFY(QTest::qWaitFor([&] { return QFile::exists(dir.filePath("orva.set")); }, 30000));
        QTest::qWait(500);
        ::kill(pid_t(window.processId()), SIGTERM);
        QVERIFY(window.waitForFinished(30000));
        QCOMPARE(window.exitStatus(), QProcess::NormalExit);
        QCOMPARE(window.exitCode(), 0);
        QCOMPARE(readFile(dir.filePath("orva.set")).toHex(), "00000000");
    }

    // A device held through a link to it is held under its own name too.
    void deviceHeldThroughALink()
    {
        SimProcess sim;
        QTemporaryDir dir;
        QVERIFY(QFile::link(sim.devicePath(), dir.filePath("ttyV")));
        QProcess monitor;
        monitor.setProcessEnvironment(test::jobEnvironment());
        monitor.start(ORVANTA_PROGRAM_PATH, {"monitor", "--device", dir.filePath("ttyV")});
        QVERIFY(sim.waitForReceived(1, 10000));
        const test::JobResult status = runProgram({"status", "--device", sim.devicePath()});
        const qint64 holder = monitor.processId();
        monitor.terminate();
        QVERIFY(monitor.waitForFinished(30000));
        QCOMPARE(status.exitCode, 1);
        QVERIFY2(status.err.contains(QString(" is in use by process %1").arg(holder).toUtf8()), status.err.constData());
    }

    // On a file system with no room for the new picture, over an old one of
    // the same name: the job says why, and the old file stays whole.
    void fullDisk_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filler"); // bytes written beside it first
        QTest::newRow("a BMP over a BMP, 131 190 bytes with less left") << "old.bmp" << 0;
        QTest::newRow("a PNG over a PNG, the disk full") << "old.png" << 1;
    }

    void fullDisk()
    {
        QFETCH(QString, name);
        QFETCH(int, filler);
        QTemporaryDir dir;
        if (::mount("orvanta-test", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP(qPrintable("can't mount a small tmpfs here: " + QString::fromLocal8Bit(std::strerror(errno))));
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH); });
        const QByteArray old(131190, 'x');
        writeFile(dir.filePath(name), old);
        // As much as fits, to leave no room at all.
        QFile rest(dir.filePath("rest"));
        if (filler && rest.open(QIODevice::WriteOnly))
            while (rest.write(QByteArray(4096, 'r')) == 4096) { }
        const test::JobResult run = runProgram({"capture", "--simulate", "-o", name}, dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains("Can't write " + dir.filePath(name).toUtf8() + ": No space left on device"),
            run.err.constData());
        QCOMPARE(readFile(dir.filePath(name)), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), filler ? 2 : 1);
    }

    // Two captures at once in one folder, each with a name of its own: neither picture is lost.
    void twoCapturesAtOnce()
    {
        QTemporaryDir dir;
        QProcess first, second;
        for (QProcess *job : {&first, &second}) {
            job->setProcessEnvironment(test::jobEnvironment());
            job->setWorkingDirectory(dir.path());
            job->start(ORVANTA_PROGRAM_PATH, {"capture", "--simulate"});
        }
        for (QProcess *job : {&first, &second})
            QVERIFY(job->waitForFinished(60000) && job->exitCode() == 0);
        QCOMPARE(QDir(dir.path()).entryList({"capture-*.png"}, QDir::Files).size(), 2);
    }

    // Every item of every menu group the status reports comes back by its
    // control's name: sent by it, its code goes out, and the status checks it.
    void menuGroupsRoundTrip()
    {
        const QStringList groups{"gains", "filter", "safeArea", "audioSource", "peakHold", "deEmphasis", "audioScale"};
        const QStringList menus{
            "mnuGains", "mnuFilters", "mnuSafeArea", "mnuAudSource", "mnuPkHold", "mnuDe_emp", "mnuAudScale"};
        SimProcess sim;
        int items = 0;
        for (qsizetype group = 0; group < groups.size(); ++group) {
            for (const panel::MenuRow &row : panel::menuTable()) {
                if (row.parent != menus[group].toStdString())
                    continue;
                const QString name = QString::fromLatin1(row.name);
                const qsizetype before = test::receivedBefore(sim).size();
                QCOMPARE(runProgram({"send", "--device", sim.devicePath(), name}).exitCode, 0);
                const QByteArray sent = test::receivedBefore(sim).mid(before);
                const test::JobResult status = runProgram({"status", "--json", "--device", sim.devicePath()});
                const QJsonArray controls = QJsonDocument::fromJson(status.out)
                                                .object()
                                                .value("controls")
                                                .toObject()
                                                .value(groups[group])
                                                .toArray();
                QCOMPARE(sent, QByteArray(1, char(*panel::commandCode(row.name, panel::PanelEvent::Click))));
                QVERIFY2(controls.contains(name), qPrintable(name + ": " + status.out));
                ++items;
            }
        }
        QVERIFY(items > 25);
    }
};

QTEST_MAIN(TestJobs)
#include "test_jobs.moc"
