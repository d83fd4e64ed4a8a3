#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <array>

class QDateTime;
class QFont;
class QLocale;
class QTime;

namespace orvanta::link {
class StatusBlock;
}

namespace orvanta::picture {

class Canvas;

// By status byte 1 bits 5-7, the timebase range.
inline constexpr std::array<QStringView, 8> kRangeTexts{
    u"Range: HMag",
    u"Range: H",
    u"Range: 2H",
    u"Range: Parade",
    u"Range: VMag",
    u"Range: V",
    u"Range: 2V",
    u"Range: LSel",
};
// By the waveform gain bit, clear then set.
inline constexpr std::array<QStringView, 2> kWaveformGainTexts{u"x 1", u"Mag"};
// By the vector gain bits 4-5.
inline constexpr std::array<QStringView, 4> kVectorGainTexts{u"100%", u"Mag", u"75%", u"75%"};

// One item of the annotation line: its text's top left corner and the text.
struct AnnotationItem
{
    int column;
    int row;
    QString text;

    bool operator==(const AnnotationItem &) const = default;
};

// The annotation line for this status block at this moment, left to right.
QList<AnnotationItem> annotationItems(const link::StatusBlock &status, const QDateTime &now, const QLocale &locale);

// Hours, minutes and seconds in the locale's own way of writing them.
QString timeOfDay(const QTime &time, const QLocale &locale);

// Writes the line for the status block, the local time and date, on the canvas.
void AddStatusText(Canvas &canvas, const link::StatusBlock &status, const QFont &font);

// The font the annotation is written in, the picture window's own, with or
// without the window: it stands in for the old 8.25-point sans serif.
QFont annotationFont();

} // namespace orvanta::picture
