// The front panel's window as its tables build it: rules each table's rows
// must keep, a few positions and pictures checked to the pixel, the keyboard.
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

// Which way the black outline on a key points: away from its heaviest side, the base.
std::optional<ArrowDirection> pointing(const QImage &key)
{
    QRect box;
    QPointF sum;
    int count = 0;
    for (int y = 3; y < key.height() - 3; ++y)
        for (int x = 3; x < key.width() - 3; ++x)
            if (key.pixelColor(x, y) == Qt::black) {
                box |= QRect(x, y, 1, 1);
                sum += QPointF(x, y);
                ++count;
            }
    if (count == 0 || key.pixelColor(box.center()) != QColor(192, 192, 192))
        return std::nullopt;
    const QPointF offset = sum / count - QRectF(box).center();
    if (qAbs(offset.x()) > qAbs(offset.y()))
        return offset.x() > 0 ? ArrowDirection::Left : ArrowDirection::Right;
    return offset.y() > 0 ? ArrowDirection::Up : ArrowDirection::Down;
}

// Each row of a control table is a control of its kind in its frame (or on
// the window), inside the window's inner area; cmdBars alone lies out of sight.
template <typename Widget, typename Row> void placed(const MainWindow &window, std::span<const Row> rows)
{
    for (const Row &row : rows) {
        const QString name = QString::fromLatin1(row.name);
        const auto *widget = window.findChild<Widget *>(name);
        QVERIFY2(widget, qPrintable(name));
        QWidget *container = window.centralWidget();
        if constexpr (requires { row.frame; })
            if (!row.frame.empty())
                container = window.frame(QString::fromLatin1(row.frame));
        QCOMPARE(widget->parentWidget(), container);
        const QRect inWindow(widget->mapTo(window.centralWidget(), QPoint(0, 0)), widget->size());
        QVERIFY2(name == "cmdBars" || window.centralWidget()->rect().contains(inWindow), qPrintable(name));
    }
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
    void controlsAreWhereTheirTablesSay()
    {
        const MainWindow window;
        placed<QGroupBox>(window, frameTable());
        placed<QPushButton>(window, buttonTable());
        placed<QLabel>(window, labelTable());
        placed<Lamp>(window, lampTable());
        placed<ArrowKey>(window, imageTable());
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
        const MainWindow window;
        if (window.screen()->logicalDotsPerInch() != 96)
            QSKIP("positions are checked at 96 dpi");
        QCOMPARE(window.centralWidget()->size(), QSize(563, 282));
        QCOMPARE(window.findChild<QWidget *>(QTest::currentDataTag())->geometry(), pixels);
    }

    // A lamp is its fill to the edges, no outline; a key is raised and its triangle points its way.
    void pictures()
    {
        const MainWindow window;
        for (Lamp *lamp : window.findChildren<Lamp *>()) {
            lamp->setFillColour(Qt::green);
            const QImage picture = lamp->grab().toImage();
            for (const QPoint p : {QPoint(0, 0), picture.rect().bottomRight()})
                QCOMPARE(picture.pixelColor(p), QColor(Qt::green));
        }
        for (const ImageRow &row : imageTable()) {
            const QImage picture = window.image(QString::fromLatin1(row.name))->grab().toImage();
            QCOMPARE(picture.pixelColor(0, 0), QColor(Qt::white));
            QCOMPARE(picture.pixelColor(picture.rect().bottomRight()), QColor(Qt::black));
            QVERIFY2(pointing(picture) == row.points, row.name.data());
        }
    }

    void hiddenControls()
    {
        MainWindow window;
        showActive(window);
        // cmdBars lies below its frame: out of sight, so no mouse can reach it.
        const QPushButton *bars = window.button("cmdBars");
        QVERIFY(!window.frame("Frame6")->rect().intersects(bars->geometry()));
        QVERIFY(bars->isVisible() && bars->visibleRegion().isEmpty());
        // Label6 shows a single pixel column at its frame's right edge.
        QCOMPARE(window.label("Label6")->visibleRegion().boundingRect().width(), 1);
    }

    // Tab reaches every button, in its tab order, hidden cmdBars included, which
    // the Space key then presses.
    void tabChain()
    {
        std::vector<ButtonRow> order(buttonTable().begin(), buttonTable().end());
        std::ranges::sort(order, {}, &ButtonRow::tabOrder);
        MainWindow window;
        showActive(window);
        window.button(QString::fromLatin1(order.front().name))->setFocus();
        QSignalSpy barsClicked(window.button("cmdBars"), &QPushButton::clicked);
        for (const ButtonRow &b : order) {
            QVERIFY(QApplication::focusWidget());
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(b.name));
            if (b.name == "cmdBars")
                QTest::keyClick(window.windowHandle(), Qt::Key_Space);
            QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        }
        QCOMPARE(barsClicked.count(), 1);
        QCOMPARE(QApplication::focusWidget(), window.button(QString::fromLatin1(order.front().name)));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
