#include "app/simulator_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <chrono>
#include <csignal>
#include <sys/prctl.h>

namespace orvanta::app {

namespace {
constexpr std::chrono::milliseconds kStartTimeout{5000};
constexpr std::chrono::milliseconds kStopTimeout{2000};
} // namespace

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

QString SimulatorProcess::start(const QStringList &options, const QString &program)
{
    process_.setProgram(program.isEmpty()
            ? QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("orvanta-sim"))
            : program);
    process_.setArguments(options);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The simulator must not outlive a program that is killed.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start();
    if (!process_.waitForStarted(int(kStartTimeout.count()))) {
        error_ = QStringLiteral("Can't start the simulator %1: %2").arg(process_.program(), process_.errorString());
        return {};
    }
    QDeadlineTimer deadline(kStartTimeout);
    while (!process_.canReadLine() && !deadline.hasExpired() && process_.state() == QProcess::Running)
        process_.waitForReadyRead(int(deadline.remainingTime()));
    const QString path = QString::fromLocal8Bit(process_.readLine()).trimmed();
    if (path.isEmpty()) {
        error_ = QStringLiteral("The simulator %1 did not name its device").arg(process_.program());
        stop();
    }
    return path;
}

void SimulatorProcess::kill()
{
    process_.kill();
    process_.waitForFinished(int(kStopTimeout.count()));
}

void SimulatorProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(int(kStopTimeout.count()))) {
        process_.kill();
        process_.waitForFinished(int(kStopTimeout.count()));
    }
}

} // namespace orvanta::app
