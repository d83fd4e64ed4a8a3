#pragma once

#include "app/ui/program.h"
#include "panel/ui/main_window.h"
#include "print/pdf_printer_target.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"
#include "support/working_folder.h"

#include <QAction>
#include <QTimer>

#include <optional>

namespace orvanta::test {

// The whole program on its real windows, in a working folder like run.sh's
// (orva.set in it), printing to a PDF file, its messages recorded. Every port
// is the simulator, or with no simulator leads nowhere; port 2 may be a
// device of its own. start() runs start-up and shows the main window.
struct ProgramRig
{
    explicit ProgramRig(std::optional<QStringList> simOptions = QStringList{}, const QString &port2 = {})
        : notifier(*new RecordingNotifier) // the program's own from the start
    {
        if (simOptions)
            sim.emplace(*simOptions);
        for (int port = 1; port <= 4; ++port)
            map.setDevice(port, sim ? sim->devicePath() : folder.filePath("no-such-tty"));
        if (!port2.isEmpty())
            map.setDevice(2, port2);
        program = std::make_unique<app::Program>(
            map, std::unique_ptr<RecordingNotifier>(&notifier), [this] { ++ended; }, folder.filePath("orva.set"),
            std::make_unique<print::PdfPrinterTarget>(folder.filePath("print.pdf")));
    }

    void start() const { program->start(); }
    panel::MainWindow &window() const { return program->panel().window(); }
    QAction *item(const char *name) const { return window().menuItem(QString::fromLatin1(name)); }
    // Another window, loaded now or made by the last showing; null after its close box.
    template <typename Window = QWidget> Window *other(const char *name) const
    {
        return qobject_cast<Window *>(program->panel().otherWindow(QString::fromLatin1(name))->window());
    }
    bool polling() const { return window().pollTimer()->isActive(); }
    link::SerialLink &link() const { return program->link(); }

    WorkingFolder folder;
    std::optional<SimProcess> sim;
    link::PortMap map;
    RecordingNotifier &notifier;
    std::unique_ptr<app::Program> program;
    int ended = 0;
};

} // namespace orvanta::test
