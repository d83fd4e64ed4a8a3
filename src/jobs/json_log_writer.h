#pragma once

#include "jobs/log_output.h"

#include <QJsonObject>
#include <QString>

namespace orvanta::jobs {

// LogText as JSON Lines: one object a line of the log, once the line is
// whole, with the line's fields (see logLineFields), "time", when the
// computer had it, and "instrument", the port and device it came from. The
// heading and ruler are for people and are left out.
class JsonLogWriter : public LogOutput
{
public:
    JsonLogWriter(QIODevice &device, QJsonObject instrument)
        : LogOutput(device)
        , instrument_(std::move(instrument))
    { }

    void start(const QString &) override { }
    void append(QStringView text) override;
    void endLastLine() override;

private:
    QByteArray objectLine();

    QJsonObject instrument_;
    QString line_;
};

} // namespace orvanta::jobs
