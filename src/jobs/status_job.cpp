#include "jobs/job_context.h"
#include "jobs/standard_output.h"
#include "jobs/status_report.h"
#include "link/serial_link.h"
#include "messages/messages.h"
#include "messages/notifier.h"

#include <QJsonDocument>

namespace orvanta::jobs {

int runStatus(JobContext &job)
{
    // ReadStatus says why it failed, in the window's words.
    if (!job.link.ReadStatus())
        return kFailed;
    const std::optional<StatusReport> report = StatusReport::of(job.link.statusBlock());
    if (!report) {
        job.notifier.warn(messages::kMenuUpdateFailure);
        return kFailed;
    }
    // Whether it was written is judged once the job is over.
    job.out.write(job.options.json ? QJsonDocument(report->json()).toJson(QJsonDocument::Compact) + '\n'
                                   : report->text().toUtf8());
    return kDone;
}

} // namespace orvanta::jobs
