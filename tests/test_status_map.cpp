// The status block onto the menus, the two status buttons and the lamps.
#include "link/status_block.h"
#include "panel/lamp.h"
#include "panel/lamp_map.h"
#include "panel/main_window.h"
#include "panel/menu_item.h"
#include "panel/menu_map.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <utility>

using namespace orvanta;

namespace {

// Every item whose check mark the block decides.
const QStringList kStatusItems{
    "mnuFullpiccrc", "mnuActpiccrc", "mnuGamerrs", "mnuIllegalerrs", "mnuAuderrs", "mnuCodeerrs",
    "mnuKeypress", "mnuHiaud", "mnuBlack", "mnuNovid", "mnuNoaud",
    "mnuMaglines4", "mnuMaglines8", "mnuMaglines16", "mnuMaglines32", "mnuYRGB",
    "mnuWgainNorm", "mnuWGainMag", "mnuVGain100", "mnuVGain75", "mnuVGainMag",
    "mnuNorm", "mnuLpass", "mnuCpass",
    "mnuAnaAud", "mnuAESAud", "mnuEmbGp1", "mnuEmbGp2", "mnuEmbGp3", "mnuEmbGp4",
    "mnuPksoff", "mnuPks1Sec", "mnuPks2Sec", "mnuPks4Sec", "mnuPksInf",
    "mnuScalePPM", "mnuScaleDigi", "mnuScaleNordic", "mnuScaleVU", "mnuScaleEBU", "mnuScaleDIN",
    "mnuScaleExp", "mnuDemp32KHz", "mnuDemp44KHz", "mnuDemp48KHz", "mnuDempOff",
    "mnuTrace", "mnuHblank", "mnuSyncongreen", "mnuPALSwitch", "mnuVres",
    "mnuSafeActive", "mnuSafeaction", "mnuSafetitle", "mnuSafeoff"};

const QStringList kCaptionControls{"mnuInputYUV", "mnuOutputYUV", "mnuDispYUV", "mnuAudPhase",
                                   "mnuSmallBox", "mnuNTSC_PALM", "mnuViewasAnaDig", "mnuColour",
                                   "cmdRef", "cmdGenEdh"};
const QStringList kBoxItems{"mnuLboxL", "mnuLboxR", "mnuRboxL", "mnuRboxR"};

// What a block of zeros shows.
const QStringList kClearChecked{"mnuMaglines4", "mnuWgainNorm", "mnuVGain100", "mnuNorm", "mnuAnaAud",
                                "mnuPksoff", "mnuScalePPM", "mnuDemp32KHz", "mnuSafeActive"};
const QStringList kClearCaptions{"Input: RGB", "Output: RGB", "Display: RGB", "Phase: Ch 1+2",
                                 "Small Box: Btm", "525: PALM", "View as Analog", "Colour: Full",
                                 "Int", "Off"};

QByteArray block(std::initializer_list<std::pair<int, int>> bytes, int size = 16)
{
    QByteArray b(size, '\0');
    for (const auto &[index, value] : bytes)
        b[index] = char(value);
    return b;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// The zero block's marks with some swapped.
QStringList checkedAs(const QStringList &out, const QStringList &in)
{
    QStringList list = kClearChecked;
    for (const QString &name : out)
        list.removeAll(name);
    return sorted(list + in);
}

QStringList captionsAs(const QList<std::pair<QString, QString>> &changed)
{
    QStringList captions = kClearCaptions;
    for (const auto &[control, caption] : changed)
        captions[kCaptionControls.indexOf(control)] = caption;
    return captions;
}

QString captionOf(const panel::MainWindow &window, const QString &control)
{
    if (QAction *item = window.menuItem(control))
        return item->text();
    return window.button(control)->text();
}

void setCaption(panel::MainWindow &window, const QString &control, const QString &caption)
{
    if (QAction *item = window.menuItem(control))
        item->setText(caption);
    else
        window.button(control)->setText(caption);
}

QStringList checkedOf(const panel::MainWindow &window)
{
    QStringList names;
    for (const QString &name : kStatusItems)
        if (panel::itemChecked(window.menuItem(name)))
            names << name;
    return sorted(names);
}

QStringList captionsOf(const panel::MainWindow &window)
{
    QStringList captions;
    for (const QString &control : kCaptionControls)
        captions << captionOf(window, control);
    return captions;
}

// Every mark set, every caption and enabled state the opposite of what is
// expected: only writing all of them on every call gets the window right.
void dirty(panel::MainWindow &window, bool boxesEnabled)
{
    for (const QString &name : kStatusItems)
        panel::setItemChecked(window.menuItem(name), true);
    for (const QString &control : kCaptionControls)
        setCaption(window, control, "?");
    for (const QString &name : kBoxItems)
        window.menuItem(name)->setEnabled(!boxesEnabled);
}

const QColor kGrey(128, 128, 128);
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kUntouched(0, 0, 255);
const QStringList kLamps{"led_sdi1", "led_sdi2", "led_cvs1", "led_cvs2", "led_cmpt", "led_pos", "led_neg"};

// One letter a lamp: G green, R red, - grey, u untouched.
QString lampsOf(const panel::MainWindow &window)
{
    QString letters;
    for (const QString &name : kLamps) {
        const QColor fill = window.lamp(name)->fillColour();
        letters += fill == kGreen ? 'G'
                   : fill == kRed ? 'R'
                   : fill == kGrey ? '-'
                   : fill == kUntouched ? 'u'
                                        : '?';
    }
    return letters;
}

} // namespace

class TestStatusMap : public QObject
{
    Q_OBJECT

private slots:
    void menus_data();
    void menus();
    void menusFromABlockThatEndsEarly_data();
    void menusFromABlockThatEndsEarly();
    void lamps_data();
    void lamps();
};

void TestStatusMap::menus_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<bool>("boxesEnabled");

