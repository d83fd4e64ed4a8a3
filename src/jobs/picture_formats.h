#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringView>

#include <array>

namespace orvanta::jobs {

// What capture writes, by the output name's suffix, in any case.
struct PictureFormat
{
    QStringView suffix;
    const char *format; // Qt's name for it
};

inline constexpr std::array<PictureFormat, 2> kPictureFormats{{
    {u"png", "png"},
    {u"bmp", "bmp"},
}};

inline const PictureFormat *pictureFormatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const PictureFormat &format : kPictureFormats)
        if (format.suffix == suffix)
            return &format;
    return nullptr;
}

} // namespace orvanta::jobs
