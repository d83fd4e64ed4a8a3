#pragma once

#include "link/protocol.h"
#include "picture/pixel_colour.h"

#include <QByteArrayView>
#include <QRgb>

#include <array>
#include <cstdint>
#include <span>

namespace orvanta::link {
class StatusBlock;
}

namespace orvanta::picture {

class Canvas;
class GraticuleFile;

// Turns the instrument's run-length coded picture stream into pixels on the
// canvas, one 128-byte block at a time; tokens run across blocks. It knows
// nothing of the link: whoever reads the blocks feeds them in.
class PictureDecoder
{
public:
    static constexpr int kBlockSize = link::kPictureBlockSize;
    static constexpr int kBytesPerRow = 128;
    static constexpr int kFirstRow = 2;
    static constexpr int kPalLastRow = 510;
    static constexpr int kNtscLastRow = 430;
    static constexpr int kStopRow = 511;

    explicit PictureDecoder(Canvas &canvas);

    // A new picture for this status block, its graticule rows from the file
    // (none when null).
    void start(const link::StatusBlock &status, GraticuleFile *graticule);
    // Keeps the first 128 bytes of a read as the current block.
    void takeBlock(QByteArrayView bytes);
    // Decodes the current block until it is used up or the picture is done.
    void decode();
    void feed(QByteArrayView bytes)
    {
        takeBlock(bytes);
        decode();
    }
    // At a token boundary with the last row reached: no more blocks are needed.
    bool finished() const;
    // The row loop ends at the next token boundary; the token under way is drawn to its end.
    void stop() { row_ = kStopRow; }

    int pictureRow() const { return row_; }
    int pictureColumn() const { return column_; }
    int pictureLastRow() const { return lastRow_; }
    int blockIndex() const { return blockIndex_; }

private:
    enum class Token : std::uint8_t { Boundary, RepeatData, LiteralData };

    void NextPictureByte();
    void Draw_pixels();
    void advance();
    // Moves on by columns bytes that draw nothing.
    void skip(int columns);

    Canvas &canvas_;
    GraticuleFile *graticule_ = nullptr;
    // SelectPixelColour for every byte column and pixel value, worked out once a picture.
    std::array<std::array<PaletteIndex, 4>, kBytesPerRow> colours_{};
    std::array<std::array<QRgb, 4>, kBytesPerRow> rgb_{};
    // Row row_ of the canvas, null below it; fetched again for every block.
    QRgb *rowPixels_ = nullptr;

    std::array<std::uint8_t, kBlockSize> block_{};
    int blockLength_ = 0;
    int blockIndex_ = 0;
    std::uint8_t byte_ = 0;
    int column_ = 0;
    int row_ = kFirstRow;
    int lastRow_ = kPalLastRow;

    Token token_ = Token::Boundary;
    std::uint8_t count_ = 0;
    std::uint8_t repeat_ = 0;
};

} // namespace orvanta::picture
