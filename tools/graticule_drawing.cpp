#include "graticule_drawing.h"

#include <cmath>
#include <numbers>

namespace orvanta::tools {

namespace {

namespace layout = sim::layout;

int rowOf(const layout::Standard &standard, double level)
{
    return static_cast<int>(std::lround(layout::levelRow(standard, level)));
}

// A scale in the units printed on it: the value at black and at white.
struct Units
{
    double black;
    double white;

    double level(double value) const { return (value - black) / (white - black); }
};

constexpr Units kMillivolts{0, 700};
constexpr Units kIre{0, 100};
constexpr Units kCodes{64, 940};

// Ticks across a vertical line, every step units from first to last; every major-th
// tick is longer.
void levelTicks(GraticuleCanvas &canvas, const layout::Standard &standard, int column, Units units, double first,
    double last, double step, int major)
{
    int index = 0;
    for (double value = first; value <= last + step / 2; value += step, ++index) {
        const int half = index % major == 0 ? 4 : 2;
        canvas.horizontal(rowOf(standard, units.level(value)), column - half, column + half + 1);
    }
}

// Ticks across the black line, dividing the line time into divisions.
void timeTicks(GraticuleCanvas &canvas, int row, const layout::WaveformArea &area, int divisions, int minorPerDivision)
{
    const int steps = divisions * minorPerDivision;
    for (int step = 1; step < steps; ++step) {
        const int column = area.left + (area.right - 1 - area.left) * step / steps;
        const int half = step % minorPerDivision == 0 ? 4 : 2;
        canvas.vertical(column, row - half, row + half + 1);
    }
}

void drawAnalogueLevels(
    GraticuleCanvas &canvas, const layout::Standard &standard, const layout::WaveformArea &area, bool pal)
{
    const int centre = (area.left + area.right) / 2;
    if (pal) {
        for (int mv = 0; mv <= 700; mv += 100)
            canvas.horizontal(rowOf(standard, kMillivolts.level(mv)), area.left, area.right);
        canvas.dashed(rowOf(standard, kMillivolts.level(350)), area.left, area.right, 2, 4);
        levelTicks(canvas, standard, centre, kMillivolts, 0, 700, 20, 5);
    } else {
        for (int ire = 0; ire <= 100; ire += 10)
            canvas.horizontal(rowOf(standard, kIre.level(ire)), area.left, area.right);
        // Set-up level and the sync side below black.
        canvas.dashed(rowOf(standard, kIre.level(7.5)), area.left, area.right, 6, 4);
        canvas.dashed(rowOf(standard, kIre.level(-20)), area.left, area.right, 6, 4);
        levelTicks(canvas, standard, centre, kIre, -20, 100, 2, 5);
    }
    timeTicks(canvas, standard.zeroRow, area, 10, 5);
}

void drawDigitalLevels(GraticuleCanvas &canvas, const layout::Standard &standard, const layout::WaveformArea &area)
{
    canvas.horizontal(rowOf(standard, kCodes.level(64)), area.left, area.right);
    canvas.horizontal(rowOf(standard, kCodes.level(940)), area.left, area.right);
    canvas.dashed(rowOf(standard, kCodes.level(512)), area.left, area.right, 2, 4);
    // The limits of legal codes.
    canvas.dashed(rowOf(standard, kCodes.level(4)), area.left, area.right, 8, 4);
    canvas.dashed(rowOf(standard, kCodes.level(1019)), area.left, area.right, 8, 4);
    levelTicks(canvas, standard, area.left, kCodes, 0, 1024, 32, 4);
    levelTicks(canvas, standard, area.right - 1, kCodes, 0, 1024, 32, 4);
    timeTicks(canvas, rowOf(standard, kCodes.level(64)), area, 8, 4);
}

} // namespace

void drawWaveformScale(
    GraticuleCanvas &canvas, const layout::Standard &standard, const layout::WaveformArea &area, Viewing viewing)
{
    const bool pal = standard.lastRow == layout::kPal.lastRow;
    const Units units = viewing == Viewing::digital ? kCodes : pal ? kMillivolts : kIre;
    const double bottom = viewing == Viewing::digital ? 0 : pal ? 0 : -20;
    const double top = viewing == Viewing::digital ? 1024 : pal ? 700 : 100;
    // The frame of the scale.
    const int topRow = rowOf(standard, units.level(top));
    const int bottomRow = rowOf(standard, units.level(bottom));
    canvas.vertical(area.left, topRow, bottomRow + 1);
    canvas.vertical(area.right - 1, topRow, bottomRow + 1);

    if (viewing == Viewing::analogue)
        drawAnalogueLevels(canvas, standard, area, pal);
    else
        drawDigitalLevels(canvas, standard, area);
}

void drawVectorScale(
    GraticuleCanvas &canvas, const layout::Standard &standard, const layout::VectorArea &area, Viewing viewing)
{
    const int cx = area.centreColumn;
    const int cy = standard.vectorCentreRow;
    const int r = area.radius;
    canvas.circle(cx, cy, r);
    canvas.horizontal(cy, cx - r, cx + r + 1);
    canvas.vertical(cx, cy - r, cy + r + 1);
    for (int step = 1; step <= 10; ++step) {
        const int offset = r * step / 10;
        const int half = step % 5 == 0 ? 4 : 2;
        for (const int sign : {-1, 1}) {
            canvas.vertical(cx + sign * offset, cy - half, cy + half + 1);
            canvas.horizontal(cy + sign * offset, cx - half, cx + half + 1);
        }
    }

    const layout::ChromaAxes &axes = viewing == Viewing::analogue ? layout::kAnalogueAxes : layout::kDigitalAxes;
    const int half = r >= 150 ? 8 : 5;
    // White and black sit at the centre; the six colours get a box each.
    for (std::size_t bar = 1; bar + 1 < layout::kBars.size(); ++bar) {
        const layout::Point target = layout::vectorPoint(layout::kBars[bar], axes, area, standard);
        canvas.box(target.column, target.row, half);
        if (viewing == Viewing::analogue) {
            // A small cross where 100 % bars land.
            const layout::Point full = layout::vectorPoint(layout::kBars[bar], axes, area, standard, 4.0 / 3.0);
            canvas.horizontal(full.row, full.column - 2, full.column + 3);
            canvas.vertical(full.column, full.row - 2, full.row + 3);
        }
    }

    if (viewing == Viewing::analogue) {
        // Degree marks round the circle, every 10 degrees.
        for (int degrees = 0; degrees < 360; degrees += 10) {
            const double angle = degrees * std::numbers::pi / 180;
            for (int d = 1; d <= 4; ++d) {
                canvas.light(static_cast<int>(std::lround(cx + (r + d) * std::cos(angle))),
                    static_cast<int>(std::lround(cy - (r + d) * std::sin(angle))));
            }
        }
    } else {
        // Where Cb and Cr reach their legal limits of +-0.5.
        const int limit = static_cast<int>(std::lround(0.5 / axes.fullScale * r));
        for (const int sign : {-1, 1}) {
            canvas.dashed(cy + sign * limit, cx - limit, cx + limit + 1, 3, 3);
            for (int row = cy - limit; row <= cy + limit; ++row) {
                if ((row - cy + limit) % 6 < 3)
                    canvas.light(cx + sign * limit, row);
            }
        }
    }
}

} // namespace orvanta::tools
