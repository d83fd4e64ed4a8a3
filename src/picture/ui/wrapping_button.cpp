#include "picture/ui/wrapping_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace orvanta::picture {

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect inside = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawText(inside, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

} // namespace orvanta::picture
