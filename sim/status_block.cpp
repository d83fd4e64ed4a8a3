#include "status_block.h"

namespace orvanta::sim {

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<StatusBlock> parseStatusHex(std::string_view text)
{
    if (text.size() != 2 * kStatusLength)
        return std::nullopt;
    StatusBlock block{};
    for (std::size_t i = 0; i < kStatusLength; ++i) {
        const int high = hexDigit(text[2 * i]);
        const int low = hexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        block[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return block;
}

} // namespace orvanta::sim
