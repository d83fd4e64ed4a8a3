#pragma once

#include <QWidget>

namespace orvanta::logger {

// The logger window: loaded hidden at start-up and shown from "&Logger".
class LoggerWindow : public QWidget
{
    Q_OBJECT

public:
    explicit LoggerWindow(QWidget *parent = nullptr);
};

} // namespace orvanta::logger
