#pragma once

#include <array>

namespace orvanta::link {

// What starts and stops the main window's status poll. The logger and the
// picture window take the link for themselves through this, and nothing
// else switches the poll.
enum class PollEvent {
    MainWindowCreated,
    StartUpFailed,
    LoggerOpened,
    PictureWindowOpened,
    RealtimeStarted,
    UpdateMenusFailed,
    LoggerClosed,
    PictureWindowClosed,
};

struct PollRule
{
    PollEvent event;
    bool pollRuns;
};

inline constexpr std::array<PollRule, 8> kPollRules{{
    {PollEvent::MainWindowCreated, true},
    {PollEvent::StartUpFailed, false},
    {PollEvent::LoggerOpened, false},
    {PollEvent::PictureWindowOpened, false},
    {PollEvent::RealtimeStarted, false},
    {PollEvent::UpdateMenusFailed, false},
    {PollEvent::LoggerClosed, true},
    {PollEvent::PictureWindowClosed, true},
}};

constexpr bool pollRunsAfter(PollEvent event)
{
    for (const PollRule &rule : kPollRules)
        if (rule.event == event)
            return rule.pollRuns;
    return false;
}

class PollSwitch
{
public:
    virtual ~PollSwitch() = default;
    virtual void pollEvent(PollEvent event) = 0;
};

} // namespace orvanta::link
