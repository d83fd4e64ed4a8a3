// Start-up to the main window shown: every window loaded, the settings read.
#include "app/ui/program.h"
#include "panel/ui/main_window.h"

#include <QApplication>
#include <QTemporaryDir>

#include "bench_support.h"

#include <benchmark/benchmark.h>

using namespace orvanta;

namespace {

using bench::NullNotifier;

void BM_StartUpToWindowShown(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("orva.set"));
    for (auto _ : state) {
        app::Program program(
            link::PortMap{}, std::make_unique<NullNotifier>(), [] {}, settings);
        program.start();
        QApplication::processEvents();
        benchmark::DoNotOptimize(program.panel().window().isVisible());
        state.PauseTiming();
        program.panel().window().hide();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_StartUpToWindowShown)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
