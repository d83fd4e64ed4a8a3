#pragma once

#include <QPlainTextEdit>
#include <QStringView>

namespace orvanta::logger {

// txtLogger: the read-only text area that shows the log in a fixed-pitch font,
// so the records stand in their columns under the heading. Text is appended,
// never set whole again, so a long monitoring session stays as fast as a short
// one; the view follows the newest line unless the user has scrolled up.
class LogView : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LogView(QWidget *parent = nullptr);

    // The whole text becomes text.
    void showText(QStringView text);
    // text is added at the end, its CR LF pairs as line breaks.
    void appendText(QStringView text);
    // What the area shows, one '\n' a line break.
    QString text() const { return toPlainText(); }

private:
    // A CR that ended the last piece: a LF that starts the next one completes it.
    bool afterCr_ = false;
};

} // namespace orvanta::logger
