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
namespace palette = picture::palette;

namespace {

constexpr int kColumns[] = {20, 150, 280, 400};

QByteArray status(int byte1, int byte2, int byte7)
{
    return QByteArray(1, 0) + char(byte1) + char(byte2) + QByteArray(4, 0) + char(byte7) + QByteArray(8, 0);
}

} // namespace

class TestPictureAnnotation : public QObject
{
    Q_OBJECT

private slots:
    void items_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QStringList>("texts"); // at columns 20, 150, 280 and 400 of row 400 (NTSC) or 480 (PAL)

        // In the British way: time with seconds and without a time zone, short date.
        const auto row = [](const char *name, const QByteArray &status, const QStringList &rangeAndGain) {
            QTest::newRow(name) << status << QStringList{"Time: 13:05:07", "Date: 09/03/2024"} + rangeAndGain;
        };
        row("waveform parade, mag", status(0x61, 0x04, 1), {"Range: Parade", "Gain: Mag"});
        row("LSel, combination mag 75%", status(0xe3, 0x24, 1), {"Range: LSel", "Gain: Mag, 75%"});
        row("small boxes, 2H: no gain", status(0x40, 0x3f, 0), {"Range: 2H"});
        row("HMag, waveform x 1", status(0x01, 0x30, 0xfe), {"Range: HMag", "Gain: x 1"});
        row("VMag, vector 100%", status(0x82, 0x04, 1), {"Range: VMag", "Gain: 100%"});
        row("H, both x 1, mag", status(0x23, 0x10, 0), {"Range: H", "Gain: x 1, Mag"});
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

    void drawnWhiteWithoutBackground()
    {
        picture::Canvas canvas;
        canvas.fillRows(0, picture::Canvas::kSize - 1, palette::kGreen);
        picture::AddStatusText(canvas, link::StatusBlock(status(0x23, 0x14, 1)), QFont("DejaVu Sans", 8));

        // White ink just right of each item's column on rows 480 to 495; no box behind the letters.
        QList<int> ink(4);
        for (int y = 0; y < picture::Canvas::kSize; ++y)
            for (int x = 0; x < picture::Canvas::kSize; ++x)
                if (const auto colour = canvas.pixelIndex(x, y); colour != palette::kGreen) {
                    QVERIFY2(
                        colour == palette::kWhite && y >= 480 && y < 496, qPrintable(QString("%1,%2").arg(x).arg(y)));
                    for (int i = 0; i < 4; ++i)
                        ink[i] += x >= kColumns[i] && x < kColumns[i] + 40;
                }
        QVERIFY(*std::ranges::min_element(ink) > 10);
    }
};

QTEST_MAIN(TestPictureAnnotation)
#include "test_picture_annotation.moc"
