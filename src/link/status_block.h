#pragma once

#include "link/protocol.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace orvanta::link {

// The last answered status request, whole: bytes past 15 are carried and ignored.
class StatusBlock
{
public:
    StatusBlock() = default;
    explicit StatusBlock(QByteArray bytes)
        : bytes_(std::move(bytes))
    { }

    bool empty() const { return bytes_.isEmpty(); }
    int size() const { return int(bytes_.size()); }
    const QByteArray &bytes() const { return bytes_; }

    // Nothing when the reply holds no such byte: the reader's operation fails.
    std::optional<std::uint8_t> byte(int index) const;
    // The field's bits, masked, not shifted.
    std::optional<std::uint8_t> field(StatusField field) const;
    // Whether any bit of the field is set.
    std::optional<bool> isSet(StatusField field) const;
    std::optional<DisplayMode> displayMode() const
    {
        const auto mode = field(status::kDisplayMode);
        return mode ? std::optional(DisplayMode(*mode)) : std::nullopt;
    }

private:
    QByteArray bytes_;
};

} // namespace orvanta::link
