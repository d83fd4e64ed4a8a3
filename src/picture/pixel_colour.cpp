#include "picture/pixel_colour.h"

#include "link/status_block.h"

namespace orvanta::picture {

std::span<const ColourBand> pictureBands(const link::StatusBlock &status)
{
    namespace st = link::status;
    if (status.field(st::kParadeTest).value_or(0) != st::kParadeWaveform)
        return bands::kGreyOnly;
    if (status.isSet(st::kYrgb).value_or(false))
        return bands::kParadeYrgb;
    if (status.isSet(st::kDisplayYuv).value_or(false))
        return bands::kParadeYuv;
    return bands::kParadeRgb;
}

} // namespace orvanta::picture
