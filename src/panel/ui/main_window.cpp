#include "panel/ui/main_window.h"

#include "panel/menu_tree.h"
#include "panel/ui/arrow_key.h"
#include "panel/ui/lamp.h"
#include "panel/ui/menu_item.h"
#include "panel/window_layout.h"
#include "ui/required_child.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace orvanta::panel {

namespace {

QFont panelFont()
{
    return QFont(QStringLiteral("DejaVu Sans"), 8);
}

QFont headingFont()
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setUnderline(true);
    return font;
}

// A frame drawn the same under every widget style: an etched box whose top
// line runs through the middle of the caption, so controls placed just below
// the caption stay clear of the line.
class Frame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QRect box = rect().adjusted(0, metrics.height() / 2, -1, -1);
        painter.setPen(QColor(kFrameShadow));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(QColor(kFrameHighlight));
        painter.drawRect(box.adjusted(1, 1, 0, 0));

        const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
        painter.fillRect(caption, palette().window());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter, title());
    }

private:
    static constexpr QRgb kFrameShadow = qRgb(0, 0, 0);
    static constexpr QRgb kFrameHighlight = qRgb(255, 255, 255);
    static constexpr int kCaptionIndent = 6;
};

// Packs the menu bar items closer than the widget style would, so all eleven
// menus fit the panel's width instead of some hiding behind an extension.
class CompactMenuBarStyle : public QProxyStyle
{
public:
    // A fresh instance of the application's style: a proxy owns its base.
    CompactMenuBarStyle()
        : QProxyStyle(QApplication::style()->name())
    { }

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_MenuBarItemSpacing)
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QSize sizeFromContents(
        ContentsType type, const QStyleOption *option, const QSize &size, const QWidget *widget) const override
    {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuBarItem)
            result.rwidth() -= 2;
        return result;
    }
};

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , inner_(new QWidget(this))
    , dpi_(screen()->logicalDotsPerInch())
    , pollTimer_(new QTimer(this))
{
    setObjectName(QStringLiteral("frmOrvaMon"));
    setWindowTitle(QStringLiteral("Brellin Orvanta 6"));
    setFont(panelFont());

    // Frames and labels draw no background of their own and so show this grey.
    QPalette grey = inner_->palette();
    grey.setColor(QPalette::Window, QColor(kPanelGrey));
    inner_->setPalette(grey);
    inner_->setAutoFillBackground(true);
    inner_->setFixedSize(twipsToPixels(kInnerArea, dpi_).size());
    setCentralWidget(inner_);

    addControls(frameTable(),
        [](const FrameRow &row, QWidget *into) { return new Frame(QString::fromLatin1(row.caption), into); });
    addControls(buttonTable(), [](const ButtonRow &row, QWidget *into) {
        auto *button = new QPushButton(QString::fromLatin1(row.caption), into);
        button->setToolTip(QString::fromLatin1(row.toolTip));
        return button;
    });
    addControls(labelTable(), [](const LabelRow &row, QWidget *into) {
        auto *label = new QLabel(QString::fromLatin1(row.caption), into);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(row.look == LabelLook::Wrapped);
        if (row.look == LabelLook::Heading)
            label->setFont(headingFont());
        return label;
    });
    addControls(lampTable(), [](const LampRow &row, QWidget *into) { return new Lamp(QColor(row.fill), into); });
    addControls(imageTable(), [](const ImageRow &row, QWidget *into) { return new ArrowKey(row.points, into); });
    chainTabOrder();

    pollTimer_->setObjectName(QStringLiteral("Timer1"));
    pollTimer_->setInterval(kPollInterval);

    buildMenus();

    // The inner area is fixed; the menu bar adds its own height above it.
    const QSize inner = inner_->size();
    setFixedSize(inner.width(), menuBar()->heightForWidth(inner.width()) + inner.height());
}

template <typename Row, typename Make> void MainWindow::addControls(std::span<const Row> rows, Make make)
{
    for (const Row &row : rows) {
        QWidget *parent = inner_;
        if constexpr (requires { row.frame; }) {
            if (!row.frame.empty())
                parent = frame(QString::fromLatin1(row.frame));
        }
        QWidget *widget = make(row, parent);
        widget->setObjectName(QString::fromLatin1(row.name));
        widget->setGeometry(twipsToPixels(row.at, dpi_));
    }
}

void MainWindow::chainTabOrder()
{
    std::vector<std::pair<int, QPushButton *>> order;
    for (const ButtonRow &row : buttonTable())
        order.emplace_back(row.tabOrder, button(QString::fromLatin1(row.name)));
    std::ranges::sort(order, {}, &std::pair<int, QPushButton *>::first);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
}

void MainWindow::buildMenus()
{
    auto *style = new CompactMenuBarStyle;
    style->setParent(menuBar());
    menuBar()->setStyle(style);
    for (const MenuRow &row : menuTable()) {
        const QString name = QString::fromLatin1(row.name);
        QMenu *parentMenu = row.parent.empty() ? nullptr : menu(QString::fromLatin1(row.parent));
        if (hasSubItems(row.name)) {
            QMenu *sub = parentMenu ? parentMenu->addMenu(QString::fromLatin1(row.caption))
                                    : menuBar()->addMenu(QString::fromLatin1(row.caption));
            sub->setObjectName(name);
            sub->menuAction()->setObjectName(name);
        } else {
            if (!parentMenu)
                qFatal("menu item %s has no menu", row.name.data());
            QAction *item = parentMenu->addAction(QString::fromLatin1(row.caption));
            item->setObjectName(name);
            keepMarkOnTrigger(item);
            leafItems_.append(item);
        }
    }
}

QAction *MainWindow::menuItem(const QString &name) const
{
    return ui::requiredChild<QAction>(*this, name);
}

QMenu *MainWindow::menu(const QString &name) const
{
    return ui::requiredChild<QMenu>(*this, name);
}

QPushButton *MainWindow::button(const QString &name) const
{
    return ui::requiredChild<QPushButton>(*this, name);
}

Lamp *MainWindow::lamp(const QString &name) const
{
    return ui::requiredChild<Lamp>(*this, name);
}

ArrowKey *MainWindow::image(const QString &name) const
{
    return ui::requiredChild<ArrowKey>(*this, name);
}

QLabel *MainWindow::label(const QString &name) const
{
    return ui::requiredChild<QLabel>(*this, name);
}

QGroupBox *MainWindow::frame(const QString &name) const
{
    return ui::requiredChild<QGroupBox>(*this, name);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closeRequested();
}

} // namespace orvanta::panel
