// The panel's core without a window: "orva.set" byte for byte, and the status
// block onto the menus, the two status buttons and the lamps, written by name
// into the record a window or a job shows.
#include "link/status_block.h"
#include "panel/lamp_map.h"
#include "panel/menu_map.h"
#include "panel/panel_state.h"
#include "panel/settings_file.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

using namespace orvanta;
using namespace orvanta::panel;

Q_DECLARE_METATYPE(SavedValue)

namespace {

// Every item whose check mark the block decides, every caption it sets.
const QStringList kStatusItems{"mnuFullpiccrc", "mnuActpiccrc", "mnuGamerrs", "mnuIllegalerrs", "mnuAuderrs",
    "mnuCodeerrs", "mnuKeypress", "mnuHiaud", "mnuBlack", "mnuNovid", "mnuNoaud", "mnuMaglines4", "mnuMaglines8",
    "mnuMaglines16", "mnuMaglines32", "mnuYRGB", "mnuWgainNorm", "mnuWGainMag", "mnuVGain100", "mnuVGain75",
    "mnuVGainMag", "mnuNorm", "mnuLpass", "mnuCpass", "mnuAnaAud", "mnuAESAud", "mnuEmbGp1", "mnuEmbGp2", "mnuEmbGp3",
    "mnuEmbGp4", "mnuPksoff", "mnuPks1Sec", "mnuPks2Sec", "mnuPks4Sec", "mnuPksInf", "mnuScalePPM", "mnuScaleDigi",
    "mnuScaleNordic", "mnuScaleVU", "mnuScaleEBU", "mnuScaleDIN", "mnuScaleExp", "mnuDemp32KHz", "mnuDemp44KHz",
    "mnuDemp48KHz", "mnuDempOff", "mnuTrace", "mnuHblank", "mnuSyncongreen", "mnuPALSwitch", "mnuVres", "mnuSafeActive",
    "mnuSafeaction", "mnuSafetitle", "mnuSafeoff"};
const QStringList kCaptionControls{"mnuInputYUV", "mnuOutputYUV", "mnuDispYUV", "mnuAudPhase", "mnuSmallBox",
    "mnuNTSC_PALM", "mnuViewasAnaDig", "mnuColour", "cmdRef", "cmdGenEdh"};
const QStringList kBoxItems{"mnuLboxL", "mnuLboxR", "mnuRboxL", "mnuRboxR"};
const QStringList kLamps{"led_sdi1", "led_sdi2", "led_cvs1", "led_cvs2", "led_cmpt", "led_pos", "led_neg"};

// What a block of zeros shows: the checked items, then control=caption.
const QStringList kZeroState{"mnuMaglines4", "mnuWgainNorm", "mnuVGain100", "mnuNorm", "mnuAnaAud", "mnuPksoff",
    "mnuScalePPM", "mnuDemp32KHz", "mnuSafeActive", "mnuInputYUV=Input: RGB", "mnuOutputYUV=Output: RGB",
    "mnuDispYUV=Display: RGB", "mnuAudPhase=Phase: Ch 1+2", "mnuSmallBox=Small Box: Btm", "mnuNTSC_PALM=525: PALM",
    "mnuViewasAnaDig=View as Analog", "mnuColour=Colour: Full", "cmdRef=Int", "cmdGenEdh=Off", "boxes=EEEE",
    "lamps=GGGGGRR"};

QByteArray block(std::initializer_list<std::pair<int, int>> bytes, int size = 16)
{
    QByteArray b(size, '\0');
    for (const auto &[index, value] : bytes)
        b[index] = char(value);
    return b;
}

// kZeroState changed: "-item" unchecks, "control=caption" replaces, anything else is checked too.
QStringList zeroStateWith(const QStringList &changes)
{
    QStringList state = kZeroState;
    for (const QString &change : changes) {
        if (change.startsWith('-'))
            state.removeOne(change.mid(1));
        else if (change.contains('='))
            state.removeIf([&](const QString &s) { return s.section('=', 0, 0) == change.section('=', 0, 0); });
        if (!change.startsWith('-'))
            state << change;
    }
    state.sort();
    return state;
}

// Every mark set, every caption "?", the box items as given, the lamps blue:
// only writing all of them on every call gets the record right.
void dirty(panel::PanelState &record, bool boxesEnabled)
{
    for (const QString &name : kStatusItems)
        record.setChecked(name.toStdString(), true);
    for (const QString &name : kBoxItems)
        record.setEnabled(name.toStdString(), boxesEnabled);
    for (const QString &control : kCaptionControls)
        record.setCaption(control.toStdString(), "?");
    for (const QString &name : kLamps)
        record.setLamp(name.toStdString(), qRgb(0, 0, 255));
}

// The record as kZeroState writes it; a lamp is G green, R red, - grey, u untouched.
QStringList stateOf(const panel::PanelState &record)
{
    const auto name = [](const QString &s) { return s.toStdString(); };
    QStringList state;
    for (const QString &item : kStatusItems)
        if (record.checked(name(item)).value_or(false))
            state << item;
    for (const QString &control : kCaptionControls)
        state << control + '=' + record.caption(name(control)).value_or("?");
    QString boxes = "boxes=", lamps = "lamps=";
    for (const QString &item : kBoxItems)
        boxes += record.enabled(name(item)).value_or(true) ? 'E' : '-';
    const QHash<QRgb, QChar> letters{
        {qRgb(0, 255, 0), 'G'}, {qRgb(255, 0, 0), 'R'}, {qRgb(128, 128, 128), '-'}, {qRgb(0, 0, 255), 'u'}};
    for (const QString &lamp : kLamps)
        lamps += letters.value(record.lampColour(name(lamp)).value_or(0), '?');
    state << boxes << lamps;
    state.sort();
    return state;
}

} // namespace

