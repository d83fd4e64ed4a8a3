#pragma once

#include "link/port_map.h"
#include "link/serial_link.h"
#include "messages/notifier.h"
#include "panel/ui/panel_controller.h"
#include "print/printer_target.h"

#include <memory>

namespace orvanta::app {

// The program's one link, its windows and its front panel, put together.
class Program
{
public:
    // printer: where the windows print; the system's default printer unless given.
    Program(link::PortMap portMap, std::unique_ptr<messages::Notifier> notifier,
        panel::PanelController::EndProgram endProgram, QString settingsPath = panel::SettingsFile::kFileName,
        std::unique_ptr<print::PrinterTarget> printer = {});
    ~Program();

    // Start-up, then the main window is shown, also after a failed start-up.
    void start();

    messages::Notifier &notifier() const { return *notifier_; }
    link::SerialLink &link() const { return *link_; }
    print::PrinterTarget &printer() const { return *printer_; }
    panel::PanelController &panel() const { return *panel_; }

private:
    std::unique_ptr<messages::Notifier> notifier_;
    std::unique_ptr<print::PrinterTarget> printer_;
    std::unique_ptr<link::SerialLink> link_;
    std::unique_ptr<panel::PanelController> panel_;
};

// The other windows, in the order start-up loads them. They are made when
// loaded, by which time the program's link and panel exist.
std::vector<panel::PanelController::WindowEntry> programWindows(const Program &program);

} // namespace orvanta::app
