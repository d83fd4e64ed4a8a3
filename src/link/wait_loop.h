#pragma once

#include <QDeadlineTimer>

#include <chrono>
#include <functional>

namespace orvanta::link {

// The program's one way to wait on its single thread. Each pass first runs
// the events held back behind the event that started the wait, then tests
// the condition, and only then sleeps until the next event arrives: a wait
// never spins and never sleeps past the event that ended it. Every wait of
// the program is written with it, so it also knows whether any wait runs.
class WaitLoop
{
public:
    enum class Result {
        Done,     // the condition holds
        TimedOut, // the deadline passed first
        Ending,   // the program is ending: unwind without a word
    };

    WaitLoop() = default;
    WaitLoop(const WaitLoop &) = delete;
    WaitLoop &operator=(const WaitLoop &) = delete;

    // The least time before the condition can hold, asked after each pass
    // whose condition failed: the time the line needs for the bytes still
    // missing. Zero when nothing is known, such as while the line is silent.
    using Earliest = std::function<std::chrono::microseconds()>;

    // The longest a wait naps without looking at its events: a click or a
    // repaint waits at most this long while a block streams in.
    static constexpr std::chrono::milliseconds kLongestNap{10};

    // Waits until done() holds. The deadline is read on every pass, so the
    // condition may move it on (a wait bounded by a time without progress).
    // With earliest, a pass naps through a known stretch of bytes instead of
    // waking for each byte, then takes all that came at once.
    Result until(const std::function<bool()> &done, const QDeadlineTimer &deadline = QDeadlineTimer::Forever,
        const Earliest &earliest = {});

    // Runs only what is pending now, without sleeping. False once ending.
    bool runPending();

    // Whether a wait is on the stack: a poll tick then has to stay away,
    // since the wait's time-out and reply would be shared with it.
    bool running() const { return depth_ > 0; }
    int depth() const { return depth_; }

    // The program is ending: every running and later wait returns at once.
    void end() { ending_ = true; }
    bool ending() const { return ending_; }

private:
    int depth_ = 0;
    bool ending_ = false;
};

// A loop that a button starts and that must not run twice at once: a second
// press while it runs is ignored. Held for as long as the loop runs.
class SingleRun
{
public:
    class Entry
    {
    public:
        explicit Entry(SingleRun *run)
            : run_(run)
        { }
        Entry(Entry &&other) noexcept
            : run_(std::exchange(other.run_, nullptr))
        { }
        Entry(const Entry &) = delete;
        Entry &operator=(const Entry &) = delete;
        Entry &operator=(Entry &&) = delete;
        ~Entry()
        {
            if (run_)
                run_->running_ = false;
        }
        explicit operator bool() const { return run_ != nullptr; }

    private:
        SingleRun *run_;
    };

    // An empty entry when the loop already runs.
    [[nodiscard]] Entry enter()
    {
        if (running_)
            return Entry(nullptr);
        running_ = true;
        return Entry(this);
    }
    bool running() const { return running_; }

private:
    bool running_ = false;
};

} // namespace orvanta::link
