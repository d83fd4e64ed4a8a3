#include "simulator.h"

#include "line_speed.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace orvanta::sim {

namespace {

constexpr std::chrono::milliseconds kErrorPause{20};
constexpr std::size_t kReadChunk = 1024;

bool tryAgain(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

// A picture block past a fault's limit; block 0 is no block at all.
bool beyond(std::size_t block, const std::optional<std::size_t> &limit)
{
    return block != 0 && limit && block > *limit;
}

} // namespace

Simulator::Simulator(const Options &options)
    : options_(options)
    , signals_({SIGTERM, SIGINT, SIGHUP})
    , device_(std::make_unique<PtyDevice>())
    , instrument_(options.status, options.statusLength, options.live, options.log)
    , output_(options.paceBaud)
{
    if (!options_.recordPath.empty())
        recorder_.emplace(options_.recordPath);
    if (!options_.linkPath.empty())
        link_.emplace(options_.linkPath, device_->slavePath());
    if (options_.chaosSeed)
        chaos_.emplace(*options_.chaosSeed, link_.has_value());
    // A byte-time is 260 us at 38 400 baud: the kernel's usual 50 us of timer
    // slack would blur the pace.
    if (options_.paceBaud != 0)
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

int Simulator::run()
{
    for (;;) {
        const Clock::time_point now = Clock::now();
        sendLateReplies(now);
        sendErrors(now);
        const bool paused = now < pausedUntil_;
        pollfd fds[2] = {
            {.fd = signals_.fd(), .events = POLLIN, .revents = 0},
            // A negative fd is skipped: a paused master cannot wake us with POLLHUP.
            {.fd = paused ? -1 : device_->master(), .events = POLLIN, .revents = 0},
        };
        if (output_.due(now))
            fds[1].events |= POLLOUT;

        timespec timeout{};
        const std::optional<std::chrono::nanoseconds> wait = pollWait(now);
        if (wait) {
            timeout.tv_sec = static_cast<time_t>(wait->count() / 1'000'000'000);
            timeout.tv_nsec = static_cast<long>(wait->count() % 1'000'000'000);
        }
        if (::ppoll(fds, 2, wait ? &timeout : nullptr, nullptr) < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "orvanta-sim: ppoll: %s\n", std::strerror(errno));
            return 1;
        }
        if ((fds[0].revents & POLLIN) != 0 && signals_.drain())
            return 0;

        const Clock::time_point woke = Clock::now();
        if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
            readInput(woke);
        if (hangUp_) {
            // Leaving closes the master: the client's end of the line hangs up.
            std::fprintf(stderr, "orvanta-sim: hanging up after %zu picture blocks\n", *options_.hangupAfter);
            return 0;
        }
        if ((fds[1].revents & POLLOUT) != 0)
            writeOutput(woke);
    }
}

std::optional<std::chrono::nanoseconds> Simulator::pollWait(Clock::time_point now) const
{
    std::optional<Clock::time_point> wake = instrument_.nextError();
    if (now < pausedUntil_)
        wake = wake ? std::min(*wake, pausedUntil_) : pausedUntil_;
    if (!output_.empty() && !output_.due(now))
        wake = wake ? std::min(*wake, output_.nextDue()) : output_.nextDue();
    if (!late_.empty())
        wake = wake ? std::min(*wake, late_.front().due) : late_.front().due;
    if (!wake)
        return std::nullopt;
    // To the nanosecond: a paced byte leaves at its own time, not at the next millisecond.
    return std::max(
        std::chrono::duration_cast<std::chrono::nanoseconds>(*wake - now), std::chrono::nanoseconds::zero());
}

void Simulator::readInput(Clock::time_point now)
{
    std::uint8_t buffer[kReadChunk];
    const ssize_t count = ::read(device_->master(), buffer, sizeof buffer);
    if (count > 0)
        receive({buffer, static_cast<std::size_t>(count)}, now);
    else if (count < 0 && !tryAgain(errno))
        pauseAfterError("read", now);
}

void Simulator::receive(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    // At the rate the client set on its end of the line, as a real line carries them.
    if (recorder_)
        recorder_->record(bytes, lineSpeed(device_->slave()).value_or(options_.paceBaud));
    Reply reply;
    for (const std::uint8_t code : bytes) {
        reply.clear();
        instrument_.receive(code, reply, now);
        if (options_.silent)
            continue;
        // Faults that bend the reply (garbage bytes, stalls) belong here.
        if (beyond(reply.pictureBlock, options_.hangupAfter)) {
            hangUp_ = true;
            return;
        }
        if (beyond(reply.pictureBlock, options_.stallAfter))
            continue;
        // The rest of what was read went to the client that hung up.
        if (chaos_ && !follow(chaos_->bendReply(reply, now), now))
            return;
        queue(reply, now);
    }
}

void Simulator::queue(const Reply &reply, Clock::time_point now)
{
    output_.push(reply.bytes, now);
    if (!reply.late.empty())
        late_.push_back({now + kLateReplyDelay, reply.late});
}

void Simulator::sendLateReplies(Clock::time_point now)
{
    // One fixed delay keeps the list in order of falling due.
    auto due = late_.begin();
    for (; due != late_.end() && due->due <= now; ++due)
        output_.push(due->bytes, now);
    late_.erase(late_.begin(), due);
}

void Simulator::sendErrors(Clock::time_point now)
{
    std::vector<std::uint8_t> lines;
    instrument_.happen(now, lines);
    if (options_.silent || lines.empty())
        return;
    if (chaos_ && !follow(chaos_->bendErrors(lines, now), now))
        return;
    output_.push(lines, now);
}

bool Simulator::follow(const Chaos::Turn &turn, Clock::time_point now)
{
    if (turn.hangUp) {
        // The link leads to a fresh device before the old one closes and hangs its
        // client up, so the next client always finds one to open.
        auto fresh = std::make_unique<PtyDevice>();
        link_->retarget(fresh->slavePath());
        device_ = std::move(fresh);
        output_.clear();
        late_.clear();
        pausedUntil_ = {};
        std::fprintf(stderr, "orvanta-sim: hung up; %s now leads to %s\n", options_.linkPath.c_str(),
            device_->slavePath().c_str());
        return false;
    }
    if (turn.pause > std::chrono::milliseconds::zero())
        output_.holdUntil(now + turn.pause);
    return true;
}

void Simulator::writeOutput(Clock::time_point now)
{
    if (!output_.writeDue(device_->master(), now))
        pauseAfterError("write", now);
}

void Simulator::pauseAfterError(const char *what, Clock::time_point now)
{
    // Our own slave fd keeps the device alive, so the error should pass; keep serving.
    if (!errorReported_) {
        errorReported_ = true;
        std::fprintf(stderr, "orvanta-sim: %s on %s: %s\n", what, device_->slavePath().c_str(), std::strerror(errno));
    }
    pausedUntil_ = now + kErrorPause;
}

} // namespace orvanta::sim
