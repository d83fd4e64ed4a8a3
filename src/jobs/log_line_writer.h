#pragma once

#include "logger/log_sink.h"

#include <QIODevice>

#include <functional>

namespace orvanta::jobs {

// A job's LogText: written out as it comes, in lines as the logger window
// shows them (a CR LF pair, a lone CR or LF each end one line, also when a
// pair is split between two pieces), and not kept. With timestamps, each line
// starts with the computer's time as its first character arrives.
class LogLineWriter : public logger::LogSink
{
public:
    LogLineWriter(QIODevice &device, bool timestamps)
        : device_(device)
        , timestamps_(timestamps)
    { }

    void start(const QString &text) override { write(text); }
    void append(QStringView line) override { write(line); }
    // A last line the log leaves open (the stored log's end line) is ended,
    // as a text file's last line is.
    void endLastLine()
    {
        if (!atLineStart_)
            write(u"\n");
    }

    // Called once, at the first write that fails (a full disk, a closed pipe).
    void onFailure(std::function<void()> failed) { onFailure_ = std::move(failed); }
    bool failed() const { return failed_; }
    QString errorString() const { return device_.errorString(); }

    // The time in front of a line: ISO 8601 with the offset from UTC.
    static QString timestamp();

private:
    void write(QStringView text);

    QIODevice &device_;
    bool timestamps_;
    bool atLineStart_ = true;
    bool afterCr_ = false;
    bool failed_ = false;
    std::function<void()> onFailure_;
};

} // namespace orvanta::jobs
