#pragma once

#include "help/help_text.h"

#include <QString>
#include <QWidget>

class QPlainTextEdit;

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::help {

// "HELP": the help text in txtHelp, shown from "Help Contents". The file is
// read once, when the window is made; a window that is only hidden and shown
// again keeps its text.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(
        messages::Notifier &notifier, const QString &path = kHelpFileName.toString(), QWidget *parent = nullptr);

    // The text as built from the file, CR LF line ends included.
    const QString &helpText() const { return helpText_; }

private:
    QPlainTextEdit *txtHelp_ = nullptr;
    QString helpText_;
};

} // namespace orvanta::help
