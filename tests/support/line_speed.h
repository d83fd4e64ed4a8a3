#pragma once

#include <QString>

#include <asm/termbits.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace orvanta::test {

// The line speed a tty is set to, read through a descriptor of its own; -1
// when it can't be read.
inline int lineSpeed(const QString &path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    termios2 settings{};
    const bool read = ::ioctl(fd, TCGETS2, &settings) == 0; // fails on a descriptor of -1
    ::close(fd);
    return read ? int(settings.c_ospeed) : -1;
}

} // namespace orvanta::test
