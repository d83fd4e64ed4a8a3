#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace orvanta::test {

// One run of the built program (or another) as a user's shell would start it:
// no display and no platform chosen, in a folder of the test's choosing.
struct JobResult
{
    int exitCode = -1; // -1: it crashed or had to be killed
    QByteArray out;
    QByteArray err;
    qint64 elapsedMs = 0;
};

QProcessEnvironment jobEnvironment();

JobResult runProgram(const QStringList &arguments, const QString &folder = {},
    const QProcessEnvironment &environment = jobEnvironment(), int guardMs = 60000,
    const QString &program = QStringLiteral(ORVANTA_PROGRAM_PATH));

// Writes a byte the instrument ignores and returns what it received before
// it: everything the program wrote has arrived by then, without waiting for
// nothing in vain.
QByteArray receivedBefore(const class SimProcess &sim);

} // namespace orvanta::test
