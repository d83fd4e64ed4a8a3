#pragma once

#include "graticule_canvas.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvanta::tools {

// The graticule file format: per row, 2-byte records (flags, length) whose runs are
// laid from column 0; flags bit 0 adds 256 and bit 1 512 to the length, bit 2 is
// green (else black), bit 3 marks the row's last record.
//
// Codes canvas rows [firstRow, endRow), each as runs over all 512 columns, so a row
// paints over whatever the canvas held before.
std::vector<std::uint8_t> encodeGraticule(const GraticuleCanvas &canvas, int firstRow, int endRow);

// Reads a file back onto canvas rows from firstRow. Says what is wrong when the file
// does not hold exactly rowCount rows that each cover the 512 columns exactly.
std::optional<std::string> decodeGraticule(
    std::span<const std::uint8_t> file, int firstRow, int rowCount, GraticuleCanvas &canvas);

} // namespace orvanta::tools
