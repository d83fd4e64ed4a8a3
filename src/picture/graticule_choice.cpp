#include "picture/graticule_choice.h"

#include "link/status_block.h"

namespace orvanta::picture {

namespace {

enum DisplayMode { kSmallBoxes = 0, kWaveform = 1, kVector = 2, kCombination = 3 };

constexpr std::array<QStringView, 4> kModeNames{u"", u"wfm", u"vec", u"com"};

QString fileName(QStringView standard, QStringView mode, QStringView set)
{
    return QStringLiteral("%1_%2%3.rle").arg(standard, mode, set);
}

} // namespace

GraticuleChoice chooseGraticule(const link::StatusBlock &status)
{
    namespace st = link::status;
    const auto byte = [&](link::StatusField field) { return status.field(field).value_or(0); };

    // Computed on 8 bits: byte 6 bit 1, or byte 6 bit 2 without the "View as" digital bit.
    const bool analogue = std::uint8_t(byte(st::kGraticuleSet) & ~byte(st::kGraticuleViewMask) & 0xFF) != 0;
    const QStringView set = analogue ? u"a" : u"d";
    const QStringView standard = byte(st::kPal) ? u"pal" : u"ntsc";

    switch (byte(st::kDisplayMode)) {
    case kSmallBoxes: return {fileName(u"pal", kModeNames[kWaveform], set), true};
    case kVector:
        if (byte(st::kVectorNoGraticule))
            return {};
        return {fileName(standard, kModeNames[kVector], set), false};
    default: return {fileName(standard, kModeNames[byte(st::kDisplayMode)], set), false};
    }
}

} // namespace orvanta::picture
