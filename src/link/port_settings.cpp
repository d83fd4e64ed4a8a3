#include "link/port_settings.h"

#include <QStringList>

namespace orvanta::link {

std::optional<PortSettings> PortSettings::parse(const QString &text)
{
    const QStringList fields = text.split(u',');
    if (fields.size() != 4)
        return std::nullopt;
    PortSettings settings;
    bool baudOk = false, dataOk = false, stopOk = false;
    settings.baud = fields[0].trimmed().toInt(&baudOk);
    const QString parity = fields[1].trimmed().toUpper();
    settings.dataBits = fields[2].trimmed().toInt(&dataOk);
    settings.stopBits = fields[3].trimmed().toInt(&stopOk);
    if (!baudOk || !dataOk || !stopOk || settings.baud <= 0 || parity.size() != 1
        || !QStringLiteral("NEOMS").contains(parity) || settings.dataBits < 5 || settings.dataBits > 8
        || (settings.stopBits != 1 && settings.stopBits != 2))
        return std::nullopt;
    settings.parity = parity.at(0).toLatin1();
    return settings;
}

std::chrono::microseconds PortSettings::lineTime(int characters) const
{
    const qint64 bits = 1 + dataBits + (parity == 'N' ? 0 : 1) + stopBits;
    return std::chrono::microseconds(qint64(characters) * bits * 1'000'000 / baud);
}

} // namespace orvanta::link
