#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orvanta::panel {

// The event of a control that writes its code.
enum class PanelEvent {
    Click,     // buttons and menu items
    MouseDown, // the two scale images: any button, once per press
};

// One control of the front panel and the one command code it writes.
struct CommandRow
{
    std::string_view control;
    PanelEvent event;
    std::uint8_t code;
};

// Every button, scale image and command menu item, by name. The codes of a
// family are not contiguous: each row holds the value that is sent.
std::span<const CommandRow> commandTable();

// The code the control writes on the event, if it writes one.
std::optional<std::uint8_t> commandCode(std::string_view control, PanelEvent event);

} // namespace orvanta::panel
