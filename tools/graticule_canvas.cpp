#include "graticule_canvas.h"

#include <cmath>
#include <numbers>

namespace orvanta::tools {

GraticuleCanvas::GraticuleCanvas()
    : rows_(kSize)
{ }

bool GraticuleCanvas::lit(int column, int row) const
{
    return column >= 0 && column < kSize && row >= 0 && row < kSize
        && rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void GraticuleCanvas::light(int column, int row)
{
    if (column >= 0 && column < kSize && row >= 0 && row < kSize)
        rows_[static_cast<std::size_t>(row)].set(static_cast<std::size_t>(column));
}

void GraticuleCanvas::horizontal(int row, int first, int end)
{
    for (int column = first; column < end; ++column)
        light(column, row);
}

void GraticuleCanvas::vertical(int column, int first, int end)
{
    for (int row = first; row < end; ++row)
        light(column, row);
}

void GraticuleCanvas::dashed(int row, int first, int end, int on, int off)
{
    for (int column = first; column < end; ++column) {
        if ((column - first) % (on + off) < on)
            light(column, row);
    }
}

void GraticuleCanvas::circle(int centreColumn, int centreRow, int radius)
{
    // Enough steps that neighbouring points touch, so the circle has no gaps.
    const int steps = static_cast<int>(std::ceil(2 * std::numbers::pi * radius * 2));
    for (int step = 0; step < steps; ++step) {
        const double angle = 2 * std::numbers::pi * step / steps;
        light(static_cast<int>(std::lround(centreColumn + radius * std::cos(angle))),
            static_cast<int>(std::lround(centreRow - radius * std::sin(angle))));
    }
}

void GraticuleCanvas::box(int centreColumn, int centreRow, int half)
{
    horizontal(centreRow - half, centreColumn - half, centreColumn + half + 1);
    horizontal(centreRow + half, centreColumn - half, centreColumn + half + 1);
    vertical(centreColumn - half, centreRow - half, centreRow + half + 1);
    vertical(centreColumn + half, centreRow - half, centreRow + half + 1);
}

} // namespace orvanta::tools
