#include "jobs/log_line_fields.h"

#include "logger/log_texts.h"

#include <QLatin1StringView>

#include <algorithm>
#include <optional>

namespace orvanta::jobs {

namespace {

// A record's fields, each under the first letter of its name in the heading
// and running up to the next one; the first from the line's start, the
// last to its end.
struct RecordColumn
{
    QStringView name;
    qsizetype column;
};

constexpr RecordColumn kColumns[] = {
    {u"Type", 1},
    {u"Hour", 9},
    {u"Min", 16},
    {u"Sec", 22},
    {u"Source", 28},
};
enum Field { kType, kHour, kMinute, kSecond, kSource };

constexpr bool underItsName(const RecordColumn &field)
{
    for (qsizetype i = 0; i < field.name.size(); ++i)
        if (logger::texts::kHeading[field.column + i] != field.name[i])
            return false;
    return true;
}
static_assert(std::ranges::all_of(kColumns, underItsName));
static_assert(std::size(kColumns) == kSource + 1);

// The log's own lines, which the program writes and the instrument does not.
struct OwnLine
{
    QStringView line;
    QLatin1StringView event;
};

constexpr OwnLine kOwnLines[] = {
    {logger::texts::kEndLine, QLatin1StringView("end")},
    {logger::texts::kTimeoutLine, QLatin1StringView("timeout")},
    {logger::texts::kFinishedLine, QLatin1StringView("finished")},
};

QStringView field(QStringView line, Field which)
{
    const qsizetype start = which == kType ? 0 : kColumns[which].column;
    const qsizetype end = which == kSource ? line.size() : kColumns[which + 1].column;
    return start >= line.size() ? QStringView() : line.sliced(start, std::min(end, line.size()) - start).trimmed();
}

std::optional<int> timePart(QStringView line, Field which, int limit)
{
    const QStringView digits = field(line, which);
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok || digits.size() > 2 || !std::ranges::all_of(digits, [](QChar c) { return c.isDigit(); }) || value >= limit)
        return std::nullopt;
    return value;
}

} // namespace

QJsonObject logLineFields(QStringView line)
{
    const QStringView trimmed = line.trimmed();
    for (const OwnLine &own : kOwnLines)
        if (trimmed == own.line.trimmed())
            return {{QStringLiteral("event"), own.event}};

    const auto hour = timePart(line, kHour, 24);
    const auto minute = timePart(line, kMinute, 60);
    const auto second = timePart(line, kSecond, 60);
    const QStringView type = field(line, kType);
    const QStringView source = field(line, kSource);
    if (!hour || !minute || !second || type.isEmpty() || source.isEmpty())
        return {{QStringLiteral("event"), QStringLiteral("unparsed")}, {QStringLiteral("text"), line.toString()}};
    const auto twoDigits = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return {
        {QStringLiteral("event"), QStringLiteral("record")},
        {QStringLiteral("type"), type.toString()},
        {QStringLiteral("timeOfDay"), QStringList{twoDigits(*hour), twoDigits(*minute), twoDigits(*second)}.join(u':')},
        {QStringLiteral("source"), source.toString()},
        {QStringLiteral("text"), line.toString()},
    };
}

} // namespace orvanta::jobs