class TestPanelCore : public QObject
{
    Q_OBJECT

private slots:
    void codec_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<SavedValue>("baud");
        QTest::addColumn<SavedValue>("port");
        QTest::addColumn<bool>("written"); // the file is what writing these values makes
        const SavedValue none;
        const auto row = [](const char *name, const char *hex, SavedValue baud, SavedValue port, bool written) {
            QTest::newRow(name) << QByteArray::fromHex(hex) << baud << port << written;
        };
        row("nothing chosen", "00000000", none, none, true);
        row("19.2K on port 2", "0200020002000200", 2, 2, true);
        row("no baud, then port 3 at offset 2", "000002000300", none, 3, true);
        row("values outside the menus kept", "0200070002000500", 7, 5, true);
        row("negative", "0200ffff02000000", -1, 0, true);
        row("empty file", "", none, none, false);
        row("longer than 8 bytes", "02000100020003000200ffff", 1, 3, false);
        row("port beyond the end", "02000300", 3, none, false);
        row("value cut short", "020001", none, none, false);
        row("tag cut short", "0200040002", 4, none, false);
        row("unknown first tag", "0300010000000200", none, none, false);
        row("unknown second tag", "0200010008000300", 1, none, false);
    }

    void codec()
    {
        QFETCH(QByteArray, file);
        QFETCH(SavedValue, baud);
        QFETCH(SavedValue, port);
        QFETCH(bool, written);
        QCOMPARE(decodeSettings(file), (SavedSettings{baud, port}));
        if (!written)
            return;
        QCOMPARE(encodeSettings({baud, port}), file);

        // Written over a longer file, whose content beyond stays; read back as written.
        QTemporaryDir dir;
        const SettingsFile settings(dir.filePath("orva.set"));
        const QByteArray longer(12, '\xaa');
        QFile raw(settings.path());
        QVERIFY(raw.open(QIODevice::WriteOnly) && raw.write(longer) == longer.size());
        raw.close();
        QVERIFY(settings.write({baud, port}));
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QCOMPARE(raw.readAll(), file + longer.mid(file.size()));
        QCOMPARE(settings.read(), std::optional(SavedSettings{baud, port}));
    }

    void wholeBlock_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QStringList>("changes"); // from kZeroState
        const auto row = [](const char *name, const QByteArray &status, const QStringList &changes) {
            QTest::newRow(name) << status << changes;
        };

        row("all clear", block({}), {});
        row("all set: 0x30 source, gain, filter; scale 0x1C; peak hold 255; 0x0C GEN", QByteArray(16, '\xff'),
            {"-mnuMaglines4", "-mnuWgainNorm", "-mnuVGain100", "-mnuNorm", "-mnuAnaAud", "-mnuPksoff", "-mnuScalePPM",
                "-mnuDemp32KHz", "-mnuSafeActive", "mnuFullpiccrc", "mnuActpiccrc", "mnuGamerrs", "mnuIllegalerrs",
                "mnuAuderrs", "mnuCodeerrs", "mnuKeypress", "mnuHiaud", "mnuBlack", "mnuNovid", "mnuNoaud",
                "mnuMaglines32", "mnuYRGB", "mnuWGainMag", "mnuVGain75", "mnuCpass", "mnuPksInf", "mnuDempOff",
                "mnuTrace", "mnuHblank", "mnuSyncongreen", "mnuPALSwitch", "mnuVres", "mnuSafeoff",
                "mnuInputYUV=Input: YUV", "mnuOutputYUV=Output: YUV", "mnuDispYUV=Display: YUV",
                "mnuAudPhase=Phase: Ch 3+4", "mnuSmallBox=Small Box: Top", "mnuNTSC_PALM=525: NTSC",
                "mnuViewasAnaDig=View as Digital", "mnuColour=Colour: Mono", "cmdRef=Ext", "cmdGenEdh=GEN",
                "boxes=----", "lamps=-------"});
        row("every bit outside the fields, 20 bytes", QByteArray::fromHex("7CF3C3804F5247C1FFE0E000F8F3E0CFFFFFFFFF"),
            {});
        // Alternate bits: a check bit or lamp read from its neighbour shows.
        row("alternate bits", block({{3, 0x55}, {10, 0x0A}, {6, 0x08}, {7, 0x02}, {14, 0x0A}, {15, 0x10}}),
            {"mnuFullpiccrc", "mnuGamerrs", "mnuAuderrs", "mnuKeypress", "mnuHiaud", "mnuNovid", "mnuPALSwitch",
                "mnuSyncongreen", "lamps=G-G-G-R"});
        // Fields in bytes of their own, several to a row.
        row("mag lines 0x04 is 16, vector gain 0x10, de-emphasis 0x04, safe area 1, EDH, peak hold 100",
            block({{1, 0x04}, {2, 0x10}, {5, 0x04}, {0, 1}, {7, 0x04}, {11, 100}}),
            {"-mnuMaglines4", "mnuMaglines16", "-mnuVGain100", "mnuVGainMag", "-mnuDemp32KHz", "mnuDemp44KHz",
                "-mnuSafeActive", "mnuSafeaction", "cmdGenEdh=EDH", "-mnuPksoff", "mnuPks2Sec"});
        row("mag lines 0x08 is 8, embedded group 3, generator 0x08, peak hold 25, box lock 0x08",
            block({{1, 0x08}, {6, 0x20}, {7, 0x28}, {11, 25}, {13, 0x08}}),
            {"-mnuMaglines4", "mnuMaglines8", "-mnuAnaAud", "mnuEmbGp3", "cmdGenEdh=GEN", "-mnuPksoff", "mnuPksInf",
                "boxes=----"});
        row("analog ignores byte 7, peak hold 150", block({{7, 0x20}, {11, 150}}), {"-mnuPksoff", "mnuPksInf"});
    }

    void wholeBlock()
    {
        QFETCH(QByteArray, status);
        QFETCH(QStringList, changes);
        const QStringList expected = zeroStateWith(changes);
        for (const bool boxesEnabled : {false, true}) {
            panel::PanelState record;
            dirty(record, boxesEnabled);
            QVERIFY(panel::applyMenuState(link::StatusBlock(status), record));
            QVERIFY(panel::applyLampState(link::StatusBlock(status), record));
            QCOMPARE(stateOf(record), expected);
        }
    }

    void blockThatEndsEarly_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("cleared");
        QTest::newRow("5 bytes: inside the alarms")
            << block({}, 5) << QStringList{"mnuHiaud", "mnuNoaud", "mnuMaglines8", "mnuAudPhase=?"}
            << QStringList{"mnuFullpiccrc", "mnuKeypress"};
        QTest::newRow("11 bytes: up to the audio source")
            << block({{6, 0x20}, {7, 0x30}}, 11)
            << QStringList{"mnuMaglines4", "mnuEmbGp4", "mnuInputYUV=Input: RGB", "mnuAudPhase=Phase: Ch 1+2",
                   "mnuPks1Sec", "mnuPksInf", "mnuScaleExp", "mnuTrace", "mnuSafeoff", "mnuSmallBox=?", "cmdGenEdh=?"}
            << QStringList{"mnuNoaud", "mnuMaglines8", "mnuYRGB", "mnuCpass", "mnuAnaAud", "mnuEmbGp1"};
    }

    // What the block reaches is written; the rest keeps its old state.
    void blockThatEndsEarly()
    {
        QFETCH(QByteArray, status);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, cleared);
        panel::PanelState record;
        dirty(record, false);
        QVERIFY(!panel::applyMenuState(link::StatusBlock(status), record));
        // Fifteen bytes lack the gamut lamps' byte.
        QVERIFY(!panel::applyLampState(link::StatusBlock(block({{14, 0x15}}, 15)), record));
        const QStringList state = stateOf(record);
        for (const QString &name : shown + QStringList{"boxes=----", "lamps=-G-G-uu"})
            QVERIFY2(state.contains(name), qPrintable(name));
        for (const QString &name : cleared)
            QVERIFY2(!state.contains(name), qPrintable(name));

        // An empty block changes nothing.
        QVERIFY(!panel::applyMenuState(link::StatusBlock(), record));
        QVERIFY(!panel::applyLampState(link::StatusBlock(), record));
        QCOMPARE(stateOf(record), state);
    }
};

QTEST_MAIN(TestPanelCore)
#include "test_panel_core.moc"
