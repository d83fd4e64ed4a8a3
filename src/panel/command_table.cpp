#include "panel/command_table.h"

#include <algorithm>

namespace orvanta::panel {

namespace {

constexpr CommandRow click(std::string_view control, std::uint8_t code)
{
    return {.control = control, .event = PanelEvent::Click, .code = code};
}

constexpr CommandRow mouseDown(std::string_view control, std::uint8_t code)
{
    return {.control = control, .event = PanelEvent::MouseDown, .code = code};
}

constexpr CommandRow kCommands[] = {
    // Frame "Inputs"
    click("cmdAna", 27),
    click("cmdSDI", 15),
    click("cmdY", 23),
    click("cmdCb", 29),
    click("cmdCr", 30),
    // Frame "Traces"
    click("cmdWfm", 47),
    click("cmdVect", 59),
    click("cmdDual", 62),
    click("cmdTraces", 55),
    click("cmdOlay", 61),
    click("cmdFreeze", 79),
    // Frame "T-Base"
    click("cmdHVRng", 87),
    click("cmdMagRng", 91),
    // Frames "Ref", "Aud", "SDI": both "Bars" buttons send the same code
    click("cmdRef", 119),
    click("cmdAudiobars", 123),
    click("cmdBars", 123),
    click("cmdGenEdh", 111),
    click("cmdResetEDH", 141),
    // Frame "Scale": once per press, nothing on release
    mouseDown("imgScaleUp", 84),
    mouseDown("imgScaleDown", 85),

    // "Config" > "Alarms": the other ten items flip their marks as well
    click("mnuKeypress", 42),
    // "Config" > "Mag Lines": 55 between 8 and 16 lines is cmdTraces
    click("mnuMaglines4", 53),
    click("mnuMaglines8", 54),
    click("mnuMaglines16", 56),
    click("mnuMaglines32", 57),
    // "Config" > "Compt Format"
    click("mnuInputYUV", 58),
    click("mnuOutputYUV", 60),
    click("mnuDispYUV", 63),
    click("mnuYRGB", 31),
    // "Gains"
    click("mnuWgainNorm", 96),
    click("mnuWGainMag", 97),
    click("mnuVGain100", 98),
    click("mnuVGain75", 99),
    click("mnuVGainMag", 100),
    // "Cursors"
    click("mnuHorzCursor", 24),
    click("mnuVertCursor", 25),
    click("mnuPhaseCursor", 26),
    click("mnuCanCurs", 155),
    // "Presets"
    click("mnuFullWfm", 43),
    click("mnuFullvec", 44),
    click("mnuFullcombo", 45),
    click("mnuFullGBR", 46),
    click("mnuFullTime", 48),
    click("mnuFullAmplitude", 49),
    click("mnuFullErrors", 50),
    click("mnuAudMeasure", 51),
    click("mnuVideoGamut", 52),
    // "Filters"
    click("mnuNorm", 81),
    click("mnuLpass", 82),
    click("mnuCpass", 83),
    // "Display", "Display" > "Position"
    click("mnuTrace", 68),
    click("mnuMoveup", 69),
    click("mnuMovedown", 70),
    click("mnuLboxL", 71),
    click("mnuLboxR", 72),
    click("mnuRboxL", 73),
    click("mnuRboxR", 74),
    click("mnuTextBox", 75),
    // "Display" > "Special"
    click("mnuSmallBox", 128),
    click("mnuNTSC_PALM", 129),
    click("mnuViewasAnaDig", 130),
    click("mnuColour", 131),
    click("mnuSyncongreen", 132),
    click("mnuPALSwitch", 133),
    click("mnuHblank", 134),
    // "Display" > "Safe Area", "Display"
    click("mnuSafeaction", 92),
    click("mnuSafeActive", 93),
    click("mnuSafetitle", 94),
    click("mnuSafeoff", 95),
    click("mnuVres", 76),
    // "Audio" > "Source"
    click("mnuEmbGp1", 16),
    click("mnuEmbGp2", 17),
    click("mnuEmbGp3", 18),
    click("mnuEmbGp4", 19),
    click("mnuAnaAud", 20),
    click("mnuAESAud", 21),
    // "Audio" > "Peak Hold"
    click("mnuPksoff", 135),
    click("mnuPks1Sec", 136),
    click("mnuPks2Sec", 137),
    click("mnuPks4Sec", 138),
    click("mnuPksInf", 139),
    // "Audio" > "De Emphasis": descending codes
    click("mnuDemp48KHz", 66),
    click("mnuDemp44KHz", 65),
    click("mnuDemp32KHz", 64),
    click("mnuDempOff", 67),
    // "Audio" > "Scale", "Audio"
    click("mnuScalePPM", 144),
    click("mnuScaleDigi", 145),
    click("mnuScaleNordic", 146),
    click("mnuScaleVU", 147),
    click("mnuScaleEBU", 148),
    click("mnuScaleDIN", 149),
    click("mnuScaleExp", 150),
    click("mnuAudPhase", 140),
    // "Store Settings"
    click("mnuStore0", 101),
    click("mnuStore1", 102),
    click("mnuStore2", 103),
    click("mnuStore3", 104),
    click("mnuStore4", 105),
    click("mnuStore5", 106),
    click("mnuStore6", 107),
    click("mnuStore7", 108),
    click("mnuStore8", 109),
    // "Recall Settings": 111 is cmdGenEdh and 119 cmdRef
    click("mnuRecall0", 110),
    click("mnuRecall1", 112),
    click("mnuRecall2", 113),
    click("mnuRecall3", 114),
    click("mnuRecall4", 115),
    click("mnuRecall5", 116),
    click("mnuRecall6", 117),
    click("mnuRecall7", 118),
    click("mnuRecall8", 120),
};

constexpr bool eachControlOnce()
{
    for (auto row = std::begin(kCommands); row != std::end(kCommands); ++row)
        for (auto later = row + 1; later != std::end(kCommands); ++later)
            if (row->control == later->control)
                return false;
    return true;
}

static_assert(eachControlOnce());

} // namespace

std::span<const CommandRow> commandTable()
{
    return kCommands;
}

std::optional<std::uint8_t> commandCode(std::string_view control, PanelEvent event)
{
    const auto row = std::ranges::find_if(
        kCommands, [&](const CommandRow &r) { return r.control == control && r.event == event; });
    if (row == std::end(kCommands))
        return std::nullopt;
    return row->code;
}

} // namespace orvanta::panel
