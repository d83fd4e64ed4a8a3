#pragma once

#include "byte_recorder.h"
#include "chaos.h"
#include "device_link.h"
#include "instrument.h"
#include "options.h"
#include "output_queue.h"
#include "pty_device.h"
#include "signal_pipe.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvanta::sim {

// The main loop: one thread, one ppoll() over the pty master and the signal pipe.
// Input is always read, recorded and handed to the instrument; replies wait in the
// output queue and leave when the master can take them and their time has come.
// Nothing here ever blocks, so a client that stops reading cannot stall us.
class Simulator
{
public:
    using Clock = OutputQueue::Clock;

    // Sets up the device, the link and the record file; throws std::system_error.
    explicit Simulator(const Options &options);

    const std::string &devicePath() const { return device_->slavePath(); }

    // Serves until SIGTERM or SIGINT; returns the exit code.
    int run();

private:
    // How long the loop may sleep; none: until an fd or a signal wakes it.
    std::optional<std::chrono::nanoseconds> pollWait(Clock::time_point now) const;
    void readInput(Clock::time_point now);
    void receive(std::span<const std::uint8_t> bytes, Clock::time_point now);
    void writeOutput(Clock::time_point now);
    void queue(const Reply &reply, Clock::time_point now);
    void sendLateReplies(Clock::time_point now);
    void sendErrors(Clock::time_point now);
    void pauseAfterError(const char *what, Clock::time_point now);
    // What --chaos makes of bytes about to go; false when the line hung up instead.
    bool follow(const Chaos::Turn &turn, Clock::time_point now);

    Options options_;
    SignalPipe signals_;
    std::unique_ptr<PtyDevice> device_; // replaced when --chaos hangs the line up
    std::optional<DeviceLink> link_;
    std::optional<ByteRecorder> recorder_;
    std::optional<Chaos> chaos_;
    Instrument instrument_;
    OutputQueue output_;
    struct LateReply
    {
        Clock::time_point due;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<LateReply> late_; // in the order they fall due
    // Set by --hangup-after: the loop ends, and leaving closes the device.
    bool hangUp_ = false;
    // After a device error the master is left alone until then, instead of spinning.
    Clock::time_point pausedUntil_{};
    bool errorReported_ = false;
};

} // namespace orvanta::sim
