// A shift arrow held for two seconds: how many codes go out, how evenly, and
// what the processor pays for it meanwhile.
#include "link/notifier.h"
#include "link/serial_link.h"
#include "panel/arrow_key.h"
#include "panel/front_panel.h"
#include "panel/main_window.h"

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

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>

using namespace orvanta;

namespace {

constexpr int kHoldMs = 2000;

using bench::NullNotifier;

using bench::processorSeconds;

// The instrument, recording each byte with the time it arrived.
struct RecordingInstrument
{
    QTemporaryDir dir;
    QString record = dir.filePath(QStringLiteral("received.txt"));
    QProcess process;
    QString path;

    RecordingInstrument()
    {
        process.start(QStringLiteral(ORVANTA_SIM_PATH), {QStringLiteral("--record"), record});
        process.waitForStarted();
        QDeadlineTimer deadline(5000);
        while (!process.canReadLine() && !deadline.hasExpired())
            process.waitForReadyRead(100);
        path = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~RecordingInstrument()
    {
        process.terminate();
        process.waitForFinished();
    }

    // Arrival times in nanoseconds, one per byte.
    QList<qint64> arrivals() const
    {
        QList<qint64> stamps;
        QFile file(record);
        if (file.open(QIODevice::ReadOnly))
            while (!file.atEnd())
                stamps.append(file.readLine().split(' ').value(0).toLongLong());
        return stamps;
    }
};

void post(QWindow *window, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QApplication::postEvent(window, new QMouseEvent(type, at, window->mapToGlobal(at), Qt::LeftButton, held,
                                                    Qt::NoModifier));
}

void BM_ArrowHeldTwoSeconds(benchmark::State &state)
{
    RecordingInstrument instrument;
    NullNotifier notifier;
    link::PortMap map;
    map.setDevice(1, instrument.path);
    link::SerialLink serial(map, notifier);
    panel::FrontPanel panel(serial, notifier, {}, {}, instrument.dir.filePath(QStringLiteral("orva.set")));
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
        QTimer::singleShot(kHoldMs, Qt::PreciseTimer, &panel,
                           [&] { post(window, QEvent::MouseButtonRelease, at, Qt::NoButton); });
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
    const QList<qint64> stamps = instrument.arrivals();
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
