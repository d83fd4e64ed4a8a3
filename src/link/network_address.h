#pragma once

#include <QString>

#include <optional>

namespace orvanta::link {

// A device name that leads to a serial-device server instead of a local
// port: "tcp://host:port" gives the line's bytes as they are,
// "rfc2217://host:port" speaks Telnet and sets the far port's line too.
struct NetworkAddress
{
    enum class Kind { Raw, ComPortControl };

    Kind kind = Kind::Raw;
    QString host;
    quint16 port = 0;

    // Nothing for a local device's path, or for a name with no host or port.
    static std::optional<NetworkAddress> parse(const QString &device);
    // Whether the name is meant as a network device, right or wrong.
    static bool looksLikeOne(const QString &device);

    // "host:port", as said when something fails.
    QString endpoint() const;
};

} // namespace orvanta::link
