// The instrument directly on its pty, and behind a serial-device server on a
// loopback port, raw and with Telnet port control, set up as the README
// advises, and raw with the server's defaults, in one run: a picture and a
// 125-record readout at the real 38 400 baud, and a status request, each from
// exec to exit. Through the server should cost no more than 5%.
#include "support/ser2net_server.h"
#include "support/sim_process.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench_support.h"
#include "job_timing.h"

#include <benchmark/benchmark.h>

using namespace orvanta;
using test::Ser2net;

namespace {

enum Route { Direct, Raw, ComPortControl, RawServerDefaults };

void timeThrough(benchmark::State &state, const QString &job, const QString &output, const QStringList &simOptions)
{
    test::SimProcess sim(QStringList{"--pace", "38400"} + simOptions);
    std::optional<Ser2net> server;
    QString device = sim.devicePath();
    if (state.range(0) != Direct) {
        server.emplace(sim.devicePath(),
            state.range(0) == ComPortControl ? Ser2net::Mode::ComPortControl : Ser2net::Mode::Raw,
            state.range(0) == RawServerDefaults);
        if (!server->start()) {
            state.SkipWithError("ser2net did not start");
            return;
        }
        device = server->url();
    }
    QTemporaryDir folder;
    QStringList arguments{job, "--device", device, "--baud", "38400", "--workdir", folder.path()};
    if (!output.isEmpty())
        arguments << "-o" << folder.filePath(output);
    bench::timeJob(state, arguments);
}

void BM_Capture(benchmark::State &state)
{
    timeThrough(state, "capture", "x.bmp", {});
}

void BM_ReadLog125(benchmark::State &state)
{
    timeThrough(state, "read-log", "log.txt", {"--log-records", "125"});
}

void BM_Status(benchmark::State &state)
{
    timeThrough(state, "status", {}, {});
}

void routes(benchmark::internal::Benchmark *bench)
{
    bench->ArgName("direct0_raw1_rfc2217_2_defaults3")
        ->Arg(Direct)
        ->Arg(Raw)
        ->Arg(ComPortControl)
        ->Arg(RawServerDefaults);
    bench->UseManualTime()->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Capture)->Apply(routes)->MinTime(5);
BENCHMARK(BM_ReadLog125)->Apply(routes)->MinTime(5);
BENCHMARK(BM_Status)->Apply(routes)->MinTime(2);

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QCoreApplication>(argc, argv);
}
