#include "jobs/job_context.h"
#include "jobs/log_line_writer.h"
#include "jobs/output_file.h"
#include "logger/log_texts.h"
#include "logger/stored_log_readout.h"
#include "messages/notifier.h"

namespace orvanta::jobs {

int runReadLog(JobContext &job)
{
    OutputFile output(job.options.output, OutputFile::Mode::WholeFile);
    if (!output.open(job.notifier))
        return kFailed;
    LogLineWriter log(output.device(), false);
    logger::StoredLogReadout readout(job.link, log);
    const logger::StoredLogReadout::Outcome outcome = readout.run();
    log.endLastLine();
    if (log.failed()) {
        output.warnFailed(job.notifier, log.errorString());
        output.discard();
        return kFailed;
    }
    switch (outcome) {
    case logger::StoredLogReadout::Outcome::Ended: return output.finish(job.notifier) ? kDone : kFailed;
    case logger::StoredLogReadout::Outcome::TimedOut:
        // The window writes the time-out into the log and says no more; a
        // script is told on standard error too.
        job.err << "orvanta read-log: " << logger::texts::kTimeoutLine.trimmed().toString() << Qt::endl;
        output.discard();
        return kFailed;
    default:
        // The readout has said why.
        output.discard();
        return kFailed;
    }
}

} // namespace orvanta::jobs
