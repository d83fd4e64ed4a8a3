#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>

#include <chrono>
#include <span>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace orvanta::panel {

class ArrowKey;
class Lamp;

// The front panel, frmOrvaMon: every frame, button, label, lamp, arrow key and
// menu item, each a Qt object named as in the panel's tables and found by that
// name. It carries no behaviour of its own: other code connects to the
// controls' signals (clicked, triggered, mouseDown, mouseUp) and changes their
// state.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kPollInterval{1000};

    explicit MainWindow(QWidget *parent = nullptr);

    // Leaf menu items; a submenu's own action is found by its menu's name too.
    QAction *menuItem(const QString &name) const;
    QMenu *menu(const QString &name) const;
    QPushButton *button(const QString &name) const;
    Lamp *lamp(const QString &name) const;
    ArrowKey *image(const QString &name) const;
    QLabel *label(const QString &name) const;
    QGroupBox *frame(const QString &name) const;

    // Every item that is not a submenu, in menu order.
    QList<QAction *> leafItems() const { return leafItems_; }

    // Timer1, the status poll; created stopped.
    QTimer *pollTimer() const { return pollTimer_; }

signals:
    // The user closes the window; the event has been accepted.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    template <typename Row, typename Make> void addControls(std::span<const Row> rows, Make make);
    void chainTabOrder();
    void buildMenus();

    QWidget *inner_ = nullptr;
    qreal dpi_ = 0;
    QTimer *pollTimer_ = nullptr;
    QList<QAction *> leafItems_;
};

} // namespace orvanta::panel
