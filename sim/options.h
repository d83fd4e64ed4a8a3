#pragma once

#include "status_block.h"

#include <cstddef>
#include <string>

namespace orvanta::sim {

struct Options
{
    std::string linkPath;   // empty: no link
    std::string recordPath; // empty: nothing recorded
    StatusBlock status = kDefaultStatus;
    bool silent = false;                    // never send anything
    std::size_t statusLength = kStatusLength; // bytes in a status reply
    unsigned paceBaud = 0;                  // 0: replies leave as fast as they can
};

struct CommandLine
{
    Options options;
    bool help = false;
    std::string error; // set when the command line is not usable
};

CommandLine parseCommandLine(int argc, const char *const argv[]);

extern const char *const kUsage;

} // namespace orvanta::sim
