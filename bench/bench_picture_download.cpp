// One "Download Single Frame" from the simulator paced at 38 400 baud, against
// the time its bytes need on the line (10 bits a byte), and the processor time
// the program's thread spends on it, repaints of the shown window included.
// The simulator writes byte by byte, each at its time on the line, as a serial
// port without a receive FIFO delivers them: every byte is a wake-up of its own.
#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "messages/notifier.h"
#include "picture/ui/picture_window.h"
#include "print/pdf_printer_target.h"
#include "support/sim_process.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include "bench_support.h"

#include <benchmark/benchmark.h>

using namespace orvanta;

namespace {

constexpr double kBaud = 38400;
constexpr int kBlock = 128;
constexpr int kStatusReply = 16;

class CountingNotifier : public messages::Notifier
{
public:
    int shown = 0;

protected:
    void showWarning(const QString &, const QString &) override { ++shown; }
};

class NoPoll : public link::PollSwitch
{
public:
    void pollEvent(link::PollEvent) override { }
};

void download(benchmark::State &state, const char *status)
{
    test::SimProcess sim({"--pace", "38400", "--status", status});
    link::PortMap map;
    map.setDevice(1, sim.devicePath());
    CountingNotifier notifier;
    link::SerialLink serial(map, notifier);
    serial.SetPortSettings(QStringLiteral("38400,N,8,1"));
    NoPoll poll;
    print::PdfPrinterTarget printer(QStringLiteral("/dev/null"));
    picture::PictureWindow window(serial, notifier, poll, printer, {}, QStringLiteral(ORVANTA_DATA_DIR "/graticules"));
    // Shown, as a user watches it: the picture repaints as its rows arrive.
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("the window was not shown");

    double seconds = 0;
    bench::ThreadUsage usage;
    double bytes = 0;
    double wireSeconds = 0;
    double transferSeconds = 0;
    double blockWireSeconds = 0;
    qsizetype seen = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        const bench::ThreadUsage before = bench::ThreadUsage::now();
        clock.start();
        window.button("cmdDownload")->click();
        seconds += double(clock.nsecsElapsed()) / 1e9;
        usage += bench::ThreadUsage::now() - before;
        state.PauseTiming();
        sim.waitForReceived(int(seen) + 1, 2000);
        QTest::qWait(200);
        const QList<test::SimProcess::Received> received = sim.received().mid(seen);
        seen += received.size();
        qint64 firstBlock = 0;
        qint64 end = 0;
        int blocks = 0;
        for (const auto &r : received) {
            if (r.byte == 10 && blocks++ == 0)
                firstBlock = r.nanoseconds;
            if (r.byte == 12)
                end = r.nanoseconds;
        }
        bytes += kStatusReply + kBlock * blocks;
        wireSeconds += (kStatusReply + kBlock * blocks) * 10 / kBaud;
        blockWireSeconds += kBlock * blocks * 10 / kBaud;
        transferSeconds += double(end - firstBlock) / 1e9;
        state.counters["blocks"] = blocks;
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    state.counters["failures"] = notifier.shown;
    state.counters["total_s"] = seconds / n;
    state.counters["wire_bound_s"] = wireSeconds / n;
    state.counters["total_over_bound"] = seconds / wireSeconds;
    // From the first request to the end code: the blocks alone, without the cycle's fixed pauses.
    state.counters["transfer_s"] = transferSeconds / n;
    state.counters["transfer_over_blocks_wire"] = transferSeconds / blockWireSeconds;
    // Every byte the instrument sent, the status reply and each block asked for.
    state.counters["bytes"] = bytes / n;
    state.counters["cpu_ms"] = usage.seconds * 1e3 / n;
    state.counters["cpu_us_per_byte"] = usage.seconds * 1e6 / bytes;
    state.counters["cpu_percent"] = usage.seconds / seconds * 100;
    // A late simulator hands over several bytes a wake-up, which makes a byte look cheaper.
    state.counters["wakeups"] = double(usage.wakeUps) / n;
    state.counters["cpu_us_per_wakeup"] = usage.seconds * 1e6 / double(usage.wakeUps);
}

void BM_DownloadPalWaveform(benchmark::State &state)
{
    download(state, "03210000800c20050000000000001e30");
}

void BM_DownloadPalCombination(benchmark::State &state)
{
    download(state, "03230000800c20050000000000001e30");
}

// The largest picture, about 15 500 bytes: the processor time a byte's wake-up costs.
void BM_DownloadPalParade(benchmark::State &state)
{
    download(state, "03610000800c20050000000000001e30");
}

} // namespace

BENCHMARK(BM_DownloadPalWaveform)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DownloadPalCombination)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DownloadPalParade)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
