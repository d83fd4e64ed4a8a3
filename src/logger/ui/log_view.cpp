#include "logger/ui/log_view.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextCursor>

namespace orvanta::logger {

LogView::LogView(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("txtLogger"));
    setReadOnly(true);
    // Every append would otherwise be kept for undo: memory growing with the log.
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void LogView::showText(QStringView text)
{
    setPlainText(text.toString());
    afterCr_ = text.endsWith(u'\r');
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void LogView::appendText(QStringView text)
{
    if (afterCr_ && text.startsWith(u'\n'))
        text = text.mid(1);
    if (text.isEmpty())
        return;
    afterCr_ = text.endsWith(u'\r');
    QScrollBar *bar = verticalScrollBar();
    const bool following = bar->value() >= bar->maximum();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(text.toString());
    if (following)
        bar->setValue(bar->maximum());
}

} // namespace orvanta::logger
