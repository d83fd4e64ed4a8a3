// Processor time the waits cost: they must sleep, not spin.
#include "link/serial_link.h"
#include "messages/notifier.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>

#include "bench_support.h"
#include "support/sim_process.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace orvanta;

namespace {

using bench::NullNotifier;

using bench::processorSeconds;

template <typename Wait> void measure(benchmark::State &state, Wait wait)
{
    test::SimProcess instrument({QStringLiteral("--silent")});
    NullNotifier notifier;
    link::PortMap map;
    map.setDevice(1, instrument.devicePath());
    link::SerialLink serial(map, notifier);
    if (!serial.OpenPort()) {
        state.SkipWithError("cannot open the simulator's port");
        return;
    }
    double processor = 0;
    for (auto _ : state) {
        const double before = processorSeconds();
        wait(serial);
        processor += processorSeconds() - before;
    }
    state.counters["cpu_ms_per_wait"] = benchmark::Counter(processor * 1e3 / double(state.iterations()));
}

void BM_WaitForBytesTimeout(benchmark::State &state)
{
    measure(state, [](link::SerialLink &serial) {
        serial.FlushInput();
        serial.WriteByte(13);
        benchmark::DoNotOptimize(serial.WaitForBytes(16));
    });
    state.counters["cpu_percent"] = benchmark::Counter(state.counters["cpu_ms_per_wait"] / 2000.0 * 100.0);
}

void BM_Delay1000(benchmark::State &state)
{
    measure(state, [](link::SerialLink &serial) { serial.Delay(std::chrono::milliseconds(1000)); });
    state.counters["cpu_percent"] = benchmark::Counter(state.counters["cpu_ms_per_wait"] / 1000.0 * 100.0);
}

} // namespace

BENCHMARK(BM_WaitForBytesTimeout)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Delay1000)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QCoreApplication>(argc, argv);
}
