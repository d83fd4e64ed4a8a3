#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace orvanta::sim {

// Writes every byte received from the client to a file, one line per byte:
// "<CLOCK_MONOTONIC nanoseconds> <byte in decimal>". Each line is one write(2),
// unbuffered, so a test reading the file sees a byte as soon as it arrived.
class ByteRecorder
{
public:
    // Creates or truncates the file; throws std::system_error when it cannot.
    explicit ByteRecorder(const std::string &path);
    ~ByteRecorder();

    ByteRecorder(const ByteRecorder &) = delete;
    ByteRecorder &operator=(const ByteRecorder &) = delete;

    // All bytes of one read share its time stamp: they arrived together.
    void record(std::span<const std::uint8_t> bytes);

private:
    int fd_ = -1;
    std::string path_;
    bool failed_ = false;
};

} // namespace orvanta::sim
