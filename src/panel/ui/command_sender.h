#pragma once

#include "panel/command_table.h"

#include <QObject>

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::panel {

class MainWindow;

// Connects every control of the command table to one handler that looks the
// control up and writes its code. Nothing else happens on a click: the
// window shows the instrument's new state only when the next poll reads it.
class CommandSender : public QObject
{
    Q_OBJECT

public:
    CommandSender(MainWindow &window, link::SerialLink &link, QObject *parent = nullptr);

private:
    void send(const QObject *control, PanelEvent event);

    link::SerialLink &link_;
};

} // namespace orvanta::panel
