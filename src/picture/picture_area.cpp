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

void PictureArea::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect(), canvas_.image());
}

} // namespace orvanta::picture
