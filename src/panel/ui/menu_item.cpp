#include "panel/ui/menu_item.h"

#include <QAction>

namespace orvanta::panel {

void setItemChecked(QAction *item, bool checked)
{
    // Qt keeps no mark on an item that is not checkable: make it checkable first.
    if (checked) {
        item->setCheckable(true);
        item->setChecked(true);
    } else {
        item->setChecked(false);
        item->setCheckable(false);
    }
}

bool itemChecked(const QAction *item)
{
    return item->isCheckable() && item->isChecked();
}

void keepMarkOnTrigger(QAction *item)
{
    // Triggering a checkable action has already flipped its mark when this
    // runs; flip it back.
    QObject::connect(item, &QAction::triggered, item, [item] {
        if (item->isCheckable())
            setItemChecked(item, !item->isChecked());
    });
}

} // namespace orvanta::panel
