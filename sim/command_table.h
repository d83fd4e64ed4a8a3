#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace orvanta::sim {

inline constexpr std::size_t kPresetCount = 9;

// What a command code does to the instrument. Transfers that answer with more than
// the status block (pictures, the stored log, real-time error lines) are served by a
// class of their own that the instrument owns.
enum class Action : std::uint8_t {
    noChange,      // a code the instrument knows that changes no status bit
    setField,      // the bits under mask become value
    toggleBits,    // the bits under mask flip
    stepField,     // the field moves to the entry after its current one in steps,
                   // or to the first entry when its current value is not in steps
    storePreset,   // preset number value takes the whole state
    recallPreset,  // the whole state becomes preset number value
    statusRequest, // the status block is queued as the reply
    pictureStart,  // a picture transfer starts for the state as it is now
    pictureBlock,  // the next block of the running picture transfer is the reply
    pictureEnd,    // the picture transfer ends
    loggingStart,  // errors are stored from now on
    loggingStop,   // errors are no longer stored
    logReadout,    // a readout of the stored log starts at its first record
    logRecord,     // the next stored record (or the end record) is the reply
    realtimeStart, // each error is sent as a line as it happens
    realtimeStop,  // real-time error lines stop
};

// One effect of one code; a code with several effects has several rows.
struct Command
{
    std::uint8_t code = 0;
    Action action = Action::noChange;
    std::uint8_t byte = 0;
    std::uint8_t mask = 0;
    std::uint8_t value = 0;
    std::span<const std::uint8_t> steps = {};
};

// The rows of one code, empty for a code the instrument does not know.
std::span<const Command> commandsFor(std::uint8_t code);

} // namespace orvanta::sim
