#pragma once

#include <QFrame>

namespace orvanta::picture {

class Canvas;

// picDownload: the canvas, scaled to the inside of a sunken border.
class PictureArea : public QFrame
{
    Q_OBJECT

public:
    explicit PictureArea(const Canvas &canvas, QWidget *parent = nullptr);

    // Where rows first to last of the canvas lie on the area.
    QRect rowsBand(int first, int last) const;
    // Paints the canvas row on the screen now, without waiting for the event loop.
    void repaintRow(int row);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const Canvas &canvas_;
};

} // namespace orvanta::picture
