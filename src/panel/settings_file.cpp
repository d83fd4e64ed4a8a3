#include "panel/settings_file.h"

#include "files/regular_file.h"

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
    QFile file(path_);
    const QByteArray bytes = encodeSettings(settings);
    if (!files::openRegularFile(file, QIODevice::ReadWrite, reason))
        return false;
    const bool ok = file.write(bytes) == bytes.size() && file.flush();
    if (!ok && reason)
        *reason = file.errorString();
    file.close();
    return ok;
}

} // namespace orvanta::panel
