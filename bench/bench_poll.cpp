// The status poll: what one UpdateMenus costs, and how long after the reply
// the menus and lamps show it.
#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "messages/notifier.h"
#include "panel/lamp_map.h"
#include "panel/menu_map.h"
#include "panel/poll_cycle.h"
#include "panel/ui/main_window.h"
#include "panel/ui/window_status_target.h"
#include "support/sim_process.h"

#include <QApplication>

#include "bench_support.h"

#include <benchmark/benchmark.h>

using namespace orvanta;

namespace {

using bench::NullNotifier;

class NoSwitch : public link::PollSwitch
{
public:
    void pollEvent(link::PollEvent) override { }
};

// Two blocks that differ in every field, so every property changes each call.
const link::StatusBlock kBlocks[] = {
    link::StatusBlock(QByteArray(16, '\0')),
    link::StatusBlock(QByteArray(16, '\xff')),
};

void BM_UpdateMenus(benchmark::State &state)
{
    panel::MainWindow window;
    panel::WindowStatusTarget target(window);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(panel::applyMenuState(kBlocks[i++ & 1], target));
}

void BM_UpdatePanel(benchmark::State &state)
{
    panel::MainWindow window;
    panel::WindowStatusTarget target(window);
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(panel::applyLampState(kBlocks[i++ & 1], target));
}

// From the simulator taking the request (its reply leaves at once, or paced at
// the given baud, 10 bits a byte) to UpdatePanel done: the line, the wake-up
// of the wait, the read, UpdateMenus and UpdatePanel.
void BM_ReplyToPanelUpdated(benchmark::State &state)
{
    const int baud = int(state.range(0));
    QStringList options;
    if (baud > 0)
        options << QStringLiteral("--pace") << QString::number(baud);
    test::SimProcess sim(options);
    NullNotifier notifier;
    link::PortMap map;
    map.setDevice(1, sim.devicePath());
    link::SerialLink serial(map, notifier);
    if (baud > 0)
        serial.SetPortSettings(QStringLiteral("%1,N,8,1").arg(baud));
    panel::MainWindow window;
    NoSwitch noSwitch;
    panel::WindowStatusTarget target(window);
    panel::PollCycle poll(serial, target, noSwitch);
    const qint64 lineNs = baud > 0 ? qint64(16) * 10 * 1'000'000'000 / baud : 0;

    for (auto _ : state) {
        poll.Timer1_Timer();
        const qint64 done = test::SimProcess::monotonicNanoseconds();
        const QList<test::SimProcess::Received> received = sim.received();
        if (received.isEmpty() || serial.statusBlock().empty()) {
            state.SkipWithError("no reply");
            break;
        }
        state.SetIterationTime(double(done - received.last().nanoseconds - lineNs) / 1e9);
    }
}

} // namespace

BENCHMARK(BM_UpdateMenus)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdatePanel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplyToPanelUpdated)->Arg(0)->Arg(38400)->UseManualTime()->Iterations(200)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
