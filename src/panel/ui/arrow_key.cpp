#include "panel/ui/arrow_key.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>

namespace orvanta::panel {

namespace {

// The 16-colour palette of the key.
constexpr QRgb kFace = qRgb(192, 192, 192);
constexpr QRgb kHighlight = qRgb(255, 255, 255);
constexpr QRgb kShadow = qRgb(128, 128, 128);
constexpr QRgb kEdge = qRgb(0, 0, 0);

constexpr int kLast = ArrowKey::kPictureSize - 1;

// The triangle is drawn pointing up and turned by mirroring, not rotating,
// so every direction keeps the same crisp pixels.
QPoint turned(QPoint p, ArrowDirection points)
{
    switch (points) {
    case ArrowDirection::Up: return p;
    case ArrowDirection::Down: return {p.x(), kLast - p.y()};
    case ArrowDirection::Left: return {p.y(), p.x()};
    case ArrowDirection::Right: return {kLast - p.y(), p.x()};
    }
    return p;
}

QPixmap drawPicture(ArrowDirection points)
{
    QPixmap pixmap(ArrowKey::kPictureSize, ArrowKey::kPictureSize);
    pixmap.fill(QColor(kFace));
    QPainter painter(&pixmap);

    // Raised: light from the top left, two pixels of bevel on each side.
    painter.setPen(QColor(kHighlight));
    painter.drawLine(0, 0, kLast - 1, 0);
    painter.drawLine(0, 0, 0, kLast - 1);
    painter.drawLine(1, 1, kLast - 2, 1);
    painter.drawLine(1, 1, 1, kLast - 2);
    painter.setPen(QColor(kEdge));
    painter.drawLine(0, kLast, kLast, kLast);
    painter.drawLine(kLast, 0, kLast, kLast);
    painter.setPen(QColor(kShadow));
    painter.drawLine(1, kLast - 1, kLast - 1, kLast - 1);
    painter.drawLine(kLast - 1, 1, kLast - 1, kLast - 1);

    // Two-pixel apex and 45-degree sides, centred on the face.
    const QPoint apexLeft(15, 10), apexRight(16, 10), baseLeft(5, 20), baseRight(26, 20);
    painter.setPen(QColor(kEdge));
    painter.drawLine(turned(apexLeft, points), turned(baseLeft, points));
    painter.drawLine(turned(apexRight, points), turned(baseRight, points));
    painter.drawLine(turned(apexLeft, points), turned(apexRight, points));
    painter.drawLine(turned(baseLeft, points), turned(baseRight, points));
    return pixmap;
}

} // namespace

ArrowKey::ArrowKey(ArrowDirection points, QWidget *parent)
    : QWidget(parent)
    , points_(points)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPixmap ArrowKey::picture(ArrowDirection points)
{
    const QString key = QStringLiteral("orvanta-arrow-key-%1").arg(static_cast<int>(points));
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = drawPicture(points);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

void ArrowKey::paintEvent(QPaintEvent *)
{
    // Scaled without smoothing, so a larger key keeps its hard pixel edges.
    QPainter(this).drawPixmap(rect(), picture(points_));
}

void ArrowKey::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button());
}

void ArrowKey::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(event->button());
}

} // namespace orvanta::panel
