#include "jobs/job_options.h"

#include "jobs/picture_formats.h"
#include "jobs/shared_options.h"
#include "panel/port_baud_choices.h"

#include <QCommandLineParser>

#include <algorithm>

namespace orvanta::jobs {

namespace {

struct JobRow
{
    Job job;
    QStringView name;
    QStringView summary;
};

constexpr JobRow kJobs[] = {
    {Job::Status, u"status", u"read the status once; print what the menus, buttons and lamps would show"},
    {Job::Capture, u"capture", u"download one picture of the screen into a PNG or BMP file"},
    {Job::ReadLog, u"read-log", u"read the stored error log, as text or JSON Lines"},
    {Job::Monitor, u"monitor", u"write error lines as they come, as text or JSON Lines, until SIGINT or SIGTERM"},
    {Job::Send, u"send", u"send commands named by button caption, menu path, control name or code"},
};

const JobRow &rowOf(Job job)
{
    return *std::ranges::find(kJobs, job, &JobRow::job);
}

const QCommandLineOption kDevice(QStringLiteral("device"),
    QStringLiteral("The instrument's serial device, or tcp://HOST:PORT or rfc2217://HOST:PORT on a serial-device "
                   "server; or N=PATH, the device of port number N as the window takes it."),
    QStringLiteral("PATH"));
const QCommandLineOption kPort(QStringLiteral("port"),
    QStringLiteral("Port number N (1 to 4), mapped to a device as the window maps it. Default: the one in orva.set."),
    QStringLiteral("N"));
const QCommandLineOption kBaud(QStringLiteral("baud"),
    QStringLiteral("9600, 19200, 28800 or 38400. Default: the rate in orva.set."), QStringLiteral("RATE"));
const QCommandLineOption kJson(QStringLiteral("json"), QStringLiteral("Print one JSON object."));
const QCommandLineOption kJsonLines(QStringLiteral("json"),
    QStringLiteral("Write JSON Lines: one object a record or event, with its fields, the computer's time and the "
                   "instrument's device; no heading."));
const QCommandLineOption kBlackOnWhite(
    QStringLiteral("black-on-white"), QStringLiteral("Write the picture converted to black on white."));
const QCommandLineOption kTimestamps(QStringLiteral("timestamps"),
    QStringLiteral(
        "Put the computer's ISO 8601 time, with milliseconds, in front of each line (JSON Lines always have it)."));
const QCommandLineOption kFormat(QStringLiteral("format"),
    QStringLiteral("png or bmp: the picture's format whatever the name, as for -o - (standard output)."),
    QStringLiteral("FORMAT"));
const QCommandLineOption kList(QStringLiteral("list"),
    QStringLiteral("Print every name send takes, with its code, one a line, and send nothing."));

QCommandLineOption outputOption(Job job)
{
    const QStringList names{QStringLiteral("o"), QStringLiteral("output")};
    switch (job) {
    case Job::Capture:
        return {names,
            QStringLiteral("Write the picture to FILE (- for standard output): PNG, or BMP for a name ending in "
                           ".bmp. Default: capture-YYYYMMDD-HHMMSS-mmm.png in the working folder."),
            QStringLiteral("FILE")};
    case Job::ReadLog:
        return {names, QStringLiteral("Write the log to FILE (- for standard output, the default)."), "FILE"};
    case Job::Monitor:
        return {names, QStringLiteral("Append the lines to FILE (- for standard output, the default)."), "FILE"};
    default: return {names, {}, QStringLiteral("FILE")};
    }
}

void addOptions(QCommandLineParser &parser, Job job)
{
    parser.setApplicationDescription(rowOf(job).summary.toString());
    parser.addOption(kDevice);
    parser.addOption(kPort);
    parser.addOption(kBaud);
    parser.addOption(options::simulate());
    parser.addOption(options::simulatorOption());
    parser.addOption(options::workFolder());
    parser.addOption(options::userWorkFolder());
    parser.addOption(options::help());
    switch (job) {
    case Job::Status: parser.addOption(kJson); break;
    case Job::Capture:
        parser.addOption(outputOption(job));
        parser.addOption(kFormat);
        parser.addOption(kBlackOnWhite);
        break;
    case Job::ReadLog:
        parser.addOption(kJsonLines);
        parser.addOption(outputOption(job));
        break;
    case Job::Monitor:
        parser.addOption(kJsonLines);
        parser.addOption(kTimestamps);
        parser.addOption(outputOption(job));
        break;
    case Job::Send:
        parser.addOption(kList);
        parser.addPositionalArgument(QStringLiteral("NAME"),
            QStringLiteral("A button caption (Wfm), a menu path (\"Presets/Full Size Vector Mode\"), a control's name "
                           "(cmdRef) or a code (47, 0x2F)."),
            QStringLiteral("NAME..."));
        break;
    }
}

std::optional<int> number(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

bool knownBaud(int baud)
{
    return panel::baudChoiceWithRate(baud) != nullptr;
}

// The reason the options cannot be used together, or nothing.
QString readLinkOptions(const QCommandLineParser &parser, JobOptions &options)
{
    for (const QString &device : parser.values(kDevice)) {
        if (const auto assignment = link::PortMap::parseAssignment(device)) {
            options.devices.append(*assignment);
        } else if (link::PortMap::looksLikeAssignment(device)) {
            return QStringLiteral("--device %1: port numbers are 1 to 4").arg(device);
        } else {
            if (!options.device.isEmpty())
                return QStringLiteral("--device PATH names the instrument once");
            options.device = device;
        }
    }
    if (parser.isSet(kPort)) {
        options.port = number(parser.value(kPort), link::PortMap::kFirstPort, link::PortMap::kLastPort);
        if (!options.port)
            return QStringLiteral("--port wants a number from 1 to 4, not \"%1\"").arg(parser.value(kPort));
    }
    if (options.port && !options.device.isEmpty())
        return QStringLiteral("--device PATH and --port N both name the instrument: give one");
    if (options.simulate && !options.device.isEmpty())
        return QStringLiteral("--device PATH and --simulate both name the instrument: give one");
    if (parser.isSet(kBaud)) {
        options.baud = number(parser.value(kBaud), 1, 1'000'000);
        if (!options.baud || !knownBaud(*options.baud))
            return QStringLiteral("--baud wants 9600, 19200, 28800 or 38400, not \"%1\"").arg(parser.value(kBaud));
    }
    return {};
}

} // namespace

QStringList jobNames()
{
    QStringList names;
    for (const JobRow &row : kJobs)
        names << row.name.toString();
    return names;
}

std::optional<Job> jobNamed(const QString &name)
{
    const auto row = std::ranges::find(kJobs, name, [](const JobRow &r) { return r.name.toString(); });
    return row == std::end(kJobs) ? std::nullopt : std::optional(row->job);
}

QString jobName(Job job)
{
    return rowOf(job).name.toString();
}

JobOptions parseJobOptions(const QStringList &arguments)
{
    JobOptions options;
    const std::optional<Job> job = arguments.size() > 1 ? jobNamed(arguments[1]) : std::nullopt;
    if (!job) {
        options.error = QStringLiteral("No such job: %1 (jobs: %2)")
                            .arg(arguments.value(1), jobNames().join(QStringLiteral(", ")));
        return options;
    }
    options.job = *job;

    QCommandLineParser parser;
    addOptions(parser, *job);
    QStringList rest = arguments;
    rest.removeAt(1);
    if (!parser.parse(rest)) {
        options.error = parser.errorText();
        return options;
    }
    options.help = parser.isSet(options::help());
    if (options.help)
        return options;

    options.simulate = parser.isSet(options::simulate());
    options.simulatorOptions = options::simulatorArguments(parser.values(options::simulatorOption()));
    if (!options::readWorkFolder(parser, options.workFolder, options.error))
        return options;
    options.error = readLinkOptions(parser, options);
    if (!options.error.isEmpty())
        return options;

    if (*job == Job::Status || *job == Job::ReadLog || *job == Job::Monitor)
        options.json = parser.isSet(QStringLiteral("json"));
    if (*job == Job::Capture) {
        options.blackOnWhite = parser.isSet(kBlackOnWhite);
        options.format = parser.value(kFormat).toLower();
        if (parser.isSet(kFormat) && options.format != u"png" && options.format != u"bmp")
            options.error = QStringLiteral("--format wants png or bmp, not \"%1\"").arg(parser.value(kFormat));
    }
    if (*job == Job::Send)
        options.list = parser.isSet(kList);
    if (*job == Job::Monitor)
        options.timestamps = parser.isSet(kTimestamps);
    if (*job == Job::Capture || *job == Job::ReadLog || *job == Job::Monitor) {
        options.output = parser.value(QStringLiteral("output"));
        if (parser.isSet(QStringLiteral("output")) && options.output.isEmpty())
            options.error = QStringLiteral("-o wants a file name, or - for standard output");
        else if (*job == Job::Capture && options.format.isEmpty() && options.output != u"-" && !options.output.isEmpty()
            && !pictureFormatOf(options.output))
            options.error = QStringLiteral("%1: the name must end in .png or .bmp").arg(options.output);
    }

    const QStringList positional = parser.positionalArguments();
    if (*job == Job::Send) {
        options.names = positional;
        if (options.names.isEmpty() && !options.list)
            options.error = QStringLiteral("send wants at least one NAME");
    } else if (!positional.isEmpty()) {
        options.error = QStringLiteral("Unexpected argument: %1").arg(positional.first());
    }
    return options;
}

QString jobHelp(std::optional<Job> job)
{
    if (!job) {
        QString text = QStringLiteral("\nJobs without a window: orvanta JOB [options], orvanta JOB --help\n");
        for (const JobRow &row : kJobs)
            text += QStringLiteral("  %1%2\n").arg(row.name.toString(), -10).arg(row.summary);
        text += QStringLiteral("Exit status: 0 done, 1 the instrument, link or output failed, 2 bad usage.\n");
        return text;
    }
    QCommandLineParser parser;
    addOptions(parser, *job);
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("orvanta ") + rowOf(*job).name.toString());
    return text;
}

} // namespace orvanta::jobs
