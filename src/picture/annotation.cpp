#include "picture/annotation.h"

#include "link/status_block.h"
#include "picture/canvas.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>

namespace orvanta::picture {

namespace {

constexpr int kPalRow = 480;
constexpr int kNtscRow = 400;
constexpr int kTimeColumn = 20;
constexpr int kDateColumn = 150;
constexpr int kRangeColumn = 280;
constexpr int kGainColumn = 400;

QString gainText(link::DisplayMode mode, bool waveformMag, int vectorGain)
{
    const QString waveform = kWaveformGainTexts[waveformMag ? 1 : 0].toString();
    const QString vector = kVectorGainTexts[vectorGain >> 4].toString();
    switch (mode) {
    case link::DisplayMode::Waveform: return QStringLiteral("Gain: ") + waveform;
    case link::DisplayMode::Vector: return QStringLiteral("Gain: ") + vector;
    case link::DisplayMode::Combination: return QStringLiteral("Gain: ") + waveform + QStringLiteral(", ") + vector;
    default: return {};
    }
}

} // namespace

QString timeOfDay(const QTime &time, const QLocale &locale)
{
    // The long format has the seconds; its time-zone fields ('t') are dropped.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        kept += c;
    }
    return locale.toString(time, kept.trimmed());
}

QList<AnnotationItem> annotationItems(const link::StatusBlock &status, const QDateTime &now, const QLocale &locale)
{
    namespace st = link::status;
    const auto byte = [&](link::StatusField field) { return status.field(field).value_or(0); };
    const int row = byte(st::kPal) ? kPalRow : kNtscRow;
    const link::DisplayMode mode = status.displayMode().value_or(link::DisplayMode::SmallBoxes);

    QList<AnnotationItem> items{
        {kTimeColumn, row, QStringLiteral("Time: ") + timeOfDay(now.time(), locale)},
        {kDateColumn, row, QStringLiteral("Date: ") + locale.toString(now.date(), QLocale::ShortFormat)},
        {kRangeColumn, row, kRangeTexts[byte(st::kTimebase) >> 5].toString()},
    };
    if (mode != link::DisplayMode::SmallBoxes)
        items.append({kGainColumn, row, gainText(mode, byte(st::kWaveformGainMag) != 0, byte(st::kVectorGain))});
    return items;
}

QFont annotationFont()
{
    return QFont(QStringLiteral("DejaVu Sans"), 8);
}

void AddStatusText(Canvas &canvas, const link::StatusBlock &status, const QFont &font)
{
    for (const AnnotationItem &item : annotationItems(status, QDateTime::currentDateTime(), QLocale::system()))
        canvas.drawText(item.column, item.row, item.text, font);
}

} // namespace orvanta::picture
