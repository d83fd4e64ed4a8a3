#pragma once

namespace orvanta::app {

// orvanta JOB [options]: a job without a window, from its command line to
// its exit code. The application object is made here.
int runJobProcess(int argc, char **argv);

} // namespace orvanta::app
