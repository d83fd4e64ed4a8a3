#include "picture/picture_window.h"

#include "link/messages.h"
#include "link/notifier.h"
#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "picture/picture_area.h"
#include "picture/picture_buttons.h"
#include "picture/wrapping_button.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>

namespace orvanta::picture {

namespace {

constexpr QSize kClientSize{625, 536};
constexpr QRect kPictureGeometry{8, 8, 520, 512};

} // namespace

PictureWindow::PictureWindow(link::SerialLink &link, link::Notifier &notifier, link::PollSwitch &poll,
    const QString &graticuleFolder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , link_(link)
    , notifier_(notifier)
    , graticuleFolder_(graticuleFolder)
    , cycle_(link, notifier, canvas_, graticuleFolder)
    , loops_(*this, poll, link::PollEvent::PictureWindowClosed, [this] { cycle_.stop(); })
{
    setObjectName(QStringLiteral("frmUpload"));
    setWindowTitle(QStringLiteral("Download"));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(grey);
    setAutoFillBackground(true);
    // Stands in for the old 8.25-point sans serif; the annotation is written in it.
    setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    resize(kClientSize);

    picture_ = new PictureArea(canvas_, this);
    picture_->setGeometry(kPictureGeometry);
    for (const PictureButton &row : kPictureButtons) {
        auto *button = new WrappingButton(row.caption.toString(), this);
        button->setObjectName(row.name.toString());
        button->setToolTip(row.tooltip.toString());
        button->setGeometry(kButtonLeft, row.top, kButtonWidth, row.height);
    }
    QWidget *previous = nullptr;
    for (QStringView name : kPictureTabOrder) {
        QWidget *next = findChild<QWidget *>(name.toString(), Qt::FindDirectChildrenOnly);
        if (previous && next)
            setTabOrder(previous, next);
        previous = next;
    }

    connect(button(u"cmdDownload"), &QPushButton::clicked, this, &PictureWindow::cmdDownload_Click);
    connect(button(u"cmdExit"), &QPushButton::clicked, this, &PictureWindow::cmdExit_Click);

    Form_Load();
}

QPushButton *PictureWindow::button(QStringView name) const
{
    return findChild<QPushButton *>(name.toString(), Qt::FindDirectChildrenOnly);
}

void PictureWindow::Form_Load()
{
    // A missing file is reported before the window is ever shown; it opens all the same.
    for (QStringView name : kGraticuleFiles) {
        QFile file(QDir(graticuleFolder_).filePath(name.toString()));
        if (!file.open(QIODevice::ReadOnly)) {
            notifier_.warn(link::messages::kGraticulesMissing);
            if (link_.IsPortOpen())
                link_.ClosePort();
            return;
        }
    }
}

void PictureWindow::cmdDownload_Click()
{
    loops_.run(downloading_, [this] { cycle_.run(*this, *picture_); });
}

void PictureWindow::cmdExit_Click()
{
    hide();
    loops_.exit();
}

void PictureWindow::closeEvent(QCloseEvent *event)
{
    // The close box deletes the window, but not from under a running download.
    setAttribute(Qt::WA_DeleteOnClose, loops_.close());
    event->accept();
}

void PictureWindow::showEvent(QShowEvent *event)
{
    loops_.shown();
    setAttribute(Qt::WA_DeleteOnClose, true);
    QWidget::showEvent(event);
}

} // namespace orvanta::picture
