#include "app/job_process.h"

#include "app/command_line.h"
#include "app/simulator_process.h"
#include "app/work_folder.h"
#include "jobs/job_options.h"
#include "jobs/run_job.h"
#include "jobs/standard_output.h"
#include "picture/graticule_choice.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QProcessEnvironment>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <memory>

namespace orvanta::app {

namespace {

QByteArray jobPrefix;

// A job's standard error is part of what a script reads: the toolkit's own
// remarks (no runtime folder under cron, say) stay out of it unless the user
// asked for them with QT_LOGGING_RULES. Which device failed, and why, is said.
void toolkitMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "orvanta.link") == 0)
        std::fprintf(stderr, "%s: %s\n", jobPrefix.constData(), qPrintable(message));
    else if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int runJobProcess(int argc, char **argv)
{
    // Before anything opens a file: a closed standard output must not become the serial device.
    jobs::occupyClosedStandardStreams();
    jobs::StandardOutput out;
    QTextStream err(stderr);
    jobs::JobOptions options = jobs::parseJobOptions(argumentList(argc, argv));
    const QString job = QString::fromLocal8Bit(argv[1]);
    jobPrefix = "orvanta " + job.toLocal8Bit();
    if (!options.error.isEmpty()) {
        err << "orvanta " << job << ": " << options.error << "\nSee: orvanta " << job << " --help" << Qt::endl;
        return jobs::kBadUsage;
    }
    if (options.help) {
        if (out.write(jobs::jobHelp(options.job).toUtf8()))
            return jobs::kDone;
        err << "orvanta " << job << ": Can't write standard output: " << out.reason() << Qt::endl;
        return jobs::kFailed;
    }
    // A relative -o is where the user typed it, not in the working folder.
    options.startFolder = QDir::currentPath();

    // Output that cannot be written is seen as an error where it is written:
    // a reader that went away must not end monitoring before the instrument is told.
    std::signal(SIGPIPE, SIG_IGN);
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qInstallMessageHandler(toolkitMessage);
    // A job shows nothing: it needs no display, unless the user chose one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Only a picture needs fonts; the others start faster without a platform.
    std::unique_ptr<QCoreApplication> application;
    if (options.job == jobs::Job::Capture)
        application = std::make_unique<QGuiApplication>(argc, argv);
    else
        application = std::make_unique<QCoreApplication>(argc, argv);

    if (!enterWorkFolder(options.workFolder, QStringLiteral("orvanta ") + job))
        return jobs::kBadUsage;

    link::PortMap map;
    map.readEnvironment(QProcessEnvironment::systemEnvironment());
    SimulatorProcess simulator;
    if (options.simulate) {
        const QString path = simulator.start(options.simulatorOptions);
        if (path.isEmpty()) {
            err << "orvanta " << job << ": " << simulator.error() << Qt::endl;
            return simulator.refusedOptions() ? jobs::kBadUsage : jobs::kFailed;
        }
        map.setSimulator(path);
    }
    // The working folder's graticules first, then the installed ones.
    const QString graticules = picture::kGraticuleFolder.toString();
    const QStringList graticuleFolders{
        QDir::current().absoluteFilePath(graticules), QDir(installedDataFolder()).filePath(graticules)};
    return jobs::runJob(options, map, out, err, graticuleFolders);
}

} // namespace orvanta::app
