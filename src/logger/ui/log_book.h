#pragma once

#include "logger/log_sink.h"

#include <QString>
#include <QStringView>

namespace orvanta::logger {

class LogView;

// LogText and the text area that shows it. The area shows LogText after every
// change the readout and monitoring make; the status lines of the two logging
// buttons and the window's opening leave the two apart until the next change.
class LogBook : public LogSink
{
public:
    explicit LogBook(LogView &view);

    // LogText becomes text, and the area shows it.
    void start(const QString &text) override;
    // LogLine appended to LogText, and the area shows LogText.
    void append(QStringView line) override;
    // The area shows a status line; LogText is unchanged.
    void showStatus(QStringView line);
    // LogText becomes empty, and so does the area.
    void clear();
    // LogText becomes empty; the area keeps what it shows.
    void forget();

    const QString &logText() const { return logText_; }
    // What the area shows.
    QString shownText() const;

private:
    LogView &view_;
    QString logText_;
    // Whether the area shows logText_, so that an append may only add to it.
    bool showsLogText_ = true;
};

} // namespace orvanta::logger
