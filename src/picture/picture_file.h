#pragma once

#include "files/file_error.h"
#include "files/whole_file.h"

#include <QImage>
#include <QString>

#include <optional>

class QIODevice;

namespace orvanta::picture {

// Writes the picture as a BMP file: 4-bit indexed on the 16-colour palette
// when every pixel is a palette colour (as a downloaded picture's are), else
// 24-bit, so a loaded true-colour picture keeps its colours. The file appears
// whole under its name or not at all; a name that is not a regular file is
// refused. A relative name is taken from the working folder. format: another
// of Qt's image formats, such as "png", indexed the same way.
std::optional<files::FileError> savePicture(const QImage &picture, const QString &fileName, const char *format = "bmp",
    files::Existing existing = files::Existing::Replace);
// The same file's bytes, for standard output.
QByteArray encodePicture(const QImage &picture, const char *format);

// Reads a BMP file, and only a BMP file, whatever its name says; only a
// regular file, so a pipe of that name cannot stop the program.
std::optional<QImage> loadPicture(const QString &fileName, files::FileError *error = nullptr);
// The same from an open device; reason says why not.
std::optional<QImage> readPicture(QIODevice &device, QString *reason = nullptr);

// The picture on the palette, one index a pixel, with the palette as its
// colour table; nothing if a pixel is not a palette colour.
std::optional<QImage> paletteImage(const QImage &picture);

} // namespace orvanta::picture
