#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace orvanta::panel {

// A remembered whole number, or no value at all.
using SavedValue = std::optional<qint16>;

// SavedBaud and SavedPort, as "orva.set" keeps them.
struct SavedSettings
{
    SavedValue baud;
    SavedValue port;

    friend bool operator==(const SavedSettings &, const SavedSettings &) = default;
};

// The file holds two tagged values from offset 0, baud first: a 16-bit
// little-endian tag, 0 for no value (nothing follows) or 2 for a 16-bit
// little-endian whole number. A value beyond the end reads as no value; so
// does any other tag, and everything after it, since its length is unknown.
SavedSettings decodeSettings(QByteArrayView bytes);
QByteArray encodeSettings(const SavedSettings &settings);

class SettingsFile
{
public:
    static inline const QString kFileName = QStringLiteral("orva.set");

    explicit SettingsFile(QString path = kFileName)
        : path_(std::move(path))
    { }

    // Creates a missing file empty. Nothing when the file cannot be opened or read.
    std::optional<SavedSettings> read() const;
    // Writes from offset 0 and leaves any longer old content beyond it in place.
    // False with the reason when the file could not be written whole.
    bool write(const SavedSettings &settings, QString *reason = nullptr) const;

    const QString &path() const { return path_; }

private:
    QString path_;
};

} // namespace orvanta::panel
