// What a large help file costs: building the text, making the window at
// start-up (hidden), and its first showing.
#include "help/help_text.h"
#include "help/ui/help_window.h"
#include "messages/notifier.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "bench_support.h"

#include <benchmark/benchmark.h>

using namespace orvanta;

namespace {

using bench::NullNotifier;

constexpr qsizetype kFileSize = 10 * 1024 * 1024;

// Arg 0: help-like lines of 70 characters; arg 1: one line without a line end.
QByteArray helpFile(int shape)
{
    if (shape == 1)
        return QByteArray(kFileSize, 'x');
    const QByteArray line = QByteArray(70, 'h') + "\r\n";
    QByteArray bytes;
    bytes.reserve(kFileSize + line.size());
    while (bytes.size() < kFileSize)
        bytes += line;
    return bytes;
}

struct HelpFolder
{
    explicit HelpFolder(int shape)
    {
        QFile file(path());
        if (file.open(QIODevice::WriteOnly))
            file.write(helpFile(shape));
    }
    QString path() const { return dir.filePath(QStringLiteral("orva.hlp")); }
    QTemporaryDir dir;
};

void BM_HelpTextFromBytes(benchmark::State &state)
{
    const QByteArray bytes = helpFile(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(help::helpTextFromBytes(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// The part start-up waits for: read the file and fill the hidden window.
void BM_HelpWindowMadeHidden(benchmark::State &state)
{
    HelpFolder folder(int(state.range(0)));
    NullNotifier notifier;
    for (auto _ : state) {
        help::HelpWindow window(notifier, folder.path());
        benchmark::DoNotOptimize(window.helpText().size());
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}

// "Help Contents" on a window made at start-up: show it and paint it once.
void BM_HelpWindowFirstShown(benchmark::State &state)
{
    HelpFolder folder(int(state.range(0)));
    NullNotifier notifier;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<help::HelpWindow>(notifier, folder.path());
        state.ResumeTiming();
        window->show();
        QApplication::processEvents();
        window->grab();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_HelpTextFromBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HelpWindowMadeHidden)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HelpWindowFirstShown)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    return bench::runBenchmarks<QApplication>(argc, argv);
}
