#include "panel/panel_state.h"

namespace orvanta::panel {

bool PanelState::setChecked(std::string_view item, bool checked)
{
    checked_.insert_or_assign(std::string(item), checked);
    return true;
}

bool PanelState::setEnabled(std::string_view item, bool enabled)
{
    enabled_.insert_or_assign(std::string(item), enabled);
    return true;
}

bool PanelState::setCaption(std::string_view control, std::string_view caption)
{
    captions_.insert_or_assign(std::string(control), QString::fromLatin1(caption));
    return true;
}

bool PanelState::setLamp(std::string_view lamp, QRgb colour)
{
    colours_.insert_or_assign(std::string(lamp), colour);
    return true;
}

} // namespace orvanta::panel
