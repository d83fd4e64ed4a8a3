#pragma once

#include "error_log.h"
#include "status_block.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace orvanta::sim {

struct Options
{
    std::string linkPath;   // empty: no link
    std::string recordPath; // empty: nothing recorded
    StatusBlock status = kDefaultStatus;
    bool silent = false;                      // never send anything
    std::size_t statusLength = kStatusLength; // bytes in a status reply
    unsigned paceBaud = 0;                    // 0: replies leave as fast as they can
    bool live = false;                        // each picture marks its transfer's number
    // Picture faults, counted in blocks of one transfer: past this many blocks a
    // request for the next one goes unanswered, or hangs the line up.
    std::optional<std::size_t> stallAfter;
    std::optional<std::size_t> hangupAfter;
    LogOptions log;                         // the stored log and real-time errors
    std::optional<std::uint32_t> chaosSeed; // faults that come and go, drawn from this seed
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
