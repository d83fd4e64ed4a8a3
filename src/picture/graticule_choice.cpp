#include "picture/graticule_choice.h"

#include "link/status_block.h"

namespace orvanta::picture {

namespace {

constexpr std::array<QStringView, 4> kModeNames{u"", u"wfm", u"vec", u"com"};

QStringView modeName(link::DisplayMode mode)
{
    return kModeNames[std::size_t(mode)];
}

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

    const link::DisplayMode mode = status.displayMode().value_or(link::DisplayMode::SmallBoxes);
    switch (mode) {
    case link::DisplayMode::SmallBoxes: return {fileName(u"pal", modeName(link::DisplayMode::Waveform), set), true};
    case link::DisplayMode::Vector:
        if (byte(st::kVectorNoGraticule))
            return {};
        return {fileName(standard, modeName(mode), set), false};
    default: return {fileName(standard, modeName(mode), set), false};
    }
}

} // namespace orvanta::picture
