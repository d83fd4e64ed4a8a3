#pragma once

#include "panel/ui/main_window.h"
#include "panel/ui/panel_controller.h"
#include "support/link_rig.h"

#include <QTest>

#include <memory>

namespace orvanta::test {

// The front panel on its real window and the simulator on port 1.
// No start-up runs, so the status poll stays off and the simulator records
// only what the panel's controls send.
struct PanelRig : LinkRig
{
    explicit PanelRig(const QStringList &simOptions = {}, const QString &otherPorts = {})
        : LinkRig(simOptions, true, otherPorts)
        , panel(std::make_unique<panel::PanelController>(
              *serial, notifier, std::vector<panel::PanelController::WindowEntry>{}, [this] { ++ended; },
              dir.filePath("orva.set")))
    {
        window().show();
        window().activateWindow();
    }

    bool ready() const { return sim.started() && QTest::qWaitForWindowActive(&window()); }

    panel::MainWindow &window() const { return panel->window(); }
    QWindow *handle() const { return window().windowHandle(); }

    std::unique_ptr<panel::PanelController> panel;
    int ended = 0;
};

} // namespace orvanta::test
