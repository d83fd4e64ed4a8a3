#pragma once

#include "command_table.h"
#include "error_log.h"
#include "picture_transfer.h"
#include "reply.h"
#include "status_block.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvanta::sim {

// The instrument's state and its nine settings presets; acts on one command code
// at a time through the command table.
class Instrument
{
public:
    using Clock = std::chrono::steady_clock;

    // statusLength: how many bytes a status reply holds; past 16, filler follows the block.
    // live: each picture carries the number of its transfer.
    Instrument(const StatusBlock &initial, std::size_t statusLength, bool live = false, const LogOptions &log = {});

    // Acts on one byte received at now and adds the reply, if it has one, to reply.
    // Returns false for a code the instrument does not know (it changes nothing).
    bool receive(std::uint8_t code, Reply &reply, Clock::time_point now);

    // Errors happen on their own: when the next one is due, and the lines of those due by now.
    std::optional<Clock::time_point> nextError() const { return log_.nextError(); }
    void happen(Clock::time_point now, std::vector<std::uint8_t> &out) { log_.happen(now, out); }

    const StatusBlock &state() const { return state_; }

private:
    void apply(const Command &command, Reply &reply, Clock::time_point now);
    void appendStatus(std::vector<std::uint8_t> &reply) const;

    StatusBlock state_;
    std::array<StatusBlock, kPresetCount> presets_;
    std::size_t statusLength_;
    PictureTransfer picture_;
    ErrorLog log_;
};

} // namespace orvanta::sim
