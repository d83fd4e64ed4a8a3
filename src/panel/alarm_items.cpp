#include "panel/alarm_items.h"

#include "link/serial_link.h"
#include "panel/main_window.h"
#include "panel/menu_item.h"

#include <QAction>

#include <cstdint>
#include <string_view>

namespace orvanta::panel {

namespace {

struct AlarmRow
{
    std::string_view item;
    std::uint8_t code;
};

constexpr AlarmRow kAlarms[] = {
    {.item = "mnuActpiccrc", .code = 32},
    {.item = "mnuFullpiccrc", .code = 33},
    {.item = "mnuAuderrs", .code = 34},
    {.item = "mnuCodeerrs", .code = 35},
    {.item = "mnuIllegalerrs", .code = 36},
    {.item = "mnuGamerrs", .code = 37},
    {.item = "mnuNoaud", .code = 38},
    {.item = "mnuHiaud", .code = 39},
    {.item = "mnuNovid", .code = 40},
    {.item = "mnuBlack", .code = 41},
};

} // namespace

AlarmItems::AlarmItems(MainWindow &window, link::SerialLink &link, QObject *parent)
    : QObject(parent)
{
    for (const AlarmRow &row : kAlarms) {
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
