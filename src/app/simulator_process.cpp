#include "app/simulator_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <unistd.h>

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
    // What it says while it runs goes on to standard error; what it says when
    // it refuses its options is the reason it did not start.
    QObject::connect(&process_, &QProcess::readyReadStandardError, [this] {
        if (process_.state() == QProcess::Running && !starting_)
            std::fputs(process_.readAllStandardError().constData(), stderr);
    });
    starting_ = true;
    // The simulator must not outlive a program that is killed.
    process_.setChildProcessModifier([] {
        ::setsid();
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    process_.start();
    if (!process_.waitForStarted(int(kStartTimeout.count()))) {
        error_ = QStringLiteral("Can't start the simulator %1: %2").arg(process_.program(), process_.errorString());
        return {};
    }
    QDeadlineTimer deadline(kStartTimeout);
    while (!process_.canReadLine() && !deadline.hasExpired() && process_.state() == QProcess::Running)
        process_.waitForReadyRead(int(deadline.remainingTime()));
    const QString path = QString::fromLocal8Bit(process_.readLine()).trimmed();
    starting_ = false;
    if (path.isEmpty()) {
        process_.waitForFinished(int(kStopTimeout.count()));
        const QString said = QString::fromLocal8Bit(process_.readAllStandardError()).section(u'\n', 0, 0);
        refused_ = process_.state() == QProcess::NotRunning && process_.exitCode() == 2;
        error_ = refused_ ? QStringLiteral("the simulator refused its options: %1").arg(said)
                          : QStringLiteral("The simulator %1 did not name its device").arg(process_.program());
        stop();
    } else {
        std::fputs(process_.readAllStandardError().constData(), stderr);
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
