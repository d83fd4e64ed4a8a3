#include "jobs/log_line_writer.h"

#include <QDateTime>
#include <QFileDevice>

namespace orvanta::jobs {

QString LogLineWriter::timestamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate);
}

void LogLineWriter::write(QStringView text)
{
    if (failed_)
        return;
    QString lines;
    lines.reserve(text.size() + 32);
    const QString stamp = timestamps_ ? timestamp() + u' ' : QString();
    for (const QChar c : text) {
        const bool pairEnd = c == u'\n' && afterCr_;
        afterCr_ = c == u'\r';
        if (pairEnd)
            continue;
        if (c == u'\r' || c == u'\n') {
            lines += u'\n';
            atLineStart_ = true;
            continue;
        }
        if (atLineStart_)
            lines += stamp;
        atLineStart_ = false;
        lines += c;
    }
    const QByteArray bytes = lines.toUtf8();
    bool ok = device_.write(bytes) == bytes.size();
    // Each line is out as it comes, for a log file someone follows.
    if (auto *file = qobject_cast<QFileDevice *>(&device_))
        ok = file->flush() && ok;
    if (!ok) {
        failed_ = true;
        if (onFailure_)
            onFailure_();
    }
}

} // namespace orvanta::jobs
