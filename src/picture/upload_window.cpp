#include "picture/upload_window.h"

namespace orvanta::picture {

UploadWindow::UploadWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmUpload"));
    setWindowTitle(QStringLiteral("Download"));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(grey);
    setAutoFillBackground(true);
    resize(625, 536);
}

} // namespace orvanta::picture
