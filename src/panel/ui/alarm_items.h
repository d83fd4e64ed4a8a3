#pragma once

#include <QObject>

namespace orvanta::link {
class SerialLink;
} // namespace orvanta::link

namespace orvanta::panel {

class MainWindow;

// The ten alarm items of "Config" > "Alarms": a click writes the item's
// toggle code and flips its own mark at once, so the menu answers before the
// next poll puts the instrument's own word on it. "Key Press" is a plain
// command and not one of them.
class AlarmItems : public QObject
{
    Q_OBJECT

public:
    AlarmItems(MainWindow &window, link::SerialLink &link, QObject *parent = nullptr);
};

} // namespace orvanta::panel
