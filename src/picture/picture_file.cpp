#include "picture/picture_file.h"

#include "files/regular_file.h"
#include "picture/palette.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>

namespace orvanta::picture {

namespace {

constexpr const char *kFormat = "bmp";

} // namespace

std::optional<QImage> paletteImage(const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(QList<QRgb>(palette::kRgb.begin(), palette::kRgb.end()));
    // Most of a picture is long runs of one colour: remember the last one found.
    QRgb lastColour = palette::rgb(palette::kBlack);
    uchar lastIndex = palette::kBlack;
    for (int row = 0; row < rgb.height(); ++row) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(row));
        uchar *out = indexed.scanLine(row);
        for (int column = 0; column < rgb.width(); ++column) {
            const QRgb colour = in[column] | 0xFF000000u;
            if (colour != lastColour) {
                const auto found = std::find(palette::kRgb.begin(), palette::kRgb.end(), colour);
                if (found == palette::kRgb.end())
                    return std::nullopt;
                lastColour = colour;
                lastIndex = uchar(found - palette::kRgb.begin());
            }
            out[column] = lastIndex;
        }
    }
    return indexed;
}

namespace {

// Qt writes an indexed image of at most 16 colours as a 4-bit BMP.
bool writePicture(const QImage &picture, QIODevice &device, const char *format)
{
    const std::optional<QImage> indexed = paletteImage(picture);
    QImageWriter writer(&device, format);
    return writer.write(indexed ? *indexed : picture);
}

} // namespace

std::optional<files::FileError> savePicture(
    const QImage &picture, const QString &fileName, const char *format, files::Existing existing)
{
    return files::writeWholeFile(
        fileName, [&](QIODevice &file) { return writePicture(picture, file, format); }, existing);
}

QByteArray encodePicture(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return writePicture(picture, buffer, format) ? bytes : QByteArray();
}

std::optional<QImage> readPicture(QIODevice &device, QString *reason)
{
    QImageReader reader(&device, kFormat);
    // A file named .bmp that holds some other format is not taken for a picture.
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull()) {
        if (reason)
            *reason = reader.errorString();
        return std::nullopt;
    }
    return image;
}

std::optional<QImage> loadPicture(const QString &fileName, files::FileError *error)
{
    QFile file(fileName);
    QString reason;
    std::optional<QImage> image;
    if (files::openRegularFile(file, QIODevice::ReadOnly, &reason))
        image = readPicture(file, &reason);
    if (!image && error)
        *error = files::FileError{fileName, reason};
    return image;
}

} // namespace orvanta::picture
