#include "simulator.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#include <poll.h>
#include <unistd.h>

namespace orvanta::sim {

namespace {

constexpr std::chrono::milliseconds kErrorPause{20};
constexpr std::size_t kReadChunk = 1024;

bool tryAgain(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

} // namespace

Simulator::Simulator(const Options &options)
    : options_(options)
    , signals_({SIGTERM, SIGINT, SIGHUP})
    , instrument_(options.status, options.statusLength)
    , output_(options.paceBaud)
{
    if (!options_.recordPath.empty())
        recorder_.emplace(options_.recordPath);
    if (!options_.linkPath.empty())
        link_.emplace(options_.linkPath, device_.slavePath());
}

int Simulator::run()
{
    for (;;) {
        const Clock::time_point now = Clock::now();
        const bool paused = now < pausedUntil_;
        pollfd fds[2] = {
            {.fd = signals_.fd(), .events = POLLIN, .revents = 0},
            // A negative fd is skipped: a paused master cannot wake us with POLLHUP.
            {.fd = paused ? -1 : device_.master(), .events = POLLIN, .revents = 0},
        };
        if (output_.due(now))
            fds[1].events |= POLLOUT;

        if (::poll(fds, 2, pollTimeout(now)) < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "orvanta-sim: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if ((fds[0].revents & POLLIN) != 0 && signals_.drain())
            return 0;

        const Clock::time_point woke = Clock::now();
        if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0)
            readInput(woke);
        if ((fds[1].revents & POLLOUT) != 0)
            writeOutput(woke);
    }
}

int Simulator::pollTimeout(Clock::time_point now) const
{
    // Later timed work (stalls, real-time error lines) adds its deadline here.
    std::optional<Clock::time_point> wake;
    if (now < pausedUntil_)
        wake = pausedUntil_;
    if (!output_.empty() && !output_.due(now))
        wake = wake ? std::min(*wake, output_.nextDue()) : output_.nextDue();
    if (!wake)
        return -1;
    // Rounded up: waking early would only mean a second pass.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*wake - now);
    return static_cast<int>(std::max<std::int64_t>(wait.count(), 0));
}

void Simulator::readInput(Clock::time_point now)
{
    std::uint8_t buffer[kReadChunk];
    const ssize_t count = ::read(device_.master(), buffer, sizeof buffer);
    if (count > 0)
        receive({buffer, static_cast<std::size_t>(count)}, now);
    else if (count < 0 && !tryAgain(errno))
        pauseAfterError("read", now);
}

void Simulator::receive(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    if (recorder_)
        recorder_->record(bytes);
    std::vector<std::uint8_t> reply;
    for (const std::uint8_t code : bytes) {
        reply.clear();
        instrument_.receive(code, reply);
        // Faults that bend the reply (garbage bytes, stalls) belong here.
        if (!options_.silent)
            output_.push(reply, now);
    }
}

void Simulator::writeOutput(Clock::time_point now)
{
    if (!output_.writeDue(device_.master(), now))
        pauseAfterError("write", now);
}

void Simulator::pauseAfterError(const char *what, Clock::time_point now)
{
    // Our own slave fd keeps the device alive, so the error should pass; keep serving.
    if (!errorReported_) {
        errorReported_ = true;
        std::fprintf(stderr, "orvanta-sim: %s on %s: %s\n", what, device_.slavePath().c_str(),
                     std::strerror(errno));
    }
    pausedUntil_ = now + kErrorPause;
}

} // namespace orvanta::sim
