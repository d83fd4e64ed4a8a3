#include "help/ui/about_window.h"

#include "help/about_texts.h"
#include "ui/window_names.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvanta::help {

namespace {

QLabel *makeLabel(const QString &name, QStringView text, QWidget *parent)
{
    auto *label = new QLabel(text.toString(), parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QString::fromLatin1(ui::windows::kAbout));
    setWindowTitle(QStringLiteral("About Brellin Orvanta"));

    QLabel *label1 = makeLabel(QStringLiteral("Label1"), about::kMaker, this);
    QFont makerFont = label1->font();
    makerFont.setPointSizeF(makerFont.pointSizeF() * 1.5);
    makerFont.setBold(true);
    label1->setFont(makerFont);
    QLabel *label2 = makeLabel(QStringLiteral("Label2"), about::kTagline, this);
    lblVersion_ = makeLabel(QStringLiteral("lblVersion"), {}, this);
    lblCopyright_ = makeLabel(QStringLiteral("lblCopyright"), {}, this);

    auto *command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setDefault(true);
    connect(command1, &QPushButton::clicked, this, &QWidget::hide);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(command1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(label2);
    layout->addSpacing(12);
    layout->addWidget(lblVersion_);
    layout->addWidget(lblCopyright_);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(420, 260);
}

void AboutWindow::showEvent(QShowEvent *event)
{
    lblVersion_->setText(about::kVersion.toString());
    lblCopyright_->setText(about::kCopyright.toString());
    QWidget::showEvent(event);
}

} // namespace orvanta::help
