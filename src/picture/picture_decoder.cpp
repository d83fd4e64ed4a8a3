#include "picture/picture_decoder.h"

#include "link/status_block.h"
#include "picture/canvas.h"
#include "picture/graticule_file.h"

#include <algorithm>

namespace orvanta::picture {

namespace {

// Pixel i of a data byte sits at this bit position (pixel order 7-6, 3-2, 5-4, 1-0).
constexpr std::array<int, 4> kPixelShift{6, 2, 4, 0};

} // namespace

PictureDecoder::PictureDecoder(Canvas &canvas)
    : canvas_(canvas)
{ }

void PictureDecoder::start(const link::StatusBlock &status, GraticuleFile *graticule)
{
    graticule_ = graticule;
    const std::span<const ColourBand> bands = pictureBands(status);
    for (int column = 0; column < kBytesPerRow; ++column)
        for (int value = 1; value <= 3; ++value) {
            colours_[column][value] = SelectPixelColour(bands, value, column);
            rgb_[column][value] = palette::rgb(colours_[column][value]);
        }
    lastRow_ = status.isSet(link::status::kPal).value_or(false) ? kPalLastRow : kNtscLastRow;
    row_ = kFirstRow;
    column_ = 0;
    blockLength_ = 0;
    blockIndex_ = 0;
    token_ = Token::Boundary;
    count_ = 0;
    repeat_ = 0;
    rowPixels_ = canvas_.scanLine(row_);
}

void PictureDecoder::takeBlock(QByteArrayView bytes)
{
    blockLength_ = int(std::min<qsizetype>(bytes.size(), kBlockSize));
    std::copy_n(reinterpret_cast<const std::uint8_t *>(bytes.data()), blockLength_, block_.begin());
    blockIndex_ = 0;
    // Events ran since the last block; the image may have been shared meanwhile.
    rowPixels_ = canvas_.scanLine(row_);
}

bool PictureDecoder::finished() const
{
    return token_ == Token::Boundary && row_ >= lastRow_;
}

void PictureDecoder::decode()
{
    while (blockIndex_ < blockLength_) {
        switch (token_) {
        case Token::Boundary:
            // The only place the picture may end.
            if (row_ >= lastRow_)
                return;
            NextPictureByte();
            if (byte_ > 127) {
                count_ = byte_ - 128;
                token_ = Token::RepeatData;
            } else if (byte_ > 0) {
                count_ = byte_;
                repeat_ = 0;
                token_ = Token::LiteralData;
            }
            break;
        case Token::RepeatData:
            NextPictureByte();
            if (byte_ == 0) {
                // Transparent: only the position moves, a row at a time.
                skip(count_);
                repeat_ = count_;
            } else {
                for (repeat_ = 1; repeat_ <= count_; ++repeat_) {
                    Draw_pixels();
                    advance();
                }
            }
            token_ = Token::Boundary;
            break;
        case Token::LiteralData:
            NextPictureByte();
            Draw_pixels();
            advance();
            if (++repeat_ >= count_)
                token_ = Token::Boundary;
            break;
        }
    }
}

void PictureDecoder::NextPictureByte()
{
    byte_ = block_[blockIndex_];
    ++blockIndex_;
}

void PictureDecoder::Draw_pixels()
{
    // Byte column 0 lies left of the canvas.
    const int x = column_ - 1;
    if (x < 0 || !rowPixels_ || byte_ == 0)
        return;
    // Worked in locals, and without branches: in a busy picture lit and dark
    // pixels alternate past any prediction.
    QRgb *pixels = rowPixels_ + 4 * x;
    const auto &rgb = rgb_[column_];
    const unsigned byte = byte_;
    for (int i = 0; i < 4; ++i) {
        const unsigned value = (byte >> kPixelShift[i]) & 0x03;
        const QRgb lit = 0u - QRgb(value != 0);
        pixels[i] = (pixels[i] & ~lit) | (rgb[value] & lit);
    }
}

void PictureDecoder::skip(int columns)
{
    while (columns > 0) {
        const int step = std::min(columns, kBytesPerRow - column_);
        column_ += step - 1;
        columns -= step;
        advance();
    }
}

void PictureDecoder::advance()
{
    if (++column_ < kBytesPerRow)
        return;
    // The graticule row goes under the next picture row before its pixels
    // arrive; a token running on past the last row has none.
    if (graticule_ && row_ + 1 <= lastRow_)
        graticule_->DrawGratLine(canvas_, row_ + 1);
    ++row_;
    column_ = 0;
    rowPixels_ = canvas_.scanLine(row_);
}

} // namespace orvanta::picture
