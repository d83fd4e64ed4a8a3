#include "help/about_window.h"

namespace orvanta::help {

AboutWindow::AboutWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Brellin Orvanta"));
    resize(360, 220);
}

} // namespace orvanta::help
