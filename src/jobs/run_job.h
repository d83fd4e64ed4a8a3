#pragma once

#include "jobs/job_options.h"
#include "link/port_map.h"

#include <QStringList>
#include <QTextStream>

namespace orvanta::jobs {

class StandardOutput;

// Runs the job against the instrument its options name, map holding what
// the environment and a started simulator say; graticuleFolders are looked
// in, in order, for a picture's graticule. Needs the application object;
// returns the process's exit code. A job that did its work but could not
// write it all to standard output has failed.
int runJob(const JobOptions &options, link::PortMap map, StandardOutput &out, QTextStream &err,
    const QStringList &graticuleFolders);

} // namespace orvanta::jobs
