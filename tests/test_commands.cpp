// The panel's buttons, scale images and menu items on the wire: each writes
// its one code to the simulator, and only the alarm items touch a check mark.
#include "panel/arrow_key.h"
#include "panel/menu_item.h"
#include "support/panel_rig.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace orvanta;
using test::PanelRig;

namespace {

// The codes as the instrument's command list gives them, typed apart from
// the program's own table so that a wrong or missing row shows.
const char *const kExpected =
    "cmdAna 27 cmdSDI 15 cmdY 23 cmdCb 29 cmdCr 30 cmdWfm 47 cmdVect 59 cmdDual 62 cmdTraces 55 "
    "cmdOlay 61 cmdFreeze 79 cmdHVRng 87 cmdMagRng 91 cmdRef 119 cmdAudiobars 123 cmdBars 123 "
    "cmdGenEdh 111 cmdResetEDH 141 imgScaleUp 84 imgScaleDown 85 mnuKeypress 42 "
    "mnuMaglines4 53 mnuMaglines8 54 mnuMaglines16 56 mnuMaglines32 57 mnuInputYUV 58 "
    "mnuOutputYUV 60 mnuDispYUV 63 mnuYRGB 31 mnuWgainNorm 96 mnuWGainMag 97 mnuVGain100 98 "
    "mnuVGain75 99 mnuVGainMag 100 mnuHorzCursor 24 mnuVertCursor 25 mnuPhaseCursor 26 "
    "mnuCanCurs 155 mnuFullWfm 43 mnuFullvec 44 mnuFullcombo 45 mnuFullGBR 46 mnuFullTime 48 "
    "mnuFullAmplitude 49 mnuFullErrors 50 mnuAudMeasure 51 mnuVideoGamut 52 mnuNorm 81 "
    "mnuLpass 82 mnuCpass 83 mnuTrace 68 mnuMoveup 69 mnuMovedown 70 mnuLboxL 71 mnuLboxR 72 "
    "mnuRboxL 73 mnuRboxR 74 mnuTextBox 75 mnuSmallBox 128 mnuNTSC_PALM 129 "
    "mnuViewasAnaDig 130 mnuColour 131 mnuSyncongreen 132 mnuPALSwitch 133 mnuHblank 134 "
    "mnuSafeaction 92 mnuSafeActive 93 mnuSafetitle 94 mnuSafeoff 95 mnuVres 76 mnuEmbGp1 16 "
    "mnuEmbGp2 17 mnuEmbGp3 18 mnuEmbGp4 19 mnuAnaAud 20 mnuAESAud 21 mnuPksoff 135 "
    "mnuPks1Sec 136 mnuPks2Sec 137 mnuPks4Sec 138 mnuPksInf 139 mnuDemp48KHz 66 "
    "mnuDemp44KHz 65 mnuDemp32KHz 64 mnuDempOff 67 mnuScalePPM 144 mnuScaleDigi 145 "
    "mnuScaleNordic 146 mnuScaleVU 147 mnuScaleEBU 148 mnuScaleDIN 149 mnuScaleExp 150 "
    "mnuAudPhase 140 mnuStore0 101 mnuStore1 102 mnuStore2 103 mnuStore3 104 mnuStore4 105 "
    "mnuStore5 106 mnuStore6 107 mnuStore7 108 mnuStore8 109 mnuRecall0 110 mnuRecall1 112 "
    "mnuRecall2 113 mnuRecall3 114 mnuRecall4 115 mnuRecall5 116 mnuRecall6 117 "
    "mnuRecall7 118 mnuRecall8 120";

const char *const kAlarms = "mnuActpiccrc 32 mnuFullpiccrc 33 mnuAuderrs 34 mnuCodeerrs 35 "
                            "mnuIllegalerrs 36 mnuGamerrs 37 mnuNoaud 38 mnuHiaud 39 mnuNovid 40 mnuBlack 41";

// Name and code pairs of one of the lists above.
QList<QPair<QString, QByteArray>> pairs(const char *list)
{
    const QStringList words = QString::fromLatin1(list).split(' ');
    QList<QPair<QString, QByteArray>> result;
    for (qsizetype i = 0; i + 1 < words.size(); i += 2)
        result.append({words[i], QByteArray(1, char(words[i + 1].toInt()))});
    return result;
}

// Controls that write none of these codes: other windows, set-up, exit, help,
// and the shift arrows, which repeat.
const QStringList kOtherControls = {
    "mnu_Logger", "mnuUpload", "mnuPort1", "mnuPort2", "mnuPort3", "mnuPort4", "mnu9600",
    "mnu192k", "mnu288k", "mnu384k", "mnuExit", "mnuHelpContents", "mnuAbout",
    "imgLeft", "imgRight", "imgUp", "imgDown", "imgPhleft", "imgPhright",
};

// Opens the item's own menu and clicks the item with the mouse.
void clickMenuItem(QAction *item)
{
    QMenu *menu = nullptr;
    for (QObject *owner : item->associatedObjects())
        if ((menu = qobject_cast<QMenu *>(owner)))
            break;
    QVERIFY(menu);
    // Away from the pointer: a menu ignores a release where it was opened.
    menu->popup(QPoint(200, 100));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QPoint at = menu->actionGeometry(item).center();
    QTest::mousePress(menu, Qt::LeftButton, {}, at);
    QTest::mouseRelease(menu, Qt::LeftButton, {}, at);
    QTRY_VERIFY(!menu->isVisible());
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void everyControlWritesItsCodeAndNothingElse_data();
    void everyControlWritesItsCodeAndNothingElse();
    void alarmItemFlipsItsOwnMark_data();
    void alarmItemFlipsItsOwnMark();
    void everyControlIsAccountedFor();

private:
    std::unique_ptr<PanelRig> rig_;
};

void TestCommands::initTestCase()
{
    // One instrument for every row: what a row sent is told apart by markers.
    rig_ = std::make_unique<PanelRig>();
    QVERIFY(rig_->ready());
}

void TestCommands::init()
{
    rig_->notifier.clear();
}

void TestCommands::everyControlWritesItsCodeAndNothingElse_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("sent");
    for (const auto &[control, sent] : pairs(kExpected))
        QTest::newRow(qPrintable(control)) << control << sent;
}

