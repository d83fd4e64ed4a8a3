#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvanta::sim {

// How long a late reply waits: past the input flush the client makes after the code.
inline constexpr std::chrono::milliseconds kLateReplyDelay{300};

// What the instrument sends for one received code.
struct Reply
{
    std::vector<std::uint8_t> bytes; // sent at once
    std::vector<std::uint8_t> late;  // sent kLateReplyDelay later
    // The number, from 1 within its transfer, of the picture block in bytes; 0 for none.
    // The picture faults count these.
    std::size_t pictureBlock = 0;

    void clear()
    {
        bytes.clear();
        late.clear();
        pictureBlock = 0;
    }
};

} // namespace orvanta::sim
