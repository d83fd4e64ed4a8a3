#pragma once

#include "link/serial_link.h"
#include "panel/ui/main_window.h"
#include "panel/ui/panel_controller.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace orvanta::test {

// The front panel on its real window and the simulator on port 1.
// No start-up runs, so the status poll stays off and the simulator records
// only what the panel's controls send.
class PanelRig
{
public:
    // Unknown to the instrument: it records the byte and ignores it.
    static constexpr char kMarker = 0;
    static inline const QByteArray kLost = QByteArrayLiteral("<marker lost>");

    PanelRig()
    {
        // Port 1 is the instrument; the others lead nowhere.
        map.setDevice(1, sim.devicePath());
        for (int port = 2; port <= 4; ++port)
            map.setDevice(port, dir.filePath("no-such-tty"));
        serial = std::make_unique<link::SerialLink>(map, notifier);
        panel = std::make_unique<panel::PanelController>(
            *serial, notifier, std::vector<panel::PanelController::WindowEntry>{}, [this] { ++ended; },
            dir.filePath("orva.set"));
        window().show();
        window().activateWindow();
    }

    bool ready() const { return sim.started() && QTest::qWaitForWindowActive(&window()); }

    panel::MainWindow &window() const { return panel->window(); }
    QWindow *handle() const { return window().windowHandle(); }

    // What the instrument received since `from`, up to a marker written now:
    // bytes the panel wrote earlier arrive before it, so nothing is missed
    // and nothing is waited for in vain. The marker stays in the record, so
    // the next call counts from receivedCount().
    QByteArray receivedSince(qsizetype from) const
    {
        const bool wasOpen = serial->IsPortOpen();
        if (!wasOpen && !serial->OpenPort())
            return kLost;
        serial->WriteByte(kMarker);
        QByteArray bytes;
        const bool arrived = QTest::qWaitFor(
            [&] {
                bytes = sim.receivedBytes().mid(from);
                return bytes.endsWith(kMarker);
            },
            5000);
        if (!wasOpen)
            serial->ClosePort();
        if (!arrived)
            return kLost;
        bytes.chop(1);
        return bytes;
    }

    qsizetype receivedCount() const { return sim.received().size(); }

    QTemporaryDir dir;
    SimProcess sim;
    RecordingNotifier notifier;
    link::PortMap map;
    std::unique_ptr<link::SerialLink> serial;
    std::unique_ptr<panel::PanelController> panel;
    int ended = 0;
};

} // namespace orvanta::test
