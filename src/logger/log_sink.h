#pragma once

#include <QString>
#include <QStringView>

namespace orvanta::logger {

// Where the stored-log readout and real-time monitoring put LogText: the
// logger window's LogBook, or a job's output, which keeps none of it.
class LogSink
{
public:
    virtual ~LogSink() = default;

    // LogText becomes text: the heading, at the start of a readout or monitoring.
    virtual void start(const QString &text) = 0;
    // LogLine appended to LogText.
    virtual void append(QStringView line) = 0;
};

} // namespace orvanta::logger
