#include "jobs/run_job.h"

#include "jobs/job_context.h"
#include "jobs/job_link.h"
#include "jobs/stream_notifier.h"
#include "link/serial_link.h"

namespace orvanta::jobs {

int runJob(const JobOptions &options, link::PortMap map, QTextStream &out, QTextStream &err)
{
    StreamNotifier notifier(err, QStringLiteral("orvanta ") + jobName(options.job));
    const std::optional<LinkChoice> choice = chooseLink(options, map, notifier);
    if (!choice)
        return kFailed;
    link::SerialLink serial(map, notifier);
    serial.SetPortNumber(choice->port);
    serial.SetPortSettings(choice->settings);

    JobContext job{options, serial, notifier, out, err};
    switch (options.job) {
    case Job::Status: return runStatus(job);
    case Job::Send: return runSend(job);
    case Job::Capture: return runCapture(job);
    case Job::ReadLog: return runReadLog(job);
    case Job::Monitor: return runMonitor(job);
    }
    return kBadUsage;
}

} // namespace orvanta::jobs
