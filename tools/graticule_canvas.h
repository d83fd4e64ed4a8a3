#pragma once

#include <bitset>
#include <vector>

namespace orvanta::tools {

// A 512 by 512 canvas of graticule pixels: lit (green) or dark (black).
class GraticuleCanvas
{
public:
    static constexpr int kSize = 512;

    GraticuleCanvas();

    bool lit(int column, int row) const;
    // Points off the canvas are dropped.
    void light(int column, int row);

    // Columns [first, end) of one row, rows [first, end) of one column.
    void horizontal(int row, int first, int end);
    void vertical(int column, int first, int end);
    // A broken line: on pixels lit, then off pixels dark, from first on.
    void dashed(int row, int first, int end, int on, int off);
    void circle(int centreColumn, int centreRow, int radius);
    // The outline of the square of half-side half around a centre.
    void box(int centreColumn, int centreRow, int half);

    bool operator==(const GraticuleCanvas &other) const = default;

private:
    std::vector<std::bitset<kSize>> rows_;
};

} // namespace orvanta::tools
