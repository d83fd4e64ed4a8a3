#pragma once

#include "link/poll_switch.h"
#include "link/wait_loop.h"

#include <QPointer>

#include <functional>

class QObject;

namespace orvanta::ui {

// The loops a window runs on the link (a download, a log readout, real-time
// monitoring) and what its Exit and close box do while one of them runs.
// The status poll comes back, and a closed window is deleted, only once the
// last of its loops has unwound: deleting it earlier would pull the loop's
// state from under it.
class WindowLoops
{
public:
    // closedEvent: what giving the link back tells the poll. stopLoops ends
    // every running loop of the window as soon as it can.
    WindowLoops(QObject &window, link::PollSwitch &poll, link::PollEvent closedEvent, std::function<void()> stopLoops);

    // Runs loop as one of the window's loops, unless `which` already runs:
    // a second press of its button is ignored. False when ignored.
    bool run(link::SingleRun &which, const std::function<void()> &loop);
    bool running() const { return depth_ > 0; }

    // Exit: the link goes back to the poll now, or when the loops unwind.
    void exit();
    // The close box. True when the window may be deleted now; false when it
    // must stay until its loops have unwound (they are told to stop, and the
    // window is deleted later).
    [[nodiscard]] bool close();
    // Shown again: a close still waiting for its loops is called off.
    void shown();

private:
    void givePollBack();

    QPointer<QObject> window_;
    link::PollSwitch &poll_;
    link::PollEvent closedEvent_;
    std::function<void()> stopLoops_;
    int depth_ = 0;
    bool pollOwed_ = false;
    bool closing_ = false;
};

} // namespace orvanta::ui