    QTest::newRow("all clear") << block({}) << sorted(kClearChecked) << kClearCaptions << true;
    QTest::newRow("all set") << QByteArray(16, '\xff')
                             << sorted({"mnuFullpiccrc", "mnuActpiccrc", "mnuGamerrs", "mnuIllegalerrs",
                                        "mnuAuderrs", "mnuCodeerrs", "mnuKeypress", "mnuHiaud", "mnuBlack",
                                        "mnuNovid", "mnuNoaud", "mnuMaglines32", "mnuYRGB", "mnuWGainMag",
                                        "mnuVGain75", "mnuCpass", "mnuPksInf", "mnuDempOff", "mnuTrace",
                                        "mnuHblank", "mnuSyncongreen", "mnuPALSwitch", "mnuVres",
                                        "mnuSafeoff"})
                             << QStringList{"Input: YUV", "Output: YUV", "Display: YUV", "Phase: Ch 3+4",
                                            "Small Box: Top", "525: NTSC", "View as Digital",
                                            "Colour: Mono", "Ext", "GEN"}
                             << false;
    QTest::newRow("every bit outside the fields")
        << QByteArray::fromHex("7CF3C3804F5247C1FFE0E000F8F3E0CF") << sorted(kClearChecked) << kClearCaptions
        << true;
    QByteArray twenty = block({}, 20);
    twenty.replace(16, 4, "\xff\xff\xff\xff");
    QTest::newRow("20 bytes, the last four set") << twenty << sorted(kClearChecked) << kClearCaptions << true;

