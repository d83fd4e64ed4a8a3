#pragma once

#include <QString>

#include <chrono>
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

    // The time the line needs to carry this many characters: a start bit,
    // the data bits, the parity bit if any and the stop bits each.
    std::chrono::microseconds lineTime(int characters) const;
};

} // namespace orvanta::link
