#include "help/help_window.h"

namespace orvanta::help {

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("HELP"));
    resize(600, 450);
}

} // namespace orvanta::help
