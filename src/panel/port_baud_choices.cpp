#include "panel/port_baud_choices.h"

#include <QString>

namespace orvanta::panel {

namespace {

template <typename Choices> const auto &choiceFor(const Choices &choices, const SavedValue &saved)
{
    if (saved && *saved >= 1 && *saved <= 3)
        return choices[*saved - 1];
    return choices.back();
}

} // namespace

const PortChoice &portChoiceFor(const SavedValue &saved)
{
    return choiceFor(kPortChoices, saved);
}

const BaudChoice &baudChoiceFor(const SavedValue &saved)
{
    return choiceFor(kBaudChoices, saved);
}

const BaudChoice *baudChoiceWithRate(int baud)
{
    for (const BaudChoice &choice : kBaudChoices)
        if (QString::fromLatin1(choice.settings).section(u',', 0, 0).toInt() == baud)
            return &choice;
    return nullptr;
}

} // namespace orvanta::panel
