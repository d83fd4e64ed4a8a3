#pragma once

#include <QWidget>

namespace orvanta::help {

// "About Brellin Orvanta": the version box, shown from "Help About".
class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(QWidget *parent = nullptr);
};

} // namespace orvanta::help
