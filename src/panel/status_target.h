#pragma once

#include <QRgb>

#include <string_view>

namespace orvanta::panel {

// What a dark lamp is filled with; any other colour is a lit lamp's.
inline constexpr QRgb kLampOff = qRgb(128, 128, 128);

// Where the menu and lamp maps write what the status block says, by the
// controls' names: the main window, or a plain record of it for a job that
// has no window. Each call returns false when the target has no such control.
class StatusTarget
{
public:
    virtual ~StatusTarget() = default;

    virtual bool setChecked(std::string_view item, bool checked) = 0;
    virtual bool setEnabled(std::string_view item, bool enabled) = 0;
    // A menu item's or a button's caption.
    virtual bool setCaption(std::string_view control, std::string_view caption) = 0;
    // What the lamp is filled with: its own colour when lit, kLampOff when dark.
    virtual bool setLamp(std::string_view lamp, QRgb colour) = 0;
};

} // namespace orvanta::panel
