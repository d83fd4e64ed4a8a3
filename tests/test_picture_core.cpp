// The picture's core without a window or a port: the stream decoder pixel by
// pixel over the whole canvas, the graticule files' rows and which file the
// status calls for, and the annotation line.
#include "link/status_block.h"
#include "picture/annotation.h"
#include "picture/canvas.h"
#include "picture/graticule_choice.h"
#include "picture/graticule_file.h"
#include "picture/picture_decoder.h"

#include <QBuffer>
#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QTest>

using namespace orvanta;
using picture::AnnotationItem;
using picture::Canvas;
using picture::GraticuleFile;
namespace palette = picture::palette;

namespace {

// A colour the decoder never draws; shown as '.', every other index as its hex digit.
constexpr picture::PaletteIndex kUntouched = 5;

// Pixels from a column of a row that the picture must show; the rest of the canvas stays untouched.
struct Span
{
    int row;
    int from;
    QString pixels;
};

QString rowText(const Canvas &canvas, int row)
{
    QString text;
    for (int column = 0; column < Canvas::kSize; ++column)
        text += QChar("01234.6789abcdef?"[canvas.pixelIndex(column, row).value_or(16)]);
    return text;
}

// PAL (byte 7 bit 0) or NTSC; byte 1 0x21: waveform, range H.
QByteArray status(int byte1 = 0x21, bool pal = true, int byte9 = 0, int byte10 = 0)
{
    QByteArray bytes = QByteArray::fromHex("03210000800c20050000000000001e30");
    bytes[1] = char(byte1);
    bytes[7] = char(pal ? 5 : 4);
    bytes[9] = char(byte9);
    bytes[10] = char(byte10);
    return bytes;
}

// n transparent bytes as repeat tokens.
QByteArray zeros(int n)
{
    QByteArray bytes;
    for (; n > 0; n -= 127)
        bytes += char(0x80 + std::min(n, 127)) + QByteArray(1, '\0');
    return bytes;
}

QList<QByteArray> blocks(const QByteArray &stream)
{
    QList<QByteArray> list;
    for (qsizetype at = 0; at < stream.size(); at += 128)
        list << stream.mid(at, 128);
    return list;
}

// A row as its runs, "colour:length" from the left: "0:100 2:1 0:411" (0 black, 2 green, 5 untouched).
QString runsOf(const Canvas &canvas, int row)
{
    QStringList runs;
    for (int from = 0, column = 1; column <= Canvas::kSize; ++column) {
        const auto colour = canvas.pixelIndex(from, row);
        if (column < Canvas::kSize && canvas.pixelIndex(column, row) == colour)
            continue;
        runs << QString("%1:%2").arg(colour.value_or(99)).arg(column - from);
        from = column;
    }
    return runs.join(' ');
}

bool open(GraticuleFile &file, const QByteArray &bytes)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    return buffer->open(QIODevice::ReadOnly) && file.open(std::move(buffer));
}

constexpr int kColumns[] = {20, 150, 280, 400};

QByteArray annotated(int byte1, int byte2, int byte7)
{
    return QByteArray(1, 0) + char(byte1) + char(byte2) + QByteArray(4, 0) + char(byte7) + QByteArray(8, 0);
}

} // namespace

