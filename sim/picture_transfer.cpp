#include "picture_transfer.h"

#include "picture_renderer.h"
#include "run_length_encoder.h"
#include "screen_layout.h"

#include <algorithm>

namespace orvanta::sim {

namespace {

// An empty literal token: draws nothing, wherever the client reads it.
constexpr std::uint8_t kEmptyToken = 0x00;

} // namespace

void PictureTransfer::start(const StatusBlock &state, Reply &reply)
{
    Screen screen = renderScreen(state);
    if (live_) {
        const int left = layout::liveMarkerColumn(transfers_);
        for (int row = layout::kLiveMarkerTop; row < layout::kLiveMarkerTop + layout::kLiveMarkerHeight; ++row)
            screen.line(left, row, left + layout::kLiveMarkerWidth - 1, row, 3);
    }
    ++transfers_;
    stream_ = encodeRunLength(screen.bytes());
    sent_ = 0;
    blocks_ = 0;
    active_ = true;
    if (screen.rows() == 0)
        reply.late.assign(kBlockSize, kEmptyToken);
}

void PictureTransfer::nextBlock(Reply &reply)
{
    if (!active_)
        return;
    const std::size_t count = std::min(kBlockSize, stream_.size() - sent_);
    const auto first = stream_.begin() + static_cast<std::ptrdiff_t>(sent_);
    reply.bytes.insert(reply.bytes.end(), first, first + static_cast<std::ptrdiff_t>(count));
    reply.bytes.insert(reply.bytes.end(), kBlockSize - count, kEmptyToken);
    sent_ += count;
    reply.pictureBlock = ++blocks_;
}

void PictureTransfer::end()
{
    active_ = false;
    stream_.clear();
    sent_ = 0;
    blocks_ = 0;
}

} // namespace orvanta::sim
