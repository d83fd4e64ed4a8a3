#pragma once

#include "screen.h"
#include "status_block.h"

namespace orvanta::sim {

// The screen the instrument shows in the state given: a colour-bar waveform (one band
// per component in parade), colour-bar vector points, or both side by side; 508 rows
// in PAL, 428 in NTSC, none with the small boxes shown.
Screen renderScreen(const StatusBlock &state);

} // namespace orvanta::sim
