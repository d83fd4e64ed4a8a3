#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvanta::sim {

// Bytes waiting to go to the client. With a pace set they leave one write at a time,
// byte k of a burst k byte-times after the burst began, as a line at that baud rate
// delivers them to a UART without a receive FIFO; the main loop sleeps until
// nextDue() instead of spinning. Without a pace they leave as fast as the device
// takes them.
class OutputQueue
{
public:
    using Clock = std::chrono::steady_clock;

    // baud 0: bytes leave as fast as the device takes them.
    explicit OutputQueue(unsigned baud = 0);

    void push(std::span<const std::uint8_t> bytes, Clock::time_point now);
    // Nothing leaves before until, what waits now and what comes meanwhile alike.
    void holdUntil(Clock::time_point until) { nextDue_ = std::max(nextDue_, until); }
    // Drops what waits, for a client that is gone.
    void clear();

    bool empty() const { return head_ == bytes_.size(); }
    std::size_t size() const { return bytes_.size() - head_; }

    // When the next byte may leave; meaningful only while the queue is not empty.
    Clock::time_point nextDue() const { return nextDue_; }
    bool due(Clock::time_point now) const { return !empty() && now >= nextDue_; }

    // Writes what is due by now to the non-blocking fd: paced, the one next byte;
    // otherwise all. Returns false on an error other than "try again later".
    bool writeDue(int fd, Clock::time_point now);

private:
    void drop(std::size_t count);

    std::chrono::nanoseconds byteTime_;
    std::vector<std::uint8_t> bytes_;
    std::size_t head_ = 0;
    Clock::time_point nextDue_{};
};

} // namespace orvanta::sim
