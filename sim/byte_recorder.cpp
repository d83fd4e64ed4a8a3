#include "byte_recorder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace orvanta::sim {

namespace {

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
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

void ByteRecorder::record(std::span<const std::uint8_t> bytes)
{
    const long long stamp = monotonicNanoseconds();
    for (const std::uint8_t byte : bytes) {
        char line[48];
        const int length = std::snprintf(line, sizeof line, "%lld %u\n", stamp, unsigned{byte});
        if (!writeAll(fd_, line, static_cast<std::size_t>(length)) && !failed_) {
            // Said once: a full disk must not flood the log nor stop the instrument.
            failed_ = true;
            std::fprintf(stderr, "orvanta-sim: cannot write %s: %s\n", path_.c_str(), std::strerror(errno));
        }
    }
}

} // namespace orvanta::sim
