#include "byte_recorder.h"

#include "line_speed.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace orvanta::sim {

namespace {

std::chrono::nanoseconds monotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

ByteRecorder::ByteRecorder(const std::string &path)
    : path_(path)
{
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw std::system_error(errno, std::generic_category(), "cannot create record file " + path);
}

ByteRecorder::~ByteRecorder()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void ByteRecorder::record(std::span<const std::uint8_t> bytes, unsigned baud)
{
    const std::chrono::nanoseconds perByte = byteTime(baud);
    std::chrono::nanoseconds stamp = std::max(monotonicNow(), lineFree_);
    for (const std::uint8_t byte : bytes) {
        char line[48];
        const int length
            = std::snprintf(line, sizeof line, "%lld %u\n", static_cast<long long>(stamp.count()), unsigned{byte});
        stamp += perByte;
        if (!writeAll(fd_, line, static_cast<std::size_t>(length)) && !failed_) {
            // Said once: a full disk must not flood the log nor stop the instrument.
            failed_ = true;
            std::fprintf(stderr, "orvanta-sim: cannot write %s: %s\n", path_.c_str(), std::strerror(errno));
        }
    }
    lineFree_ = stamp;
}

} // namespace orvanta::sim
