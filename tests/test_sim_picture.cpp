// The simulator's picture transfer and the graticule files, as the picture download
// relies on them: blocks over a real pseudo-terminal, decoded by a reference decoder.
#include "support/sim_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

using orvanta::test::SimProcess;

namespace {

constexpr int kBlock = 128;
constexpr int kColumns = 512;
using Row = std::array<quint8, kColumns>;

const QByteArray kDefaultBlock = QByteArray::fromHex("03 21 00 00 80 0C 20 05 00 00 00 00 00 00 1E 30");

// The default block (PAL waveform, digital set) with whole bytes replaced: {index, value}.
QString status(std::initializer_list<std::pair<int, int>> changes)
{
    QByteArray block = kDefaultBlock;
    for (const auto &[index, value] : changes)
        block[index] = char(value);
    return QString::fromLatin1(block.toHex());
}

struct Client
{
    explicit Client(const QString &path)
    {
        port.setPortName(path);
        port.open(QIODevice::ReadWrite);
    }

    void send(int code)
    {
        port.write(QByteArray(1, char(code)));
        port.flush();
    }

    // Up to count bytes, waiting no longer than timeoutMs for them.
    QByteArray read(int count, int timeoutMs = 3000)
    {
        QByteArray data;
        QElapsedTimer timer;
        timer.start();
        while (data.size() < count && timer.elapsed() < timeoutMs && !hungUp()) {
            if (port.bytesAvailable() == 0 && !port.waitForReadyRead(20) && port.error() == QSerialPort::TimeoutError)
                port.clearError();
            data += port.read(count - data.size());
        }
        return data;
    }

    // Any error but a wait's time-out: the line is gone.
    bool hungUp() const
    {
        return port.error() != QSerialPort::NoError && port.error() != QSerialPort::TimeoutError;
    }

    QByteArray block(int timeoutMs = 3000)
    {
        send(10);
        return read(kBlock, timeoutMs);
    }

