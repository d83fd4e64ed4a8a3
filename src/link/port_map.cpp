#include "link/port_map.h"

namespace orvanta::link {

std::optional<PortMap::Assignment> PortMap::parseAssignment(const QString &text)
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0)
        return std::nullopt;
    bool ok = false;
    const int port = text.left(equals).trimmed().toInt(&ok);
    const QString path = text.mid(equals + 1);
    if (!ok || !valid(port) || path.isEmpty())
        return std::nullopt;
    return Assignment{port, path};
}

bool PortMap::looksLikeAssignment(const QString &text)
{
    bool number = false;
    const qsizetype equals = text.indexOf(u'=');
    return equals > 0 && (text.left(equals).trimmed().toInt(&number), number);
}

QString PortMap::platformDefault(int port)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(port);
#else
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
#endif
}

void PortMap::setDevice(int port, const QString &path)
{
    if (valid(port))
        commandLine_[port] = path;
}

void PortMap::readEnvironment(const QProcessEnvironment &environment)
{
    for (int port = kFirstPort; port <= kLastPort; ++port)
        environment_[port] = environment.value(QStringLiteral("ORVANTA_PORT%1").arg(port));
}

QString PortMap::devicePath(int port) const
{
    if (!valid(port))
        return {};
    if (!commandLine_[port].isEmpty())
        return commandLine_[port];
    if (!environment_[port].isEmpty())
        return environment_[port];
    if (!simulator_.isEmpty())
        return simulator_;
    return platformDefault(port);
}

} // namespace orvanta::link
