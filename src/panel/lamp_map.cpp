#include "panel/lamp_map.h"

#include <string_view>

namespace orvanta::panel {

namespace {

namespace status = link::status;

constexpr QRgb kInputLit = qRgb(0, 255, 0);
constexpr QRgb kGamutLit = qRgb(255, 0, 0);

// The instrument's lamp bits are active low: a clear bit lights the lamp.
struct LampRow
{
    std::string_view lamp;
    link::StatusField field;
    QRgb lit;
};

constexpr LampRow kLamps[] = {
    {"led_sdi1", status::kLampSdi1, kInputLit},
    {"led_sdi2", status::kLampSdi2, kInputLit},
    {"led_cvs1", status::kLampCvs1, kInputLit},
    {"led_cvs2", status::kLampCvs2, kInputLit},
    {"led_cmpt", status::kLampComponent, kInputLit},
    {"led_pos", status::kLampPositiveGamut, kGamutLit},
    {"led_neg", status::kLampNegativeGamut, kGamutLit},
};

} // namespace

bool applyLampState(const link::StatusBlock &block, StatusTarget &target)
{
    for (const LampRow &row : kLamps) {
        const std::optional<bool> dark = block.isSet(row.field);
        if (!dark || !target.setLamp(row.lamp, *dark ? kLampOff : row.lit))
            return false;
    }
    return true;
}

} // namespace orvanta::panel
