#pragma once

#include <span>
#include <string_view>

namespace orvanta::panel {

// One item of the menu bar. An item that some other item names as its parent
// opens a submenu; every other item is a command. Items stand in table order
// within their parent; "&" marks the accelerator letter.
struct MenuRow
{
    std::string_view name;
    std::string_view caption;
    std::string_view parent = {}; // empty: on the menu bar
};

std::span<const MenuRow> menuTable();

} // namespace orvanta::panel
