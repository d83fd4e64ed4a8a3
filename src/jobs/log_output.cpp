#include "jobs/log_output.h"

#include "jobs/job_options.h"
#include "jobs/json_log_writer.h"
#include "jobs/log_line_writer.h"
#include "link/serial_link.h"

#include <QDateTime>
#include <QFileDevice>
#include <QJsonObject>

#include <cstdlib>

namespace orvanta::jobs {

QString LogOutput::timestamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    const int offset = now.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    // +00:00 at UTC too, not Z: every line has one shape.
    return now.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz"))
        + QStringLiteral("%1%2:%3")
              .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
              .arg(minutes / 60, 2, 10, QLatin1Char('0'))
              .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

void LogOutput::splitLines(QStringView text, const std::function<void(QStringView part, bool ends)> &take)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool pairEnd = c == u'\n' && afterCr_;
        afterCr_ = c == u'\r';
        if (c != u'\r' && c != u'\n')
            continue;
        if (!pairEnd)
            take(text.sliced(start, i - start), true);
        start = i + 1;
    }
    if (start < text.size())
        take(text.sliced(start), false);
}

void LogOutput::put(const QByteArray &bytes)
{
    if (failed_ || bytes.isEmpty())
        return;
    bool ok = device_.write(bytes) == bytes.size();
    if (auto *file = qobject_cast<QFileDevice *>(&device_))
        ok = file->flush() && ok;
    if (!ok) {
        failed_ = true;
        if (onFailure_)
            onFailure_();
    }
}

std::unique_ptr<LogOutput> makeLogOutput(QIODevice &device, const JobOptions &options, const link::SerialLink &link)
{
    if (!options.json)
        return std::make_unique<LogLineWriter>(device, options.timestamps);
    const QJsonObject instrument{
        {QStringLiteral("port"), link.portNumber()}, {QStringLiteral("device"), link.devicePath()}};
    return std::make_unique<JsonLogWriter>(device, instrument);
}

} // namespace orvanta::jobs