    QSerialPort port;
};

// The client's 512 by 512 canvas; a pixel holds a brightness 0 to 3, or 1 for green.
using Canvas = std::vector<Row>;

Canvas emptyCanvas()
{
    return Canvas(kColumns, Row{});
}

bool lit(const Canvas &canvas, int column, int row, int level = 0)
{
    if (column < 0 || column >= kColumns || row < 0 || row >= kColumns)
        return false;
    const int value = canvas[std::size_t(row)][std::size_t(column)];
    return level == 0 ? value != 0 : value == level;
}

// Decodes a picture stream as the client does (byte column k, pixel i taken from bits
// 7-6, 3-2, 5-4, 1-0, lands at canvas column 4(k - 1) + i) onto canvas rows from 2.
// Returns the bytes used, or -1 when the stream ends inside the picture or its last
// token runs past the last row.
int decodePicture(const QByteArray &stream, int rowCount, Canvas &canvas)
{
    static constexpr int kShift[4] = {6, 2, 4, 0};
    int at = 0;
    int row = 0;
    int byteColumn = 0;
    auto draw = [&](quint8 byte) {
        for (int i = 0; i < 4 && row < rowCount; ++i) {
            const int column = 4 * (byteColumn - 1) + i;
            if (column >= 0)
                canvas[std::size_t(row + 2)][std::size_t(column)] = byte >> kShift[i] & 3;
        }
        if (++byteColumn == kBlock) {
            byteColumn = 0;
            ++row;
        }
    };
    while (row < rowCount) {
        const int control = at < stream.size() ? quint8(stream[at++]) : -1;
        const int count = control & 0x7F;
        const int needed = control >= 0x80 ? 1 : count;
        if (control < 0 || at + needed > stream.size())
            return -1;
        for (int n = 0; n < count; ++n)
            draw(quint8(stream[control >= 0x80 ? at : at + n]));
        at += needed;
    }
    return byteColumn == 0 && row == rowCount ? at : -1;
}

// Paints a graticule file on canvas rows from 3; says what is wrong with a malformed one.
QString readGraticule(const QByteArray &file, int rowCount, Canvas &canvas)
{
    int row = 0;
    int column = 0;
    for (int at = 0; at + 1 < file.size() && row < kColumns - 3; at += 2) {
        const quint8 flags = quint8(file[at]);
        const int length = quint8(file[at + 1]) + (flags & 1 ? 256 : 0) + (flags & 2 ? 512 : 0);
        for (int c = column; c < column + length && c < kColumns; ++c)
            canvas[std::size_t(row + 3)][std::size_t(c)] = flags & 4 ? 1 : 0;
        column += length;
        if (flags & 8) {
            if (column != kColumns)
                return QStringLiteral("row %1 covers %2 columns").arg(row).arg(column);
            ++row;
            column = 0;
        }
    }
    if (file.size() % 2 != 0 || column != 0)
        return QStringLiteral("the file ends inside a row");
    return row == rowCount ? QString() : QStringLiteral("%1 rows").arg(row);
}

QByteArray readData(const QString &name)
{
    QFile file(QStringLiteral(ORVANTA_DATA_DIR "/graticules/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Point
{
    int column;
    int row;
};

// The pixels of one brightness in columns [left, right), as 4-connected clusters.
std::vector<std::vector<Point>> clusters(const Canvas &canvas, int level, int left, int right)
{
    std::vector<std::vector<Point>> found;
    Canvas seen = emptyCanvas();
    auto take = [&](Point p) {
        const bool fresh = p.column >= left && p.column < right && lit(canvas, p.column, p.row, level)
                           && !lit(seen, p.column, p.row);
        if (fresh)
            seen[std::size_t(p.row)][std::size_t(p.column)] = 1;
        return fresh;
    };
    for (int row = 0; row < kColumns; ++row) {
        for (int column = left; column < right; ++column) {
            std::vector<Point> open;
            if (take({column, row}))
                open.push_back({column, row});
            std::vector<Point> cluster;
            while (!open.empty()) {
                const Point p = open.back();
                open.pop_back();
                cluster.push_back(p);
                for (const Point n : {Point{p.column + 1, p.row}, Point{p.column - 1, p.row},
                                      Point{p.column, p.row + 1}, Point{p.column, p.row - 1}}) {
                    if (take(n))
                        open.push_back(n);
                }
            }
            if (!cluster.empty())
                found.push_back(cluster);
        }
    }
    return found;
}

// The level steps of a colour-bar waveform: the rows of its brightest runs, left to right.
QList<int> stepRows(const Canvas &picture, int left, int right)
{
    QList<Point> starts;
    for (const auto &cluster : clusters(picture, 3, left, right)) {
        if (cluster.size() >= 6)
            starts.append(*std::min_element(cluster.begin(), cluster.end(),
                                            [](Point a, Point b) { return a.column < b.column; }));
    }
    std::sort(starts.begin(), starts.end(), [](Point a, Point b) { return a.column < b.column; });
    QList<int> rows;
    for (const Point p : starts)
        rows.append(p.row);
    return rows;
}

int litPixels(const Canvas &canvas, int left, int right)
{
    int count = 0;
    for (const Row &row : canvas)
        count += int(std::count_if(row.begin() + left, row.begin() + right, [](quint8 v) { return v != 0; }));
    return count;
}

enum class Trace { waveform, vector, combination, parade3, parade4 };

} // namespace

Q_DECLARE_METATYPE(Trace)

class TestSimPicture : public QObject
{
    Q_OBJECT

private slots:
    void picture_data();
    void picture();
    void smallBoxesAnswerLate();
    void blockFaults_data();
    void blockFaults();
    void pacedBlockTakesLineTime();
    void graticuleFiles_data();
    void graticuleFiles();
    void generatorMakesTheCheckedInFiles();

private:
    void checkWaveform(const Canvas &picture, const Canvas &graticule, int left, int right);
    void checkVector(const Canvas &picture, const Canvas &graticule, Point centre, int left, int right);
};

void TestSimPicture::picture_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("rows");
    QTest::addColumn<Trace>("trace");
    QTest::addColumn<QString>("graticule");

    QTest::newRow("PAL waveform") << status({}) << 508 << Trace::waveform << "pal_wfmd.rle";
    QTest::newRow("NTSC waveform, analogue")
        << status({{6, 0x22}, {7, 0x04}}) << 428 << Trace::waveform << "ntsc_wfma.rle";
    QTest::newRow("PAL vector, analogue")
        << status({{1, 0x22}, {6, 0x22}}) << 508 << Trace::vector << "pal_veca.rle";
    QTest::newRow("NTSC vector, byte 6 bit 2 but viewed as digital")
        << status({{1, 0x22}, {6, 0x24}, {7, 0x04}, {12, 0x04}}) << 428 << Trace::vector << "ntsc_vecd.rle";
    QTest::newRow("PAL combination, analogue by byte 6 bit 2")
        << status({{1, 0x23}, {6, 0x24}}) << 508 << Trace::combination << "pal_coma.rle";
    QTest::newRow("NTSC combination") << status({{1, 0x23}, {7, 0x04}}) << 428 << Trace::combination
                                      << "ntsc_comd.rle";
    QTest::newRow("parade RGB") << status({{1, 0x61}}) << 508 << Trace::parade3 << "pal_wfmd.rle";
    QTest::newRow("parade YUV") << status({{1, 0x61}, {9, 0x02}}) << 508 << Trace::parade3 << "pal_wfmd.rle";
    QTest::newRow("parade YRGB") << status({{1, 0x61}, {10, 0x01}}) << 508 << Trace::parade4 << "pal_wfmd.rle";
}

void TestSimPicture::picture()
{
    QFETCH(QString, state);
    QFETCH(int, rows);
    QFETCH(Trace, trace);
    QFETCH(QString, graticule);

    SimProcess sim({"--status", state});
    QVERIFY(sim.started());
    Client client(sim.devicePath());
    QVERIFY(client.port.isOpen());

    // Blocks until the padding: a block of nothing but empty tokens, which the stream
    // itself never holds.
    const QByteArray padding(kBlock, '\0');
    QByteArray stream;
    client.send(11);
    for (QByteArray block = client.block(); block != padding; block = client.block()) {
        QCOMPARE(block.size(), kBlock);
        QVERIFY(stream.size() < 1000 * kBlock);
        stream += block;
    }
    QCOMPARE(client.block(), padding);
    client.send(12);
    QCOMPARE(client.read(1, 200), QByteArray());
    client.send(13);
    QCOMPARE(client.read(16), QByteArray::fromHex(state.toLatin1()));

    // The stream ends with a token exactly at the end of the last row; empty tokens
    // fill up its last block.
    Canvas picture = emptyCanvas();
    const int used = decodePicture(stream, rows, picture);
    QVERIFY(used > stream.size() - kBlock);
    QCOMPARE(stream.mid(used), padding.left(stream.size() - used));

    Canvas lines = emptyCanvas();
    QCOMPARE(readGraticule(readData(graticule), rows, lines), QString());
    const int centreRow = rows == 508 ? 256 : 216;
    switch (trace) {
    case Trace::waveform:
        checkWaveform(picture, lines, 0, kColumns);
        break;
    case Trace::vector:
        checkVector(picture, lines, {256, centreRow}, 0, kColumns);
        break;
    case Trace::combination:
        checkWaveform(picture, lines, 0, 256);
        checkVector(picture, lines, {384, centreRow}, 256, kColumns);
        break;
    case Trace::parade3:
    case Trace::parade4: {
        // The client colours the bands by byte column (43, 85 or 32, 64, 96): each trace
        // must keep inside its band, clear of the edges.
        const QList<int> edges = trace == Trace::parade3 ? QList<int>{0, 168, 336, 508}
                                                         : QList<int>{0, 124, 252, 380, 508};
        for (int band = 0; band + 1 < edges.size(); ++band) {
            QVERIFY(litPixels(picture, edges[band], edges[band + 1]) > 0);
            if (band > 0)
                QCOMPARE(litPixels(picture, edges[band] - 4, edges[band] + 4), 0);
        }
        break;
    }
    }
}

void TestSimPicture::checkWaveform(const Canvas &picture, const Canvas &graticule, int left, int right)
{
    // Blanking at black, then the eight bars from white down, each lower than the last;
    // the black bar runs on into the closing blanking. Black sits on a scale line.
    const QList<int> steps = stepRows(picture, left, right);
    QCOMPARE(steps.size(), 9);
    QCOMPARE(steps.first(), steps.last());
    for (int i = 1; i < steps.size(); ++i)
        QVERIFY2((steps[i] > steps[i - 1]) == (i > 1), qPrintable(QString::number(i)));
    int green = 0;
    for (int column = left; column < right; ++column)
        green += lit(graticule, column, steps.first()) ? 1 : 0;
    QVERIFY2(green > (right - left) / 2, "no scale line under black");
}

void TestSimPicture::checkVector(const Canvas &picture, const Canvas &graticule, Point centre,
                                 int left, int right)
{
    // White and black on the centre, where the axes cross; six colours, each inside its
    // target box on the scale.
    const auto dots = clusters(picture, 3, left, right);
    QCOMPARE(int(dots.size()), 7);
    int centres = 0;
    for (const auto &dot : dots) {
        if (std::any_of(dot.begin(), dot.end(),
                        [&](Point p) { return p.column == centre.column && p.row == centre.row; })) {
            ++centres;
            QVERIFY(lit(graticule, centre.column, centre.row));
            continue;
        }
        Point middle{0, 0};
        for (const Point p : dot)
            middle = {middle.column + p.column, middle.row + p.row};
        middle = {middle.column / int(dot.size()), middle.row / int(dot.size())};
        for (const Point d : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}}) {
            bool boxed = false;
            for (int step = 0; step <= 10 && !boxed; ++step)
                boxed = lit(graticule, middle.column + d.column * step, middle.row + d.row * step);
            QVERIFY2(boxed, qPrintable(QStringLiteral("dot at %1,%2").arg(middle.column).arg(middle.row)));
        }
    }
    QCOMPARE(centres, 1);
}

