#include "panel/ui/window_status_target.h"

#include "panel/ui/lamp.h"
#include "panel/ui/main_window.h"
#include "panel/ui/menu_item.h"

#include <QAction>
#include <QPushButton>

namespace orvanta::panel {

bool WindowStatusTarget::setChecked(std::string_view item, bool checked)
{
    QAction *action = window_.menuItem(QString::fromLatin1(item));
    if (!action)
        return false;
    setItemChecked(action, checked);
    return true;
}

bool WindowStatusTarget::setEnabled(std::string_view item, bool enabled)
{
    QAction *action = window_.menuItem(QString::fromLatin1(item));
    if (!action)
        return false;
    action->setEnabled(enabled);
    return true;
}

bool WindowStatusTarget::setCaption(std::string_view control, std::string_view caption)
{
    // A caption row names a menu item or, failing that, a button.
    const QString text = QString::fromLatin1(caption);
    if (auto *item = window_.findChild<QAction *>(QString::fromLatin1(control))) {
        item->setText(text);
        return true;
    }
    QPushButton *button = window_.button(QString::fromLatin1(control));
    if (!button)
        return false;
    button->setText(text);
    return true;
}

bool WindowStatusTarget::setLamp(std::string_view lamp, QRgb colour)
{
    Lamp *shape = window_.lamp(QString::fromLatin1(lamp));
    if (!shape)
        return false;
    shape->setFillColour(QColor(colour));
    return true;
}

} // namespace orvanta::panel
