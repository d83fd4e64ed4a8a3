#pragma once

#include <QImage>
#include <QString>

#include <optional>

class QIODevice;

namespace orvanta::picture {

// What went wrong with a picture file, for the message that names both.
struct PictureFileError
{
    QString file;
    QString reason;
};

// Writes the picture as a BMP file: 4-bit indexed on the 16-colour palette
// when every pixel is a palette colour (as a downloaded picture's are), else
// 24-bit, so a loaded true-colour picture keeps its colours. The file appears
// whole under its name or not at all. A relative name is taken from the
// working folder. format: another of Qt's image formats, such as "png",
// indexed the same way.
std::optional<PictureFileError> savePicture(const QImage &picture, const QString &fileName, const char *format = "bmp");

// Reads a BMP file, and only a BMP file, whatever its name says.
std::optional<QImage> loadPicture(const QString &fileName, PictureFileError *error = nullptr);
// The same from an open device; reason says why not.
std::optional<QImage> readPicture(QIODevice &device, QString *reason = nullptr);

// The picture on the palette, one index a pixel, with the palette as its
// colour table; nothing if a pixel is not a palette colour.
std::optional<QImage> paletteImage(const QImage &picture);

} // namespace orvanta::picture
