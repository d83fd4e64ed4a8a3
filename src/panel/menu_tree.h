#pragma once

#include <QString>

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

// The item's row; null for a name the menus lack.
const MenuRow *menuRow(std::string_view name);

// Whether items hang below this one.
bool hasSubItems(std::string_view name);

// A caption as the menu shows it, without its "&" mark.
QString shownCaption(std::string_view caption);

// Where the item sits, as a user reads it: the shown captions from the menu
// bar down, "/" between them ("Presets/Full Size Vector Mode"). Empty for a
// name the menus lack.
QString menuPath(std::string_view name);

} // namespace orvanta::panel
