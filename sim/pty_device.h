#pragma once

#include <string>

namespace orvanta::sim {

// The pseudo-terminal the client opens as its serial port. We keep our own slave fd
// open for our whole life: a client closing and reopening the port then never makes
// the master side see a hang-up, and what the client set on the line stays set.
class PtyDevice
{
public:
    // Throws std::system_error when no pseudo-terminal can be had.
    PtyDevice();
    ~PtyDevice();

    PtyDevice(const PtyDevice &) = delete;
    PtyDevice &operator=(const PtyDevice &) = delete;

    // Non-blocking; bytes the client writes are read here, replies are written here.
    int master() const { return master_; }
    // Our own slave fd: the line settings the client made are read through it.
    int slave() const { return slave_; }
    const std::string &slavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

} // namespace orvanta::sim
