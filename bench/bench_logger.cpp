// The logger's figures: appending to a long log, the processor while
// monitoring an instrument that sends nothing, the memory of 100 000 lines,
// and a stored-log readout at 38 400 baud against its bound.
#include "logger/log_texts.h"
#include "logger/ui/log_book.h"
#include "support/logger_rig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace orvanta;

namespace {

constexpr double kBaud = 38400;
constexpr double kBitsPerByte = 10;
constexpr int kRecord = 34;
constexpr int kReadoutRecords = 125;

double residentMegabytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

// Real-time lines appended one by one. Around the 10 000th and the 100 000th
// each append is followed by the events a monitoring pass runs (the repaint
// among them) and timed: the append alone (LogText and the text area) and with
// its repaint. Elsewhere the events run every few hundred lines, which is
// quicker and grows the log the same way. Then the memory the lines take.
void BM_AppendRealtimeLines(benchmark::State &state)
{
    test::LoggerRig logger({"--error-interval", "0"});
    logger::LogBook &log = logger.window->log();
    const QString line = QStringLiteral(" Gamut   12     34    56    SDI1\r\n");
    constexpr int kWindow = 500;
    for (auto _ : state) {
        log.start(logger::texts::headingLines());
        logger.serial->waits().runPending();
        const double before = residentMegabytes();
        std::vector<double> append10k, append100k, painted10k, painted100k;
        for (int n = 1; n <= 100'000; ++n) {
            const bool near10k = n > 10'000 - kWindow && n <= 10'000 + kWindow;
            const bool near100k = n > 100'000 - 2 * kWindow;
            QElapsedTimer clock;
            clock.start();
            log.append(line);
            const double appendUs = double(clock.nsecsElapsed()) / 1e3;
            if (near10k || near100k || n % 300 == 0)
                logger.serial->waits().runPending();
            const double paintedUs = double(clock.nsecsElapsed()) / 1e3;
            (near10k ? append10k : append100k).push_back(appendUs);
            if (near10k)
                painted10k.push_back(paintedUs);
            if (near100k)
                painted100k.push_back(paintedUs);
            if (!near10k && !near100k)
                append100k.pop_back();
        }
        state.counters["append_10k_us"] = median(append10k);
        state.counters["append_100k_us"] = median(append100k);
        state.counters["with_repaint_10k_us"] = median(painted10k);
        state.counters["with_repaint_100k_us"] = median(painted100k);
        state.counters["with_repaint_100k_max_us"] = *std::ranges::max_element(painted100k);
        state.counters["growth_100k_over_10k"] = median(painted100k) / median(painted10k);
        state.counters["memory_for_100k_lines_MB"] = residentMegabytes() - before;
        state.counters["log_text_MB"] = double(log.logText().capacity()) * 2 / (1024 * 1024);
    }
}

// Monitoring an instrument that sends nothing, for ten seconds.
void BM_MonitorSilentInstrument(benchmark::State &state)
{
    test::LoggerRig logger({"--error-interval", "0"});
    for (auto _ : state) {
        QElapsedTimer clock;
        double processor = 0;
        QTimer::singleShot(1500, logger.window.data(), [&] {
            clock.start();
            processor = bench::processorSeconds();
        });
        QTimer::singleShot(11'500, logger.window.data(), [&] { logger.window->button("cmdStopreal")->click(); });
        logger.window->button("cmdStartreal")->click();
        const double wall = double(clock.nsecsElapsed()) / 1e9;
        state.counters["processor_percent_of_a_core"] = 100 * (bench::processorSeconds() - processor) / wall;
        state.counters["wall_s"] = wall;
    }
}

// 125 records from the simulator paced at 38 400 baud: one second of settling
// plus the wire time of every byte (code 8, 125 codes 7, 125 records) is the bound.
void BM_StoredLogReadout(benchmark::State &state)
{
    test::LoggerRig logger({"--pace", "38400", "--log-records", "125", "--log-no-end"});
    logger.serial->SetPortSettings(QStringLiteral("38400,N,8,1"));
    const double bound = 1.0 + (1 + kReadoutRecords + kReadoutRecords * kRecord) * kBitsPerByte / kBaud;
    double seconds = 0;
    bench::ThreadUsage usage;
    for (auto _ : state) {
        QElapsedTimer clock;
        const bench::ThreadUsage before = bench::ThreadUsage::now();
        clock.start();
        logger.window->button("cmdReadlog")->click();
        seconds += double(clock.nsecsElapsed()) / 1e9;
        usage += bench::ThreadUsage::now() - before;
    }
    const double n = double(state.iterations());
    state.counters["readout_s"] = seconds / n;
    state.counters["bound_s"] = bound;
    state.counters["readout_over_bound"] = seconds / n / bound;
    state.counters["cpu_percent"] = usage.seconds / seconds * 100;
    state.counters["wakeups"] = double(usage.wakeUps) / n;
    state.counters["records"] = double(logger.window->logText().count(QStringLiteral("\r\n")) - 2);
}

} // namespace

BENCHMARK(BM_AppendRealtimeLines)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MonitorSilentInstrument)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StoredLogReadout)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
