#pragma once

#include "panel/status_target.h"

namespace orvanta::panel {

class MainWindow;

// The status written onto the main window's menu items, buttons and lamps.
class WindowStatusTarget : public StatusTarget
{
public:
    explicit WindowStatusTarget(MainWindow &window)
        : window_(window)
    { }

    bool setChecked(std::string_view item, bool checked) override;
    bool setEnabled(std::string_view item, bool enabled) override;
    bool setCaption(std::string_view control, std::string_view caption) override;
    bool setLamp(std::string_view lamp, QRgb colour) override;

private:
    MainWindow &window_;
};

} // namespace orvanta::panel
