#include "link/status_block.h"

namespace orvanta::link {

std::optional<std::uint8_t> StatusBlock::byte(int index) const
{
    if (index < 0 || index >= bytes_.size())
        return std::nullopt;
    return static_cast<std::uint8_t>(bytes_[index]);
}

std::optional<std::uint8_t> StatusBlock::field(StatusField field) const
{
    const auto value = byte(field.byte);
    if (!value)
        return std::nullopt;
    return static_cast<std::uint8_t>(*value & field.mask);
}

std::optional<bool> StatusBlock::isSet(StatusField field) const
{
    const auto value = this->field(field);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

} // namespace orvanta::link
