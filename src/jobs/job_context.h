#pragma once

#include "jobs/job_options.h"

#include <QStringList>
#include <QTextStream>

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::jobs {

class StandardOutput;

// What a running job works with. The link is set up but not opened: a job
// checks its own arguments and output first, so a mistake costs no byte on
// the wire.
struct JobContext
{
    const JobOptions &options;
    link::SerialLink &link;
    messages::Notifier &notifier;
    StandardOutput &out;          // every write checked
    QTextStream &err;             // standard error, for what is not one of the window's messages
    QStringList graticuleFolders; // looked in, in order, for a picture's graticule
};

int runStatus(JobContext &job);
int runCapture(JobContext &job);
int runReadLog(JobContext &job);
int runMonitor(JobContext &job);
int runSend(JobContext &job);

} // namespace orvanta::jobs
