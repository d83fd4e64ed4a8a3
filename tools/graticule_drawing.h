#pragma once

#include "graticule_canvas.h"

#include "screen_layout.h"

namespace orvanta::tools {

enum class Viewing { analogue, digital };

// Waveform scale: level lines and ticks, in mV (PAL) or IRE (NTSC) for analogue
// viewing, in 10-bit code levels for digital viewing.
void drawWaveformScale(GraticuleCanvas &canvas, const sim::layout::Standard &standard,
    const sim::layout::WaveformArea &area, Viewing viewing);

// Vector scale: circle, axes and the 75 % colour-bar target boxes where the colour
// differences of that viewing put them.
void drawVectorScale(GraticuleCanvas &canvas, const sim::layout::Standard &standard,
    const sim::layout::VectorArea &area, Viewing viewing);

} // namespace orvanta::tools
