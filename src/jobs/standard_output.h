#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace orvanta::jobs {

// A job's standard output, every write checked: a full disk, a closed pipe
// or a standard output that was never open fails the job, with the reason,
// instead of passing for success. Unbuffered, so each line is out when written.
class StandardOutput
{
public:
    StandardOutput();
    StandardOutput(const StandardOutput &) = delete;
    StandardOutput &operator=(const StandardOutput &) = delete;

    QIODevice &device() { return file_; }
    // False once anything failed, this write or an earlier one.
    bool write(const QByteArray &bytes);
    bool failed() const { return !reason_.isEmpty(); }
    // Why the first write that failed did.
    const QString &reason() const { return reason_; }
    // Notes a failure that a writer on device() found.
    void fail(const QString &reason);

private:
    QFile file_;
    QString reason_;
};

// A standard output or error that the process was started without would be
// taken by the next file the program opens, a serial device even: taken now
// by /dev/null. Call before anything opens a file. True when standard output
// was open.
bool occupyClosedStandardStreams();

} // namespace orvanta::jobs
