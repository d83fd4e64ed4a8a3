#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

// The options the window and the jobs both take, said the same way in both
// helps and read the same way.
namespace orvanta::jobs::options {

const QCommandLineOption &simulate();
const QCommandLineOption &simulatorOption();
const QCommandLineOption &workFolder();
const QCommandLineOption &userWorkFolder();
const QCommandLineOption &help();

// The folder --workdir or --user-workdir names, empty for neither; false,
// with the reason, when both are given.
bool readWorkFolder(const QCommandLineParser &parser, QString &folder, QString &error);

// --sim-option values as the simulator takes them: "--pace=38400" becomes
// "--pace" "38400".
QStringList simulatorArguments(const QStringList &values);

} // namespace orvanta::jobs::options