void TestSimPicture::smallBoxesAnswerLate()
{
    SimProcess sim({"--status", status({{1, 0x20}})});
    QVERIFY(sim.started());
    Client client(sim.devicePath());
    QVERIFY(client.port.isOpen());

    QElapsedTimer timer;
    timer.start();
    client.send(11);
    // Nothing before the client has flushed its input; then the one block it waits for.
    const QByteArray block = client.read(kBlock);
    QVERIFY2(timer.elapsed() >= 200, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(block, QByteArray(kBlock, '\0'));
    client.send(12);
    QCOMPARE(client.read(1, 500), QByteArray());
}

void TestSimPicture::blockFaults_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("blocks");

    QTest::newRow("stall at once") << "--stall-after" << 0;
    QTest::newRow("stall after 3") << "--stall-after" << 3;
    QTest::newRow("hang up at once") << "--hangup-after" << 0;
    QTest::newRow("hang up after 2") << "--hangup-after" << 2;
}

void TestSimPicture::blockFaults()
{
    QFETCH(QString, option);
    QFETCH(int, blocks);

    SimProcess sim({option, QString::number(blocks)});
    QVERIFY(sim.started());
    Client client(sim.devicePath());
    QVERIFY(client.port.isOpen());
    client.send(11);
    for (int i = 0; i < blocks; ++i)
        QCOMPARE(client.block().size(), kBlock);
    QCOMPARE(client.block(500), QByteArray());
    if (option == "--hangup-after") {
        client.read(1, 3000);
        QVERIFY(client.hungUp());
        QCOMPARE(sim.receivedBytes().count(char(10)), blocks + 1);
    } else {
        // Only the picture stalls: the instrument still answers.
        client.send(12);
        client.send(13);
        QCOMPARE(client.read(16), kDefaultBlock);
    }
}

