#pragma once

#include "reply.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

namespace orvanta::sim {

// --chaos SEED: the faults the other options set for good come and go, mixed
// with bursts of random bytes and pauses. Each received code draws the fate of
// its reply from a generator seeded with SEED, so the same seed and the same
// codes give the same faults; errors that happen on their own draw from a
// sequence of their own and leave that schedule alone. Most replies stay whole.
class Chaos
{
public:
    using Clock = std::chrono::steady_clock;

    // What the simulator does about a reply besides sending what is left of it.
    struct Turn
    {
        std::chrono::milliseconds pause{0}; // the line holds this long first
        bool hangUp = false;                // the device closes and a fresh one takes its place
    };

    // mayHangUp: only a client that finds the fresh device under a link can come back.
    Chaos(std::uint32_t seed, bool mayHangUp);

    // Bends the reply to one received code: cut short, noise before or after it,
    // dropped while silent.
    Turn bendReply(Reply &reply, Clock::time_point now);
    // The same for real-time error lines that happened by now.
    Turn bendErrors(std::vector<std::uint8_t> &lines, Clock::time_point now);

    enum class Fate { whole, cut, pause, noiseBefore, noiseAfter, silence, hangUp };
    // The odds of each fault, per 10 000, for three kinds of traffic.
    struct Odds
    {
        Fate fate;
        unsigned exchange; // a reply the client waits for as a whole: status, a stored record
        unsigned stream;   // a picture block, or a code the instrument does not answer
        unsigned error;    // real-time error lines
    };

private:
    Turn bend(std::mt19937 &random, unsigned Odds::*column, std::vector<std::uint8_t> &bytes, Clock::time_point now);

    std::mt19937 replies_;
    std::mt19937 errors_;
    bool mayHangUp_;
    Clock::time_point silentUntil_{};
};

} // namespace orvanta::sim