    struct Pick
    {
        const char *row;
        int byte;
        int value;
        QStringList out;
        QStringList in;
    };
    const Pick picks[] = {
        {"mag lines 0x04 is 16", 1, 0x04, {"mnuMaglines4"}, {"mnuMaglines16"}},
        {"mag lines 0x08 is 8", 1, 0x08, {"mnuMaglines4"}, {"mnuMaglines8"}},
        {"mag lines 0x0C", 1, 0x0C, {"mnuMaglines4"}, {"mnuMaglines32"}},
        {"waveform gain mag", 2, 0x04, {"mnuWgainNorm"}, {"mnuWGainMag"}},
        {"vector gain 0x10", 2, 0x10, {"mnuVGain100"}, {"mnuVGainMag"}},
        {"vector gain 0x20", 2, 0x20, {"mnuVGain100"}, {"mnuVGain75"}},
        {"vector gain 0x30", 2, 0x30, {"mnuVGain100"}, {"mnuVGain75"}},
        {"filter 0x10", 4, 0x10, {"mnuNorm"}, {"mnuLpass"}},
        {"filter 0x20", 4, 0x20, {"mnuNorm"}, {"mnuCpass"}},
        {"filter 0x30", 4, 0x30, {"mnuNorm"}, {"mnuCpass"}},
        {"audio AES", 6, 0x10, {"mnuAnaAud"}, {"mnuAESAud"}},
        {"audio source 0x30", 6, 0x30, {"mnuAnaAud"}, {}},
        {"peak hold 50", 11, 50, {"mnuPksoff"}, {"mnuPks1Sec"}},
        {"peak hold 100", 11, 100, {"mnuPksoff"}, {"mnuPks2Sec"}},
        {"peak hold 200", 11, 200, {"mnuPksoff"}, {"mnuPks4Sec"}},
        {"peak hold 25", 11, 25, {"mnuPksoff"}, {"mnuPksInf"}},
        {"peak hold 150", 11, 150, {"mnuPksoff"}, {"mnuPksInf"}},
        {"peak hold 255", 11, 255, {"mnuPksoff"}, {"mnuPksInf"}},
        {"scale 0x04", 9, 0x04, {"mnuScalePPM"}, {"mnuScaleDigi"}},
        {"scale 0x08", 9, 0x08, {"mnuScalePPM"}, {"mnuScaleNordic"}},
        {"scale 0x0C", 9, 0x0C, {"mnuScalePPM"}, {"mnuScaleVU"}},
        {"scale 0x10", 9, 0x10, {"mnuScalePPM"}, {"mnuScaleEBU"}},
        {"scale 0x14", 9, 0x14, {"mnuScalePPM"}, {"mnuScaleDIN"}},
        {"scale 0x18", 9, 0x18, {"mnuScalePPM"}, {"mnuScaleExp"}},
        {"scale 0x1C checks none", 9, 0x1C, {"mnuScalePPM"}, {}},
        {"de-emphasis 0x04", 5, 0x04, {"mnuDemp32KHz"}, {"mnuDemp44KHz"}},
        {"de-emphasis 0x08", 5, 0x08, {"mnuDemp32KHz"}, {"mnuDemp48KHz"}},
        {"de-emphasis 0x0C", 5, 0x0C, {"mnuDemp32KHz"}, {"mnuDempOff"}},
        {"safe area 1", 0, 1, {"mnuSafeActive"}, {"mnuSafeaction"}},
        {"safe area 2", 0, 2, {"mnuSafeActive"}, {"mnuSafetitle"}},
        {"safe area 3", 0, 3, {"mnuSafeActive"}, {"mnuSafeoff"}},
        // Bits that check one item each and touch nothing else.
        {"full pic CRC", 3, 0x01, {}, {"mnuFullpiccrc"}},
        {"act pic CRC", 3, 0x02, {}, {"mnuActpiccrc"}},
        {"gamut errs", 3, 0x04, {}, {"mnuGamerrs"}},
        {"illegal errs", 3, 0x08, {}, {"mnuIllegalerrs"}},
        {"audio errs", 3, 0x10, {}, {"mnuAuderrs"}},
        {"code errs", 3, 0x20, {}, {"mnuCodeerrs"}},
        {"key press", 3, 0x40, {}, {"mnuKeypress"}},
        {"hi aud", 10, 0x02, {}, {"mnuHiaud"}},
        {"black", 10, 0x04, {}, {"mnuBlack"}},
        {"no vid", 10, 0x08, {}, {"mnuNovid"}},
        {"no aud", 10, 0x10, {}, {"mnuNoaud"}},
        {"YRGB", 10, 0x01, {}, {"mnuYRGB"}},
        {"trace", 4, 0x80, {}, {"mnuTrace"}},
        {"H blank", 6, 0x80, {}, {"mnuHblank"}},
        {"sync on green", 7, 0x02, {}, {"mnuSyncongreen"}},
        {"PAL switch", 6, 0x08, {}, {"mnuPALSwitch"}},
        {"V res", 9, 0x01, {}, {"mnuVres"}},
    };
    for (const Pick &pick : picks)
        QTest::newRow(pick.row) << block({{pick.byte, pick.value}}) << checkedAs(pick.out, pick.in)
                                << kClearCaptions << true;

