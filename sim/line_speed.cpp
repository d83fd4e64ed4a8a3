#include "line_speed.h"

// The kernel's own termios: the C library's speed_t knows only the standard rates.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace orvanta::sim {

std::optional<unsigned> lineSpeed(int fd)
{
    termios2 settings{};
    if (::ioctl(fd, TCGETS2, &settings) != 0 || settings.c_ospeed == 0)
        return std::nullopt;
    return settings.c_ospeed;
}

} // namespace orvanta::sim
