#include "panel/menu_tree.h"
#include "panel/ui/arrow_key.h"
#include "panel/ui/lamp.h"
#include "panel/ui/main_window.h"
#include "panel/ui/menu_item.h"
#include "panel/window_layout.h"

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
#include <vector>

using namespace orvanta::panel;

namespace {

QString text(std::string_view s)
{
    return QString::fromLatin1(s);
}

QString direction(ArrowDirection d)
{
    return QString::number(int(d));
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
        return direction(offset.x() > 0 ? ArrowDirection::Left : ArrowDirection::Right);
    return direction(offset.y() > 0 ? ArrowDirection::Up : ArrowDirection::Down);
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
    // Every row of the menu table is an item in its parent menu, in table
    // order, with its caption; captions are unique within a menu, so the
    // operator can tell the items apart; leaves are the rows no row names
    // as parent.
    void menuRules()
    {
        MainWindow window;
        QHash<QString, QStringList> captions;
        QStringList leaves;
        for (const MenuRow &row : menuTable()) {
            const QString name = text(row.name);
            QAction *item = window.menuItem(name);
            QCOMPARE(item->text(), text(row.caption));
            const QList<QAction *> siblings
                = row.parent.empty() ? window.menuBar()->actions() : window.menu(text(row.parent))->actions();
            QVERIFY2(siblings.contains(item), qPrintable(name));
            QVERIFY2(!captions[text(row.parent)].contains(item->text()), qPrintable(name));
            captions[text(row.parent)] << item->text();
            const bool opensMenu
                = std::ranges::any_of(menuTable(), [&](const MenuRow &r) { return r.parent == row.name; });
            QCOMPARE(item->menu() != nullptr, opensMenu);
            if (!opensMenu)
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

    // Every row of the control tables is a control in its frame (or on the
    // window) showing its caption, colour or arrow, and lying inside the
    // window's inner area.
    void controls_data()
    {
        QTest::addColumn<QString>("container"); // empty: the window's inner area
        QTest::addColumn<QString>("shows");     // caption, lamp colour or arrow direction
        QTest::addColumn<QString>("toolTip");
        for (const FrameRow &r : frameTable())
            QTest::newRow(r.name.data()) << QString() << text(r.caption) << QString();
        for (const ButtonRow &r : buttonTable())
            QTest::newRow(r.name.data()) << text(r.frame) << text(r.caption) << text(r.toolTip);
        for (const LabelRow &r : labelTable())
            QTest::newRow(r.name.data()) << text(r.frame) << text(r.caption) << QString();
        for (const LampRow &r : lampTable())
            QTest::newRow(r.name.data()) << text(r.frame) << QColor(r.fill).name() << QString();
        for (const ImageRow &r : imageTable())
            QTest::newRow(r.name.data()) << text(r.frame) << direction(r.points) << QString();
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
        const QRect inWindow(widget->mapTo(window.centralWidget(), QPoint(0, 0)), widget->size());
        // cmdBars alone lies out of sight, as hiddenControls shows.
        if (widget->objectName() != "cmdBars")
            QVERIFY2(window.centralWidget()->rect().contains(inWindow), qPrintable(QDebug::toString(inWindow)));

        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            QCOMPARE(button->text(), shows);
        } else if (auto *frame = qobject_cast<QGroupBox *>(widget)) {
            QCOMPARE(frame->title(), shows);
        } else if (auto *label = qobject_cast<QLabel *>(widget)) {
            QCOMPARE(label->text(), shows);
        } else if (auto *lamp = qobject_cast<Lamp *>(widget)) {
            QCOMPARE(lamp->fillColour(), QColor(shows));
            // Repainted filled to the edges: no outline.
            lamp->setFillColour(Qt::green);
            const QImage picture = lamp->grab().toImage();
            for (const QPoint p : {QPoint(0, 0), picture.rect().bottomRight()})
                QCOMPARE(picture.pixelColor(p), QColor(Qt::green));
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

    // Every control is placed by one conversion: a frame, a control in it, the far corner, the hidden one.
    void geometry_data()
    {
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("cmdSDI") << QRect(8, 32, 41, 25);
        QTest::newRow("Frame1") << QRect(8, 8, 193, 121);
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
        std::vector<ButtonRow> order(buttonTable().begin(), buttonTable().end());
        std::ranges::sort(order, {}, &ButtonRow::tabOrder);
        MainWindow window;
        showActive(window);
        window.button(text(order.front().name))->setFocus();
        QSignalSpy barsClicked(window.button("cmdBars"), &QPushButton::clicked);
        for (const ButtonRow &b : order) {
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), text(b.name));
            if (b.name == "cmdBars") {
                QTest::keyClick(window.windowHandle(), Qt::Key_Space);
                QCOMPARE(barsClicked.count(), 1);
            }
            QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget(), window.button(text(order.front().name)));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
