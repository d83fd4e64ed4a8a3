#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace orvanta::jobs {

// SIGINT, SIGTERM and SIGHUP, turned into a call on the one thread: the
// handler only writes a byte to a pipe, and a socket notifier on the pipe's
// other end runs stop from the event loop, that is, from within whatever wait
// is running. While this lives, the three no longer end the process at once.
class StopSignals : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(std::function<void()> stop);
    ~StopSignals() override;

    // False when the pipe or the handlers could not be set up.
    bool ready() const { return notifier_ != nullptr; }

private:
    void readPipe();

    std::function<void()> stop_;
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace orvanta::jobs
