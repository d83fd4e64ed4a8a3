// Any bytes as a stored picture file: either refused, or drawn on the canvas from its
// top left corner, as much as fits, black where it does not reach.
#include "picture/canvas.h"
#include "picture/picture_file.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

using namespace orvanta::picture;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Canvas canvas;
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    const std::optional<QImage> picture = readPicture(file);
    if (!picture)
        return 0;
    if (picture->isNull())
        std::abort();

    canvas.fillRows(0, Canvas::kSize - 1, palette::kGreen);
    canvas.replace(*picture);
    const QImage &image = canvas.image();
    if (image.size() != QSize(Canvas::kSize, Canvas::kSize) || image.format() != QImage::Format_RGB32)
        std::abort();
    const QImage shown = picture->convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < Canvas::kSize; row += 7) {
        for (int column = 0; column < Canvas::kSize; column += 5) {
            const bool inside = column < shown.width() && row < shown.height();
            const QRgb want = inside ? shown.pixel(column, row) : palette::rgb(palette::kBlack);
            if (image.pixel(column, row) != want)
                std::abort();
        }
    }
    return 0;
}
