// A shift arrow held for two seconds: how many codes go out, how evenly, and
// what the processor pays for it meanwhile.
#include "link/serial_link.h"
#include "messages/notifier.h"
#include "panel/ui/arrow_key.h"
#include "panel/ui/main_window.h"
#include "panel/ui/panel_controller.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "bench_support.h"
#include "support/sim_process.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>

using namespace orvanta;

namespace {

constexpr int kHoldMs = 2000;

using bench::NullNotifier;

using bench::processorSeconds;

void post(QWindow *window, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QApplication::postEvent(
        window, new QMouseEvent(type, at, window->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier));
}

void BM_ArrowHeldTwoSeconds(benchmark::State &state)
{
    test::SimProcess instrument;
    QTemporaryDir dir;
    NullNotifier notifier;
    link::PortMap map;
    map.setDevice(1, instrument.devicePath());
    link::SerialLink serial(map, notifier);
    panel::PanelController panel(serial, notifier, {}, {}, dir.filePath(QStringLiteral("orva.set")));
    panel.window().show();
    QApplication::processEvents();
    if (!serial.OpenPort()) {
        state.SkipWithError("cannot open the simulator's port");
        return;
    }
    QWindow *window = panel.window().windowHandle();
    const panel::ArrowKey *key = panel.window().image(QStringLiteral("imgUp"));
    const QPointF at = key->mapTo(&panel.window(), key->rect().center());

    double processor = 0, held = 0;
    for (auto _ : state) {
        QTimer::singleShot(
            kHoldMs, Qt::PreciseTimer, &panel, [&] { post(window, QEvent::MouseButtonRelease, at, Qt::NoButton); });
        post(window, QEvent::MouseButtonPress, at, Qt::LeftButton);
        const double before = processorSeconds();
        QElapsedTimer wall;
        wall.start();
        // The press runs the repeat; it returns once the release has come.
        QApplication::processEvents();
        processor += processorSeconds() - before;
        held += double(wall.nsecsElapsed()) / 1e9;
    }

    // Let the last bytes land, then read the spacing of what arrived.
    QDeadlineTimer settle(200);
    while (!settle.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QList<qint64> stamps;
    for (const test::SimProcess::Received &r : instrument.received())
        stamps.append(r.nanoseconds);
    qint64 widest = 0;
    for (qsizetype i = 1; i < stamps.size(); ++i)
        if (stamps[i] - stamps[i - 1] < qint64(kHoldMs) * 1'000'000 / 2)
            widest = std::max(widest, stamps[i] - stamps[i - 1]);

    state.counters["codes_per_s"] = benchmark::Counter(double(stamps.size()) / held);
    state.counters["cpu_percent"] = benchmark::Counter(processor / held * 100.0);
    state.counters["widest_gap_ms"] = benchmark::Counter(double(widest) / 1e6);
}

} // namespace

BENCHMARK(BM_ArrowHeldTwoSeconds)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
