#pragma once

#include "link/status_block.h"
#include "panel/status_target.h"

namespace orvanta::panel {

// Writes every status-driven check mark, caption and enabled state of the
// panel from the block: all of them, on every call, whether they change or
// not. Returns false at the first byte the block lacks or control the target
// lacks; what came before stays written, the rest keeps its old state.
bool applyMenuState(const link::StatusBlock &block, StatusTarget &target);

} // namespace orvanta::panel
