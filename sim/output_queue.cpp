#include "output_queue.h"

#include "line_speed.h"

#include <algorithm>
#include <cerrno>

#include <unistd.h>

namespace orvanta::sim {

OutputQueue::OutputQueue(unsigned baud)
    : byteTime_(byteTime(baud))
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

bool OutputQueue::writeDue(int fd, Clock::time_point now)
{
    if (!due(now))
        return true;
    // Paced, each byte is a write of its own at its own time; a late wake-up keeps
    // the schedule, so the bytes it owes follow one write after another.
    const std::size_t count = byteTime_ == std::chrono::nanoseconds::zero() ? size() : 1;
    const ssize_t written = ::write(fd, bytes_.data() + head_, count);
    if (written < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    drop(static_cast<std::size_t>(written));
    nextDue_ += byteTime_ * written;
    return true;
}

void OutputQueue::clear()
{
    bytes_.clear();
    head_ = 0;
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
