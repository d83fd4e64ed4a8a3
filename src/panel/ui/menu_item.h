#pragma once

class QAction;

namespace orvanta::panel {

// Check marks of the menu items. A mark changes only when the program sets
// it; choosing an item never flips it. An item is checkable only while it
// carries the mark, so unchecked items show no empty check box.
void setItemChecked(QAction *item, bool checked);
bool itemChecked(const QAction *item);

// Makes choosing the item leave its mark as it was. Call before anything
// else connects to the item's triggered signal: handlers connected later
// see the mark unchanged.
void keepMarkOnTrigger(QAction *item);

} // namespace orvanta::panel
