#include "jobs/shared_options.h"

#include <QDir>
#include <QStandardPaths>

namespace orvanta::jobs::options {

const QCommandLineOption &simulate()
{
    static const QCommandLineOption option(QStringLiteral("simulate"),
        QStringLiteral("Start the instrument simulator and use it for every port without a device."));
    return option;
}

const QCommandLineOption &simulatorOption()
{
    static const QCommandLineOption option(QStringLiteral("sim-option"),
        QStringLiteral("Pass an option to the simulator, e.g. --sim-option=--pace=38400."), QStringLiteral("option"));
    return option;
}

const QCommandLineOption &workFolder()
{
    static const QCommandLineOption option(QStringLiteral("workdir"),
        QStringLiteral("Work in DIR: made if missing, given the help file and graticules it lacks."),
        QStringLiteral("DIR"));
    return option;
}

const QCommandLineOption &userWorkFolder()
{
    static const QCommandLineOption option(QStringLiteral("user-workdir"),
        QStringLiteral("Work in $XDG_DATA_HOME/orvanta (~/.local/share/orvanta), as the desktop entry does."));
    return option;
}

const QCommandLineOption &help()
{
    static const QCommandLineOption option(
        QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("help-all")},
        QStringLiteral("Show this help and end."));
    return option;
}

bool readWorkFolder(const QCommandLineParser &parser, QString &folder, QString &error)
{
    if (parser.isSet(workFolder()) && parser.isSet(userWorkFolder())) {
        error = QStringLiteral("--workdir and --user-workdir name two folders: give one");
        return false;
    }
    if (parser.isSet(workFolder()))
        folder = parser.value(workFolder());
    else if (parser.isSet(userWorkFolder())) // the desktop entry's
        folder = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                     .filePath(QStringLiteral("orvanta"));
    return true;
}

QStringList simulatorArguments(const QStringList &values)
{
    QStringList arguments;
    for (const QString &value : values) {
        const qsizetype equals = value.indexOf(u'=');
        if (value.startsWith(u"--") && equals > 2)
            arguments << value.left(equals) << value.mid(equals + 1);
        else
            arguments << value;
    }
    return arguments;
}

} // namespace orvanta::jobs::options
