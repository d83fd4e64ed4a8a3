#include "ui/message_box_notifier.h"

#include <QApplication>
#include <QMessageBox>

namespace orvanta::ui {

void MessageBoxNotifier::showWarning(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void MessageBoxNotifier::soundBeep()
{
    QApplication::beep();
}

} // namespace orvanta::ui
