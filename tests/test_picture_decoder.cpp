// The picture stream decoder, pixel by pixel, without a window or a port.
#include "link/status_block.h"
#include "picture/canvas.h"
#include "picture/graticule_file.h"
#include "picture/picture_decoder.h"

#include <QBuffer>
#include <QTest>

using namespace orvanta;
using picture::Canvas;
using picture::PaletteIndex;
using picture::PictureDecoder;
namespace palette = picture::palette;

using Pixels = QList<QPair<int, int>>; // (column, palette index)

namespace {

// A colour the decoder never draws: what it shows was not touched.
constexpr PaletteIndex kUntouched = 5;

// PAL, waveform, range H; the grey palette.
const char *const kPalWaveform = "03210000800c2005000000000000" "1e30";
const char *const kNtscWaveform = "03210000800c2004000000000000" "1e30";

link::StatusBlock status(const char *hex)
{
    return link::StatusBlock(QByteArray::fromHex(hex));
}

// n transparent bytes as repeat tokens.
QByteArray zeros(int n)
{
    QByteArray bytes;
    for (; n > 0; n -= 127) {
        bytes.append(char(0x80 + std::min(n, 127)));
        bytes.append('\0');
    }
    return bytes;
}

// Feeds the stream in 128-byte blocks until the decoder needs no more; the blocks used.
int feedStream(PictureDecoder &decoder, const QByteArray &stream)
{
    int blocks = 0;
    for (qsizetype at = 0; at < stream.size() && !decoder.finished(); at += 128, ++blocks)
        decoder.feed(QByteArrayView(stream).sliced(at, std::min<qsizetype>(128, stream.size() - at)));
    return blocks;
}

std::optional<PaletteIndex> at(const Canvas &canvas, int column, int row)
{
    return canvas.pixelIndex(column, row);
}

} // namespace

class TestPictureDecoder : public QObject
{
    Q_OBJECT

private slots:
    void tokens_data();
    void tokens();
    void paradeBands_data();
    void paradeBands();
    void tokenAcrossARowEndLiesOnTheGraticule();
    void loopEndsOnlyBetweenTokens();
    void onlyTheFirst128BytesOfARead();
    void stoppedTokenRunsOffTheCanvasSafely();
};

void TestPictureDecoder::tokens_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<int>("row");
    QTest::addColumn<Pixels>("pixels");
    QTest::addColumn<int>("columnAfter");

    using P = Pixels;
    QTest::newRow("repeat 0x55 twice, literal 0xC0")
        << QByteArray::fromHex("825501c0") << 2
        << P{{0, palette::kGrey}, {3, palette::kGrey}, {4, palette::kWhite}, {5, kUntouched}, {7, kUntouched}}
        << 3;
    QTest::newRow("0xE4 at byte column 5 of row 7")
        << zeros(5 * 128 + 5) + QByteArray::fromHex("01e4") << 7
        << P{{15, kUntouched}, {16, palette::kWhite}, {17, palette::kGrey}, {18, palette::kLightGrey},
             {19, kUntouched}, {20, kUntouched}}
        << 6;
    QTest::newRow("repeat count 0 eats its byte, control 0 is empty")
        << QByteArray::fromHex("80ff00825500") << 2
        << P{{0, palette::kGrey}, {3, palette::kGrey}, {4, kUntouched}} << 2;
    QTest::newRow("byte column 0 is off the canvas")
        << QByteArray::fromHex("01ff") << 2 << P{{0, kUntouched}, {511, kUntouched}} << 1;
    QTest::newRow("byte column 127 ends at 507")
        << zeros(127) + QByteArray::fromHex("01ff") << 2
        << P{{503, kUntouched}, {504, palette::kWhite}, {507, palette::kWhite}, {508, kUntouched},
             {511, kUntouched}}
        << 0;
    QTest::newRow("repeat of 127 values 2")
        << QByteArray::fromHex("ffaa") << 2
        << P{{0, palette::kLightGrey}, {503, palette::kLightGrey}, {504, kUntouched}} << 127;
}

void TestPictureDecoder::tokens()
{
    QFETCH(QByteArray, stream);
    QFETCH(int, row);
    QFETCH(Pixels, pixels);
    QFETCH(int, columnAfter);

    Canvas canvas;
    canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
    PictureDecoder decoder(canvas);
    decoder.start(status(kPalWaveform), nullptr);
    feedStream(decoder, stream);

    for (const auto &[column, colour] : pixels)
        QCOMPARE(at(canvas, column, row), std::optional<PaletteIndex>(colour));
    QCOMPARE(decoder.pictureColumn(), columnAfter);
    QVERIFY(!decoder.finished());
}

