#include "picture/ui/picture_window.h"

#include "files/regular_file.h"
#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "messages/messages.h"
#include "messages/notifier.h"
#include "picture/annotation.h"
#include "picture/picture_file.h"
#include "picture/ui/busy_pointer.h"
#include "picture/ui/picture_area.h"
#include "picture/ui/picture_buttons.h"
#include "picture/ui/wrapping_button.h"
#include "print/printer_target.h"
#include "ui/required_child.h"
#include "ui/window_names.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QPainter>

#include <optional>

namespace orvanta::picture {

namespace {

constexpr QSize kClientSize{625, 536};
constexpr QRect kPictureGeometry{8, 8, 520, 512};

} // namespace

PictureWindow::PictureWindow(link::SerialLink &link, messages::Notifier &notifier, link::PollSwitch &poll,
    print::PrinterTarget &printer, std::function<void()> showFiles, const QString &graticuleFolder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , link_(link)
    , notifier_(notifier)
    , printer_(printer)
    , showFiles_(std::move(showFiles))
    , graticuleFolder_(graticuleFolder)
    , cycle_(link, notifier, canvas_, {graticuleFolder})
    , loops_(*this, poll, link::PollEvent::PictureWindowClosed, [this] { cycle_.stop(); })
{
    setObjectName(QString::fromLatin1(ui::windows::kPicture));
    setWindowTitle(QStringLiteral("Download"));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(grey);
    setAutoFillBackground(true);
    setFont(annotationFont());
    resize(kClientSize);

    picture_ = new PictureArea(canvas_, this);
    picture_->setGeometry(kPictureGeometry);
    for (const PictureButton &row : kPictureButtons) {
        auto *button = new WrappingButton(QString::fromLatin1(row.caption), this);
        button->setObjectName(QString::fromLatin1(row.name));
        button->setToolTip(QString::fromLatin1(row.tooltip));
        button->setGeometry(kButtonLeft, row.top, kButtonWidth, row.height);
        connect(button, &QPushButton::clicked, this, row.click);
    }
    ui::chainTabOrder(*this, kPictureTabOrder);

    Form_Load();
}

QPushButton *PictureWindow::button(std::string_view name) const
{
    return ui::requiredChild<QPushButton>(*this, QString::fromLatin1(name));
}

void PictureWindow::canvasReplaced()
{
    picture_->update();
}

void PictureWindow::setBusy(bool busy)
{
    if (busy)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void PictureWindow::pictureChanged()
{
    picture_->update();
}

void PictureWindow::rowsChanged(int first, int last)
{
    picture_->update(picture_->rowsBand(first, last));
}

void PictureWindow::Form_Load()
{
    // A missing file is reported before the window is ever shown; it opens all the same.
    for (QStringView name : kGraticuleFiles) {
        QFile file(QDir(graticuleFolder_).filePath(name.toString()));
        if (!files::openRegularFile(file, QIODevice::ReadOnly)) {
            link_.failWith(messages::kGraticulesMissing);
            return;
        }
    }
}

void PictureWindow::cmdDownload_Click()
{
    // Inside a running download the click starts nothing, but like every
    // single download it ends a continuous one after its current picture.
    if (cycle_.running())
        cycle_.endContinuous();
    if (loops_.run(downloading_, [this] { cycle_.run(*this); }))
        runDeferred();
}

void PictureWindow::cmdAbort_Click()
{
    cycle_.stopRows();
}

void PictureWindow::cmdContinuous_Click()
{
    if (loops_.run(downloading_, [this] { cycle_.runContinuous(*this); }))
        runDeferred();
}

void PictureWindow::afterTheDownload(void (PictureWindow::*action)())
{
    cycle_.endContinuous();
    // A picture still being drawn is converted or printed once it is whole:
    // at once it would come out half done, and its later rows unconverted.
    if (cycle_.running())
        deferred_.append(action);
    else
        (this->*action)();
}

void PictureWindow::runDeferred()
{
    // Only once no download runs any more; a window closed meanwhile does nothing.
    if (cycle_.running())
        return;
    const QList<void (PictureWindow::*)()> actions = std::exchange(deferred_, {});
    if (isVisible())
        for (const auto action : actions)
            (this->*action)();
}

void PictureWindow::cmdConvert_Click()
{
    afterTheDownload(&PictureWindow::convert);
}

void PictureWindow::convert()
{
    const QImage before = canvas_.image().copy();
    std::optional<files::FileError> error;
    {
        BusyPointer busy(*this);
        for (int row = 0; row < Canvas::kSize; ++row) {
            canvas_.blackOnWhite(row);
            picture_->repaintRow(row);
        }
        error = savePicture(canvas_.image(), kConversionFile);
    }
    files::FileError readError;
    const std::optional<QImage> converted = error ? std::nullopt : loadPicture(kConversionFile, &readError);
    if (!converted) {
        // What cannot be kept in the file is not kept on the screen either.
        canvas_.replace(before);
        picture_->update();
        if (error)
            notifier_.warn(messages::kPictureNotWritten, error->file, error->reason);
        else
            notifier_.warn(messages::kPictureNotRead, readError.file, readError.reason);
        return;
    }
    canvas_.replace(*converted);
    picture_->update();
}

void PictureWindow::cmdPrint_Click()
{
    afterTheDownload(&PictureWindow::print);
}

void PictureWindow::print()
{
    for (std::string_view name : kPrintHideOrder)
        button(name)->hide();
    const bool printed = printClientArea();
    for (std::string_view name : kPrintHideOrder)
        button(name)->show();
    if (!printed)
        notifier_.warn(messages::kPrinterFault);
}

bool PictureWindow::printClientArea()
{
    const std::unique_ptr<QPrinter> printer = printer_.open();
    if (!printer)
        return false;
    printer->setDocName(windowTitle());
    // The picture area with its border on the grey, the hidden buttons not there.
    const QImage client = grab().toImage();
    QPainter painter;
    if (!painter.begin(printer.get()))
        return false;
    const QRect page = painter.viewport();
    const QSize size = client.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(QPoint(page.left() + (page.width() - size.width()) / 2, page.top()), size), client);
    return painter.end() && printer->printerState() != QPrinter::Error;
}

void PictureWindow::cmdGetBMP_Click()
{
    if (showFiles_)
        showFiles_();
}

void PictureWindow::cmdClear_Click()
{
    canvas_.clear();
    picture_->update();
}

void PictureWindow::cmdExit_Click()
{
    cycle_.endContinuous();
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