class TestPictureCore : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QList<Span>>("spans");
        QTest::addColumn<QPoint>("end"); // PictureColumn, PictureRow
        QTest::addColumn<bool>("finished");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("graticule"); // null: none; empty: a file with no rows
        QTest::addColumn<bool>("stopAfterFirstRead");

        const auto add = [](const char *name, const QList<QByteArray> &reads, const QList<Span> &spans, QPoint end,
                             bool finished = false, const QByteArray &status = ::status(),
                             const QByteArray &graticule = {}, bool stop = false) {
            QTest::newRow(name) << reads << spans << end << finished << status << graticule << stop;
        };
        const auto hex = [](const char *h) { return QByteArray::fromHex(h); };
        const auto x = [](const char *pixels, int times) { return QString(pixels).repeated(times); };

        add("82 55 01 C0", {hex("825501c0")}, {{2, 0, "8888f"}}, {3, 2});
        add("E4 at byte column 5 of row 7", {zeros(5 * 128 + 5) + hex("01e4")}, {{7, 16, "f87"}}, {6, 7});
        add("repeat count 0 eats its byte, control 0 is empty", {hex("80ff00825500")}, {{2, 0, "8888"}}, {2, 2});
        add("byte column 0 is off the canvas", {hex("01ff")}, {}, {1, 2});
        add("byte column 127 ends at 507", {zeros(127) + hex("01ff")}, {{2, 504, "ffff"}}, {0, 3});
        // Row 3's graticule row goes under it before its pixels; transparent pixels leave it showing.
        add("token across a row end, on the graticule", {zeros(126) + hex("04c0c0c0c0")},
            {{2, 500, "f...f"}, {3, 0, "f" + x("2", 511)}}, {2, 3}, false, status(), hex("0e00"));
        // A literal runs 3 bytes into NTSC's row 430; the repeat after it is never read.
        add("loop ends only between tokens", blocks(zeros(427 * 128 + 126) + hex("05c0c0c0c0c0 8355") + zeros(300)),
            {{429, 500, "f...f"}, {430, 0, "f...f"}}, {3, 430}, true, status(0x21, false));
        // The literal fills the first block; the read's extra bytes would paint byte column 127 white.
        add("only the first 128 bytes of a read",
            {hex("7f") + QByteArray(127, 0) + hex("81ff") + QByteArray(70, 0), hex("8155") + QByteArray(126, 0)},
            {{2, 504, "8888"}}, {0, 3});
        // Stopped inside a literal at byte column 126: it ends on row 511 and runs off the canvas;
        // no graticule row is read below the picture.
        add("stopped inside a token", {zeros(126) + QByteArray(125, 0) + hex("7f"), QByteArray(127, '\xff')},
            {{511, 500, "ffffffff"}}, {125, 512}, true, status(), QByteArray(""), true);

        // Parade bands: 0xE4 in every byte column paints pixel 0 value 3, pixel 1 value 1, pixel 2 value 2.
        const auto parade = [&](const char *name, const QByteArray &status, const QString &row) {
            add(name, {hex("ffe481e4")}, {{2, 0, row}}, {0, 3}, false, status);
        };
        parade("YRGB", status(0x61, true, 2, 1), x("f87.", 31) + x("c44.", 32) + x("a22.", 32) + x("911.", 32));
        parade("YUV", status(0x61, true, 2, 0), x("f87.", 42) + x("911.", 42) + x("c44.", 43));
        parade("RGB", status(0x61), x("c44.", 42) + x("a22.", 42) + x("911.", 43));
        // Only a waveform parade has colours.
        parade("vector, parade range", status(0x62, true, 2, 1), x("f87.", 127));
    }

    void decode()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QList<Span>, spans);
        QFETCH(QPoint, end);
        QFETCH(bool, finished);
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, graticule);
        QFETCH(bool, stopAfterFirstRead);

        Canvas canvas;
        canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
        picture::GraticuleFile file;
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(graticule);
        QVERIFY(graticule.isNull() || (buffer->open(QIODevice::ReadOnly) && file.open(std::move(buffer))));
        picture::PictureDecoder decoder(canvas);
        decoder.start(link::StatusBlock(status), file.isOpen() ? &file : nullptr);
        // Read as the download does: until the decoder needs no more.
        for (const QByteArray &read : reads) {
            if (decoder.finished())
                break;
            decoder.feed(read);
            if (std::exchange(stopAfterFirstRead, false))
                decoder.stop();
        }

        QList<QString> want(Canvas::kSize, QString(Canvas::kSize, '.'));
        for (const Span &span : spans)
            want[span.row].replace(span.from, span.pixels.size(), span.pixels);
        for (int row = 0; row < Canvas::kSize; ++row) {
            const QString got = rowText(canvas, row);
            const auto at = std::mismatch(got.begin(), got.end(), want[row].begin()).first - got.begin();
            QVERIFY2(at == got.size(),
                qPrintable(QString("row %1 from column %2: %3, want %4")
                               .arg(row)
                               .arg(at)
                               .arg(got.mid(at, 8), want[row].mid(at, 8))));
        }
        QCOMPARE(QPoint(decoder.pictureColumn(), decoder.pictureRow()), end);
        QCOMPARE(decoder.finished(), finished);
        QVERIFY(!file.exhausted());
    }

    void rows_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows"); // rows 1, 2, ... as drawn one after another
        QTest::addColumn<int>("whole");        // how many rows the file has in full

        const auto row = [](const char *name, const char *hex, const QStringList &rows, int whole = 1) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << rows << whole;
        };
        row("00 64 04 01 09 9B", "00640401099b", {"0:100 2:1 0:411"});
        row("flags 0x0B length 0: 768 black", "0b00", {"0:512"});
        row("last record of length 0", "040a0800", {"2:10 5:502"});
        row("bits 4 to 7 not read", "f405f800", {"2:5 5:507"});
        row("runs right of the canvas", "05ff040a0c10", {"2:512"});
        // Two whole rows, a row cut off after one record, then half a record: it stops there once.
        row("short file", "04010800 0e00 0405 01", {"2:1 5:511", "2:512", "2:5 5:507", "5:512"}, 2);
    }

    void rows()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(int, whole);

        Canvas canvas;
        canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
        GraticuleFile file;
        QVERIFY(open(file, bytes));
        for (int row = 1; row <= rows.size(); ++row)
            QCOMPARE(file.DrawGratLine(canvas, row), row <= whole);
        QCOMPARE(file.exhausted(), whole < rows.size());

        // Nothing above or below the rows drawn.
        rows = QStringList{"5:512"} + rows + QStringList{"5:512"};
        for (int row = 0; row < rows.size(); ++row)
            QCOMPARE(runsOf(canvas, row), rows[row]);
    }

    void choice_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // status bytes 0, 1, 6, 7, 12
        QTest::addColumn<QString>("file");     // and "+small boxes" when the user is told there is no picture

        const auto row = [](const char *name, const char *bytes, const char *file) {
            QTest::newRow(name) << QByteArray::fromHex(bytes) << QString(file);
        };
        row("byte 6 bit 1: a, whatever byte 12", "00210201ff", "pal_wfma.rle");
        row("byte 6 bit 2, view digital: d", "0021040104", "pal_wfmd.rle");
        row("byte 6 bit 2, byte 12 other bits: a", "00210401fb", "pal_wfma.rle");
        row("byte 6 other bits: d", "0021f90100", "pal_wfmd.rle");
        row("byte 7 bit 0 clear: ntsc", "002100fe00", "ntsc_wfmd.rle");
        row("pal vector, a", "0322020100", "pal_veca.rle");
        row("vector, byte 0 bit 2: none", "0422020100", "");
        row("combination ignores byte 0 bit 2", "0463020000", "ntsc_coma.rle");
        row("small boxes, ntsc: pal waveform", "0440020000", "pal_wfma.rle +small boxes");
    }

    void choice()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, file);

        QByteArray block(16, '\0');
        const int at[] = {0, 1, 6, 7, 12};
        for (int i = 0; i < 5; ++i)
            block[at[i]] = bytes[i];
        const picture::GraticuleChoice choice = picture::chooseGraticule(link::StatusBlock(block));
        QCOMPARE(choice.fileName + (choice.smallBoxes ? " +small boxes" : ""), file);
    }

    void items_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QStringList>("texts"); // at columns 20, 150, 280 and 400 of row 400 (NTSC) or 480 (PAL)

        // In the British way: time with seconds and without a time zone, short date.
        const auto row = [](const char *name, const QByteArray &status, const QStringList &rangeAndGain) {
            QTest::newRow(name) << status << QStringList{"Time: 13:05:07", "Date: 09/03/2024"} + rangeAndGain;
        };
        row("waveform parade, mag", annotated(0x61, 0x04, 1), {"Range: Parade", "Gain: Mag"});
        row("LSel, combination mag 75%", annotated(0xe3, 0x24, 1), {"Range: LSel", "Gain: Mag, 75%"});
        row("small boxes, 2H: no gain", annotated(0x40, 0x3f, 0), {"Range: 2H"});
        row("HMag, waveform x 1", annotated(0x01, 0x30, 0xfe), {"Range: HMag", "Gain: x 1"});
        row("VMag, vector 100%", annotated(0x82, 0x04, 1), {"Range: VMag", "Gain: 100%"});
        row("H, both x 1, mag", annotated(0x23, 0x10, 0), {"Range: H", "Gain: x 1, Mag"});
    }

    void items()
    {
        QFETCH(QByteArray, status);
        QFETCH(QStringList, texts);

        QList<AnnotationItem> expected;
        for (qsizetype i = 0; i < texts.size(); ++i)
            expected.append({kColumns[i], status[7] & 1 ? 480 : 400, texts[i]});
        const QDateTime moment(QDate(2024, 3, 9), QTime(13, 5, 7));
        const QLocale british(QLocale::English, QLocale::UnitedKingdom);
        QCOMPARE(picture::annotationItems(link::StatusBlock(status), moment, british), expected);
    }
};

QTEST_MAIN(TestPictureCore)
#include "test_picture_core.moc"
