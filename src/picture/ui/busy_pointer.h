#pragma once

#include <QWidget>

namespace orvanta::picture {

// The busy pointer over a window for as long as this lives.
class BusyPointer
{
public:
    explicit BusyPointer(QWidget &window)
        : window_(window)
    {
        window_.setCursor(Qt::WaitCursor);
    }
    ~BusyPointer() { window_.unsetCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    QWidget &window_;
};

} // namespace orvanta::picture
