#include "panel/alarm_table.h"

namespace orvanta::panel {

namespace {

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

std::span<const AlarmRow> alarmTable()
{
    return kAlarms;
}

} // namespace orvanta::panel
