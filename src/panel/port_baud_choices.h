#pragma once

#include "panel/settings_file.h"

#include <array>
#include <string_view>

namespace orvanta::panel {

// The "PortNumber" and "BaudRate" items: what each one sets and what it remembers.
struct PortChoice
{
    std::string_view item;
    int port;
    qint16 saved;
};

struct BaudChoice
{
    std::string_view item;
    std::string_view settings;
    qint16 saved;
};

inline constexpr std::array<PortChoice, 4> kPortChoices{{
    {.item = "mnuPort1", .port = 1, .saved = 1},
    {.item = "mnuPort2", .port = 2, .saved = 2},
    {.item = "mnuPort3", .port = 3, .saved = 3},
    {.item = "mnuPort4", .port = 4, .saved = 4},
}};

inline constexpr std::array<BaudChoice, 4> kBaudChoices{{
    {.item = "mnu9600", .settings = "9600,N,8,1", .saved = 1},
    {.item = "mnu192k", .settings = "19200,N,8,1", .saved = 2},
    {.item = "mnu288k", .settings = "28800,N,8,1", .saved = 3},
    {.item = "mnu384k", .settings = "38400,N,8,1", .saved = 4},
}};

// At start-up 1 to 3 choose their own row; anything else, no value included,
// the last row. The remembered value itself is left as it is.
const PortChoice &portChoiceFor(const SavedValue &saved);
const BaudChoice &baudChoiceFor(const SavedValue &saved);

// The row whose settings run at this rate; null for a rate the menu lacks.
const BaudChoice *baudChoiceWithRate(int baud);

} // namespace orvanta::panel
