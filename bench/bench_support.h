#pragma once

// What every benchmark here shares: a notifier that shows nothing, the
// process's processor time, and a main that gives Qt its application object.
#include "link/notifier.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace orvanta::bench {

class NullNotifier : public link::Notifier
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

template <typename Application> int runBenchmarks(int argc, char **argv)
{
    Application application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace orvanta::bench
