#include "logger/ui/logger_window.h"

#include "link/serial_link.h"
#include "logger/log_texts.h"
#include "logger/ui/log_printout.h"
#include "logger/ui/log_view.h"
#include "logger/ui/logger_controls.h"
#include "messages/messages.h"
#include "messages/notifier.h"
#include "print/printer_target.h"
#include "ui/required_child.h"
#include "ui/window_names.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanta::logger {

namespace {

constexpr QSize kWindowSize{640, 480};

} // namespace

LoggerWindow::LoggerWindow(
    link::SerialLink &link, link::PollSwitch &poll, print::PrinterTarget &printer, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , link_(link)
    , printer_(printer)
    , view_(new LogView(this))
    , log_(*view_)
    , readout_(link, log_)
    , monitor_(link, poll, log_)
    , loops_(*this, poll, link::PollEvent::LoggerClosed, [this] {
        readout_.stop();
        monitor_.stop();
    })
{
    setObjectName(QString::fromLatin1(ui::windows::kLogger));
    setWindowTitle(QStringLiteral("Logger"));
    buildControls();
    resize(kWindowSize);
}

void LoggerWindow::buildControls()
{
    auto *frames = new QHBoxLayout;
    for (const LoggerFrame &row : kLoggerFrames) {
        auto *frame = new QGroupBox(QString::fromLatin1(row.caption), this);
        frame->setObjectName(QString::fromLatin1(row.name));
        frame->setLayout(new QHBoxLayout);
        frames->addWidget(frame);
    }
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    for (const LoggerButton &row : kLoggerButtons) {
        QWidget *frame
            = row.frame.empty() ? nullptr : ui::requiredChild<QGroupBox>(*this, QString::fromLatin1(row.frame));
        auto *button = new QPushButton(QString::fromLatin1(row.caption), frame ? frame : this);
        button->setObjectName(QString::fromLatin1(row.name));
        button->setToolTip(QString::fromLatin1(row.tooltip));
        if (frame)
            frame->layout()->addWidget(button);
        else
            bottom->addWidget(button);
        connect(button, &QPushButton::clicked, this, row.click);
    }
    auto *window = new QVBoxLayout(this);
    window->addLayout(frames);
    window->addWidget(view_, 1);
    window->addLayout(bottom);
}

QPushButton *LoggerWindow::button(std::string_view name) const
{
    return ui::requiredChild<QPushButton>(*this, QString::fromLatin1(name));
}

void LoggerWindow::cmdStartlog_Click()
{
    link_.SendCode(link::codes::kStartLogging);
    // Not claimed when the code could not be sent: that has been said, and the port closed.
    if (link_.IsPortOpen())
        log_.showStatus(texts::kLoggerRunning);
}

void LoggerWindow::cmdStoplog_Click()
{
    monitor_.stop();
    link_.SendCode(link::codes::kStopLogging);
    if (link_.IsPortOpen())
        log_.showStatus(texts::kLoggerStopped);
}

void LoggerWindow::cmdReadlog_Click()
{
    loops_.run(usingLink_, [this] { readout_.run(); });
}

void LoggerWindow::cmdStartreal_Click()
{
    loops_.run(usingLink_, [this] { monitor_.run(); });
}

void LoggerWindow::cmdStopreal_Click()
{
    monitor_.stop();
}

void LoggerWindow::cmdPrintLog_Click()
{
    // What the text area shows, which is not always LogText.
    const std::unique_ptr<QPrinter> printer = printer_.open();
    if (!printer || !LogPrintout::print(*printer, log_.shownText()))
        link_.notifier().warn(messages::kLogPrintFailed);
}

void LoggerWindow::cmdClearscn_Click()
{
    log_.clear();
}

void LoggerWindow::cmdExit_Click()
{
    monitor_.stop();
    hide();
    // A running wait needs the wait timer for its time-out; it stops it itself.
    if (!link_.waits().running())
        link_.StopWaitTimer();
    loops_.exit();
}

void LoggerWindow::closeEvent(QCloseEvent *event)
{
    // The close box deletes the window, but not from under a running loop.
    setAttribute(Qt::WA_DeleteOnClose, loops_.close());
    event->accept();
}

void LoggerWindow::showEvent(QShowEvent *event)
{
    // Shown by "&Logger" (not given back by the window system): LogText starts
    // empty, the text area keeps what it shows.
    if (!event->spontaneous())
        log_.forget();
    loops_.shown();
    setAttribute(Qt::WA_DeleteOnClose, true);
    QWidget::showEvent(event);
}

} // namespace orvanta::logger
