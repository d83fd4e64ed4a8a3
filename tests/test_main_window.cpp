#include "panel/arrow_key.h"
#include "panel/lamp.h"
#include "panel/main_window.h"
#include "panel/menu_item.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

using namespace orvanta::panel;

namespace {

// The menu bar as the operator sees it: each line lists one menu's items in
// order, "name=caption", separated by " | ". The bar itself comes first.
const QStringList kMenuTree = {
    "bar: mnuSpecial=&Special | mnuConfig=Config | mnuGains=Gains | mnuCursors=Cursors"
    " | mnuPresets=Presets | mnuFilters=Filters | mnuDisplay=Display | mnuAudio=Audio"
    " | mnuStore=Store Settings | mnuRecall=Recall Settings | mnuHelp=&Help",
    "mnuSpecial: mnu_Logger=&Logger | mnuUpload=&Download | mnuSetup=&Setup | mnuExit=&Exit",
    "mnuSetup: mnuPort=PortNumber | mnuBaud=BaudRate",
    "mnuPort: mnuPort1=Port 1 | mnuPort2=Port 2 | mnuPort3=Port 3 | mnuPort4=Port 4",
    "mnuBaud: mnu9600=9.6K | mnu192k=19.2K | mnu288k=28.8K | mnu384k=38.4K",
    "mnuConfig: mnuAlarms=Alarms | mnuVmaglines=Mag Lines | mnuCmtFmt=Compt Format",
    "mnuAlarms: mnuActpiccrc=Act Pic CRC | mnuFullpiccrc=Full Pic CRC | mnuAuderrs=Audio Errs"
    " | mnuCodeerrs=Code Errs | mnuIllegalerrs=Illegal Errs | mnuGamerrs=Gamut Errs"
    " | mnuNoaud=No Aud | mnuHiaud=Hi Aud | mnuNovid=No Vid | mnuBlack=Black"
    " | mnuKeypress=Key Press",
    "mnuVmaglines: mnuMaglines4=4 Lines | mnuMaglines8=8 Lines | mnuMaglines16=16 Lines"
    " | mnuMaglines32=32 Lines",
    "mnuCmtFmt: mnuInputYUV=Input YUV/RGB | mnuOutputYUV=Output YUV/RGB"
    " | mnuDispYUV=Display YUV/RGB | mnuYRGB=YRGB",
    "mnuGains: mnuWgainNorm=W Gain Norm | mnuWGainMag=W Gain Mag | mnuVGain100=V Gain 100%"
    " | mnuVGain75=V Gain 75% | mnuVGainMag=V Gain Mag",
    "mnuCursors: mnuHorzCursor=Horz Cursor | mnuVertCursor=Vert Cursor"
    " | mnuPhaseCursor=Phase Cursor | mnuCanCurs=Cancel Cursors",
    "mnuPresets: mnuFullWfm=Full Size Waveform Mode | mnuFullvec=Full Size Vector Mode"
    " | mnuFullcombo=Full Size Combo Mode | mnuFullGBR=Full Size Waveform GBR"
    " | mnuFullTime=Full Size Wfm Time Measurement"
    " | mnuFullAmplitude=Full Size Wfm Amplitude Measurement"
    " | mnuFullErrors=Full Size Wfm Digital Errors | mnuAudMeasure=Audio Measurement"
    " | mnuVideoGamut=Full Size Video Gamut",
    "mnuFilters: mnuNorm=Norm | mnuLpass=LPass | mnuCpass=CPass",
    "mnuDisplay: mnuTrace=Trace | mnuPposition=Position | mnuDispSpecial=Special"
    " | mnuSafeArea=Safe Area | mnuVres=V Res",
    "mnuPposition: mnuMoveup=Move Up | mnuMovedown=Move Down | mnuLboxL=Left Box <--"
    " | mnuLboxR=Left Box --> | mnuRboxL=Right Box <-- | mnuRboxR=Right Box -->"
    " | mnuTextBox=Text Box Up/Down",
    "mnuDispSpecial: mnuSmallBox=Small Top/Btm | mnuNTSC_PALM=525 NTSC / PALM"
    " | mnuHblank=H Blank | mnuViewasAnaDig=View as Ana/Dig | mnuColour=Colour Full/Mono"
    " | mnuSyncongreen=Sync on Green | mnuPALSwitch=PAL Switch",
    "mnuSafeArea: mnuSafeoff=Off | mnuSafeActive=Active 0% | mnuSafeaction=Action 10%"
    " | mnuSafetitle=Title 20%",
    "mnuAudio: mnuAudSource=Source | mnuPkHold=Peak Hold | mnuDe_emp=De Emphasis"
    " | mnuAudScale=Scale | mnuAudPhase=Phase",
    "mnuAudSource: mnuEmbGp1=Emb'd Gp1 | mnuEmbGp2=Emd'd Gp2 | mnuEmbGp3=Emb'd Gp3"
    " | mnuEmbGp4=Emb'd Gp4 | mnuAnaAud=Analog | mnuAESAud=AES",
    "mnuPkHold: mnuPksoff=Off | mnuPks1Sec=1 Sec | mnuPks2Sec=2 sec | mnuPks4Sec=4 Sec"
    " | mnuPksInf=Infinite",
    "mnuDe_emp: mnuDemp48KHz=48 KHz | mnuDemp44KHz=44.1 KHz | mnuDemp32KHz=32 KHz"
    " | mnuDempOff=Off",
    "mnuAudScale: mnuScalePPM=UK PPM | mnuScaleDigi=Digital | mnuScaleNordic=Nordic"
    " | mnuScaleVU=VU | mnuScaleEBU=EBU | mnuScaleDIN=DIN | mnuScaleExp=Expand",
    "mnuStore: mnuStore0=Store 0 | mnuStore1=Store 1 | mnuStore2=Store 2 | mnuStore3=Store 3"
    " | mnuStore4=Store 4 | mnuStore5=Store 5 | mnuStore6=Store 6 | mnuStore7=Store 7"
    " | mnuStore8=Store 8",
    "mnuRecall: mnuRecall0=Recall 0 | mnuRecall1=Recall 1 | mnuRecall2=Recall 2"
    " | mnuRecall3=Recall 3 | mnuRecall4=Recall 4 | mnuRecall5=Recall 5 | mnuRecall6=Recall 6"
    " | mnuRecall7=Recall 7 | mnuRecall8=Recall 8",
    "mnuHelp: mnuHelpContents=Help Contents | mnuAbout=Help About",
};

struct ButtonCase
{
    const char *name;
    const char *frame;
    const char *caption;
    const char *toolTip;
    int tabOrder;
};

const ButtonCase kButtons[] = {
    {"cmdSDI", "Frame1", "SDI", "Selects from 1 of 2 SDI Inputs", 2},
    {"cmdAna", "Frame1", "ANA", "Selects from 1 of 3 Analog Inputs", 5},
    {"cmdY", "Frame1", "Y", "Toggles Luminance On/Off", 4},
    {"cmdCb", "Frame1", "Cb", "Toggles Chroma On/Off", 1},
    {"cmdCr", "Frame1", "Cr", "Toggles Chroma On/Off", 3},
    {"cmdWfm", "Frame2", "Wfm", "Select Waveform or Bowtie", 14},
    {"cmdVect", "Frame2", "Vec", "Select Vector or Gamut", 15},
    {"cmdDual", "Frame2", "Dual", "Select Both or Dual Mode", 16},
    {"cmdTraces", "Frame2", "Trace", "Toggle Traces On/Off", 17},
    {"cmdOlay", "Frame2", "Olay", "Select Overlay, Mix or Black", 18},
    {"cmdFreeze", "Frame2", "Freeze", "Toggle Run, Freeze or Store", 19},
    {"cmdHVRng", "Frame3", "H/V Rng", "Select H, V or Parade Timebase", 12},
    {"cmdMagRng", "Frame3", "Mag Rng", "Select HMag, MagLS or Linesel Timebase", 11},
    {"cmdRef", "Frame5", " ", "Selects Internal or Exturnal Reference", 23},
    {"cmdGenEdh", "Frame7", " ", "Display: SDI Status or EDH Errors", 27},
    {"cmdResetEDH", "Frame7", "Reset", "", 32},
    {"cmdAudiobars", "Frame6", "Bars", "Select OnScreen Audio Bars", 29},
    {"cmdBars", "Frame6", "Bars", "", 24},
};

// Lines "menu: item=caption | ..." for the bar and every submenu, depth first.
void describeMenu(const QString &name, const QList<QAction *> &items, QStringList &lines)
{
    QStringList entries;
    for (const QAction *item : items)
        entries << (item->menu() ? item->menu()->objectName() : item->objectName()) + '=' + item->text();
    lines << name + ": " + entries.join(" | ");
    for (const QAction *item : items) {
        if (item->menu())
            describeMenu(item->menu()->objectName(), item->menu()->actions(), lines);
    }
}

// Which way the black outline on a key points: away from its heaviest side, the base.
QString pointing(const QImage &key)
{
    QRect box;
    QPointF sum;
    int count = 0;
    for (int y = 3; y < key.height() - 3; ++y) {
        for (int x = 3; x < key.width() - 3; ++x) {
            if (key.pixelColor(x, y) == Qt::black) {
                box |= QRect(x, y, 1, 1);
                sum += QPointF(x, y);
                ++count;
            }
        }
    }
    if (count == 0 || key.pixelColor(box.center()) != QColor(192, 192, 192))
        return "no triangle outline";
    const QPointF offset = sum / count - QRectF(box).center();
    if (qAbs(offset.x()) > qAbs(offset.y()))
        return offset.x() > 0 ? "left" : "right";
    return offset.y() > 0 ? "up" : "down";
}

void showActive(MainWindow &window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void menuTree()
    {
        MainWindow window;
        QStringList lines;
        describeMenu("bar", window.menuBar()->actions(), lines);
        QCOMPARE(lines, kMenuTree);

        // Leaves are the items without a line of their own, in menu order.
        QHash<QString, QStringList> itemsOf;
        for (const QString &line : kMenuTree) {
            for (const QString &entry : line.section(": ", 1).split(" | "))
                itemsOf[line.section(':', 0, 0)] << entry.section('=', 0, 0);
        }
        QStringList leaves;
        const std::function<void(const QString &)> collect = [&](const QString &menu) {
            for (const QString &name : itemsOf.value(menu))
                itemsOf.contains(name) ? collect(name) : leaves.append(name);
        };
        collect("bar");
        QStringList found;
        for (const QAction *item : window.leafItems())
            found << item->objectName();
        QCOMPARE(found, leaves);
        for (const QString &name : leaves)
            QCOMPARE(window.menuItem(name), window.findChild<QAction *>(name));
        for (const QString &name : itemsOf.keys()) {
            if (name != "bar")
                QCOMPARE(window.menuItem(name), window.menu(name)->menuAction());
        }
    }

    // Before the program touches it, nothing is checked and the poll is off.
    void initialState()
    {
        MainWindow window;
        QCOMPARE(window.objectName(), "frmOrvaMon");
        QCOMPARE(window.windowTitle(), "Brellin Orvanta 6");
        const auto items = window.findChildren<QAction *>();
        QVERIFY(items.size() > window.leafItems().size());
        for (const QAction *item : items) {
            QVERIFY2(!itemChecked(item) && !item->isChecked(), qPrintable(item->objectName()));
            QVERIFY2(item->isEnabled() && item->isVisible(), qPrintable(item->objectName()));
        }
        QTimer *timer = window.pollTimer();
        QCOMPARE(window.findChild<QTimer *>("Timer1"), timer);
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(!timer->isActive());
    }

    void triggerKeepsMark_data()
    {
        QTest::addColumn<QString>("name");
        MainWindow window;
        for (const QAction *item : window.leafItems())
            QTest::newRow(qPrintable(item->objectName())) << item->objectName();
    }

    void triggerKeepsMark()
    {
        QFETCH(QString, name);
        MainWindow window;
        QAction *item = window.menuItem(name);
        // A handler connected by other code must already see the mark as it was.
        bool seen = false;
        connect(item, &QAction::triggered, this, [&] { seen = itemChecked(item); });
        for (const bool checked : {true, false, true}) {
            setItemChecked(item, checked);
            item->trigger();
            QCOMPARE(itemChecked(item), checked);
            QCOMPARE(seen, checked);
            QCOMPARE(item->isCheckable(), checked); // no empty check box when unchecked
        }
    }

    void controls_data()
    {
        QTest::addColumn<QString>("container"); // empty: the window's inner area
        QTest::addColumn<QString>("shows");     // caption, lamp colour or arrow direction
        QTest::addColumn<QString>("toolTip");
        for (const ButtonCase &b : kButtons)
            QTest::newRow(b.name) << b.frame << b.caption << b.toolTip;
        const char *const rows[][3] = {
            {"Frame1", "", "Inputs"},
            {"Frame2", "", "Traces"},
            {"Frame3", "", "T-Base"},
            {"Frame4", "", "Shifts"},
            {"Frame5", "", "Ref"},
            {"Frame7", "", "SDI"},
            {"Frame6", "", "Aud"},
            {"Frame8", "", "Scale"},
            {"Label2", "Frame1", "SDI1 SDI2 CVS1 CVS2 CMPT"},
            {"Label3", "Frame4", "H Shift"},
            {"Label4", "Frame4", "V Shift"},
            {"Label5", "Frame4", "Phase"},
            {"Label6", "Frame6", "POS NEG"},
            {"Label7", "", "Gamut"},
            {"Label1", "", "Pos Neg"},
            {"led_sdi1", "Frame1", "#000000"},
            {"led_sdi2", "Frame1", "#000000"},
            {"led_cvs1", "Frame1", "#000000"},
            {"led_cvs2", "Frame1", "#000000"},
            {"led_cmpt", "Frame1", "#000000"},
            {"led_pos", "", "#808080"},
            {"led_neg", "", "#808080"},
            {"imgLeft", "Frame4", "left"},
            {"imgRight", "Frame4", "right"},
            {"imgUp", "Frame4", "up"},
            {"imgDown", "Frame4", "down"},
            {"imgPhleft", "Frame4", "left"},
            {"imgPhright", "Frame4", "right"},
            {"imgScaleUp", "Frame8", "up"},
            {"imgScaleDown", "Frame8", "down"},
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << row[1] << row[2] << "";
    }

    void controls()
    {
        QFETCH(QString, container);
        QFETCH(QString, shows);
        QFETCH(QString, toolTip);
        MainWindow window;
        QWidget *widget = window.findChild<QWidget *>(QTest::currentDataTag());
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget(), container.isEmpty() ? window.centralWidget() : window.frame(container));
        QCOMPARE(widget->toolTip(), toolTip);

        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            QCOMPARE(button->text(), shows);
        } else if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
            QCOMPARE(frame->title(), shows);
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            QCOMPARE(label->text(), shows);
        } else if (auto *lamp = qobject_cast<Lamp *>(widget)) {
            // Filled to the edges: no outline.
            for (const QColor fill : {QColor(shows), QColor(Qt::green)}) {
                lamp->setFillColour(fill);
                QCOMPARE(lamp->fillColour(), fill);
                const QImage picture = lamp->grab().toImage();
                for (const QPoint p : {QPoint(0, 0), picture.rect().bottomRight()})
                    QCOMPARE(picture.pixelColor(p), fill);
            }
        } else if (auto *key = qobject_cast<ArrowKey *>(widget)) {
            QCOMPARE(key->focusPolicy(), Qt::NoFocus);
            const QImage picture = key->grab().toImage();
            QCOMPARE(picture.pixelColor(0, 0), QColor(Qt::white)); // raised
            QCOMPARE(picture.pixelColor(picture.rect().bottomRight()), QColor(Qt::black));
            QCOMPARE(pointing(picture), shows);
        } else {
            QFAIL("not a button, frame, label, lamp or image");
        }
    }

    void geometry_data()
    {
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("cmdSDI") << QRect(8, 32, 41, 25);
        QTest::newRow("Frame1") << QRect(8, 8, 193, 121);
        QTest::newRow("Label2") << QRect(144, 15, 33, 73);
        QTest::newRow("led_sdi2") << QRect(120, 29, 25, 9);
        QTest::newRow("imgPhright") << QRect(152, 56, 32, 32);
        QTest::newRow("led_neg") << QRect(408, 184, 9, 9);
        QTest::newRow("cmdBars") << QRect(16, 72, 57, 25);
    }

    void geometry()
    {
        QFETCH(QRect, pixels);
        MainWindow window;
        if (window.screen()->logicalDotsPerInch() != 96)
            QSKIP("positions are checked at 96 dpi");
        QCOMPARE(window.centralWidget()->size(), QSize(563, 282));
        QCOMPARE(window.findChild<QWidget *>(QTest::currentDataTag())->geometry(), pixels);
    }

    void hiddenControls()
    {
        MainWindow window;
        showActive(window);
        // cmdBars lies below its frame: out of sight, so no mouse can reach it.
        const QPushButton *bars = window.button("cmdBars");
        QVERIFY(!window.frame("Frame6")->rect().intersects(bars->geometry()));
        QVERIFY(bars->isVisible());
        QVERIFY(bars->visibleRegion().isEmpty());
        // Label6 shows a single pixel column at its frame's right edge.
        QCOMPARE(window.label("Label6")->visibleRegion().boundingRect().width(), 1);
    }

    // Tab visits every button by its tab order, hidden cmdBars included, which
    // the Space key then presses.
    void tabChain()
    {
        std::vector<ButtonCase> order(std::begin(kButtons), std::end(kButtons));
        std::ranges::sort(order, {}, &ButtonCase::tabOrder);
        MainWindow window;
        showActive(window);
        window.button(order.front().name)->setFocus();
        QSignalSpy barsClicked(window.button("cmdBars"), &QPushButton::clicked);
        for (const ButtonCase &b : order) {
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), b.name);
            if (b.name == QLatin1String("cmdBars")) {
                QTest::keyClick(window.windowHandle(), Qt::Key_Space);
                QCOMPARE(barsClicked.count(), 1);
            }
            QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), window.button(order.front().name));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
