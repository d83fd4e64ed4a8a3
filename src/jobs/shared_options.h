#pragma once

#include <QCommandLineOption>
#include <QStringList>

// The options the window and the jobs both take, said the same way in both
// helps and read the same way.
namespace orvanta::jobs::options {

const QCommandLineOption &simulate();
const QCommandLineOption &simulatorOption();
const QCommandLineOption &workFolder();
const QCommandLineOption &userWorkFolder();
const QCommandLineOption &help();

// --sim-option values as the simulator takes them: "--pace=38400" becomes
// "--pace" "38400".
QStringList simulatorArguments(const QStringList &values);

} // namespace orvanta::jobs::options
