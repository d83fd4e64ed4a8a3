#pragma once

#include "link/status_block.h"

namespace orvanta::panel {

class MainWindow;

// Colours the seven panel lamps from the block, every lamp on every call.
// Returns false at the first byte the block lacks or lamp the window lacks;
// lamps coloured before that keep their new colour.
bool applyLampState(const link::StatusBlock &block, MainWindow &window);

} // namespace orvanta::panel
