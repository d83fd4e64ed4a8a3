#include "screen.h"
#include "screen_layout.h"

#include <algorithm>
#include <cstdlib>

namespace orvanta::sim {

namespace {

// Pixel i of a byte sits under this shift: bits 7-6, 3-2, 5-4, 1-0.
constexpr int kPixelShift[4] = {6, 2, 4, 0};

} // namespace

Screen::Screen(int rows)
    : rows_(std::max(rows, 0))
    , bytes_(static_cast<std::size_t>(rows_) * layout::kBytesPerRow, 0)
{ }

std::size_t Screen::byteIndex(int column, int row) const
{
    const int pictureRow = row - layout::kFirstPictureRow;
    // Byte column 0 lies left of the canvas, so canvas column 0 is in byte column 1.
    const int byteColumn = column / 4 + 1;
    return static_cast<std::size_t>(pictureRow) * layout::kBytesPerRow + static_cast<std::size_t>(byteColumn);
}

void Screen::plot(int column, int row, int level)
{
    const int pictureRow = row - layout::kFirstPictureRow;
    if (column < 0 || column >= layout::kPictureColumns || pictureRow < 0 || pictureRow >= rows_)
        return;
    level = std::clamp(level, 0, 3);
    if (level <= this->level(column, row))
        return;
    const int shift = kPixelShift[column % 4];
    std::uint8_t &byte = bytes_[byteIndex(column, row)];
    byte = static_cast<std::uint8_t>((byte & ~(3 << shift)) | (level << shift));
}

int Screen::level(int column, int row) const
{
    const int pictureRow = row - layout::kFirstPictureRow;
    if (column < 0 || column >= layout::kPictureColumns || pictureRow < 0 || pictureRow >= rows_)
        return 0;
    return bytes_[byteIndex(column, row)] >> kPixelShift[column % 4] & 3;
}

void Screen::line(int column0, int row0, int column1, int row1, int level)
{
    const int steps = std::max(std::abs(column1 - column0), std::abs(row1 - row0));
    for (int step = 0; step <= steps; ++step) {
        const int column = steps == 0 ? column0 : column0 + (column1 - column0) * step / steps;
        const int row = steps == 0 ? row0 : row0 + (row1 - row0) * step / steps;
        plot(column, row, level);
    }
}

} // namespace orvanta::sim
