#pragma once

#include "reply.h"
#include "status_block.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvanta::sim {

// One picture transfer: code 11 renders the screen and codes it, each code 10 takes the
// next 128-byte block of the stream, code 12 ends it.
class PictureTransfer
{
public:
    static constexpr std::size_t kBlockSize = 128;

    // live: each picture carries the number of its transfer (see layout::liveMarkerColumn).
    explicit PictureTransfer(bool live = false)
        : live_(live)
    { }

    // Starts afresh for the state given, ending any transfer under way. With the small
    // boxes shown there is no picture and the client asks for no block, yet it waits for
    // one block before it ends the transfer: that one comes as a late reply.
    void start(const StatusBlock &state, Reply &reply);

    // The next block; once the stream is used up, blocks of empty tokens (0x00), which
    // the client's read-ahead collects. Nothing outside a transfer.
    void nextBlock(Reply &reply);

    void end();

    bool active() const { return active_; }

private:
    std::vector<std::uint8_t> stream_;
    std::size_t sent_ = 0;
    std::size_t blocks_ = 0;
    bool active_ = false;
    bool live_ = false;
    unsigned long transfers_ = 0;
};

} // namespace orvanta::sim
