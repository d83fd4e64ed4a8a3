#include "panel/window_layout.h"

namespace orvanta::panel {

namespace {

constexpr TwipsRect key(int left, int top)
{
    return {left, top, kKeySizeTwips, kKeySizeTwips};
}

constexpr FrameRow kFrames[] = {
    {.name = "Frame1", .caption = "Inputs", .at = {120, 120, 2895, 1815}},
    {.name = "Frame2", .caption = "Traces", .at = {3240, 120, 3255, 1815}},
    {.name = "Frame3", .caption = "T-Base", .at = {6720, 120, 1455, 1815}},
    {.name = "Frame4", .caption = "Shifts", .at = {120, 2160, 2895, 1815}},
    {.name = "Frame5", .caption = "Ref", .at = {3240, 2160, 1095, 1815}},
    {.name = "Frame7", .caption = "SDI", .at = {4560, 2160, 1215, 1815}},
    {.name = "Frame6", .caption = "Aud", .at = {6000, 3120, 1215, 855}},
    {.name = "Frame8", .caption = "Scale", .at = {7440, 2160, 735, 1815}},
};

constexpr ButtonRow kButtons[] = {
    {.name = "cmdSDI",
        .frame = "Frame1",
        .caption = "SDI",
        .toolTip = "Selects from 1 of 2 SDI Inputs",
        .at = {120, 480, 615, 375},
        .tabOrder = 2},
    {.name = "cmdAna",
        .frame = "Frame1",
        .caption = "ANA",
        .toolTip = "Selects from 1 of 3 Analog Inputs",
        .at = {960, 480, 615, 375},
        .tabOrder = 5},
    {.name = "cmdY",
        .frame = "Frame1",
        .caption = "Y",
        .toolTip = "Toggles Luminance On/Off",
        .at = {120, 1320, 615, 375},
        .tabOrder = 4},
    {.name = "cmdCb",
        .frame = "Frame1",
        .caption = "Cb",
        .toolTip = "Toggles Chroma On/Off",
        .at = {960, 1320, 615, 375},
        .tabOrder = 1},
    {.name = "cmdCr",
        .frame = "Frame1",
        .caption = "Cr",
        .toolTip = "Toggles Chroma On/Off",
        .at = {1800, 1320, 615, 375},
        .tabOrder = 3},
    {.name = "cmdWfm",
        .frame = "Frame2",
        .caption = "Wfm",
        .toolTip = "Select Waveform or Bowtie",
        .at = {240, 480, 735, 375},
        .tabOrder = 14},
    {.name = "cmdVect",
        .frame = "Frame2",
        .caption = "Vec",
        .toolTip = "Select Vector or Gamut",
        .at = {1320, 480, 735, 375},
        .tabOrder = 15},
    {.name = "cmdDual",
        .frame = "Frame2",
        .caption = "Dual",
        .toolTip = "Select Both or Dual Mode",
        .at = {2280, 480, 735, 375},
        .tabOrder = 16},
    {.name = "cmdTraces",
        .frame = "Frame2",
        .caption = "Trace",
        .toolTip = "Toggle Traces On/Off",
        .at = {240, 1200, 735, 375},
        .tabOrder = 17},
    {.name = "cmdOlay",
        .frame = "Frame2",
        .caption = "Olay",
        .toolTip = "Select Overlay, Mix or Black",
        .at = {1320, 1200, 735, 375},
        .tabOrder = 18},
    {.name = "cmdFreeze",
        .frame = "Frame2",
        .caption = "Freeze",
        .toolTip = "Toggle Run, Freeze or Store",
        .at = {2280, 1200, 735, 375},
        .tabOrder = 19},
    {.name = "cmdHVRng",
        .frame = "Frame3",
        .caption = "H/V Rng",
        .toolTip = "Select H, V or Parade Timebase",
        .at = {240, 480, 975, 375},
        .tabOrder = 12},
    {.name = "cmdMagRng",
        .frame = "Frame3",
        .caption = "Mag Rng",
        .toolTip = "Select HMag, MagLS or Linesel Timebase",
        .at = {240, 1200, 975, 375},
        .tabOrder = 11},
    // The captions of cmdRef and cmdGenEdh come from the first status poll.
    {.name = "cmdRef",
        .frame = "Frame5",
        .caption = " ",
        .toolTip = "Selects Internal or Exturnal Reference",
        .at = {240, 840, 735, 375},
        .tabOrder = 23},
    {.name = "cmdGenEdh",
        .frame = "Frame7",
        .caption = " ",
        .toolTip = "Display: SDI Status or EDH Errors",
        .at = {240, 360, 735, 375},
        .tabOrder = 27},
    {.name = "cmdResetEDH", .frame = "Frame7", .caption = "Reset", .at = {240, 1080, 735, 375}, .tabOrder = 32},
    {.name = "cmdAudiobars",
        .frame = "Frame6",
        .caption = "Bars",
        .toolTip = "Select OnScreen Audio Bars",
        .at = {240, 360, 735, 375},
        .tabOrder = 29},
    // Below the bottom of its frame: out of sight, yet reachable with Tab.
    {.name = "cmdBars", .frame = "Frame6", .caption = "Bars", .at = {240, 1080, 855, 375}, .tabOrder = 24},
};

constexpr LabelRow kLabels[] = {
    {.name = "Label2",
        .frame = "Frame1",
        .caption = "SDI1 SDI2 CVS1 CVS2 CMPT",
        .at = {2160, 230, 495, 1095},
        .look = LabelLook::Wrapped},
    {.name = "Label3", .frame = "Frame4", .caption = "H Shift", .at = {240, 240, 615, 255}},
    {.name = "Label4", .frame = "Frame4", .caption = "V Shift", .at = {1200, 240, 615, 255}},
    {.name = "Label5", .frame = "Frame4", .caption = "Phase", .at = {2040, 240, 615, 255}},
    // Starts one pixel before its frame's right edge, so it is all but cut off.
    {.name = "Label6",
        .frame = "Frame6",
        .caption = "POS NEG",
        .at = {1200, 360, 375, 615},
        .look = LabelLook::Wrapped},
    {.name = "Label7", .caption = "Gamut", .at = {6240, 2280, 615, 255}, .look = LabelLook::Heading},
    {.name = "Label1", .caption = "Pos Neg", .at = {6360, 2520, 495, 495}, .look = LabelLook::Wrapped},
};

constexpr LampRow kLamps[] = {
    {.name = "led_sdi1", .frame = "Frame1", .at = {1800, 240, 375, 135}, .fill = kLampBlack},
    {.name = "led_sdi2", .frame = "Frame1", .at = {1800, 440, 375, 135}, .fill = kLampBlack},
    {.name = "led_cvs1", .frame = "Frame1", .at = {1920, 600, 135, 255}, .fill = kLampBlack},
    {.name = "led_cvs2", .frame = "Frame1", .at = {1800, 840, 375, 135}, .fill = kLampBlack},
    {.name = "led_cmpt", .frame = "Frame1", .at = {1800, 1040, 375, 135}, .fill = kLampBlack},
    {.name = "led_pos", .at = {6120, 2520, 135, 135}, .fill = kPanelGrey},
    {.name = "led_neg", .at = {6120, 2760, 135, 135}, .fill = kPanelGrey},
};

constexpr ImageRow kImages[] = {
    {.name = "imgLeft", .frame = "Frame4", .at = key(120, 840), .points = ArrowDirection::Left},
    {.name = "imgRight", .frame = "Frame4", .at = key(600, 840), .points = ArrowDirection::Right},
    {.name = "imgUp", .frame = "Frame4", .at = key(1200, 600), .points = ArrowDirection::Up},
    {.name = "imgDown", .frame = "Frame4", .at = key(1200, 1080), .points = ArrowDirection::Down},
    {.name = "imgPhleft", .frame = "Frame4", .at = key(1800, 840), .points = ArrowDirection::Left},
    {.name = "imgPhright", .frame = "Frame4", .at = key(2280, 840), .points = ArrowDirection::Right},
    {.name = "imgScaleUp", .frame = "Frame8", .at = key(120, 480), .points = ArrowDirection::Up},
    {.name = "imgScaleDown", .frame = "Frame8", .at = key(120, 960), .points = ArrowDirection::Down},
};

} // namespace

std::span<const FrameRow> frameTable()
{
    return kFrames;
}
std::span<const ButtonRow> buttonTable()
{
    return kButtons;
}
std::span<const LabelRow> labelTable()
{
    return kLabels;
}
std::span<const LampRow> lampTable()
{
    return kLamps;
}
std::span<const ImageRow> imageTable()
{
    return kImages;
}

} // namespace orvanta::panel
