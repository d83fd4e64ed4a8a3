#include "app/command_line.h"

#include "app/version.h"
#include "app/work_folder.h"
#include "jobs/job_options.h"
#include "jobs/shared_options.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPortInfo>
#include <QTextStream>

#include <algorithm>
#include <string_view>

namespace orvanta::app {

namespace {

const QCommandLineOption kDevice(QStringLiteral("device"),
    QStringLiteral("Use PATH for port number N (1 to 4): a serial device, or a serial-device server as "
                   "tcp://HOST:PORT or rfc2217://HOST:PORT. Repeatable."),
    QStringLiteral("N=PATH"));
const QCommandLineOption kVersionOption(
    QStringList{QStringLiteral("V"), QStringLiteral("version")}, QStringLiteral("Show the version and end."));
const QCommandLineOption kListPorts(
    QStringLiteral("list-ports"), QStringLiteral("List the serial devices of this computer and end."));
const QCommandLineOption kJson(
    QStringLiteral("json"), QStringLiteral("With --list-ports: as a JSON array of objects."));

// What the toolkit takes on every program's command line, which may come
// along; anything else unknown is a mistake.
constexpr std::string_view kToolkitOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
    "qwindowgeometry", "qwindowicon", "qwindowtitle", "reverse", "session", "display", "geometry", "style",
    "stylesheet", "widgetcount", "name", "title", "visual", "nograb", "dograb", "sync", "qmljsdebugger"};

bool toolkitOption(const QString &name)
{
    return std::ranges::find(kToolkitOptions, name.toStdString()) != std::end(kToolkitOptions);
}

void addOptions(QCommandLineParser &parser)
{
    // -platform and the like are words, as the toolkit reads them.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Remote front panel for the Orvanta waveform monitor."));
    parser.addOption(jobs::options::simulate());
    parser.addOption(jobs::options::simulatorOption());
    parser.addOption(kDevice);
    parser.addOption(jobs::options::workFolder());
    parser.addOption(jobs::options::userWorkFolder());
    parser.addOption(kListPorts);
    parser.addOption(kJson);
    parser.addOption(kVersionOption);
    parser.addOption(jobs::options::help());
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        const QStringList unknown = parser.unknownOptionNames();
        result.onlyToolkitOptions = !unknown.isEmpty() && std::ranges::all_of(unknown, toolkitOption);
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        const QString first = parser.positionalArguments().first();
        result.error = jobs::jobNamed(first)
            ? QStringLiteral("the job name comes first: orvanta %1 [options]").arg(first)
            : QStringLiteral("Unexpected argument: %1 (jobs: %2)")
                  .arg(first, jobs::jobNames().join(QStringLiteral(", ")));
        return result;
    }
    if (!jobs::options::readWorkFolder(parser, result.workFolder, result.error))
        return result;
    result.help = parser.isSet(jobs::options::help());
    result.listPorts = parser.isSet(kListPorts);
    result.json = parser.isSet(kJson);
    if (result.json && !result.listPorts) {
        result.error = QStringLiteral("--json goes with --list-ports, or after a job: orvanta status --json");
        return result;
    }
    result.version = parser.isSet(kVersionOption);
    result.simulate = parser.isSet(jobs::options::simulate());
    result.simulatorOptions = jobs::options::simulatorArguments(parser.values(jobs::options::simulatorOption()));
    for (const QString &device : parser.values(kDevice)) {
        const auto assignment = link::PortMap::parseAssignment(device);
        if (!assignment) {
            result.error = link::PortMap::looksLikeAssignment(device)
                ? QStringLiteral("--device %1: port numbers are 1 to 4").arg(device)
                : QStringLiteral("--device wants N=PATH with N from 1 to 4, not \"%1\"").arg(device);
            return result;
        }
        result.devices.append(*assignment);
    }
    return result;
}

QString CommandLine::helpText()
{
    QCommandLineParser parser;
    addOptions(parser);
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("orvanta"));
    text += QStringLiteral(
        "\nPort numbers 1 to 4 (menu Special > Setup > PortNumber) map to devices, first match wins:\n"
        "  1. --device N=PATH\n"
        "  2. the environment variables ORVANTA_PORT1 to ORVANTA_PORT4\n"
        "  3. --simulate: the simulator's pseudo-terminal\n"
        "  4. %1 to %2\n")
                .arg(link::PortMap::platformDefault(1), link::PortMap::platformDefault(4));
    return text + jobs::jobHelp(std::nullopt);
}

QString versionText()
{
    return QStringLiteral("orvanta %1\n").arg(QLatin1StringView(kVersion));
}

QStringList argumentList(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

QString listPorts(bool json)
{
    if (json) {
        QJsonArray devices;
        for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
            const auto id = [](bool has, quint16 value) {
                return has ? QJsonValue(QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'))) : QJsonValue();
            };
            devices.append(QJsonObject{
                {QStringLiteral("device"), port.systemLocation()},
                {QStringLiteral("description"), port.description()},
                {QStringLiteral("manufacturer"), port.manufacturer()},
                {QStringLiteral("serialNumber"), port.serialNumber()},
                {QStringLiteral("vendorId"), id(port.hasVendorIdentifier(), port.vendorIdentifier())},
                {QStringLiteral("productId"), id(port.hasProductIdentifier(), port.productIdentifier())},
            });
        }
        return QString::fromUtf8(QJsonDocument(devices).toJson(QJsonDocument::Compact)) + u'\n';
    }

    QString text;
    QTextStream out(&text);
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    if (ports.isEmpty())
        out << "No serial devices found.\n";
    for (const QSerialPortInfo &port : ports) {
        out << port.systemLocation();
        if (!port.description().isEmpty())
            out << "  " << port.description();
        if (!port.manufacturer().isEmpty())
            out << "  (" << port.manufacturer() << ')';
        if (port.hasVendorIdentifier() && port.hasProductIdentifier())
            out << QStringLiteral("  USB %1:%2")
                       .arg(port.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                       .arg(port.productIdentifier(), 4, 16, QLatin1Char('0'));
        out << '\n';
    }
    return text;
}

} // namespace orvanta::app
