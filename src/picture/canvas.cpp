#include "picture/canvas.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace orvanta::picture {

namespace {

bool onCanvas(int index)
{
    return index >= 0 && index < Canvas::kSize;
}

} // namespace

Canvas::Canvas()
    : image_(kSize, kSize, QImage::Format_RGB32)
{
    clear();
}

void Canvas::clear()
{
    image_.fill(palette::rgb(palette::kBlack));
}

void Canvas::setPixel(int column, int row, PaletteIndex colour)
{
    if (onCanvas(column) && onCanvas(row))
        scanLine(row)[column] = palette::rgb(colour);
}

void Canvas::fillRow(int row, int from, int to, PaletteIndex colour)
{
    from = std::max(from, 0);
    to = std::min(to, kSize);
    if (!onCanvas(row) || from >= to)
        return;
    QRgb *line = scanLine(row);
    std::fill(line + from, line + to, palette::rgb(colour));
}

void Canvas::fillRows(int first, int last, PaletteIndex colour)
{
    for (int row = std::max(first, 0); row <= std::min(last, kSize - 1); ++row)
        fillRow(row, 0, kSize, colour);
}

void Canvas::drawText(int column, int row, const QString &text, const QFont &font)
{
    QPainter painter(&image_);
    // Plain white glyphs keep the picture in palette colours for conversion and files.
    QFont plain(font);
    plain.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(plain);
    painter.setPen(palette::rgb(palette::kWhite));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QRect(column, row, kSize, kSize), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void Canvas::replace(const QImage &picture)
{
    clear();
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture.convertToFormat(QImage::Format_RGB32));
}

void Canvas::blackOnWhite(int row)
{
    QRgb *line = scanLine(row);
    if (!line)
        return;
    const QRgb black = palette::rgb(palette::kBlack);
    const QRgb white = palette::rgb(palette::kWhite);
    std::transform(line, line + kSize, line,
        [&](QRgb pixel) { return qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)) == black ? white : black; });
}

QRgb *Canvas::scanLine(int row)
{
    if (!onCanvas(row))
        return nullptr;
    return reinterpret_cast<QRgb *>(image_.scanLine(row));
}

std::optional<PaletteIndex> Canvas::pixelIndex(int column, int row) const
{
    if (!onCanvas(column) || !onCanvas(row))
        return std::nullopt;
    const QRgb value = image_.pixel(column, row);
    const auto found = std::find(palette::kRgb.begin(), palette::kRgb.end(), value);
    if (found == palette::kRgb.end())
        return std::nullopt;
    return PaletteIndex(found - palette::kRgb.begin());
}

} // namespace orvanta::picture
