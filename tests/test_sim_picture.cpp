// The simulator's picture transfer and the graticule files, as the picture download
// relies on them: blocks over a real pseudo-terminal, decoded by a reference decoder.
#include "support/pty_client.h"
#include "support/sim_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <vector>

using namespace orvanta::test;

namespace {

constexpr int kBlock = 128;
constexpr int kSize = 512;
// Rows of pixels, each a brightness 0 to 3; a graticule's green is 1.
using Canvas = std::vector<std::array<quint8, kSize>>;

int at(const Canvas &canvas, int column, int row)
{
    return column >= 0 && column < kSize && row >= 0 && row < kSize ? canvas[row][column] : 0;
}

// Decodes a stream as the client does: byte column k's pixels, from bits 7-6, 3-2, 5-4, 1-0,
// land at canvas columns 4(k - 1) + i, rows from 2. Returns the bytes used, or -1 when the
// stream ends inside the picture or its last token runs past the last row.
int decodePicture(const QByteArray &stream, int rows, Canvas &canvas)
{
    static constexpr int kShift[4] = {6, 2, 4, 0};
    int used = 0;
    int cell = 0; // byte columns decoded, row after row
    while (cell < rows * kBlock) {
        const int control = used < stream.size() ? quint8(stream[used++]) : -1;
        const int length = control >= 0x80 ? 1 : control;
        if (control < 0 || used + length > stream.size())
            return -1;
        for (int n = 0; n < (control & 0x7F); ++n, ++cell) {
            for (int i = 0; i < 4 && cell % kBlock != 0; ++i)
                canvas[cell / kBlock + 2][4 * (cell % kBlock - 1) + i]
                    = quint8(stream[used + (length == 1 ? 0 : n)]) >> kShift[i] & 3;
        }
        used += length;
    }
    return cell == rows * kBlock ? used : -1;
}

// Paints a graticule file on canvas rows from 3; says what is wrong with a malformed one.
QString readGraticule(const QByteArray &file, int rows, Canvas &canvas)
{
    int row = 0;
    int column = 0;
    for (int i = 0; i + 1 < file.size() && row < kSize - 3; i += 2) {
        const quint8 flags = quint8(file[i]);
        const int end = column + quint8(file[i + 1]) + (flags & 3) * 256;
        for (; column < std::min(end, kSize); ++column)
            canvas[row + 3][column] = flags >> 2 & 1;
        column = end;
        if (flags & 8) {
            if (column != kSize)
                return QStringLiteral("row %1 covers %2 columns").arg(row).arg(column);
            ++row;
            column = 0;
        }
    }
    if (file.size() % 2 != 0 || column != 0)
        return QStringLiteral("the file ends inside a row");
    return row == rows ? QString() : QStringLiteral("%1 rows").arg(row);
}

const QString kShipped = QStringLiteral(ORVANTA_DATA_DIR "/graticules/");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSimPicture : public QObject
{
    Q_OBJECT

private slots:
    void picture_data()
    {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("graticule"); // a vector's scale
        QTest::addColumn<QList<int>>("bands");  // a parade's band edges

        QTest::newRow("PAL waveform") << kSimStatus << 508 << QString() << QList<int>{};
        QTest::newRow("NTSC waveform") << simStatus({{7, 0x04}}) << 428 << QString() << QList<int>{};
        // The analogue or digital scale as the client chooses it by bytes 6 and 12.
        QTest::newRow("PAL vector, analogue")
            << simStatus({{1, 0x22}, {6, 0x22}}) << 508 << "pal_veca.rle" << QList<int>{};
        QTest::newRow("NTSC vector, byte 6 bit 2 but viewed as digital")
            << simStatus({{1, 0x22}, {6, 0x24}, {7, 0x04}, {12, 0x04}}) << 428 << "ntsc_vecd.rle" << QList<int>{};
        QTest::newRow("PAL combination, analogue by byte 6 bit 2")
            << simStatus({{1, 0x23}, {6, 0x24}}) << 508 << "pal_coma.rle" << QList<int>{};
        // The client colours the bands by byte column (43, 85 or 32, 64, 96).
        QTest::newRow("parade RGB") << simStatus({{1, 0x61}}) << 508 << QString() << QList<int>{0, 168, 336, 508};
        QTest::newRow("parade YRGB") << simStatus({{1, 0x61}, {10, 0x01}}) << 508 << QString()
                                     << QList<int>{0, 124, 252, 380, 508};
    }

    void picture()
    {
        QFETCH(QByteArray, state);
        QFETCH(int, rows);
        QFETCH(QString, graticule);
        QFETCH(QList<int>, bands);

        SimProcess sim({"--status", state.toHex()});
        PtyClient client(sim.devicePath());
        // Blocks up to the padding, a block of nothing but empty tokens, which the stream
        // itself never holds; the padding comes again, 12 has no answer, 13 still has.
        const QByteArray padding(kBlock, '\0');
        QByteArray stream;
        client.send(codes({11}));
        for (QByteArray block; (block = client.pictureBlock()) != padding && stream.size() < 1000 * kBlock;) {
            QCOMPARE(block.size(), kBlock);
            stream += block;
        }
        QCOMPARE(client.pictureBlock(), padding);
        client.send(codes({12}));
        QCOMPARE(client.read(1, 200), QByteArray());
        client.send(codes({13}));
        QCOMPARE(client.read(16), state);

        // The last token ends exactly at the end of the last row; empty tokens fill its block.
        Canvas picture(kSize);
        const int used = decodePicture(stream, rows, picture);
        QVERIFY(used > stream.size() - kBlock);
        QCOMPARE(stream.mid(used), padding.left(stream.size() - used));

        // A vector: white and black on the centre, where the axes cross; six colours around
        // it, each inside its target box on the scale.
        Canvas scale(kSize);
        QCOMPARE(readGraticule(readFile(kShipped + graticule), graticule.isEmpty() ? 0 : rows, scale), QString());
        const int centre = graticule.isEmpty() ? 0 : graticule.contains("com") ? 384 : 256;
        const int centreRow = rows == 508 ? 256 : 216;
        QVERIFY(!centre || (at(picture, centre, centreRow) == 3 && at(scale, centre, centreRow)));
        int dots = 0;
        for (int row = 0; centre && row < kSize; ++row) {
            for (int column = 2 * centre - kSize; column < kSize; ++column) {
                if (at(picture, column, row) != 3)
                    continue;
                dots += at(picture, column - 1, row) != 3 && at(picture, column, row - 1) != 3;
                for (const auto &[dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    int step = 0;
                    while (step <= 10 && !at(scale, column + dx * step, row + dy * step))
                        ++step;
                    QVERIFY2(step <= 10 || std::abs(column - centre) + std::abs(row - centreRow) <= 2,
                        qPrintable(QStringLiteral("%1,%2 outside a box").arg(column).arg(row)));
                }
            }
        }
        QCOMPARE(dots, centre ? 7 : 0);

        // A parade: each band's trace keeps inside it, clear of its edges.
        const auto lit = [&](int left, int right) {
            return std::ranges::any_of(picture, [&](const auto &r) {
                return std::any_of(r.begin() + left, r.begin() + right, [](quint8 v) { return v != 0; });
            });
        };
        for (int band = 0; band + 1 < bands.size(); ++band)
            QVERIFY(lit(bands[band], bands[band + 1]) && (band == 0 || !lit(bands[band] - 4, bands[band] + 4)));
    }

    void smallBoxesAnswerLate()
    {
        SimProcess sim({"--status", simStatus({{1, 0x20}}).toHex()});
        PtyClient client(sim.devicePath());
        QElapsedTimer timer;
        timer.start();
        client.send(codes({11}));
        // Nothing before the client has flushed its input; then the one block it waits for.
        QCOMPARE(client.read(kBlock), QByteArray(kBlock, '\0'));
        QVERIFY2(timer.elapsed() >= 200, qPrintable(QString::number(timer.elapsed())));
        client.send(codes({12}));
        QCOMPARE(client.read(1, 500), QByteArray());
    }

    void blockFaults_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("blocks"); // sent in full before the fault

        QTest::newRow("stall after 3") << QStringList{"--stall-after", "3"} << 3;
        QTest::newRow("hang up after 2") << QStringList{"--hangup-after", "2"} << 2;
    }

    void blockFaults()
    {
        QFETCH(QStringList, options);
        QFETCH(int, blocks);

        SimProcess sim(options);
        PtyClient client(sim.devicePath());
        client.send(codes({11}));
        for (int i = 0; i < blocks; ++i)
            QCOMPARE(client.pictureBlock().size(), kBlock);
        QCOMPARE(client.pictureBlock(500), QByteArray());
        if (options.contains("--hangup-after")) {
            client.read(1, 3000);
            QVERIFY(client.hungUp());
            QCOMPARE(sim.receivedBytes().count(char(10)), blocks + 1);
        } else { // only the picture stalls: the instrument still answers
            client.send(codes({12, 13}));
            QCOMPARE(client.read(16), kSimStatus);
        }
    }

    void graticuleFiles()
    {
        // The generator makes the twelve files checked in; each row of them ends with a last
        // record after runs painting all 512 columns; the "a" and "d" sets differ.
        QTemporaryDir dir;
        QProcess generator;
        generator.start(QCoreApplication::applicationDirPath() + "/graticule-gen", {dir.path()});
        QVERIFY2(generator.waitForFinished(30000), "build graticule-gen (it is part of the tree)");
        QCOMPARE(generator.exitCode(), 0);
        const QStringList made = QDir(dir.path()).entryList({"*.rle"});
        QCOMPARE(made.size(), 12);
        for (const QString &name : made) {
            const QByteArray data = readFile(kShipped + name);
            QVERIFY2(readFile(dir.filePath(name)) == data, qPrintable(name + " is not as generated"));
            Canvas canvas(kSize);
            QCOMPARE(readGraticule(data, name.startsWith("pal") ? 508 : 428, canvas), QString());
            QString other = name;
            other[other.size() - 5] = name.endsWith("a.rle") ? 'd' : 'a';
            QVERIFY2(readFile(kShipped + other) != data, qPrintable(name));
        }
    }
};

QTEST_GUILESS_MAIN(TestSimPicture)
#include "test_sim_picture.moc"
