#include "signal_pipe.h"

#include <cerrno>
#include <csignal>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace orvanta::sim {

namespace {

// A signal handler can reach nothing but globals.
int writeEnd = -1;
int readEnd = -1;

extern "C" void onSignal(int signal)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    // Non-blocking: a full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t ignored = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

void makeNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "fcntl");
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

} // namespace

SignalPipe::SignalPipe(std::initializer_list<int> signals)
{
    int ends[2];
    if (::pipe(ends) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe");
    readEnd = ends[0];
    writeEnd = ends[1];
    makeNonBlocking(readEnd);
    makeNonBlocking(writeEnd);

    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : signals) {
        if (::sigaction(signal, &action, nullptr) != 0)
            throw std::system_error(errno, std::generic_category(), "sigaction");
    }
}

SignalPipe::~SignalPipe()
{
    // A late signal then finds no pipe rather than a reused fd.
    const int oldWriteEnd = writeEnd;
    writeEnd = -1;
    ::close(oldWriteEnd);
    ::close(readEnd);
}

int SignalPipe::fd() const
{
    return readEnd;
}

bool SignalPipe::drain() const
{
    bool caught = false;
    char buffer[16];
    while (::read(readEnd, buffer, sizeof buffer) > 0)
        caught = true;
    return caught;
}

} // namespace orvanta::sim
