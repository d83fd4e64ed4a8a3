#pragma once

#include "link/status_block.h"
#include "panel/panel_state.h"

#include <QJsonObject>
#include <QString>

#include <optional>

namespace orvanta::jobs {

// What the panel would show for a status block, as the status job prints it:
// the block goes through the window's own menu and lamp maps into a record,
// and the menu items are named by the menu table's captions.
class StatusReport
{
public:
    // Nothing when the block is too short for the maps, as the window would
    // fail to update its menus.
    static std::optional<StatusReport> of(const link::StatusBlock &block);

    // One "Label: value" line a field; the checked items one a line.
    QString text() const;
    QJsonObject json() const;

private:
    StatusReport(link::StatusBlock block, panel::PanelState state)
        : block_(std::move(block))
        , state_(std::move(state))
    { }

    link::StatusBlock block_;
    panel::PanelState state_;
};

} // namespace orvanta::jobs
