#pragma once

#include "panel/window_layout.h"

#include <QPixmap>
#include <QWidget>

namespace orvanta::panel {

// A picture that acts as a key: a raised grey key bearing the outline of a
// triangle. Any mouse button presses it. The release reaches the key that was
// pressed wherever the pointer is by then (Qt's implicit grab), which is what
// ends an auto-repeat started by the press.
class ArrowKey : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPictureSize = 32;

    explicit ArrowKey(ArrowDirection points, QWidget *parent = nullptr);

    ArrowDirection points() const { return points_; }

    // The 32 x 32 picture, drawn once per direction.
    static QPixmap picture(ArrowDirection points);

signals:
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ArrowDirection points_;
};

} // namespace orvanta::panel
