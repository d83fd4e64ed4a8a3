#include "panel/settings_file.h"

#include "files/regular_file.h"
#include "files/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace orvanta::panel {

namespace {

constexpr quint16 kTagNoValue = 0;
constexpr quint16 kTagInteger = 2;

// Reads one tagged value at pos; false when its length cannot be known.
bool decodeValue(QByteArrayView bytes, qsizetype &pos, SavedValue &value)
{
    value.reset();
    if (pos + 2 > bytes.size())
        return true; // beyond the end: no value
    const quint16 tag = qFromLittleEndian<quint16>(bytes.data() + pos);
    if (tag == kTagNoValue) {
        pos += 2;
        return true;
    }
    if (tag != kTagInteger)
        return false;
    if (pos + 4 > bytes.size()) {
        pos = bytes.size();
        return true;
    }
    value = qFromLittleEndian<qint16>(bytes.data() + pos + 2);
    pos += 4;
    return true;
}

void encodeValue(QByteArray &out, const SavedValue &value)
{
    char buffer[4];
    if (!value) {
        qToLittleEndian<quint16>(kTagNoValue, buffer);
        out.append(buffer, 2);
        return;
    }
    qToLittleEndian<quint16>(kTagInteger, buffer);
    qToLittleEndian<qint16>(*value, buffer + 2);
    out.append(buffer, 4);
}

} // namespace

SavedSettings decodeSettings(QByteArrayView bytes)
{
    SavedSettings settings;
    qsizetype pos = 0;
    if (decodeValue(bytes, pos, settings.baud))
        decodeValue(bytes, pos, settings.port);
    return settings;
}

QByteArray encodeSettings(const SavedSettings &settings)
{
    QByteArray out;
    encodeValue(out, settings.baud);
    encodeValue(out, settings.port);
    return out;
}

namespace {

std::optional<SavedSettings> decodeOpened(QFile &file)
{
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return decodeSettings(bytes);
}

} // namespace

std::optional<SavedSettings> SettingsFile::read() const
{
    QFile file(path_);
    // Read and write, as at exit; a file we may only read still gives its settings.
    if (!files::openRegularFile(file, QIODevice::ReadWrite) && !files::openRegularFile(file, QIODevice::ReadOnly))
        return std::nullopt;
    return decodeOpened(file);
}

std::optional<SavedSettings> SettingsFile::readWithoutCreating() const
{
    if (!QFileInfo::exists(path_))
        return SavedSettings{};
    QFile file(path_);
    if (!files::openRegularFile(file, QIODevice::ReadOnly))
        return std::nullopt;
    return decodeOpened(file);
}

bool SettingsFile::write(const SavedSettings &settings, QString *reason) const
{
    // The values over the file's first bytes; whatever the file holds beyond
    // them stays. Written whole, so a full disk leaves the old file as it was.
    QByteArray bytes;
    QFile old(path_);
    if (files::openRegularFile(old, QIODevice::ReadOnly))
        bytes = old.readAll();
    old.close();
    const QByteArray values = encodeSettings(settings);
    bytes.replace(0, std::min(values.size(), bytes.size()), values);
    const std::optional<files::FileError> error = files::writeWholeFile(path_, bytes);
    if (error && reason)
        *reason = error->reason;
    return !error;
}

} // namespace orvanta::panel
