#pragma once

#include "panel/twips.h"

#include <QColor>

#include <span>
#include <string_view>

namespace orvanta::panel {

// The panel's background; frames, labels and the gamut lamps when off share it.
inline constexpr QRgb kPanelGrey = qRgb(128, 128, 128);
inline constexpr QRgb kLampBlack = qRgb(0, 0, 0);

// The window's inner area, below the menu bar.
inline constexpr TwipsRect kInnerArea{.width = 8445, .height = 4230};

// In every row, `frame` is the name of the frame holding the control; empty
// means the window itself. Positions are relative to that container.

struct FrameRow
{
    std::string_view name;
    std::string_view caption;
    TwipsRect at;
};

struct ButtonRow
{
    std::string_view name;
    std::string_view frame = {};
    std::string_view caption;
    std::string_view toolTip = {}; // empty: none
    TwipsRect at;
    int tabOrder;
};

enum class LabelLook {
    Plain,
    Wrapped, // narrower than its text: one word a line
    Heading, // underlined, slightly larger
};

struct LabelRow
{
    std::string_view name;
    std::string_view frame = {};
    std::string_view caption;
    TwipsRect at;
    LabelLook look = LabelLook::Plain;
};

struct LampRow
{
    std::string_view name;
    std::string_view frame = {};
    TwipsRect at;
    QRgb fill;
};

// Which way an arrow key's triangle points.
enum class ArrowDirection { Up, Down, Left, Right };

// An arrow key is square.
inline constexpr int kKeySizeTwips = 480;

struct ImageRow
{
    std::string_view name;
    std::string_view frame = {};
    TwipsRect at;
    ArrowDirection points;
};

std::span<const FrameRow> frameTable();
std::span<const ButtonRow> buttonTable();
std::span<const LabelRow> labelTable();
std::span<const LampRow> lampTable();
std::span<const ImageRow> imageTable();

} // namespace orvanta::panel
