#pragma once

#include "panel/status_target.h"

#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace orvanta::panel {

// What the status block makes the panel show, without a window: every check
// mark, caption, enabled state and lamp the maps write, by control name.
class PanelState : public StatusTarget
{
public:
    bool setChecked(std::string_view item, bool checked) override;
    bool setEnabled(std::string_view item, bool enabled) override;
    bool setCaption(std::string_view control, std::string_view caption) override;
    bool setLamp(std::string_view lamp, QRgb colour) override;

    // Nothing for a control the maps did not write.
    std::optional<bool> checked(std::string_view item) const { return find(checked_, item); }
    std::optional<bool> enabled(std::string_view item) const { return find(enabled_, item); }
    std::optional<QString> caption(std::string_view control) const { return find(captions_, control); }
    std::optional<bool> lit(std::string_view lamp) const
    {
        const std::optional<QRgb> colour = lampColour(lamp);
        return colour ? std::optional<bool>(*colour != kLampOff) : std::nullopt;
    }
    std::optional<QRgb> lampColour(std::string_view lamp) const { return find(colours_, lamp); }

private:
    template <typename T> using ByName = std::map<std::string, T, std::less<>>;

    template <typename T> static std::optional<T> find(const ByName<T> &map, std::string_view name)
    {
        const auto it = map.find(name);
        return it == map.end() ? std::nullopt : std::optional<T>(it->second);
    }

    ByName<bool> checked_;
    ByName<bool> enabled_;
    ByName<QString> captions_;
    ByName<QRgb> colours_;
};

} // namespace orvanta::panel
