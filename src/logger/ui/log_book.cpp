#include "logger/ui/log_book.h"

#include "logger/ui/log_view.h"

#include <QTextDocument>

namespace orvanta::logger {

LogBook::LogBook(LogView &view)
    : view_(view)
{ }

void LogBook::start(const QString &text)
{
    logText_ = text;
    view_.showText(logText_);
    showsLogText_ = true;
}

void LogBook::append(QStringView line)
{
    logText_ += line;
    if (showsLogText_) {
        view_.appendText(line);
    } else {
        view_.showText(logText_);
        showsLogText_ = true;
    }
}

void LogBook::showStatus(QStringView line)
{
    view_.showText(line);
    showsLogText_ = false;
}

void LogBook::clear()
{
    start(QString());
}

void LogBook::forget()
{
    logText_.clear();
    showsLogText_ = view_.document()->isEmpty();
}

QString LogBook::shownText() const
{
    return view_.text();
}

} // namespace orvanta::logger
