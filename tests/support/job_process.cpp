#include "support/job_process.h"

#include "support/sim_process.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTest>

namespace orvanta::test {

QProcessEnvironment jobEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    for (int port = 1; port <= 4; ++port)
        environment.remove(QStringLiteral("ORVANTA_PORT%1").arg(port));
    return environment;
}

JobResult runProgram(const QStringList &arguments, const QString &folder, const QProcessEnvironment &environment,
    int guardMs, const QString &program)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    process.start();
    JobResult result;
    if (!process.waitForFinished(guardMs)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.elapsedMs = clock.elapsed();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QByteArray receivedBefore(const SimProcess &sim)
{
    QSerialPort port(sim.devicePath());
    // A serial-device server lets go of the device a moment after its client left.
    (void)QTest::qWaitFor([&] { return port.open(QIODevice::WriteOnly); }, 5000);
    if (!port.isOpen() || port.write(&SimProcess::kMarker, 1) != 1 || !port.flush())
        return QByteArrayLiteral("<marker not written>");
    return sim.untilMarker();
}

} // namespace orvanta::test
