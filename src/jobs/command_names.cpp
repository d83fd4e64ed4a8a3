#include "jobs/command_names.h"

#include "panel/alarm_table.h"
#include "panel/command_table.h"
#include "panel/menu_tree.h"
#include "panel/window_layout.h"

#include <algorithm>
#include <numeric>
#include <ranges>
#include <vector>

namespace orvanta::jobs {

namespace {

constexpr int kMostMatches = 5;

// The code a control writes when clicked or pressed, as the window wires it.
std::optional<std::uint8_t> controlCode(std::string_view control)
{
    for (const panel::CommandRow &row : panel::commandTable())
        if (row.control == control)
            return row.code;
    for (const panel::AlarmRow &row : panel::alarmTable())
        if (row.item == control)
            return row.code;
    return std::nullopt;
}

// Edits (insert, delete, replace) between the two, ignoring case.
int distance(const QString &a, const QString &b)
{
    const QString x = a.toCaseFolded(), y = b.toCaseFolded();
    std::vector<int> row(std::size_t(y.size()) + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 1; i <= x.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= y.size(); ++j) {
            const int above = row[std::size_t(j)];
            row[std::size_t(j)]
                = std::min({above + 1, row[std::size_t(j - 1)] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

std::optional<std::uint8_t> plainCode(const QString &name)
{
    bool ok = false;
    const bool hex = name.startsWith(u"0x", Qt::CaseInsensitive);
    const uint value = hex ? name.mid(2).toUInt(&ok, 16) : name.toUInt(&ok, 10);
    if (!ok || value > 255)
        return std::nullopt;
    return std::uint8_t(value);
}

} // namespace

CommandNames::CommandNames()
{
    for (const panel::ButtonRow &button : panel::buttonTable())
        if (const auto code = controlCode(button.name);
            code && !QString::fromLatin1(button.caption).trimmed().isEmpty())
            add(QString::fromLatin1(button.caption), code);
    for (const panel::MenuRow &item : panel::menuTable())
        if (!panel::hasSubItems(item.name))
            add(panel::menuPath(item.name), controlCode(item.name));
    for (const panel::CommandRow &row : panel::commandTable())
        add(QString::fromLatin1(row.control), row.code);
    for (const panel::AlarmRow &row : panel::alarmTable())
        add(QString::fromLatin1(row.item), row.code);
}

void CommandNames::add(const QString &name, std::optional<std::uint8_t> code)
{
    // The two "Bars" buttons write one code: one name.
    const auto same = std::ranges::find(entries_, name, &Entry::name);
    if (same == entries_.end())
        entries_.append({name, code});
    else if (same->code != code)
        qFatal("two controls named \"%s\" write different codes", qPrintable(name));
}

CommandNames::Resolved CommandNames::resolve(const QString &name) const
{
    auto found = std::ranges::find(entries_, name, &Entry::name);
    if (found == entries_.end()) {
        const auto alike = [&](const Entry &e) { return e.name.compare(name, Qt::CaseInsensitive) == 0; };
        if (std::ranges::count_if(entries_, alike) == 1)
            found = std::ranges::find_if(entries_, alike);
    }
    if (found != entries_.end()) {
        if (!found->code)
            return {.code = std::nullopt,
                .why = QStringLiteral("\"%1\" sends no code").arg(found->name),
                .closeMatches = {}};
        return {.code = found->code, .why = {}, .closeMatches = {}};
    }
    if (const auto code = plainCode(name))
        return {.code = code, .why = {}, .closeMatches = {}};
    return {.code = std::nullopt,
        .why = QStringLiteral("no command is named \"%1\"").arg(name),
        .closeMatches = closeMatches(name)};
}

QList<QPair<QString, std::uint8_t>> CommandNames::sendable() const
{
    QList<QPair<QString, std::uint8_t>> names;
    for (const Entry &entry : entries_)
        if (entry.code)
            names.append({entry.name, *entry.code});
    return names;
}

QStringList CommandNames::closeMatches(const QString &name) const
{
    // Near in spelling, or holding the name whole ("Full Size Vector Mode"
    // is the end of a menu path).
    const int near = std::max<int>(2, int(name.size()) / 3);
    std::vector<std::pair<int, QString>> scored;
    for (const Entry &entry : entries_) {
        if (!entry.code)
            continue;
        const int edits = distance(name, entry.name);
        if (edits <= near)
            scored.emplace_back(edits, entry.name);
        else if (name.size() >= 3 && entry.name.contains(name, Qt::CaseInsensitive))
            scored.emplace_back(near + 1, entry.name);
    }
    std::ranges::stable_sort(scored, {}, &std::pair<int, QString>::first);
    QStringList matches;
    for (const auto &[edits, match] : scored | std::views::take(kMostMatches))
        matches << match;
    return matches;
}

} // namespace orvanta::jobs
