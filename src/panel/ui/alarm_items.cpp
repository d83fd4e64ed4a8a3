#include "panel/ui/alarm_items.h"

#include "link/serial_link.h"
#include "panel/alarm_table.h"
#include "panel/ui/main_window.h"
#include "panel/ui/menu_item.h"

#include <QAction>

namespace orvanta::panel {

AlarmItems::AlarmItems(MainWindow &window, link::SerialLink &link, QObject *parent)
    : QObject(parent)
{
    for (const AlarmRow &row : alarmTable()) {
        QAction *item = window.menuItem(QString::fromLatin1(row.item));
        // The same code either way: the instrument toggles, and the next poll
        // shows what it made of it. The mark flips even when the write failed.
        connect(item, &QAction::triggered, this, [&link, item, code = row.code] {
            link.SendCode(code);
            setItemChecked(item, !itemChecked(item));
        });
    }
}

} // namespace orvanta::panel
