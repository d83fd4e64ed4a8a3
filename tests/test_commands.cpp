// The panel's buttons, scale images and menu items on the wire: each writes
// its one code to the simulator, and only the alarm items touch a check mark.
#include "panel/ui/arrow_key.h"
#include "panel/ui/menu_item.h"
#include "support/panel_rig.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

using namespace orvanta;
using test::PanelRig;

namespace {

// The codes as the instrument's command list gives them, typed apart from
// the program's own table so that a wrong or missing row shows.
const char *const kExpected
    = "cmdAna 27 cmdSDI 15 cmdY 23 cmdCb 29 cmdCr 30 cmdWfm 47 cmdVect 59 cmdDual 62 cmdTraces 55 cmdOlay 61 "
      "cmdFreeze 79 cmdHVRng 87 cmdMagRng 91 cmdRef 119 cmdAudiobars 123 cmdBars 123 cmdGenEdh 111 cmdResetEDH 141 "
      "imgScaleUp 84 imgScaleDown 85 mnuKeypress 42 mnuMaglines4 53 mnuMaglines8 54 mnuMaglines16 56 mnuMaglines32 57 "
      "mnuInputYUV 58 mnuOutputYUV 60 mnuDispYUV 63 mnuYRGB 31 mnuWgainNorm 96 mnuWGainMag 97 mnuVGain100 98 "
      "mnuVGain75 99 mnuVGainMag 100 mnuHorzCursor 24 mnuVertCursor 25 mnuPhaseCursor 26 mnuCanCurs 155 mnuFullWfm 43 "
      "mnuFullvec 44 mnuFullcombo 45 mnuFullGBR 46 mnuFullTime 48 mnuFullAmplitude 49 mnuFullErrors 50 "
      "mnuAudMeasure 51 mnuVideoGamut 52 mnuNorm 81 mnuLpass 82 mnuCpass 83 mnuTrace 68 mnuMoveup 69 mnuMovedown 70 "
      "mnuLboxL 71 mnuLboxR 72 mnuRboxL 73 mnuRboxR 74 mnuTextBox 75 mnuSmallBox 128 mnuNTSC_PALM 129 "
      "mnuViewasAnaDig 130 mnuColour 131 mnuSyncongreen 132 mnuPALSwitch 133 mnuHblank 134 mnuSafeaction 92 "
      "mnuSafeActive 93 mnuSafetitle 94 mnuSafeoff 95 mnuVres 76 mnuEmbGp1 16 mnuEmbGp2 17 mnuEmbGp3 18 mnuEmbGp4 19 "
      "mnuAnaAud 20 mnuAESAud 21 mnuPksoff 135 mnuPks1Sec 136 mnuPks2Sec 137 mnuPks4Sec 138 mnuPksInf 139 "
      "mnuDemp48KHz 66 mnuDemp44KHz 65 mnuDemp32KHz 64 mnuDempOff 67 mnuScalePPM 144 mnuScaleDigi 145 "
      "mnuScaleNordic 146 mnuScaleVU 147 mnuScaleEBU 148 mnuScaleDIN 149 mnuScaleExp 150 mnuAudPhase 140 mnuStore0 101 "
      "mnuStore1 102 mnuStore2 103 mnuStore3 104 mnuStore4 105 mnuStore5 106 mnuStore6 107 mnuStore7 108 mnuStore8 109 "
      "mnuRecall0 110 mnuRecall1 112 mnuRecall2 113 mnuRecall3 114 mnuRecall4 115 mnuRecall5 116 mnuRecall6 117 "
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
const QStringList kOtherControls = QString("mnu_Logger mnuUpload mnuPort1 mnuPort2 mnuPort3 mnuPort4 mnu9600 "
                                           "mnu192k mnu288k mnu384k mnuExit mnuHelpContents mnuAbout imgLeft "
                                           "imgRight imgUp imgDown imgPhleft imgPhright")
                                       .split(' ');

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyControlWritesItsCode_data();
    void everyControlWritesItsCode();
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

void TestCommands::everyControlWritesItsCode_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("alarm");
    for (const char *list : {kExpected, kAlarms})
        for (const auto &[control, sent] : pairs(list))
            QTest::newRow(qPrintable(control)) << control << sent << (list == kAlarms);
}

// A click (a press on a scale image) opens the closed port and writes one
// code; it changes no caption, and no mark but an alarm item's own.
// Releasing a scale image writes nothing, however long it was held.
void TestCommands::everyControlWritesItsCode()
{
    QFETCH(QString, control);
    QFETCH(QByteArray, sent);
    QFETCH(bool, alarm);
    PanelRig &rig = *rig_;
    rig.notifier.clear();
    rig.serial->ClosePort();
    const qsizetype before = rig.receivedCount();

    if (QPushButton *button = rig.window().findChild<QPushButton *>(control)) {
        const QString caption = button->text();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), caption);
        QCOMPARE(rig.receivedSince(before), sent);
    } else if (panel::ArrowKey *image = rig.window().findChild<panel::ArrowKey *>(control)) {
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
        // Two clicks from either mark: an alarm item's flips and back.
        for (const bool mark : {true, false}) {
            panel::setItemChecked(item, mark);
            item->trigger();
            QCOMPARE(panel::itemChecked(item), mark != alarm);
            item->trigger();
            QCOMPARE(panel::itemChecked(item), mark);
            QCOMPARE(item->isCheckable(), mark); // no empty check box when unchecked
        }
        QCOMPARE(item->text(), caption);
        QCOMPARE(rig.receivedSince(before), sent.repeated(4));
    }
    QVERIFY(rig.serial->IsPortOpen());
    QCOMPARE(rig.notifier.messages, {});
}

// Every button, image and leaf item is a command, an alarm item or one of
// the few controls with work of their own, and each of those is there.
void TestCommands::everyControlIsAccountedFor()
{
    QStringList known = kOtherControls, present;
    for (const char *list : {kExpected, kAlarms})
        for (const auto &pair : pairs(list))
            known << pair.first;
    for (const QAction *item : rig_->window().leafItems())
        present << item->objectName();
    for (const QWidget *control : rig_->window().findChildren<QPushButton *>())
        present << control->objectName();
    for (const QWidget *control : rig_->window().findChildren<panel::ArrowKey *>())
        present << control->objectName();
    known.sort();
    present.sort();
    QCOMPARE(present, known);
}

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
