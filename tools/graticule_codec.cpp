#include "graticule_codec.h"

namespace orvanta::tools {

namespace {

constexpr std::uint8_t kAdd256 = 0x01;
constexpr std::uint8_t kAdd512 = 0x02;
constexpr std::uint8_t kGreen = 0x04;
constexpr std::uint8_t kLastOfRow = 0x08;

void appendRecord(std::vector<std::uint8_t> &file, int length, bool green, bool last)
{
    std::uint8_t flags = green ? kGreen : 0;
    if ((length & 0x100) != 0)
        flags |= kAdd256;
    if ((length & 0x200) != 0)
        flags |= kAdd512;
    if (last)
        flags |= kLastOfRow;
    file.push_back(flags);
    file.push_back(static_cast<std::uint8_t>(length & 0xFF));
}

} // namespace

std::vector<std::uint8_t> encodeGraticule(const GraticuleCanvas &canvas, int firstRow, int endRow)
{
    std::vector<std::uint8_t> file;
    for (int row = firstRow; row < endRow; ++row) {
        int start = 0;
        while (start < GraticuleCanvas::kSize) {
            const bool green = canvas.lit(start, row);
            int end = start + 1;
            while (end < GraticuleCanvas::kSize && canvas.lit(end, row) == green)
                ++end;
            appendRecord(file, end - start, green, end == GraticuleCanvas::kSize);
            start = end;
        }
    }
    return file;
}

std::optional<std::string> decodeGraticule(
    std::span<const std::uint8_t> file, int firstRow, int rowCount, GraticuleCanvas &canvas)
{
    if (file.size() % 2 != 0)
        return "odd byte count";
    int row = firstRow;
    int column = 0;
    for (std::size_t at = 0; at < file.size(); at += 2) {
        const std::uint8_t flags = file[at];
        int length = file[at + 1];
        if ((flags & kAdd256) != 0)
            length += 256;
        if ((flags & kAdd512) != 0)
            length += 512;
        if ((flags & kGreen) != 0) {
            for (int c = column; c < column + length; ++c)
                canvas.light(c, row);
        }
        column += length;
        if ((flags & kLastOfRow) != 0) {
            if (column != GraticuleCanvas::kSize)
                return "row " + std::to_string(row) + " covers " + std::to_string(column) + " columns";
            ++row;
            column = 0;
        }
    }
    if (column != 0)
        return "the last row has no last record";
    if (row - firstRow != rowCount)
        return std::to_string(row - firstRow) + " rows instead of " + std::to_string(rowCount);
    return std::nullopt;
}

} // namespace orvanta::tools
