#include "jobs/job_context.h"
#include "jobs/log_output.h"
#include "jobs/output_file.h"
#include "jobs/stop_signals.h"
#include "link/poll_switch.h"
#include "logger/realtime_monitor.h"

namespace orvanta::jobs {

namespace {

// A job has no status poll to stop or start again.
class NoPoll : public link::PollSwitch
{
public:
    void pollEvent(link::PollEvent) override { }
};

} // namespace

int runMonitor(JobContext &job)
{
    OutputFile output(job.options.output, job.options.startFolder, OutputFile::Mode::Append, job.out);
    if (!output.open(job.notifier))
        return kFailed;
    const std::unique_ptr<LogOutput> log = makeLogOutput(output.device(), job.options, job.link);
    NoPoll poll;
    logger::RealtimeMonitor monitor(job.link, poll, *log);
    // SIGINT, SIGTERM and SIGHUP (a closed terminal or ssh session) end it as
    // "Stop Realtime Log " does: the closing line, then code 16.
    StopSignals stopSignals([&monitor] { monitor.stop(); });
    if (!stopSignals.ready()) {
        job.err << "orvanta monitor: can't catch SIGINT, SIGTERM and SIGHUP" << Qt::endl;
        return kFailed;
    }
    // A reader that went away ends monitoring too, with the instrument told.
    log->onFailure([&monitor] { monitor.stop(); });

    const logger::RealtimeMonitor::Outcome outcome = monitor.run();
    // A line cut short by a failure is still written whole.
    log->endLastLine();
    if (log->failed()) {
        output.warnFailed(job.notifier, log->errorString());
        return kFailed;
    }
    // A failure has been said, in the window's words.
    return outcome == logger::RealtimeMonitor::Outcome::Finished ? kDone : kFailed;
}

} // namespace orvanta::jobs
