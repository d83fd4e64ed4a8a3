#include "output_queue.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace orvanta::sim {

namespace {

// A start bit, eight data bits and a stop bit.
constexpr std::int64_t kBitsPerByte = 10;

} // namespace

OutputQueue::OutputQueue(unsigned baud)
    : byteTime_(
        baud == 0 ? std::chrono::nanoseconds::zero() : std::chrono::nanoseconds(kBitsPerByte * 1'000'000'000 / baud))
{ }

void OutputQueue::push(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    if (bytes.empty())
        return;
    // An idle line may start sending at once; a busy one keeps its schedule.
    if (empty())
        nextDue_ = std::max(nextDue_, now);
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

std::size_t OutputQueue::dueCount(Clock::time_point now) const
{
    if (!due(now))
        return 0;
    if (byteTime_ == std::chrono::nanoseconds::zero())
        return size();
    // A late wake-up sends what the line would have carried meanwhile, never more.
    const auto late = static_cast<std::size_t>((now - nextDue_) / byteTime_);
    return std::min(size(), late + 1);
}

bool OutputQueue::writeDue(int fd, Clock::time_point now)
{
    const std::size_t count = dueCount(now);
    if (count == 0)
        return true;
    const ssize_t written = ::write(fd, bytes_.data() + head_, count);
    if (written < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    drop(static_cast<std::size_t>(written));
    nextDue_ += byteTime_ * written;
    return true;
}

void OutputQueue::drop(std::size_t count)
{
    head_ += count;
    if (empty()) {
        bytes_.clear();
        head_ = 0;
    } else if (head_ > bytes_.size() / 2) {
        bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_));
        head_ = 0;
    }
}

} // namespace orvanta::sim
