#include "jobs/command_names.h"
#include "jobs/job_context.h"
#include "jobs/standard_output.h"
#include "link/serial_link.h"

namespace orvanta::jobs {

int runSend(JobContext &job)
{
    // Every name is known before the first code goes: a typo sends nothing.
    const CommandNames names;
    if (job.options.list) {
        QByteArray list;
        for (const auto &[name, code] : names.sendable())
            list += name.toUtf8() + '\t' + QByteArray::number(code) + '\n';
        job.out.write(list);
        return kDone;
    }
    QList<std::uint8_t> codes;
    bool usable = true;
    for (const QString &name : job.options.names) {
        const CommandNames::Resolved resolved = names.resolve(name);
        if (resolved.code) {
            codes << *resolved.code;
            continue;
        }
        usable = false;
        job.err << "orvanta send: " << resolved.why;
        if (!resolved.closeMatches.isEmpty())
            job.err << "; close matches:\n  " << resolved.closeMatches.join(QStringLiteral("\n  "));
        job.err << Qt::endl;
    }
    if (!usable) {
        job.err << "orvanta send: nothing sent" << Qt::endl;
        return kBadUsage;
    }
    // SendCode opens the port and says why it failed, as a click on the panel would.
    for (const std::uint8_t code : codes)
        if (!job.link.SendCode(code))
            return kFailed;
    return kDone;
}

} // namespace orvanta::jobs
