#pragma once

#include "link/wait_loop.h"
#include "logger/realtime_monitor.h"
#include "logger/stored_log_readout.h"
#include "logger/ui/log_book.h"
#include "ui/window_loops.h"

#include <QWidget>

#include <string_view>

class QPushButton;

namespace orvanta::link {
class PollSwitch;
class SerialLink;
} // namespace orvanta::link

namespace orvanta::print {
class PrinterTarget;
} // namespace orvanta::print

namespace orvanta::logger {

class LogView;

// The logger window, "Logger": loaded hidden at start-up, shown from "&Logger"
// with the status poll stopped. Its Exit hides it and its close box unloads
// it; both give the poll back, once the readout or monitoring has unwound.
class LoggerWindow : public QWidget
{
    Q_OBJECT

public:
    // printer: where "Print Log" prints, the default printer in the program.
    LoggerWindow(
        link::SerialLink &link, link::PollSwitch &poll, print::PrinterTarget &printer, QWidget *parent = nullptr);

    QPushButton *button(std::string_view name) const;
    LogBook &log() { return log_; }
    const QString &logText() const { return log_.logText(); }

    void cmdStartlog_Click();
    void cmdStoplog_Click();
    void cmdReadlog_Click();
    void cmdStartreal_Click();
    void cmdStopreal_Click();
    void cmdPrintLog_Click();
    void cmdClearscn_Click();
    void cmdExit_Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();

    link::SerialLink &link_;
    print::PrinterTarget &printer_;
    LogView *view_ = nullptr;
    LogBook log_;
    StoredLogReadout readout_;
    RealtimeMonitor monitor_;
    ui::WindowLoops loops_;
    // The readout and monitoring share the line to the instrument: one at a time.
    link::SingleRun usingLink_;
};

} // namespace orvanta::logger
