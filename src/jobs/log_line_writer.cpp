#include "jobs/log_line_writer.h"

namespace orvanta::jobs {

void LogLineWriter::endLastLine()
{
    if (!atLineStart_)
        write(u"\n");
}

void LogLineWriter::write(QStringView text)
{
    if (failed())
        return;
    QString lines;
    lines.reserve(text.size() + 32);
    const QString stamp = timestamps_ ? timestamp() + u' ' : QString();
    splitLines(text, [&](QStringView part, bool ends) {
        if (!part.isEmpty()) {
            if (atLineStart_)
                lines += stamp;
            atLineStart_ = false;
            lines += part;
        }
        if (ends) {
            lines += u'\n';
            atLineStart_ = true;
        }
    });
    put(lines.toUtf8());
}

} // namespace orvanta::jobs
