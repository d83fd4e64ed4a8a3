#pragma once

// What every benchmark here shares: a notifier that shows nothing, the
// process's processor time and the calling thread's, and a main that gives Qt
// its application object.
#include "messages/notifier.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

namespace orvanta::bench {

class NullNotifier : public messages::Notifier
{
protected:
    void showWarning(const QString &, const QString &) override { }
};

inline double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The calling thread alone: the program's side of a transfer, without the
// simulator or any helper thread.
struct ThreadUsage
{
    double seconds = 0; // user and system processor time
    long wakeUps = 0;   // times it went to sleep and was woken again

    static ThreadUsage now()
    {
        timespec clock{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &clock);
        rusage usage{};
        getrusage(RUSAGE_THREAD, &usage);
        return {double(clock.tv_sec) + double(clock.tv_nsec) / 1e9, usage.ru_nvcsw};
    }
    ThreadUsage &operator+=(const ThreadUsage &other)
    {
        seconds += other.seconds;
        wakeUps += other.wakeUps;
        return *this;
    }
    ThreadUsage operator-(const ThreadUsage &other) const { return {seconds - other.seconds, wakeUps - other.wakeUps}; }
};

template <typename Application> int runBenchmarks(int argc, char **argv)
{
    Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace orvanta::bench
