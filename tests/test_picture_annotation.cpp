// The annotation line: its texts for the status block and where it is written.
#include "link/status_block.h"
#include "picture/annotation.h"
#include "picture/canvas.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QTest>

using namespace orvanta;
using picture::AnnotationItem;
using picture::Canvas;

namespace {

link::StatusBlock status(int byte1, int byte2, int byte7)
{
    QByteArray bytes(16, '\0');
    bytes[1] = char(byte1);
    bytes[2] = char(byte2);
    bytes[7] = char(byte7);
    return link::StatusBlock(bytes);
}

const QDateTime kMoment(QDate(2024, 3, 9), QTime(13, 5, 7));

} // namespace

class TestPictureAnnotation : public QObject
{
    Q_OBJECT

private slots:
    void items_data();
    void items();
    void timeAndDateInTheLocalesWay();
    void drawnWhiteWithoutBackground();
};

void TestPictureAnnotation::items_data()
{
    QTest::addColumn<link::StatusBlock>("status");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("gain"); // empty: no gain item

    QTest::newRow("waveform parade, mag") << status(0x61, 0x04, 1) << 480 << "Range: Parade" << "Gain: Mag";
    QTest::newRow("LSel, combination mag 75%") << status(0xe3, 0x24, 1) << 480 << "Range: LSel" << "Gain: Mag, 75%";
    QTest::newRow("small boxes, 2H: no gain") << status(0x40, 0x3f, 0) << 400 << "Range: 2H" << "";
    QTest::newRow("HMag, waveform x 1") << status(0x01, 0x30, 0) << 400 << "Range: HMag" << "Gain: x 1";
    QTest::newRow("H") << status(0x21, 0, 0xfe) << 400 << "Range: H" << "Gain: x 1";
    QTest::newRow("VMag, vector 100%") << status(0x82, 0x04, 1) << 480 << "Range: VMag" << "Gain: 100%";
    QTest::newRow("V, vector mag") << status(0xa2, 0x10, 1) << 480 << "Range: V" << "Gain: Mag";
    QTest::newRow("2V, vector 75% (32)") << status(0xc2, 0x20, 1) << 480 << "Range: 2V" << "Gain: 75%";
    QTest::newRow("vector 75% (48)") << status(0xc2, 0x30, 1) << 480 << "Range: 2V" << "Gain: 75%";
    QTest::newRow("both x 1, 100%") << status(0x23, 0x00, 1) << 480 << "Range: H" << "Gain: x 1, 100%";
    QTest::newRow("both mag, 100%") << status(0x23, 0x04, 1) << 480 << "Range: H" << "Gain: Mag, 100%";
    QTest::newRow("both x 1, mag") << status(0x23, 0x10, 1) << 480 << "Range: H" << "Gain: x 1, Mag";
    QTest::newRow("both mag, mag") << status(0x23, 0x14, 1) << 480 << "Range: H" << "Gain: Mag, Mag";
    QTest::newRow("both x 1, 75%") << status(0x23, 0x30, 1) << 480 << "Range: H" << "Gain: x 1, 75%";
}

void TestPictureAnnotation::items()
{
    QFETCH(link::StatusBlock, status);
    QFETCH(int, row);
    QFETCH(QString, range);
    QFETCH(QString, gain);

    const QLocale locale(QLocale::English, QLocale::UnitedKingdom);
    QList<AnnotationItem> expected{{20, row, "Time: 13:05:07"}, {150, row, "Date: 09/03/2024"}, {280, row, range}};
    if (!gain.isEmpty())
        expected.append({400, row, gain});
    QCOMPARE(picture::annotationItems(status, kMoment, locale), expected);
}

void TestPictureAnnotation::timeAndDateInTheLocalesWay()
{
    // Seconds always, no time zone: "C", en_US, de_DE.
    const struct
    {
        QLocale locale;
        const char *time;
        const char *date;
    } cases[] = {{QLocale::c(), "13:05:07", "9 Mar 2024"},
                 {QLocale(QLocale::English, QLocale::UnitedStates), "1:05:07 PM", "3/9/24"},
                 {QLocale(QLocale::German, QLocale::Germany), "13:05:07", "09.03.24"}};
    for (const auto &c : cases) {
        const QList<AnnotationItem> items = picture::annotationItems(status(0x21, 0, 1), kMoment, c.locale);
        QCOMPARE(items.value(0).text, QString("Time: ") + c.time);
        QCOMPARE(items.value(1).text, QString("Date: ") + c.date);
    }
}

void TestPictureAnnotation::drawnWhiteWithoutBackground()
{
    for (const int pal : {0, 1}) {
        Canvas canvas;
        canvas.fillRows(0, Canvas::kSize - 1, picture::palette::kGreen);
        const link::StatusBlock block = status(0x23, 0x14, pal);
        picture::AddStatusText(canvas, block, QFont("DejaVu Sans", 8));

        const int row = pal ? 480 : 400;
        // Each item leaves white ink just right of its column, on its own row band.
        for (const int column : {20, 150, 280, 400}) {
            int ink = 0;
            for (int y = row; y < row + 14; ++y)
                for (int x = column; x < column + 40; ++x)
                    ink += canvas.pixelIndex(x, y) == picture::palette::kWhite;
            QVERIFY2(ink > 10, qPrintable(QString("column %1 row %2").arg(column).arg(row)));
        }
        // Only white ink on the untouched green: no box behind the letters, nothing else moved.
        int white = 0;
        for (int y = 0; y < Canvas::kSize; ++y) {
            for (int x = 0; x < Canvas::kSize; ++x) {
                const auto colour = canvas.pixelIndex(x, y);
                if (colour == picture::palette::kWhite) {
                    ++white;
                    QVERIFY(y >= row && y < row + 16 && x >= 20);
                } else {
                    QCOMPARE(colour, std::optional<picture::PaletteIndex>(picture::palette::kGreen));
                }
            }
        }
        QVERIFY(white < 4000);
    }
}

QTEST_MAIN(TestPictureAnnotation)
#include "test_picture_annotation.moc"
