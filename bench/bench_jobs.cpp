// A job from exec to exit, as a script pays for it: process start-up, the
// link, the instrument's answer, the output and the exit. A capture is set
// against the picture window's own single download of the same picture.
#include "support/picture_rig.h"
#include "support/sim_process.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include "bench_support.h"
#include "job_timing.h"

#include <benchmark/benchmark.h>

using namespace orvanta;
using bench::timeJob;

namespace {

// The instrument is there already, as in a monitoring system's check.
void BM_StatusExecToExit(benchmark::State &state)
{
    test::SimProcess sim;
    timeJob(state, {"status", "--device", sim.devicePath(), "--baud", "38400"});
}

void BM_StatusJsonExecToExit(benchmark::State &state)
{
    test::SimProcess sim;
    timeJob(state, {"status", "--json", "--device", sim.devicePath(), "--baud", "38400"});
}

// The reply paced as a real 38 400 baud line sends it.
void BM_StatusPacedExecToExit(benchmark::State &state)
{
    test::SimProcess sim({"--pace", "38400"});
    timeJob(state, {"status", "--device", sim.devicePath(), "--baud", "38400"});
}

// With the simulator started and stopped by the job itself.
void BM_StatusSimulateExecToExit(benchmark::State &state)
{
    timeJob(state, {"status", "--simulate"});
}

// One picture at the real line speed, written to a PNG file, from exec to exit.
void BM_CaptureExecToExit(benchmark::State &state)
{
    test::SimProcess sim({"--pace", "38400", "--status", test::kPalWaveform});
    QTemporaryDir folder;
    QDir(folder.path()).mkdir("graticules");
    for (const QString &name : QDir(test::kDataGraticules).entryList(QDir::Files))
        QFile::copy(test::kDataGraticules + '/' + name, folder.filePath("graticules/" + name));
    timeJob(
        state, {"capture", "--device", sim.devicePath(), "--baud", "38400", "--workdir", folder.path(), "-o", "x.png"});
}

// The window's "Download Single Frame" of the same picture, the port already open.
void BM_WindowSingleDownload(benchmark::State &state)
{
    test::PictureRig rig(test::kPalWaveform, {"--pace", "38400"});
    rig.serial->SetPortSettings("38400,N,8,1");
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        rig.download();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!rig.notifier.messages.isEmpty())
            state.SkipWithError("the download failed");
    }
}

} // namespace

BENCHMARK(BM_CaptureExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(5);
BENCHMARK(BM_WindowSingleDownload)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(5);
BENCHMARK(BM_StatusExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusJsonExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusPacedExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StatusSimulateExecToExit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