void TestPictureDecoder::paradeBands_data()
{
    QTest::addColumn<QByteArray>("statusBytes");
    QTest::addColumn<int>("byteColumn");
    QTest::addColumn<QList<int>>("colours"); // for values 1, 2, 3

    const QList<int> grey{palette::kGrey, palette::kLightGrey, palette::kWhite};
    const QList<int> red{palette::kRed, palette::kRed, palette::kLightRed};
    const QList<int> green{palette::kGreen, palette::kGreen, palette::kLightGreen};
    const QList<int> blue{palette::kBlue, palette::kBlue, palette::kLightBlue};

    // Byte 1 0x61: waveform parade; byte 9 bit 1 YUV; byte 10 bit 0 YRGB.
    const QByteArray yrgb = QByteArray::fromHex("03610000800c20050002010000001e30");
    const QByteArray yuv = QByteArray::fromHex("03610000800c20050002000000001e30");
    const QByteArray rgb = QByteArray::fromHex("03610000800c20050000000000001e30");
    const struct
    {
        const char *name;
        QByteArray bytes;
        int column;
        QList<int> colours;
    } rows[] = {
        {"YRGB 1", yrgb, 1, grey},    {"YRGB 31", yrgb, 31, grey},   {"YRGB 32", yrgb, 32, red},
        {"YRGB 63", yrgb, 63, red},   {"YRGB 64", yrgb, 64, green},  {"YRGB 95", yrgb, 95, green},
        {"YRGB 96", yrgb, 96, blue},  {"YRGB 127", yrgb, 127, blue}, {"YUV 42", yuv, 42, grey},
        {"YUV 43", yuv, 43, blue},    {"YUV 84", yuv, 84, blue},     {"YUV 85", yuv, 85, red},
        {"YUV 127", yuv, 127, red},   {"RGB 1", rgb, 1, red},        {"RGB 42", rgb, 42, red},
        {"RGB 43", rgb, 43, green},   {"RGB 84", rgb, 84, green},    {"RGB 85", rgb, 85, blue},
        {"RGB 127", rgb, 127, blue},
        // Only a waveform parade has colours: range H, or parade range in vector mode.
        {"waveform H, YRGB set", QByteArray::fromHex("03210000800c20050002010000001e30"), 100, grey},
        {"vector, parade range", QByteArray::fromHex("03620000800c20050002010000001e30"), 100, grey},
        {"combination, parade range", QByteArray::fromHex("03630000800c20050002010000001e30"), 40, grey},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.bytes << row.column << row.colours;
}

void TestPictureDecoder::paradeBands()
{
    QFETCH(QByteArray, statusBytes);
    QFETCH(int, byteColumn);
    QFETCH(QList<int>, colours);

    Canvas canvas;
    canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
    PictureDecoder decoder(canvas);
    decoder.start(link::StatusBlock(statusBytes), nullptr);
    // 0xE4 in every byte column: pixel 0 value 3, pixel 1 value 1, pixel 2 value 2.
    decoder.feed(QByteArray::fromHex("ffe481e4"));

    const int x = 4 * (byteColumn - 1);
    QCOMPARE(at(canvas, x + 1, 2), std::optional<PaletteIndex>(colours[0]));
    QCOMPARE(at(canvas, x + 2, 2), std::optional<PaletteIndex>(colours[1]));
    QCOMPARE(at(canvas, x, 2), std::optional<PaletteIndex>(colours[2]));
    QCOMPARE(at(canvas, x + 3, 2), std::optional<PaletteIndex>(kUntouched));
}

void TestPictureDecoder::tokenAcrossARowEndLiesOnTheGraticule()
{
    Canvas canvas;
    canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
    // One graticule row: all 512 columns green.
    picture::GraticuleFile graticule;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(QByteArray::fromHex("0e00"));
    buffer->open(QIODevice::ReadOnly);
    QVERIFY(graticule.open(std::move(buffer)));

    PictureDecoder decoder(canvas);
    decoder.start(status(kPalWaveform), &graticule);
    // Byte columns 126 and 127 of row 2, then 0 and 1 of row 3, in one literal.
    decoder.feed(zeros(126) + QByteArray::fromHex("04c0c0c0c0"));

    QCOMPARE(decoder.pictureRow(), 3);
    QCOMPARE(decoder.pictureColumn(), 2);
    QCOMPARE(at(canvas, 500, 2), std::optional<PaletteIndex>(palette::kWhite));
    QCOMPARE(at(canvas, 504, 2), std::optional<PaletteIndex>(palette::kWhite));
    // Row 2 has no graticule row; its columns 508 to 511 keep what they had.
    QCOMPARE(at(canvas, 508, 2), std::optional<PaletteIndex>(kUntouched));
    QCOMPARE(at(canvas, 0, 3), std::optional<PaletteIndex>(palette::kWhite));
    // Transparent pixels leave the graticule row showing.
    QCOMPARE(at(canvas, 1, 3), std::optional<PaletteIndex>(palette::kGreen));
    QCOMPARE(at(canvas, 4, 3), std::optional<PaletteIndex>(palette::kGreen));
    QCOMPARE(at(canvas, 511, 3), std::optional<PaletteIndex>(palette::kGreen));
    QCOMPARE(at(canvas, 0, 4), std::optional<PaletteIndex>(kUntouched));
}

void TestPictureDecoder::loopEndsOnlyBetweenTokens()
{
    Canvas canvas;
    canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
    PictureDecoder decoder(canvas);
    decoder.start(status(kNtscWaveform), nullptr);
    QCOMPARE(decoder.pictureLastRow(), 430);

    // Up to byte column 126 of row 429; a literal runs 3 bytes into row 430;
    // the repeat after it lies beyond the picture's end and is not read.
    const QByteArray stream = zeros(427 * 128 + 126) + QByteArray::fromHex("05c0c0c0c0c0") +
                              QByteArray::fromHex("8355") + zeros(300);
    feedStream(decoder, stream);

    QVERIFY(decoder.finished());
    QCOMPARE(decoder.pictureRow(), 430);
    QCOMPARE(decoder.pictureColumn(), 3);
    QCOMPARE(at(canvas, 504, 429), std::optional<PaletteIndex>(palette::kWhite));
    QCOMPARE(at(canvas, 0, 430), std::optional<PaletteIndex>(palette::kWhite));
    QCOMPARE(at(canvas, 4, 430), std::optional<PaletteIndex>(palette::kWhite));
    QCOMPARE(at(canvas, 8, 430), std::optional<PaletteIndex>(kUntouched));
    // The decoder stopped right after the token that crossed the end.
    const int streamEnd = int((zeros(427 * 128 + 126).size() + 6) % 128);
    QCOMPARE(decoder.blockIndex(), streamEnd);
}

void TestPictureDecoder::onlyTheFirst128BytesOfARead()
{
    Canvas canvas;
    canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
    PictureDecoder decoder(canvas);
    decoder.start(status(kPalWaveform), nullptr);

    // A literal of 127 transparent bytes fills the block exactly; the 72
    // extra bytes of the read would paint byte column 127 white.
    QByteArray read = QByteArray::fromHex("7f") + QByteArray(127, '\0');
    read += QByteArray::fromHex("81ff") + QByteArray(70, '\0');
    decoder.feed(read);
    QCOMPARE(decoder.blockIndex(), 128);
    QCOMPARE(at(canvas, 504, 2), std::optional<PaletteIndex>(kUntouched));

    decoder.feed(QByteArray::fromHex("8155") + QByteArray(126, '\0'));
    QCOMPARE(at(canvas, 504, 2), std::optional<PaletteIndex>(palette::kGrey));
    QCOMPARE(decoder.pictureRow(), 3);
}

void TestPictureDecoder::stoppedTokenRunsOffTheCanvasSafely()
{
    Canvas canvas;
    canvas.fillRows(0, Canvas::kSize - 1, kUntouched);
    picture::GraticuleFile graticule;
    // Empty: any row asked of it marks it run out.
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::ReadOnly);
    QVERIFY(graticule.open(std::move(buffer)));
    PictureDecoder decoder(canvas);
    decoder.start(status(kPalWaveform), &graticule);

    // To byte column 126, then a literal of 127 white bytes whose data comes
    // in the next block; the stop arrives in between.
    decoder.feed(zeros(126) + QByteArray(125, '\0') + QByteArray::fromHex("7f"));
    QCOMPARE(decoder.pictureColumn(), 126);
    decoder.stop();
    QVERIFY(!decoder.finished());
    decoder.feed(QByteArray(127, char(0xff)));

    QVERIFY(decoder.finished());
    QCOMPARE(decoder.pictureRow(), 512);
    QCOMPARE(at(canvas, 500, 511), std::optional<PaletteIndex>(palette::kWhite));
    QCOMPARE(at(canvas, 507, 511), std::optional<PaletteIndex>(palette::kWhite));
    QCOMPARE(at(canvas, 499, 511), std::optional<PaletteIndex>(kUntouched));
    QCOMPARE(at(canvas, 500, 2), std::optional<PaletteIndex>(kUntouched));
    // No graticule row belongs below a stopped picture.
    QVERIFY(!graticule.exhausted());
}

QTEST_GUILESS_MAIN(TestPictureDecoder)
#include "test_picture_decoder.moc"
