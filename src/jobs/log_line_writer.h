#pragma once

#include "jobs/log_output.h"

namespace orvanta::jobs {

// LogText in lines as the logger window shows them. With timestamps, each
// line starts with the computer's time as its first character arrives.
class LogLineWriter : public LogOutput
{
public:
    LogLineWriter(QIODevice &device, bool timestamps)
        : LogOutput(device)
        , timestamps_(timestamps)
    { }

    void start(const QString &text) override { write(text); }
    void append(QStringView line) override { write(line); }
    void endLastLine() override;

private:
    void write(QStringView text);

    bool timestamps_;
    bool atLineStart_ = true;
};

} // namespace orvanta::jobs
