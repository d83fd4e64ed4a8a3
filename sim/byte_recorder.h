#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace orvanta::sim {

// Writes every byte received from the client to a file, one line per byte:
// "<CLOCK_MONOTONIC nanoseconds> <byte in decimal>". Each line is one write(2),
// unbuffered, so a test reading the file sees a byte as soon as it arrived.
// A pty hands over at once what a real line carries one byte-time after the
// other: the first byte of a read is stamped with the time it was read (or when
// the line is free again), each next one a byte-time later.
class ByteRecorder
{
public:
    // Creates or truncates the file; throws std::system_error when it cannot.
    explicit ByteRecorder(const std::string &path);
    ~ByteRecorder();

    ByteRecorder(const ByteRecorder &) = delete;
    ByteRecorder &operator=(const ByteRecorder &) = delete;

    // The bytes of one read, on a line at baud (0: all of them at the read's time).
    void record(std::span<const std::uint8_t> bytes, unsigned baud);

private:
    int fd_ = -1;
    std::string path_;
    bool failed_ = false;
    // When the line has carried the last byte recorded.
    std::chrono::nanoseconds lineFree_{};
};

} // namespace orvanta::sim
