#include "ui/window_loops.h"

#include <QObject>

namespace orvanta::ui {

WindowLoops::WindowLoops(
    QObject &window, link::PollSwitch &poll, link::PollEvent closedEvent, std::function<void()> stopLoops)
    : window_(&window)
    , poll_(poll)
    , closedEvent_(closedEvent)
    , stopLoops_(std::move(stopLoops))
{ }

bool WindowLoops::run(link::SingleRun &which, const std::function<void()> &loop)
{
    const link::SingleRun::Entry entry = which.enter();
    if (!entry)
        return false;
    ++depth_;
    loop();
    --depth_;
    if (depth_ > 0)
        return true;
    if (pollOwed_)
        givePollBack();
    // Closed meanwhile: nothing of the window's loops is on the stack any more.
    if (closing_ && window_)
        window_->deleteLater();
    return true;
}

void WindowLoops::exit()
{
    if (running())
        pollOwed_ = true;
    else
        givePollBack();
}

bool WindowLoops::close()
{
    if (!running()) {
        givePollBack();
        return true;
    }
    closing_ = true;
    pollOwed_ = true;
    if (stopLoops_)
        stopLoops_();
    return false;
}

void WindowLoops::shown()
{
    closing_ = false;
    pollOwed_ = false;
}

void WindowLoops::givePollBack()
{
    pollOwed_ = false;
    poll_.pollEvent(closedEvent_);
}

} // namespace orvanta::ui
