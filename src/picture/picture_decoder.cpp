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
    PictureLastRow = status.isSet(link::status::kPal).value_or(false) ? kPalLastRow : kNtscLastRow;
    PictureRow = kFirstRow;
    PictureColumn = 0;
    blockLength_ = 0;
    PictureBlockIndex = 0;
    token_ = Token::Boundary;
    count_ = 0;
    repeat_ = 0;
    rowPixels_ = canvas_.scanLine(PictureRow);
}

void PictureDecoder::takeBlock(QByteArrayView bytes)
{
    blockLength_ = int(std::min<qsizetype>(bytes.size(), kBlockSize));
    std::copy_n(reinterpret_cast<const std::uint8_t *>(bytes.data()), blockLength_, PictureBlock.begin());
    PictureBlockIndex = 0;
    // Events ran since the last block; the image may have been shared meanwhile.
    rowPixels_ = canvas_.scanLine(PictureRow);
}

bool PictureDecoder::finished() const
{
    return token_ == Token::Boundary && PictureRow >= PictureLastRow;
}

void PictureDecoder::decode()
{
    while (PictureBlockIndex < blockLength_) {
        switch (token_) {
        case Token::Boundary:
            // The only place the picture may end.
            if (PictureRow >= PictureLastRow)
                return;
            NextPictureByte();
            if (PictureByte > 127) {
                count_ = PictureByte - 128;
                token_ = Token::RepeatData;
            } else if (PictureByte > 0) {
                count_ = PictureByte;
                repeat_ = 0;
                token_ = Token::LiteralData;
            }
            break;
        case Token::RepeatData:
            NextPictureByte();
            if (PictureByte == 0) {
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
    PictureByte = PictureBlock[PictureBlockIndex];
    ++PictureBlockIndex;
}

void PictureDecoder::Draw_pixels()
{
    // Byte column 0 lies left of the canvas.
    const int x = PictureColumn - 1;
    if (x < 0 || !rowPixels_ || PictureByte == 0)
        return;
    // Worked in locals, and without branches: in a busy picture lit and dark
    // pixels alternate past any prediction.
    QRgb *pixels = rowPixels_ + 4 * x;
    const auto &rgb = rgb_[PictureColumn];
    const unsigned byte = PictureByte;
    for (int i = 0; i < 4; ++i) {
        const unsigned value = (byte >> kPixelShift[i]) & 0x03;
        const QRgb lit = 0u - QRgb(value != 0);
        pixels[i] = (pixels[i] & ~lit) | (rgb[value] & lit);
    }
    // Left as drawing the pixels one by one would leave them.
    PixelValue = int(byte >> kPixelShift[3]) & 0x03;
    for (int i = 3; i >= 0; --i) {
        if (const unsigned value = (byte >> kPixelShift[i]) & 0x03) {
            PixelColour = colours_[PictureColumn][value];
            break;
        }
    }
}

void PictureDecoder::skip(int columns)
{
    while (columns > 0) {
        const int step = std::min(columns, kBytesPerRow - PictureColumn);
        PictureColumn += step - 1;
        columns -= step;
        advance();
    }
}

void PictureDecoder::advance()
{
    if (++PictureColumn < kBytesPerRow)
        return;
    // The graticule row goes under the next picture row before its pixels
    // arrive; a token running on past the last row has none.
    if (graticule_ && PictureRow + 1 <= PictureLastRow)
        graticule_->DrawGratLine(canvas_, PictureRow + 1);
    ++PictureRow;
    PictureColumn = 0;
    rowPixels_ = canvas_.scanLine(PictureRow);
}

} // namespace orvanta::picture
