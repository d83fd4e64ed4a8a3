#include "picture/ui/picture_area.h"

#include "picture/canvas.h"

#include <QPainter>

namespace orvanta::picture {

PictureArea::PictureArea(const Canvas &canvas, QWidget *parent)
    : QFrame(parent)
    , canvas_(canvas)
{
    setObjectName(QStringLiteral("picDownload"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::TabFocus);
}

QRect PictureArea::rowsBand(int first, int last) const
{
    // Rounded outwards, so that no row of the scaled picture is left half drawn.
    const QRect inside = contentsRect();
    const int top = inside.top() + first * inside.height() / Canvas::kSize;
    const int bottom = inside.top() + ((last + 1) * inside.height() + Canvas::kSize - 1) / Canvas::kSize;
    return QRect(inside.left(), top, inside.width(), std::max(bottom - top, 1));
}

void PictureArea::repaintRow(int row)
{
    repaint(rowsBand(row, row));
}

void PictureArea::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect(), canvas_.image());
}

} // namespace orvanta::picture
