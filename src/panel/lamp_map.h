#pragma once

#include "link/status_block.h"
#include "panel/status_target.h"

namespace orvanta::panel {

// Colours the seven panel lamps from the block, every lamp on every call.
// Returns false at the first byte the block lacks or lamp the target lacks;
// lamps coloured before that keep their new colour.
bool applyLampState(const link::StatusBlock &block, StatusTarget &target);

} // namespace orvanta::panel
