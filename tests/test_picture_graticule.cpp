// Graticule files: the rows they paint, and which file the status calls for.
#include "link/status_block.h"
#include "picture/canvas.h"
#include "picture/graticule_choice.h"
#include "picture/graticule_file.h"

#include <QBuffer>
#include <QTest>

using namespace orvanta;
using picture::Canvas;
using picture::GraticuleFile;

namespace {

constexpr picture::PaletteIndex kUntouched = 5;

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

} // namespace

class TestPictureGraticule : public QObject
{
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(TestPictureGraticule)
#include "test_picture_graticule.moc"
