#include "panel/ui/command_sender.h"

#include "link/serial_link.h"
#include "panel/ui/arrow_key.h"
#include "panel/ui/main_window.h"

#include <QAction>
#include <QPushButton>

namespace orvanta::panel {

CommandSender::CommandSender(MainWindow &window, link::SerialLink &link, QObject *parent)
    : QObject(parent)
    , link_(link)
{
    for (const CommandRow &row : commandTable()) {
        const QString name = QString::fromLatin1(row.control);
        if (row.event == PanelEvent::MouseDown) {
            ArrowKey *image = window.image(name);
            connect(image, &ArrowKey::mouseDown, this, [this, image] { send(image, PanelEvent::MouseDown); });
        } else if (auto *button = window.findChild<QPushButton *>(name)) {
            connect(button, &QPushButton::clicked, this, [this, button] { send(button, PanelEvent::Click); });
        } else {
            QAction *item = window.menuItem(name);
            connect(item, &QAction::triggered, this, [this, item] { send(item, PanelEvent::Click); });
        }
    }
}

void CommandSender::send(const QObject *control, PanelEvent event)
{
    // SendCode opens the port if needed and reports its own failure.
    const QByteArray name = control->objectName().toLatin1();
    if (const auto code = commandCode(name.toStdString(), event))
        link_.SendCode(*code);
}

} // namespace orvanta::panel
