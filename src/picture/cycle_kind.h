#pragma once

#include <chrono>

namespace orvanta::picture {

// What sets one kind of download cycle apart from the other; everything else
// of the cycle is the same code.
struct CycleKind
{
    // Waited before the cycle's status read.
    std::chrono::milliseconds pauseFirst;
    // Real-time error output is ended (code 16) before the transfer.
    bool endsRealtime;
    // The cycle itself ends a continuous download after the one under way.
    bool clearsContinuous;
    bool busyPointer;
};

inline constexpr CycleKind kSingleCycle{
    .pauseFirst = std::chrono::milliseconds{0},
    .endsRealtime = true,
    .clearsContinuous = true,
    .busyPointer = true,
};

inline constexpr CycleKind kContinuousCycle{
    .pauseFirst = std::chrono::milliseconds{500},
    .endsRealtime = false,
    .clearsContinuous = false,
    .busyPointer = false,
};

} // namespace orvanta::picture
