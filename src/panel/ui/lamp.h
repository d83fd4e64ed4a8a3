#pragma once

#include <QColor>
#include <QWidget>

namespace orvanta::panel {

// A status lamp: a rectangle filled with one colour and no outline. The fill
// is all the state it carries.
class Lamp : public QWidget
{
    Q_OBJECT

public:
    explicit Lamp(const QColor &fill, QWidget *parent = nullptr);

    QColor fillColour() const { return fill_; }
    void setFillColour(const QColor &fill);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor fill_;
};

} // namespace orvanta::panel
