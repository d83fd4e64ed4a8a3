#pragma once

#include "link/wait_loop.h"

#include <QString>

#include <chrono>

namespace orvanta::link {
class PollSwitch;
class SerialLink;
} // namespace orvanta::link

namespace orvanta::panel {

class StatusTarget;

// The status poll: on each tick of the main window's Timer1 it ends any
// real-time output, asks for the status block and shows it on the menus, the
// two status buttons and the lamps of the target.
class PollCycle
{
public:
    static constexpr std::chrono::milliseconds kAfterRealtime{100};

    PollCycle(link::SerialLink &link, StatusTarget &target, link::PollSwitch &pollSwitch);

    // One tick. Does nothing while a tick or another wait is still running,
    // or once the program is ending.
    void Timer1_Timer();

    // The block onto the menus; on failure stops the poll and closes the port.
    void UpdateMenus();
    // The block onto the lamps; on failure closes the port.
    void UpdatePanel();

private:
    QString statusTooShort() const;

    link::SerialLink &link_;
    StatusTarget &target_;
    link::PollSwitch &pollSwitch_;
    link::SingleRun ticking_;
};

} // namespace orvanta::panel
