// The simulator's picture transfer over its pseudo-terminal: how long the first block
// takes (the screen is rendered and coded then), and a whole transfer, unpaced and
// paced at 38 400 baud against its wire time.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSerialPort>

#include "bench_support.h"
#include "support/sim_process.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kBlock = 128;

// Status blocks: PAL waveform, vector, combination, RGB parade.
const char *const kStates[] = {
    "03210000800C20050000000000001E30",
    "03220000800C20050000000000001E30",
    "03230000800C20050000000000001E30",
    "03610000800C20050000000000001E30",
};
const char *const kStateNames[] = {"waveform", "vector", "combination", "parade"};

struct Instrument
{
    std::unique_ptr<orvanta::test::SimProcess> sim;
    QSerialPort port;

    Instrument(const char *state, int pace)
    {
        QStringList options{QStringLiteral("--status"), QString::fromLatin1(state)};
        if (pace > 0)
            options << QStringLiteral("--pace") << QString::number(pace);
        sim = std::make_unique<orvanta::test::SimProcess>(options);
        port.setPortName(sim->devicePath());
        port.open(QIODevice::ReadWrite);
    }
    ~Instrument() { port.close(); }

    void send(char code)
    {
        port.write(&code, 1);
        port.flush();
    }

    QByteArray block()
    {
        send(10);
        QByteArray data;
        QDeadlineTimer deadline(10000);
        while (data.size() < kBlock && !deadline.hasExpired()) {
            if (port.bytesAvailable() == 0)
                port.waitForReadyRead(50);
            data += port.read(kBlock - data.size());
        }
        return data;
    }

    // Blocks up to the first one that is nothing but empty tokens, which only the
    // padding after the stream's end is.
    int transfer()
    {
        send(11);
        int blocks = 0;
        for (;;) {
            const QByteArray data = block();
            if (data.size() != kBlock || data == QByteArray(kBlock, '\0'))
                break;
            ++blocks;
        }
        send(12);
        return blocks;
    }
};

void BM_FirstBlock(benchmark::State &state)
{
    Instrument instrument(kStates[state.range(0)], 0);
    state.SetLabel(kStateNames[state.range(0)]);
    for (auto _ : state) {
        instrument.send(11);
        benchmark::DoNotOptimize(instrument.block());
        instrument.send(12);
    }
}

void BM_Transfer(benchmark::State &state)
{
    const int pace = int(state.range(1));
    Instrument instrument(kStates[state.range(0)], pace);
    state.SetLabel(kStateNames[state.range(0)]);
    int blocks = 0;
    for (auto _ : state)
        blocks = instrument.transfer();
    state.counters["blocks"] = blocks;
    if (pace > 0) {
        // The padding block that ends the loop crossed the line too.
        const double wireSeconds = double(blocks + 1) * kBlock * 10 / pace;
        state.counters["wire_ms"] = wireSeconds * 1e3;
    }
}

} // namespace

BENCHMARK(BM_FirstBlock)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transfer)->ArgsProduct({{0, 1, 2, 3}, {0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Transfer)->ArgsProduct({{0, 3}, {38400}})->Iterations(2)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return orvanta::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
