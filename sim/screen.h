#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvanta::sim {

// The picture rows of the instrument's screen as the stream carries them: 128 bytes a
// row, four 2-bit pixels a byte (0 dark, 1 to 3 brightness), addressed here in the
// client's canvas columns and rows.
class Screen
{
public:
    // rows: how many picture rows, from canvas row 2 down; 0 for no picture.
    explicit Screen(int rows);

    int rows() const { return rows_; }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    // Brighter wins where traces cross; points off the picture are dropped.
    void plot(int column, int row, int level);
    int level(int column, int row) const;

    void line(int column0, int row0, int column1, int row1, int level);

private:
    std::size_t byteIndex(int column, int row) const;

    int rows_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace orvanta::sim
