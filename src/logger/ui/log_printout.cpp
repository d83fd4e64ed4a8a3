#include "logger/ui/log_printout.h"

#include "logger/log_texts.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

namespace orvanta::logger {

namespace {

// Lays lines out down the printer's pages, starting a page when the next line
// would not fit whole on this one.
class PageWriter
{
public:
    PageWriter(QPrinter &printer, QPainter &painter)
        : printer_(printer)
        , painter_(painter)
        , width_(printer.width())
        , height_(printer.height())
    { }

    bool write(const QString &line, const QFont &font)
    {
        painter_.setFont(font);
        QTextLayout layout(line, font, &printer_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine part = layout.createLine(); part.isValid(); part = layout.createLine())
            part.setLineWidth(width_);
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine part = layout.lineAt(i);
            if (y_ > 0 && y_ + part.height() > height_) {
                if (!printer_.newPage())
                    return false;
                y_ = 0;
            }
            part.draw(&painter_, QPointF(0, y_ - part.y()));
            y_ += part.height();
        }
        return true;
    }

private:
    QPrinter &printer_;
    QPainter &painter_;
    qreal width_;
    qreal height_;
    qreal y_ = 0;
};

QFont printFont(int points, bool bold)
{
    QFont font(LogPrintout::kFontFamily);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

} // namespace

bool LogPrintout::print(QPrinter &printer, const QString &text)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QFont title = printFont(kTitlePoints, true);
    const QFont body = printFont(kTextPoints, false);
    PageWriter pages(printer, painter);
    bool ok = pages.write(QString(), body) && pages.write(texts::kPrintTitle.toString(), title);
    // The text's own line breaks; the one that ends its last line starts no further line.
    QStringList lines = text.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    for (const QString &line : std::as_const(lines))
        ok = ok && pages.write(line, body);
    return painter.end() && ok && printer.printerState() != QPrinter::Error;
}

} // namespace orvanta::logger