    // The embedded group counts only while the source is embedded.
    QTest::newRow("embedded group 1") << block({{6, 0x20}}) << checkedAs({"mnuAnaAud"}, {"mnuEmbGp1"})
                                      << kClearCaptions << true;
    QTest::newRow("embedded group 2") << block({{6, 0x20}, {7, 0x10}})
                                      << checkedAs({"mnuAnaAud"}, {"mnuEmbGp2"}) << kClearCaptions << true;
    QTest::newRow("embedded group 3") << block({{6, 0x20}, {7, 0x20}})
                                      << checkedAs({"mnuAnaAud"}, {"mnuEmbGp3"}) << kClearCaptions << true;
    QTest::newRow("embedded group 4") << block({{6, 0x20}, {7, 0x30}})
                                      << checkedAs({"mnuAnaAud"}, {"mnuEmbGp4"}) << kClearCaptions << true;
    QTest::newRow("source 0x30 ignores byte 7")
        << block({{6, 0x30}, {7, 0x30}}) << checkedAs({"mnuAnaAud"}, {}) << kClearCaptions << true;
    QTest::newRow("analog ignores byte 7") << block({{6, 0x00}, {7, 0x20}}) << sorted(kClearChecked)
                                           << kClearCaptions << true;

    struct Wording
    {
        const char *row;
        int byte;
        int value;
        const char *control;
        const char *caption;
    };
    const Wording wordings[] = {
        {"input YUV", 5, 0x80, "mnuInputYUV", "Input: YUV"},
        {"output YUV", 5, 0x20, "mnuOutputYUV", "Output: YUV"},
        {"display YUV", 9, 0x02, "mnuDispYUV", "Display: YUV"},
        {"phase 3+4", 5, 0x01, "mnuAudPhase", "Phase: Ch 3+4"},
        {"small box top", 12, 0x01, "mnuSmallBox", "Small Box: Top"},
        {"525 NTSC", 2, 0x08, "mnuNTSC_PALM", "525: NTSC"},
        {"view as digital", 12, 0x04, "mnuViewasAnaDig", "View as Digital"},
        {"colour mono", 12, 0x02, "mnuColour", "Colour: Mono"},
        {"reference external", 0, 0x80, "cmdRef", "Ext"},
        {"EDH", 7, 0x04, "cmdGenEdh", "EDH"},
        {"generator 0x08", 7, 0x08, "cmdGenEdh", "GEN"},
        {"generator 0x0C", 7, 0x0C, "cmdGenEdh", "GEN"},
    };
    for (const Wording &wording : wordings)
        QTest::newRow(wording.row) << block({{wording.byte, wording.value}}) << sorted(kClearChecked)
                                   << captionsAs({{wording.control, wording.caption}}) << true;

    QTest::newRow("box lock 0x04") << block({{13, 0x04}}) << sorted(kClearChecked) << kClearCaptions << false;
    QTest::newRow("box lock 0x08") << block({{13, 0x08}}) << sorted(kClearChecked) << kClearCaptions << false;
}

void TestStatusMap::menus()
{
    QFETCH(QByteArray, status);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, captions);
    QFETCH(bool, boxesEnabled);

    panel::MainWindow window;
    dirty(window, boxesEnabled);
    QVERIFY(panel::applyMenuState(link::StatusBlock(status), window));

    QCOMPARE(checkedOf(window), checked);
    QCOMPARE(captionsOf(window), captions);
    for (const QString &name : kBoxItems)
        QCOMPARE(window.menuItem(name)->isEnabled(), boxesEnabled);
}

