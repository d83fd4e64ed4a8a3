#pragma once

#include "jobs/job_options.h"
#include "link/port_map.h"

#include <QTextStream>

namespace orvanta::jobs {

// Runs the job against the instrument its options name, map holding what
// the environment and a started simulator say. Needs the application object;
// returns the process's exit code.
int runJob(const JobOptions &options, link::PortMap map, QTextStream &out, QTextStream &err);

} // namespace orvanta::jobs
