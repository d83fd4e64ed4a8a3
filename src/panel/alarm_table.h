#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace orvanta::panel {

// One of the ten "Config" > "Alarms" items that toggle an alarm: the code it
// writes, the same either way.
struct AlarmRow
{
    std::string_view item;
    std::uint8_t code;
};

std::span<const AlarmRow> alarmTable();

} // namespace orvanta::panel
