#include "jobs/standard_output.h"

#include <fcntl.h>
#include <unistd.h>

namespace orvanta::jobs {

namespace {

bool standardOutputWasOpen = true;

} // namespace

bool occupyClosedStandardStreams()
{
    for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(stream, F_GETFD) != -1)
            continue;
        // open() takes the lowest free descriptor: the one that is closed.
        const int held = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (held >= 0 && held != stream) {
            ::dup2(held, stream);
            ::close(held);
        }
        if (stream == STDOUT_FILENO)
            standardOutputWasOpen = false;
    }
    return standardOutputWasOpen;
}

StandardOutput::StandardOutput()
{
    if (!standardOutputWasOpen)
        reason_ = QStringLiteral("standard output is closed");
    else if (!file_.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        reason_ = file_.errorString();
}

bool StandardOutput::write(const QByteArray &bytes)
{
    if (failed())
        return false;
    if (file_.write(bytes) != bytes.size())
        fail(file_.errorString());
    return !failed();
}

void StandardOutput::fail(const QString &reason)
{
    if (!failed())
        reason_ = reason.isEmpty() ? QStringLiteral("write failed") : reason;
}

} // namespace orvanta::jobs
