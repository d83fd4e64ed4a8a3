// The panel's codes: rules every row of the command, alarm and arrow tables
// must keep, and a few controls of each kind on the wire.
#include "panel/alarm_table.h"
#include "panel/arrow_repeat.h"
#include "panel/command_table.h"
#include "panel/ui/arrow_key.h"
#include "panel/ui/menu_item.h"
#include "panel/window_layout.h"
#include "support/panel_rig.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <map>

using namespace orvanta;
using test::PanelRig;

namespace {

// The controls that write no code: other windows, set-up, exit, help.
const QStringList kWithoutCode{"mnu_Logger", "mnuUpload", "mnuPort1", "mnuPort2", "mnuPort3", "mnuPort4", "mnu9600",
    "mnu192k", "mnu288k", "mnu384k", "mnuExit", "mnuHelpContents", "mnuAbout"};

// Every control that writes a code, with its code.
std::map<QString, int> codedControls()
{
    std::map<QString, int> codes;
    for (const panel::CommandRow &row : panel::commandTable())
        codes.emplace(QString::fromLatin1(row.control), row.code);
    for (const panel::AlarmRow &row : panel::alarmTable())
        codes.emplace(QString::fromLatin1(row.item), row.code);
    for (const panel::ArrowRow &row : panel::arrowTable())
        codes.emplace(QString::fromLatin1(row.image), row.code);
    return codes;
}

// A control's caption, which two controls writing one code must share.
QString captionOf(const panel::MainWindow &window, const QString &control)
{
    if (const auto *button = window.findChild<QPushButton *>(control))
        return button->text();
    if (const auto *item = window.findChild<QAction *>(control))
        return item->text();
    return control;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // One instrument for every case: what a case sent is told apart by markers.
        rig_ = std::make_unique<PanelRig>();
        QVERIFY(rig_->ready());
    }

    // Each code in 1 to 255 (0 is ignored by the instrument) and its own,
    // unless two controls share a caption; each control once in the tables,
    // and every button, image and leaf item either in them or one of the few
    // that do work of their own.
    void rules()
    {
        const panel::MainWindow &window = rig_->window();
        const std::map<QString, int> codes = codedControls();
        QCOMPARE(qsizetype(codes.size()),
            qsizetype(panel::commandTable().size() + panel::alarmTable().size() + panel::arrowTable().size()));
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
        for (const QWidget *control : window.findChildren<panel::ArrowKey *>())
            present << control->objectName();
        for (const auto &entry : codes)
            known << entry.first;
        present.sort();
        known.sort();
        QCOMPARE(present, known);
        // A mouse press on the scale images, a click on everything else.
        for (const panel::CommandRow &row : panel::commandTable())
            QCOMPARE(bool(window.findChild<panel::ArrowKey *>(QString::fromLatin1(row.control))),
                row.event == panel::PanelEvent::MouseDown);
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

private:
    std::unique_ptr<PanelRig> rig_;
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
