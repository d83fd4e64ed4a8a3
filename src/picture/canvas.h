#pragma once

#include "picture/palette.h"

#include <QImage>

#include <optional>

class QFont;
class QString;

namespace orvanta::picture {

// The 512 x 512 picture, in palette colours. Everything drawn outside it is
// dropped, so callers need not clip.
class Canvas
{
public:
    static constexpr int kSize = 512;

    Canvas();

    void clear();
    void setPixel(int column, int row, PaletteIndex colour);
    // Columns from up to, not including, to.
    void fillRow(int row, int from, int to, PaletteIndex colour);
    // Whole rows, first to last inclusive.
    void fillRows(int first, int last, PaletteIndex colour);
    // White text, its top left at column and row; what lies between the letters stays.
    void drawText(int column, int row, const QString &text, const QFont &font);
    // The picture from the top left corner, as much of it as fits; black where it does not reach.
    void replace(const QImage &picture);
    // One row as ink on paper: every colour but black becomes black, black becomes white.
    void blackOnWhite(int row);

    // The row's pixels for fast writing; null off the canvas. Valid until the
    // image is next shared or replaced.
    QRgb *scanLine(int row);

    // Nothing when off the canvas or not a palette colour.
    std::optional<PaletteIndex> pixelIndex(int column, int row) const;
    const QImage &image() const { return image_; }

private:
    QImage image_;
};

} // namespace orvanta::picture
