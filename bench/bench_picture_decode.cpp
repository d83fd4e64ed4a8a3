// Decoding and drawing one full PAL picture with its graticule rows, from memory.
#include "link/status_block.h"
#include "picture/canvas.h"
#include "picture/graticule_file.h"
#include "picture/picture_decoder.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using namespace orvanta;

namespace {

constexpr int kPalRows = 508;
constexpr int kRowBytes = 128;

// Repeat tokens for runs of two or more, literal tokens for the rest.
QByteArray runLengthCoded(const QByteArray &bytes)
{
    QByteArray stream;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype run = 1;
        while (at + run < bytes.size() && run < 127 && bytes[at + run] == bytes[at])
            ++run;
        if (run >= 2) {
            stream += char(0x80 + run);
            stream += bytes[at];
            at += run;
            continue;
        }
        qsizetype literal = 0;
        while (at + literal < bytes.size() && literal < 127
            && !(at + literal + 1 < bytes.size() && bytes[at + literal + 1] == bytes[at + literal]))
            ++literal;
        literal = std::max<qsizetype>(literal, 1);
        stream += char(literal);
        stream += bytes.mid(at, literal);
        at += literal;
    }
    return stream;
}

// A waveform-like trace: each byte column lit on a band of rows around a
// level that wanders across the picture.
QByteArray tracePicture()
{
    QByteArray pixels(kPalRows * kRowBytes, '\0');
    for (int column = 1; column < kRowBytes; ++column) {
        const int level = 80 + (column * 37) % 340;
        for (int dy = -2; dy <= 2; ++dy)
            pixels[(level + dy) * kRowBytes + column] = char(dy == 0 ? 0xFF : dy * dy == 1 ? 0xAA : 0x55);
    }
    return runLengthCoded(pixels);
}

// The worst case: every pixel lit at random, nothing repeats.
QByteArray noisePicture()
{
    QByteArray pixels(kPalRows * kRowBytes, '\0');
    QRandomGenerator random(7);
    for (char &byte : pixels)
        byte = char(random.bounded(1, 256));
    return runLengthCoded(pixels);
}

QByteArray graticuleBytes()
{
    QFile file(QStringLiteral(ORVANTA_DATA_DIR "/graticules/pal_wfmd.rle"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void decodeFrame(benchmark::State &state, const QByteArray &stream)
{
    const link::StatusBlock pal(QByteArray::fromHex("03210000800c20050000000000001e30"));
    const QByteArray graticuleRows = graticuleBytes();
    if (graticuleRows.isEmpty()) {
        state.SkipWithError("no graticule file");
        return;
    }
    picture::Canvas canvas;
    picture::PictureDecoder decoder(canvas);
    for (auto _ : state) {
        picture::GraticuleFile graticule;
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(graticuleRows);
        buffer->open(QIODevice::ReadOnly);
        graticule.open(std::move(buffer));
        decoder.start(pal, &graticule);
        for (qsizetype at = 0; at < stream.size() && !decoder.finished(); at += 128)
            decoder.feed(QByteArrayView(stream).sliced(at, std::min<qsizetype>(128, stream.size() - at)));
        if (!decoder.finished())
            state.SkipWithError("stream too short");
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
    state.counters["stream_bytes"] = double(stream.size());
    state.counters["frames_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_DecodePalFrameTrace(benchmark::State &state)
{
    decodeFrame(state, tracePicture());
}

void BM_DecodePalFrameNoise(benchmark::State &state)
{
    decodeFrame(state, noisePicture());
}

} // namespace

BENCHMARK(BM_DecodePalFrameTrace)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodePalFrameNoise)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
