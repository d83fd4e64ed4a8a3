#pragma once

#include "logger/log_sink.h"

#include <QByteArray>
#include <QIODevice>

#include <functional>
#include <memory>

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::jobs {

struct JobOptions;

// A job's LogText, written out as it comes and not kept. Every write is
// checked and flushed at once, for a log someone follows; the first one that
// fails (a full disk, a closed pipe) is said through onFailure, and nothing
// more is written.
class LogOutput : public logger::LogSink
{
public:
    // Called once, at the first write that fails.
    void onFailure(std::function<void()> failed) { onFailure_ = std::move(failed); }
    bool failed() const { return failed_; }
    QString errorString() const { return device_.errorString(); }
    // The log has ended: a last line it leaves open (the stored log's end
    // line) is ended, as a text file's last line is.
    virtual void endLastLine() = 0;

    // The computer's time: ISO 8601 with milliseconds and the offset from UTC.
    static QString timestamp();

protected:
    explicit LogOutput(QIODevice &device)
        : device_(device)
    { }

    // The lines of LogText as the logger window shows them: a CR LF pair, a
    // lone CR or LF each end one line, also when a pair is split between two
    // pieces. take gets each stretch of a line's characters, with ends set
    // where the line ends.
    void splitLines(QStringView text, const std::function<void(QStringView part, bool ends)> &take);
    void put(const QByteArray &bytes);

private:
    QIODevice &device_;
    bool afterCr_ = false;
    bool failed_ = false;
    std::function<void()> onFailure_;
};

// Text lines, or JSON Lines with --json, naming the link's device in each.
std::unique_ptr<LogOutput> makeLogOutput(QIODevice &device, const JobOptions &options, const link::SerialLink &link);

} // namespace orvanta::jobs
