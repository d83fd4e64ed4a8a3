#include "run_length_encoder.h"

#include <algorithm>

namespace orvanta::sim {

namespace {

constexpr std::size_t kMaxCount = 127;
constexpr std::uint8_t kRepeat = 0x80;
// Shorter runs cost no less as a repeat token than inside a literal one.
constexpr std::size_t kMinRepeat = 3;

std::size_t runLength(std::span<const std::uint8_t> bytes, std::size_t at)
{
    const std::size_t limit = std::min(bytes.size(), at + kMaxCount);
    std::size_t end = at + 1;
    while (end < limit && bytes[end] == bytes[at])
        ++end;
    return end - at;
}

} // namespace

std::vector<std::uint8_t> encodeRunLength(std::span<const std::uint8_t> rows)
{
    std::vector<std::uint8_t> stream;
    std::size_t at = 0;
    while (at < rows.size()) {
        const std::size_t run = runLength(rows, at);
        if (run >= kMinRepeat) {
            stream.push_back(static_cast<std::uint8_t>(kRepeat + run));
            stream.push_back(rows[at]);
            at += run;
            continue;
        }
        // A literal token up to the next run worth a repeat token.
        std::size_t end = at + run;
        while (end < rows.size() && end - at < kMaxCount && runLength(rows, end) < kMinRepeat)
            ++end;
        end = std::min(end, at + kMaxCount);
        stream.push_back(static_cast<std::uint8_t>(end - at));
        stream.insert(stream.end(), rows.begin() + static_cast<std::ptrdiff_t>(at),
            rows.begin() + static_cast<std::ptrdiff_t>(end));
        at = end;
    }
    return stream;
}

} // namespace orvanta::sim