void TestSimPicture::pacedBlockTakesLineTime()
{
    SimProcess sim({"--pace", "38400"});
    QVERIFY(sim.started());
    Client client(sim.devicePath());
    QVERIFY(client.port.isOpen());
    client.send(11);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(client.block().size(), kBlock);
    // 127 byte-times of 10 bits at 38 400 baud pass between the first byte and the last.
    QVERIFY2(timer.elapsed() >= 32, qPrintable(QString::number(timer.elapsed())));
}

void TestSimPicture::graticuleFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rows");

    for (const char *mode : {"wfm", "vec", "com"}) {
        for (const char *set : {"a", "d"}) {
            QTest::newRow(qPrintable(QStringLiteral("pal_%1%2").arg(mode, set)))
                << QStringLiteral("pal_%1%2.rle").arg(mode, set) << 508;
            QTest::newRow(qPrintable(QStringLiteral("ntsc_%1%2").arg(mode, set)))
                << QStringLiteral("ntsc_%1%2.rle").arg(mode, set) << 428;
        }
    }
}

void TestSimPicture::graticuleFiles()
{
    QFETCH(QString, name);
    QFETCH(int, rows);

    // Every row ends with a last record, after runs that paint all 512 columns.
    const QByteArray file = readData(name);
    QVERIFY2(!file.isEmpty(), qPrintable(name));
    Canvas canvas = emptyCanvas();
    QCOMPARE(readGraticule(file, rows, canvas), QString());
    // The two sets draw different scales.
    QString other = name;
    other.replace(other.size() - 5, 1, name.endsWith("a.rle") ? "d" : "a");
    QVERIFY(readData(other) != file);
}

void TestSimPicture::generatorMakesTheCheckedInFiles()
{
    const QString generator = QCoreApplication::applicationDirPath() + "/graticule-gen";
    QVERIFY2(QFile::exists(generator), "build graticule-gen (it is part of the tree)");
    QTemporaryDir dir;
    QProcess process;
    process.start(generator, {dir.path()});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QStringList made = QDir(dir.path()).entryList({"*.rle"});
    QCOMPARE(made.size(), 12);
    for (const QString &name : made) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(file.readAll() == readData(name), qPrintable(name + " is not as generated"));
    }
}

QTEST_GUILESS_MAIN(TestSimPicture)
#include "test_sim_picture.moc"
