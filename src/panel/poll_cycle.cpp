#include "panel/poll_cycle.h"

#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "messages/messages.h"
#include "messages/notifier.h"
#include "panel/lamp_map.h"
#include "panel/menu_map.h"

namespace orvanta::panel {

PollCycle::PollCycle(link::SerialLink &link, StatusTarget &target, link::PollSwitch &pollSwitch)
    : link_(link)
    , target_(target)
    , pollSwitch_(pollSwitch)
{ }

void PollCycle::Timer1_Timer()
{
    // A tick inside a running wait would share the one wait timer and
    // TimeoutFlag with it and leave it without its time-out; one inside the
    // previous tick's message box would pile up boxes.
    if (link_.ending() || link_.waits().running())
        return;
    const link::SingleRun::Entry tick = ticking_.enter();
    if (!tick)
        return;

    if (link_.realtimeActive()) {
        link_.setRealtimeActive(false);
        // A failed monitoring loop closed the port and left the flag for us:
        // the instrument still sends its error lines, which would mix with the
        // status reply. Opened as SendCode would, but silently: the status
        // request says it if the port cannot be opened.
        if (link_.IsPortOpen() || link_.OpenPort())
            link_.WriteByte(link::codes::kEndRealtime);
        link_.Delay(kAfterRealtime);
    }
    // Each step runs whatever the one before did; only the program's end stops the tick.
    if (link_.ending())
        return;
    link_.ReadStatus();
    if (link_.ending())
        return;
    UpdateMenus();
    if (link_.ending())
        return;
    UpdatePanel();
}

void PollCycle::UpdateMenus()
{
    if (applyMenuState(link_.statusBlock(), target_))
        return;
    link_.failWith(messages::kMenuUpdateFailure, statusTooShort());
    pollSwitch_.pollEvent(link::PollEvent::UpdateMenusFailed);
    link_.StopWaitTimer();
}

void PollCycle::UpdatePanel()
{
    if (applyLampState(link_.statusBlock(), target_))
        return;
    link_.failWith(messages::kPanelUpdateFailure, statusTooShort());
}

QString PollCycle::statusTooShort() const
{
    return QStringLiteral("the status has %1 bytes, not %2")
        .arg(link_.statusBlock().size())
        .arg(link::status::kInterpretedBytes);
}

} // namespace orvanta::panel
