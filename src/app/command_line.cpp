#include "app/command_line.h"

#include "app/work_folder.h"

#include <QCommandLineParser>
#include <QSerialPortInfo>
#include <QTextStream>

namespace orvanta::app {

namespace {

const QCommandLineOption kSimulate(QStringLiteral("simulate"),
    QStringLiteral("Start the instrument simulator and use it for every port without a device."));
const QCommandLineOption kSimOption(QStringLiteral("sim-option"),
    QStringLiteral("Pass an option to the simulator, e.g. --sim-option=--pace=38400."), QStringLiteral("option"));
const QCommandLineOption kDevice(QStringLiteral("device"),
    QStringLiteral("Use PATH for port number N (1 to 4). Repeatable."), QStringLiteral("N=PATH"));
const QCommandLineOption kWorkdir(QStringLiteral("workdir"),
    QStringLiteral("Work in DIR: made if missing, given the help file and graticules it lacks."),
    QStringLiteral("DIR"));
const QCommandLineOption kUserWorkdir(QStringLiteral("user-workdir"),
    QStringLiteral("Work in $XDG_DATA_HOME/orvanta (~/.local/share/orvanta), as the desktop entry does."));
const QCommandLineOption kListPorts(
    QStringLiteral("list-ports"), QStringLiteral("List the serial devices of this computer and end."));
const QCommandLineOption kHelp(
    QStringList{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and end."));

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Remote front panel for the Orvanta waveform monitor."));
    parser.addOption(kSimulate);
    parser.addOption(kSimOption);
    parser.addOption(kDevice);
    parser.addOption(kWorkdir);
    parser.addOption(kUserWorkdir);
    parser.addOption(kListPorts);
    parser.addOption(kHelp);
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    CommandLine result;
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        result.onlyUnknownOptions = !parser.unknownOptionNames().isEmpty();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return result;
    }
    if (parser.isSet(kWorkdir) && parser.isSet(kUserWorkdir)) {
        result.error = QStringLiteral("--workdir and --user-workdir name two folders: give one");
        return result;
    }
    if (parser.isSet(kWorkdir))
        result.workFolder = parser.value(kWorkdir);
    else if (parser.isSet(kUserWorkdir))
        result.workFolder = userWorkFolder();
    result.help = parser.isSet(kHelp);
    result.listPorts = parser.isSet(kListPorts);
    result.simulate = parser.isSet(kSimulate);
    for (const QString &option : parser.values(kSimOption)) {
        // "--pace=38400" reaches the simulator as "--pace" "38400".
        const qsizetype equals = option.indexOf(u'=');
        if (option.startsWith(u"--") && equals > 2)
            result.simulatorOptions << option.left(equals) << option.mid(equals + 1);
        else
            result.simulatorOptions << option;
    }
    for (const QString &device : parser.values(kDevice)) {
        const auto assignment = link::PortMap::parseAssignment(device);
        if (!assignment) {
            result.error = QStringLiteral("--device wants N=PATH with N from 1 to 4, not \"%1\"").arg(device);
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
    return text;
}

QString listPorts()
{
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
