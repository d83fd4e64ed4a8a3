#pragma once

#include "command_table.h"
#include "picture_transfer.h"
#include "reply.h"
#include "status_block.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvanta::sim {

// The instrument's state and its nine settings presets; acts on one command code
// at a time through the command table.
class Instrument
{
public:
    // statusLength: how many bytes a status reply holds; past 16, filler follows the block.
    // live: each picture carries the number of its transfer.
    Instrument(const StatusBlock &initial, std::size_t statusLength, bool live = false);

    // Acts on one received byte and adds the reply, if it has one, to reply.
    // Returns false for a code the instrument does not know (it changes nothing).
    bool receive(std::uint8_t code, Reply &reply);

    const StatusBlock &state() const { return state_; }

private:
    void apply(const Command &command, Reply &reply);
    void appendStatus(std::vector<std::uint8_t> &reply) const;

    StatusBlock state_;
    std::array<StatusBlock, kPresetCount> presets_;
    std::size_t statusLength_;
    PictureTransfer picture_;
};

} // namespace orvanta::sim
