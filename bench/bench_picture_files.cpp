// Continuous download against the simulator paced at 38 400 baud, as cycles a minute
// against the bound of wire time plus the cycle's 600 ms of fixed pauses; one
// conversion with its 512 row refreshes; storing and displaying a picture.
#include "picture/annotation.h"
#include "picture/graticule_file.h"
#include "picture/picture_file.h"
#include "print/pdf_printer_target.h"
#include "support/picture_rig.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "bench_support.h"

#include <benchmark/benchmark.h>

using namespace orvanta;

namespace {

constexpr double kBaud = 38400;
constexpr int kBlock = 128;
constexpr int kStatusReply = 16;
constexpr double kFixedPauses = 0.6;
constexpr int kCycles = 4;

// A picture as a download leaves it: graticule, trace dots, annotation.
QImage downloadedPicture()
{
    picture::Canvas canvas;
    picture::GraticuleFile graticule;
    graticule.open(test::kDataGraticules + "/pal_wfmd.rle");
    for (int row = 3; row <= 510; ++row)
        graticule.DrawGratLine(canvas, row);
    for (int i = 0; i < 20000; ++i)
        canvas.setPixel(i * 37 % 508, 3 + i * 101 % 507, picture::palette::kWhite);
    picture::AddStatusText(
        canvas, link::StatusBlock(QByteArray::fromHex(test::kPalWaveform)), picture::annotationFont());
    return canvas.image();
}

void BM_ContinuousCyclesPerMinute(benchmark::State &state)
{
    test::PictureRig rig(test::kPalWaveform, {"--pace", "38400", "--live"});
    test::SimProcess &sim = rig.sim;
    double seconds = 0;
    double boundSeconds = 0;
    int cycles = 0;
    qsizetype seen = 0;
    for (auto _ : state) {
        // Told to end once the last cycle has started: that one runs to its end.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (sim.receivedBytes().mid(seen).count(char(11)) >= kCycles)
                rig.window->cycle().endContinuous();
        });
        watch.start(20);
        QElapsedTimer clock;
        clock.start();
        rig.window->button("cmdContinuous")->click();
        seconds += double(clock.nsecsElapsed()) / 1e9;
        watch.stop();
        state.PauseTiming();
        sim.waitForReceived(int(seen) + 1, 2000);
        const QByteArray received = sim.receivedBytes().mid(seen);
        seen += received.size();
        const qsizetype blocks = received.count(char(10));
        const qsizetype run = received.count(char(12));
        cycles += int(run);
        boundSeconds += double(kStatusReply * run + kBlock * blocks) * 10 / kBaud + kFixedPauses * double(run);
        state.ResumeTiming();
    }
    state.counters["cycles"] = cycles;
    state.counters["cycles_per_min"] = cycles / seconds * 60;
    state.counters["bound_cycles_per_min"] = cycles / boundSeconds * 60;
    state.counters["bound_over_measured_cycles"] = seconds / boundSeconds;
}

void BM_ConvertWithRowRefreshes(benchmark::State &state)
{
    test::PictureRig rig{QString()};
    const QImage picture = downloadedPicture();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(rig.dir.path());
    for (auto _ : state) {
        state.PauseTiming();
        rig.window->canvas().replace(picture);
        state.ResumeTiming();
        rig.click("cmdConvert");
    }
    QDir::setCurrent(previous);
}

void BM_StorePicture(benchmark::State &state)
{
    QTemporaryDir dir;
    const QImage picture = downloadedPicture();
    for (auto _ : state)
        benchmark::DoNotOptimize(picture::savePicture(picture, dir.filePath("mypic.bmp")));
}

void BM_DisplayPicture(benchmark::State &state)
{
    QTemporaryDir dir;
    picture::savePicture(downloadedPicture(), dir.filePath("mypic.bmp"));
    picture::Canvas canvas;
    for (auto _ : state)
        canvas.replace(*picture::loadPicture(dir.filePath("mypic.bmp")));
}

} // namespace

BENCHMARK(BM_ContinuousCyclesPerMinute)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ConvertWithRowRefreshes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StorePicture)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DisplayPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
