#include "jobs/json_log_writer.h"

#include "jobs/log_line_fields.h"

#include <QJsonDocument>

namespace orvanta::jobs {

void JsonLogWriter::append(QStringView text)
{
    QByteArray lines;
    splitLines(text, [&](QStringView part, bool ends) {
        line_ += part;
        if (ends)
            lines += objectLine();
    });
    put(lines);
}

void JsonLogWriter::endLastLine()
{
    put(objectLine());
}

QByteArray JsonLogWriter::objectLine()
{
    // A line with nothing on it says nothing.
    if (line_.isEmpty())
        return {};
    QJsonObject object = logLineFields(line_);
    line_.clear();
    object.insert(QStringLiteral("time"), timestamp());
    object.insert(QStringLiteral("instrument"), instrument_);
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace orvanta::jobs
