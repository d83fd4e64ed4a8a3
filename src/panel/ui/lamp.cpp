#include "panel/ui/lamp.h"

#include <QPainter>

namespace orvanta::panel {

Lamp::Lamp(const QColor &fill, QWidget *parent)
    : QWidget(parent)
    , fill_(fill)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Lamp::setFillColour(const QColor &fill)
{
    if (fill == fill_)
        return;
    fill_ = fill;
    update();
}

void Lamp::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), fill_);
}

} // namespace orvanta::panel
