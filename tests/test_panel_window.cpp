// The front panel's window as its tables build it: rules each table's rows
// must keep, a few positions checked to the pixel, and the codes its
// controls write, a few of each kind on the wire.
#include "panel/alarm_table.h"
#include "panel/arrow_repeat.h"
#include "panel/command_table.h"
#include "panel/menu_tree.h"
#include "panel/ui/arrow_key.h"
#include "panel/ui/menu_item.h"
#include "support/panel_rig.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <map>

using namespace orvanta;
using namespace orvanta::panel;
using test::PanelRig;

namespace {

// The controls that write no code: other windows, set-up, exit, help.
const QStringList kWithoutCode{"mnu_Logger", "mnuUpload", "mnuPort1", "mnuPort2", "mnuPort3", "mnuPort4", "mnu9600",
    "mnu192k", "mnu288k", "mnu384k", "mnuExit", "mnuHelpContents", "mnuAbout"};

// Every control that writes a code, with its code.
std::map<QString, int> codedControls()
{
    std::map<QString, int> codes;
    for (const CommandRow &row : commandTable())
        codes.emplace(QString::fromLatin1(row.control), row.code);
    for (const AlarmRow &row : alarmTable())
        codes.emplace(QString::fromLatin1(row.item), row.code);
    for (const ArrowRow &row : arrowTable())
        codes.emplace(QString::fromLatin1(row.image), row.code);
    return codes;
}

// A control's caption, which two controls writing one code must share.
QString captionOf(const MainWindow &window, const QString &control)
{
    if (const auto *button = window.findChild<QPushButton *>(control))
        return button->text();
    if (const auto *item = window.findChild<QAction *>(control))
        return item->text();
    return control;
}

} // namespace

class TestPanelWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // One instrument for every case on the wire: what a case sent is told apart by markers.
        rig_ = std::make_unique<PanelRig>();
        QVERIFY(rig_->ready());
    }

    // Every row of the menu table is an item of its parent menu, in table
    // order; captions differ within a menu, so the operator can tell the items
    // apart; leaves are the rows no row names as parent.
    void menuRules()
    {
        const MainWindow window;
        QHash<QString, QStringList> captions;
        QStringList leaves;
        for (const MenuRow &row : menuTable()) {
            const QString name = QString::fromLatin1(row.name);
            QAction *item = window.menuItem(name);
            const QList<QAction *> siblings = row.parent.empty()
                ? window.menuBar()->actions()
                : window.menu(QString::fromLatin1(row.parent))->actions();
            QCOMPARE(siblings.indexOf(item), captions[QString::fromLatin1(row.parent)].size());
            QVERIFY2(!captions[QString::fromLatin1(row.parent)].contains(item->text()), qPrintable(name));
            captions[QString::fromLatin1(row.parent)] << item->text();
            QCOMPARE(item->menu() != nullptr, hasSubItems(row.name));
            if (!item->menu())
                leaves << name;
        }
        QStringList found;
        for (const QAction *item : window.leafItems())
            found << item->objectName();
        QCOMPARE(found, leaves);
    }

    // Before the program touches it, nothing is checked and the poll is off.
    void initialState()
    {
        const MainWindow window;
        QCOMPARE(window.objectName(), "frmOrvaMon");
        QCOMPARE(window.windowTitle(), "Brellin Orvanta 6");
        for (const QAction *item : window.findChildren<QAction *>()) {
            QVERIFY2(!itemChecked(item) && !item->isChecked(), qPrintable(item->objectName()));
            QVERIFY2(item->isEnabled() && item->isVisible(), qPrintable(item->objectName()));
        }
        QTimer *timer = window.pollTimer();
        QCOMPARE(window.findChild<QTimer *>("Timer1"), timer);
        QCOMPARE(timer->interval(), 1000);
        QVERIFY(!timer->isActive());
    }

    // Every control is placed by one conversion: a frame, a control in it, the far corner, the hidden one.
    void geometry()
    {
        const MainWindow window;
        if (window.screen()->logicalDotsPerInch() != 96)
            QSKIP("positions are checked at 96 dpi");
        QCOMPARE(window.centralWidget()->size(), QSize(563, 282));
        QCOMPARE(window.findChild<QWidget *>("cmdSDI")->geometry(), QRect(8, 32, 41, 25));
        QCOMPARE(window.findChild<QWidget *>("led_neg")->geometry(), QRect(408, 184, 9, 9));
        QCOMPARE(window.findChild<QWidget *>("cmdBars")->geometry(), QRect(16, 72, 57, 25));
    }

    // Each code in 1 to 255 (0 is ignored by the instrument) and its own,
    // unless two controls share a caption; each control once in the tables,
    // and every button, image and leaf item either in them or one of the few
    // that do work of their own.
    void rules()
    {
        const MainWindow &window = rig_->window();
        const std::map<QString, int> codes = codedControls();
        QCOMPARE(qsizetype(codes.size()), qsizetype(commandTable().size() + alarmTable().size() + arrowTable().size()));
        std::map<int, QString> byCode;
        for (const auto &[control, code] : codes) {
            QVERIFY2(code >= 1 && code <= 255, qPrintable(control));
            const auto [other, fresh] = byCode.emplace(code, control);
            QVERIFY2(fresh || captionOf(window, other->second) == captionOf(window, control),
                qPrintable(control + " and " + other->second + " write " + QString::number(code)));
        }
        QStringList present, known = kWithoutCode;
        for (const QAction *item : window.leafItems())
            present << item->objectName();
        for (const QWidget *control : window.findChildren<QPushButton *>())
            present << control->objectName();
        for (const QWidget *control : window.findChildren<ArrowKey *>())
            present << control->objectName();
        for (const auto &entry : codes)
            known << entry.first;
        present.sort();
        known.sort();
        QCOMPARE(present, known);
        // A mouse press on the scale images, a click on everything else.
        for (const CommandRow &row : commandTable())
            QCOMPARE(bool(window.findChild<ArrowKey *>(QString::fromLatin1(row.control))),
                row.event == PanelEvent::MouseDown);
    }

    void onTheWire_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<bool>("alarm"); // its own mark flips at once
        QTest::newRow("a button") << "cmdWfm" << QByteArray("\x2f") << false;
        QTest::newRow("a scale image, pressed") << "imgScaleUp" << QByteArray("\x54") << false;
        QTest::newRow("a menu item") << "mnuFullvec" << QByteArray("\x2c") << false;
        QTest::newRow("a menu item with a caption of the status's") << "mnuSmallBox" << QByteArray("\x80") << false;
        QTest::newRow("the highest") << "mnuCanCurs" << QByteArray("\x9b") << false;
        QTest::newRow("an alarm item") << "mnuGamerrs" << QByteArray("\x25") << true;
        QTest::newRow("Key Press, a plain command") << "mnuKeypress" << QByteArray("\x2a") << false;
    }

    // A click (a press on a scale image) opens the closed port and writes one
    // code; it changes no caption, and no mark but an alarm item's own.
    // Releasing a scale image writes nothing, however long it was held.
    void onTheWire()
    {
        QFETCH(QString, control);
        QFETCH(QByteArray, sent);
        QFETCH(bool, alarm);
        PanelRig &rig = *rig_;
        rig.notifier.clear();
        rig.serial->ClosePort();
        const qsizetype before = rig.receivedCount();

        if (QPushButton *button = rig.window().findChild<QPushButton *>(control)) {
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(rig.receivedSince(before), sent);
        } else if (ArrowKey *image = rig.window().findChild<ArrowKey *>(control)) {
            const QPoint at = image->mapTo(&rig.window(), image->rect().center());
            QTest::mousePress(rig.handle(), Qt::LeftButton, {}, at);
            QCOMPARE(rig.receivedSince(before), sent);
            const qsizetype pressed = rig.receivedCount();
            QTest::qWait(60);
            QTest::mouseRelease(rig.handle(), Qt::LeftButton, {}, at);
            QCOMPARE(rig.receivedSince(pressed), QByteArray());
        } else {
            QAction *item = rig.window().menuItem(control);
            const QString caption = item->text();
            // Two clicks from either mark: an alarm item's flips and back.
            for (const bool mark : {true, false}) {
                setItemChecked(item, mark);
                item->trigger();
                QCOMPARE(itemChecked(item), mark != alarm);
                item->trigger();
                QCOMPARE(itemChecked(item), mark);
                QCOMPARE(item->isCheckable(), mark); // no empty check box when unchecked
            }
            QCOMPARE(item->text(), caption);
            QCOMPARE(rig.receivedSince(before), sent.repeated(4));
        }
        QVERIFY(rig.serial->IsPortOpen());
        QCOMPARE(rig.notifier.messages, {});
    }

    // A shift arrow held with any button repeats its code until the release,
    // which ends it wherever the pointer is by then.
    void arrowKeyRepeatsWhileHeld()
    {
        PanelRig &rig = *rig_;
        QVERIFY(rig.serial->OpenPort());
        const qsizetype before = rig.receivedCount();
        const auto centre = [&](const char *name) {
            const QWidget *widget = rig.window().findChild<QWidget *>(name);
            return widget->mapTo(&rig.window(), widget->rect().center());
        };
        QObject timers;
        QTimer::singleShot(300, &timers, [&] {
            QTest::mouseRelease(rig.handle(), Qt::RightButton, {}, centre("cmdFreeze"));
            rig.serial->WriteByte(0xFF);
        });
        QTest::mousePress(rig.handle(), Qt::RightButton, {}, centre("imgPhleft"));
        const QByteArray got = rig.receivedSince(before);
        QVERIFY2(got.size() >= 4 && got == QByteArray(got.size() - 1, '\6') + '\xff', got.toHex().constData());
        QVERIFY(!rig.panel->arrowRepeat().repeatFlag());
    }

private:
    std::unique_ptr<PanelRig> rig_;
};

QTEST_MAIN(TestPanelWindow)
#include "test_panel_window.moc"
