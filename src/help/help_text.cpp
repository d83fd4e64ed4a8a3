#include "help/help_text.h"

#include "files/regular_file.h"
#include <QFile>

#include <algorithm>

namespace orvanta::help {

QString helpTextFromBytes(QByteArrayView bytes)
{
    const char *const begin = bytes.begin();
    const char *const end = bytes.end();
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };

    QString text;
    // A file with CR LF ends needs no more room than its own size (+ a last CR LF).
    text.reserve(bytes.size() + 2);
    for (const char *line = begin; line != end;) {
        const char *lineEnd = std::find_if(line, end, isLineEnd);
        text += QLatin1StringView(line, lineEnd - line);
        text += u"\r\n";
        if (lineEnd != end)
            lineEnd += (*lineEnd == '\r' && lineEnd + 1 != end && lineEnd[1] == '\n') ? 2 : 1;
        line = lineEnd;
    }
    return text;
}

QString textForView(const QString &helpText)
{
    const QStringView lineEnd = u"\r\n";
    bool anyLongLine = false;
    for (QStringView line : QStringView(helpText).tokenize(lineEnd))
        anyLongLine = anyLongLine || line.size() > kLongestShownLine;
    if (!anyLongLine)
        return helpText;

    QString shown;
    shown.reserve(helpText.size() + helpText.size() / kLongestShownLine * 2);
    for (QStringView line : QStringView(helpText).split(lineEnd)) {
        while (line.size() > kLongestShownLine) {
            const qsizetype blank = line.first(kLongestShownLine).lastIndexOf(u' ');
            const qsizetype cut = blank > 0 ? blank + 1 : kLongestShownLine;
            shown += line.first(cut);
            shown += lineEnd;
            line = line.sliced(cut);
        }
        shown += line;
        shown += lineEnd;
    }
    // split() gives one more, empty, piece after the final CR LF.
    shown.chop(lineEnd.size());
    return shown;
}

std::optional<QString> readHelpFile(const QString &path)
{
    QFile file(path);
    if (!files::openRegularFile(file, QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return helpTextFromBytes(bytes);
}

} // namespace orvanta::help
