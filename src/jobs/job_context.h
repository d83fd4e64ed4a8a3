#pragma once

#include "jobs/job_options.h"

#include <QTextStream>

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::jobs {

// What a running job works with. The link is set up but not opened: a job
// checks its own arguments and output first, so a mistake costs no byte on
// the wire.
struct JobContext
{
    const JobOptions &options;
    link::SerialLink &link;
    messages::Notifier &notifier;
    QTextStream &out; // standard output
    QTextStream &err; // standard error, for what is not one of the window's messages
};

int runStatus(JobContext &job);
int runCapture(JobContext &job);
int runReadLog(JobContext &job);
int runMonitor(JobContext &job);
int runSend(JobContext &job);

} // namespace orvanta::jobs