void TestStatusMap::menusFromABlockThatEndsEarly_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("updated");
    QTest::addColumn<QStringList>("untouched");
    QTest::addColumn<QStringList>("untouchedCaptions");

    // Zeros clear every mark that is updated; untouched ones keep theirs.
    QTest::newRow("empty") << 0 << QStringList{} << kStatusItems << kCaptionControls;
    QTest::newRow("5 bytes: first alarm byte only")
        << 5 << QStringList{"mnuFullpiccrc", "mnuKeypress"}
        << QStringList{"mnuHiaud", "mnuNoaud", "mnuMaglines8", "mnuSafeoff"} << kCaptionControls;
    QTest::newRow("11 bytes: up to the audio source")
        << 11 << QStringList{"mnuNoaud", "mnuMaglines8", "mnuYRGB", "mnuCpass", "mnuEmbGp4"}
        << QStringList{"mnuPksInf", "mnuPks1Sec", "mnuScaleExp", "mnuTrace", "mnuSafeoff"}
        << QStringList{"mnuSmallBox", "mnuNTSC_PALM", "mnuViewasAnaDig", "mnuColour", "cmdRef", "cmdGenEdh"};
    QTest::newRow("13 bytes: up to the trace")
        << 13 << QStringList{"mnuPksInf", "mnuScaleExp", "mnuDempOff", "mnuTrace"}
        << QStringList{"mnuHblank", "mnuVres", "mnuSafeoff"}
        << QStringList{"mnuSmallBox", "mnuNTSC_PALM", "mnuViewasAnaDig", "mnuColour", "cmdRef", "cmdGenEdh"};
}

void TestStatusMap::menusFromABlockThatEndsEarly()
{
    QFETCH(int, size);
    QFETCH(QStringList, updated);
    QFETCH(QStringList, untouched);
    QFETCH(QStringList, untouchedCaptions);

    panel::MainWindow window;
    dirty(window, true);
    QVERIFY(!panel::applyMenuState(link::StatusBlock(QByteArray(size, '\0')), window));

    for (const QString &name : updated)
        QVERIFY2(!panel::itemChecked(window.menuItem(name)), qPrintable(name));
    for (const QString &name : untouched)
        QVERIFY2(panel::itemChecked(window.menuItem(name)), qPrintable(name));
    for (const QString &control : kCaptionControls)
        QCOMPARE(captionOf(window, control) == "?", untouchedCaptions.contains(control));
    // The lock comes after the trace: never reached here.
    for (const QString &name : kBoxItems)
        QVERIFY(!window.menuItem(name)->isEnabled());
}

void TestStatusMap::lamps_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QString>("lamps");

    QTest::newRow("all lit") << block({}) << true << "GGGGGRR";
    QTest::newRow("all dark") << block({{14, 0x1F}, {15, 0x30}}) << true << "-------";
    QTest::newRow("bits outside the lamps") << block({{14, 0xE0}, {15, 0xCF}}) << true << "GGGGGRR";
    QTest::newRow("SDI 1 dark") << block({{14, 0x01}}) << true << "-GGGGRR";
    QTest::newRow("SDI 2 dark") << block({{14, 0x02}}) << true << "G-GGGRR";
    QTest::newRow("CVS 1 dark") << block({{14, 0x04}}) << true << "GG-GGRR";
    QTest::newRow("CVS 2 dark") << block({{14, 0x08}}) << true << "GGG-GRR";
    QTest::newRow("CMPT dark") << block({{14, 0x10}}) << true << "GGGG-RR";
    QTest::newRow("pos dark") << block({{15, 0x10}}) << true << "GGGGG-R";
    QTest::newRow("neg dark") << block({{15, 0x20}}) << true << "GGGGGR-";
    QTest::newRow("15 bytes: no gamut byte") << block({{14, 0x15}}, 15) << false << "-G-G-uu";
    QTest::newRow("empty") << QByteArray() << false << "uuuuuuu";
}

void TestStatusMap::lamps()
{
    QFETCH(QByteArray, status);
    QFETCH(bool, complete);
    QFETCH(QString, lamps);

    panel::MainWindow window;
    for (const QString &name : kLamps)
        window.lamp(name)->setFillColour(kUntouched);
    QCOMPARE(panel::applyLampState(link::StatusBlock(status), window), complete);
    QCOMPARE(lampsOf(window), lamps);
}

QTEST_MAIN(TestStatusMap)
#include "test_status_map.moc"
