#include "pty_device.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace orvanta::sim {

namespace {

[[noreturn]] void fail(const char *what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

PtyDevice::PtyDevice()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        fail("posix_openpt");
    try {
        if (::grantpt(master_) != 0)
            fail("grantpt");
        if (::unlockpt(master_) != 0)
            fail("unlockpt");
        const char *name = ::ptsname(master_);
        if (name == nullptr)
            fail("ptsname");
        slavePath_ = name;

        slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave_ < 0)
            fail("open pty slave");
        // Raw before anyone can write: a cooked line discipline would echo the
        // client's bytes back as replies and swallow carriage returns.
        termios raw{};
        if (::tcgetattr(slave_, &raw) != 0)
            fail("tcgetattr");
        ::cfmakeraw(&raw);
        if (::tcsetattr(slave_, TCSANOW, &raw) != 0)
            fail("tcsetattr");

        const int flags = ::fcntl(master_, F_GETFL);
        if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
            fail("fcntl O_NONBLOCK");
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    } catch (...) {
        if (slave_ >= 0)
            ::close(slave_);
        ::close(master_);
        throw;
    }
}

PtyDevice::~PtyDevice()
{
    ::close(slave_);
    ::close(master_);
}

} // namespace orvanta::sim
