#include "picture_renderer.h"

#include "screen_layout.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace orvanta::sim {

namespace {

using layout::Bar;

enum class Component { luma, red, green, blue, blueDifference, redDifference };

// The level of one component of a bar, 0 black to 1 white; colour differences sit
// around mid-grey, as a parade shows them.
double componentLevel(Component component, const Bar &bar)
{
    switch (component) {
    case Component::luma: return bar.luma();
    case Component::red: return bar.red;
    case Component::green: return bar.green;
    case Component::blue: return bar.blue;
    case Component::blueDifference: return 0.5 + layout::kDigitalAxes.blueWeight * (bar.blue - bar.luma());
    case Component::redDifference: return 0.5 + layout::kDigitalAxes.redWeight * (bar.red - bar.luma());
    }
    return 0.0;
}

// One band of a parade: the client colours it by the byte columns it falls in.
struct Band
{
    Component component;
    int firstColumn; // canvas columns [firstColumn, endColumn)
    int endColumn;
};

// Bands of the client's colouring: byte columns below 43 and 85, or 32, 64 and 96 with
// YRGB; byte column b is canvas column 4(b - 1).
constexpr Band kRgbParade[] = {{Component::red, 0, 168}, {Component::green, 168, 336}, {Component::blue, 336, 508}};
constexpr Band kYuvParade[]
    = {{Component::luma, 0, 168}, {Component::blueDifference, 168, 336}, {Component::redDifference, 336, 508}};
constexpr Band kYrgbParade[] = {
    {Component::luma, 0, 124}, {Component::red, 124, 252}, {Component::green, 252, 380}, {Component::blue, 380, 508}};
// Keeps a band's trace clear of its neighbours' colours.
constexpr int kBandMargin = 8;

// Status bits the picture depends on.
struct View
{
    int displayMode;
    bool pal;
    bool parade;
    bool yrgb;
    bool yuv;
    bool analogue;
};

View viewOf(const StatusBlock &s)
{
    return {
        .displayMode = s[1] & 0x03,
        .pal = (s[7] & 0x01) != 0,
        .parade = (s[1] & 0xE3) == 0x61,
        .yrgb = (s[10] & 0x01) != 0,
        .yuv = (s[9] & 0x02) != 0,
        // The same rule picks the client's graticule set, so the vector points fall in
        // the target boxes of the scale shown.
        .analogue = (s[6] & 0x06 & ~(s[12] & 0xFD) & 0xFF) != 0,
    };
}

// The trace is a few rows thick, brightest in its middle.
void plotTrace(Screen &screen, int column, int row)
{
    screen.plot(column, row, 3);
    screen.plot(column, row - 1, 2);
    screen.plot(column, row + 1, 2);
    screen.plot(column, row - 2, 1);
    screen.plot(column, row + 2, 1);
}

// One line of colour bars between blanking, as the waveform shows it.
void drawBarsLine(Screen &screen, const layout::Standard &standard, Component component, int left, int right)
{
    const int width = right - left;
    const int blanking = width / 25;
    const int barWidth = (width - 2 * blanking) / static_cast<int>(layout::kBars.size());
    const double blankLevel = componentLevel(component, layout::kBars.back());

    auto rowOf = [&](double level) { return static_cast<int>(std::lround(layout::levelRow(standard, level))); };
    int previousRow = rowOf(blankLevel);
    int start = left;
    auto segment = [&](int end, double level) {
        const int row = rowOf(level);
        // The fast edge between two bars shows as a faint vertical stroke.
        screen.line(start, previousRow, start, row, 1);
        for (int column = start; column < end; ++column)
            plotTrace(screen, column, row);
        previousRow = row;
        start = end;
    };
    segment(left + blanking, blankLevel);
    for (const Bar &bar : layout::kBars)
        segment(start + barWidth, componentLevel(component, bar));
    segment(right, blankLevel);
}

void drawParade(Screen &screen, const layout::Standard &standard, std::span<const Band> bands)
{
    for (const Band &band : bands) {
        const int left = std::max(band.firstColumn + kBandMargin, layout::kFullWaveform.left);
        const int right = std::min(band.endColumn - kBandMargin, layout::kFullWaveform.right);
        drawBarsLine(screen, standard, band.component, left, right);
    }
}

void drawDot(Screen &screen, layout::Point centre)
{
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const bool core = std::abs(dx) <= 1 && std::abs(dy) <= 1;
            screen.plot(centre.column + dx, centre.row + dy, core ? 3 : 1);
        }
    }
}

// Each bar as a bright dot, with the faint path the signal takes from one to the next.
void drawVector(
    Screen &screen, const layout::Standard &standard, const layout::VectorArea &area, const layout::ChromaAxes &axes)
{
    layout::Point previous = layout::vectorPoint(layout::kBars.back(), axes, area, standard);
    for (const Bar &bar : layout::kBars) {
        const layout::Point point = layout::vectorPoint(bar, axes, area, standard);
        screen.line(previous.column, previous.row, point.column, point.row, 1);
        previous = point;
    }
    for (const Bar &bar : layout::kBars)
        drawDot(screen, layout::vectorPoint(bar, axes, area, standard));
}

} // namespace

Screen renderScreen(const StatusBlock &state)
{
    const View view = viewOf(state);
    const layout::Standard &standard = view.pal ? layout::kPal : layout::kNtsc;
    const layout::ChromaAxes &axes = view.analogue ? layout::kAnalogueAxes : layout::kDigitalAxes;

    if (view.displayMode == 0)
        return Screen(0);
    Screen screen(layout::pictureRows(standard));
    switch (view.displayMode) {
    case 1:
        if (!view.parade)
            drawBarsLine(screen, standard, Component::luma, layout::kFullWaveform.left, layout::kFullWaveform.right);
        else if (view.yrgb)
            drawParade(screen, standard, kYrgbParade);
        else
            drawParade(screen, standard, view.yuv ? std::span<const Band>(kYuvParade) : kRgbParade);
        break;
    case 2: drawVector(screen, standard, layout::kFullVector, axes); break;
    default:
        drawBarsLine(screen, standard, Component::luma, layout::kHalfWaveform.left, layout::kHalfWaveform.right);
        drawVector(screen, standard, layout::kHalfVector, axes);
        break;
    }
    return screen;
}

} // namespace orvanta::sim
