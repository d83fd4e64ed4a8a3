#include "picture/picture_area.h"

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

void PictureArea::repaintRow(int row)
{
    // The row's band of the scaled picture, rounded outwards.
    const QRect inside = contentsRect();
    const int top = inside.top() + row * inside.height() / Canvas::kSize;
    const int bottom = inside.top() + ((row + 1) * inside.height() + Canvas::kSize - 1) / Canvas::kSize;
    repaint(QRect(inside.left(), top, inside.width(), std::max(bottom - top, 1)));
}

void PictureArea::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect(), canvas_.image());
}

} // namespace orvanta::picture
