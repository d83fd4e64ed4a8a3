#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace orvanta::jobs {

// The names send knows, each with the code the panel writes for it: the
// buttons' captions, the menu items' paths ("Presets/Full Size Vector Mode"),
// the controls' own names, all taken from the panel's tables, and plain codes.
class CommandNames
{
public:
    struct Resolved
    {
        std::optional<std::uint8_t> code;
        QString why;              // when there is no code
        QStringList closeMatches; // for a name not known
    };

    CommandNames();

    // An exact name first; then one that differs only in case, when only one
    // does; then a code, 0 to 255, decimal or 0x hex.
    Resolved resolve(const QString &name) const;
    // Every name that sends a code, with its code, in the order the tables give them.
    QList<QPair<QString, std::uint8_t>> sendable() const;

private:
    struct Entry
    {
        QString name;
        std::optional<std::uint8_t> code; // nothing: a menu item that sends no code
    };

    void add(const QString &name, std::optional<std::uint8_t> code);
    QStringList closeMatches(const QString &name) const;

    QList<Entry> entries_;
};

} // namespace orvanta::jobs