// A click (a press on a scale image) opens the closed port and writes one
// code; it changes no mark and no caption. Releasing a scale image writes
// nothing, however long it was held.
void TestCommands::everyControlWritesItsCodeAndNothingElse()
{
    QFETCH(QString, control);
    QFETCH(QByteArray, sent);
    PanelRig &rig = *rig_;
    rig.serial->ClosePort();
    const qsizetype before = rig.receivedCount();

    if (QPushButton *button = rig.window().button(control)) {
        const QString caption = button->text();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), caption);
        QCOMPARE(rig.receivedSince(before), sent);
    } else if (panel::ArrowKey *image = rig.window().image(control)) {
        const QPoint at = image->mapTo(&rig.window(), image->rect().center());
        QTest::mousePress(rig.handle(), Qt::LeftButton, {}, at);
        QCOMPARE(rig.receivedSince(before), sent);
        const qsizetype pressed = rig.receivedCount();
        QTest::qWait(60);
        QTest::mouseRelease(rig.handle(), Qt::LeftButton, {}, at);
        QCOMPARE(rig.receivedSince(pressed), QByteArray());
    } else {
        QAction *item = rig.window().menuItem(control);
        QVERIFY(item);
        const QString caption = item->text();
        panel::setItemChecked(item, true);
        clickMenuItem(item);
        QVERIFY(panel::itemChecked(item));
        QCOMPARE(item->text(), caption);
        panel::setItemChecked(item, false);
        clickMenuItem(item);
        QVERIFY(!panel::itemChecked(item));
        QCOMPARE(rig.receivedSince(before), sent + sent);
    }
    QVERIFY(rig.serial->IsPortOpen());
    QCOMPARE(rig.notifier.messages, {});
}

void TestCommands::alarmItemFlipsItsOwnMark_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("checkedBefore");
    for (const auto &[item, sent] : pairs(kAlarms)) {
        QTest::addRow("%s unchecked", qPrintable(item)) << item << sent << false;
        QTest::addRow("%s checked", qPrintable(item)) << item << sent << true;
    }
}

// The same code whichever way the mark goes; two clicks leave it as it was.
void TestCommands::alarmItemFlipsItsOwnMark()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, sent);
    QFETCH(bool, checkedBefore);
    PanelRig &rig = *rig_;
    QAction *action = rig.window().menuItem(item);
    QVERIFY(action);
    panel::setItemChecked(action, checkedBefore);
    const qsizetype before = rig.receivedCount();

    clickMenuItem(action);
    QCOMPARE(panel::itemChecked(action), !checkedBefore);
    clickMenuItem(action);
    QCOMPARE(panel::itemChecked(action), checkedBefore);
    QCOMPARE(rig.receivedSince(before), sent + sent);
    QCOMPARE(rig.notifier.messages, {});
}

// Every button, image and leaf item is a command, an alarm item or one of
// the few controls with work of their own.
void TestCommands::everyControlIsAccountedFor()
{
    QStringList known = kOtherControls;
    for (const char *list : {kExpected, kAlarms})
        for (const auto &pair : pairs(list))
            known << pair.first;

    QStringList unaccounted;
    auto account = [&](const QObject *control) {
        if (!known.contains(control->objectName()))
            unaccounted << control->objectName();
    };
    std::ranges::for_each(rig_->window().leafItems(), account);
    std::ranges::for_each(rig_->window().findChildren<QPushButton *>(), account);
    std::ranges::for_each(rig_->window().findChildren<panel::ArrowKey *>(), account);
    QCOMPARE(unaccounted, {});
}

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
