#include "logger/logger_window.h"

namespace orvanta::logger {

LoggerWindow::LoggerWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmLogger"));
    setWindowTitle(QStringLiteral("Logger"));
    resize(560, 420);
}

} // namespace orvanta::logger
