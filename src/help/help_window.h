#pragma once

#include <QWidget>

namespace orvanta::help {

// "HELP": the help text, shown from "Help Contents".
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);
};

} // namespace orvanta::help
