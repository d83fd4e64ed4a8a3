#include "jobs/run_job.h"

#include "jobs/job_context.h"
#include "jobs/job_link.h"
#include "jobs/standard_output.h"
#include "jobs/stream_notifier.h"
#include "link/serial_link.h"

namespace orvanta::jobs {

namespace {

int runOnLink(JobContext &job)
{
    switch (job.options.job) {
    case Job::Status: return runStatus(job);
    case Job::Send: return runSend(job);
    case Job::Capture: return runCapture(job);
    case Job::ReadLog: return runReadLog(job);
    case Job::Monitor: return runMonitor(job);
    }
    return kBadUsage;
}

} // namespace

int runJob(const JobOptions &options, link::PortMap map, StandardOutput &out, QTextStream &err,
    const QStringList &graticuleFolders)
{
    const QString prefix = QStringLiteral("orvanta ") + jobName(options.job);
    StreamNotifier notifier(err, prefix);
    // The names send takes need no instrument.
    std::optional<LinkChoice> choice;
    if (!(options.job == Job::Send && options.list)) {
        choice = chooseLink(options, map, notifier);
        if (!choice)
            return kFailed;
    }
    link::SerialLink serial(map, notifier);
    if (choice) {
        serial.SetPortNumber(choice->port);
        serial.SetPortSettings(choice->settings);
    }
    JobContext job{options, serial, notifier, out, err, graticuleFolders};
    const int result = runOnLink(job);
    if (result == kDone && out.failed()) {
        err << prefix << ": Can't write standard output: " << out.reason() << Qt::endl;
        return kFailed;
    }
    return result;
}

} // namespace orvanta::jobs
