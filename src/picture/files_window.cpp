#include "picture/files_window.h"

namespace orvanta::picture {

FilesWindow::FilesWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmFiles"));
    setWindowTitle(QStringLiteral("File Organisation"));
    resize(409, 382);
}

} // namespace orvanta::picture
