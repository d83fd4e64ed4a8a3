#pragma once

#include "link/status_block.h"

namespace orvanta::panel {

class MainWindow;

// Writes every status-driven check mark, caption and enabled state of the
// window from the block: all of them, on every call, whether they change or
// not. Returns false at the first byte the block lacks or control the window
// lacks; what came before stays written, the rest keeps its old state.
bool applyMenuState(const link::StatusBlock &block, MainWindow &window);

} // namespace orvanta::panel
