#pragma once

#include <QPushButton>

namespace orvanta::picture {

// A push button whose caption wraps onto several lines to fit a narrow button;
// text() stays the caption as given.
class WrappingButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace orvanta::picture
