#include "jobs/job_context.h"
#include "jobs/log_output.h"
#include "jobs/output_file.h"
#include "logger/log_texts.h"
#include "logger/stored_log_readout.h"
#include "messages/notifier.h"

namespace orvanta::jobs {

int runReadLog(JobContext &job)
{
    OutputFile output(job.options.output, job.options.startFolder, OutputFile::Mode::WholeFile, job.out);
    if (!output.open(job.notifier))
        return kFailed;
    const std::unique_ptr<LogOutput> log = makeLogOutput(output.device(), job.options, job.link);
    logger::StoredLogReadout readout(job.link, *log);
    const logger::StoredLogReadout::Outcome outcome = readout.run();
    log->endLastLine();
    if (log->failed()) {
        output.warnFailed(job.notifier, log->errorString());
        return kFailed;
    }
    switch (outcome) {
    case logger::StoredLogReadout::Outcome::Ended:
        if (readout.reachedLimit())
            job.err << "orvanta read-log: stopped after " << logger::StoredLogReadout::kRequests
                    << " records; the instrument may hold more" << Qt::endl;
        return output.finish(job.notifier) ? kDone : kFailed;
    case logger::StoredLogReadout::Outcome::TimedOut:
        // The window writes the time-out into the log and says no more; a
        // script is told on standard error too, and gets no -o file.
        job.err << "orvanta read-log: " << logger::texts::kTimeoutLine.trimmed().toString() << Qt::endl;
        return kFailed;
    default:
        // The readout has said why.
        return kFailed;
    }
}

} // namespace orvanta::jobs
