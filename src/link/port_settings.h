#pragma once

#include <QString>

#include <optional>

namespace orvanta::link {

// A settings string such as "28800,N,8,1": baud rate, parity, data bits, stop bits.
struct PortSettings
{
    int baud = 9600;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;

    static std::optional<PortSettings> parse(const QString &text);
};

} // namespace orvanta::link
