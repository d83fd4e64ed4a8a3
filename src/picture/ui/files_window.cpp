#include "picture/ui/files_window.h"

#include "messages/messages.h"
#include "messages/notifier.h"
#include "picture/canvas.h"
#include "picture/drive_roots.h"
#include "picture/picture_file.h"
#include "picture/ui/directory_list.h"
#include "picture/ui/file_list.h"
#include "picture/ui/files_controls.h"
#include "picture/ui/picture_surface.h"
#include "ui/required_child.h"
#include "ui/window_names.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace orvanta::picture {

namespace {

QWidget *makeControl(const FilesControl &control, QWidget *parent)
{
    using Kind = FilesControl::Kind;
    switch (control.kind) {
    case Kind::Label: return new QLabel(QString::fromLatin1(control.caption), parent);
    case Kind::Instruction: {
        auto *label = new QLabel(QString::fromLatin1(control.caption), parent);
        QFont underlined = label->font();
        underlined.setUnderline(true);
        label->setFont(underlined);
        return label;
    }
    case Kind::TextBox: return new QLineEdit(parent);
    case Kind::Button: return new QPushButton(QString::fromLatin1(control.caption), parent);
    case Kind::FileList: return new FileList(parent);
    case Kind::DriveList: return new QComboBox(parent);
    case Kind::DirectoryList: return new DirectoryList(parent);
    }
    return nullptr;
}

} // namespace

FilesWindow::FilesWindow(messages::Notifier &notifier, SurfaceSource surface, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , notifier_(notifier)
    , surface_(std::move(surface))
{
    setObjectName(QString::fromLatin1(ui::windows::kFiles));
    setWindowTitle(QStringLiteral("File Organisation"));
    // Arial's metrics (Liberation Sans on Linux) stand in for the old 8.25-point
    // sans serif: the two instructions fit their labels as they did there.
    setFont(QFont(QStringLiteral("Arial"), 8));
    resize(kFilesClientSize);
    build();
    Form_Load();
}

void FilesWindow::build()
{
    for (const FilesControl &control : kFilesControls) {
        QWidget *widget = makeControl(control, this);
        widget->setObjectName(QString::fromLatin1(control.name));
        widget->setToolTip(QString::fromLatin1(control.tooltip));
        widget->setGeometry(control.geometry);
        if (control.click)
            connect(static_cast<QPushButton *>(widget), &QPushButton::clicked, this, control.click);
    }
    ui::chainTabOrder(*this, kFilesTabOrder);

    Text1_ = ui::requiredChild<QLineEdit>(*this, QStringLiteral("Text1"));
    Drive1_ = ui::requiredChild<QComboBox>(*this, QStringLiteral("Drive1"));
    Dir1_ = ui::requiredChild<DirectoryList>(*this, QStringLiteral("Dir1"));
    File1_ = ui::requiredChild<FileList>(*this, QStringLiteral("File1"));
    connect(Dir1_, &DirectoryList::pathChanged, this, &FilesWindow::Dir1_Change);
    connect(Drive1_, &QComboBox::currentIndexChanged, this, &FilesWindow::Drive1_Change);
}

void FilesWindow::Form_Load()
{
    Text1_->setText(QString::fromLatin1(kDefaultPictureName));
    // All three lists start at the working folder.
    const QString here = QDir::currentPath();
    const QString drive = driveOf(here);
    QStringList roots = driveRoots();
    if (!roots.contains(drive))
        roots.prepend(drive);
    {
        const QSignalBlocker quiet(Drive1_);
        for (const QString &root : std::as_const(roots))
            Drive1_->addItem(QDir::toNativeSeparators(root), root);
        driveShown_ = Drive1_->findData(drive);
        Drive1_->setCurrentIndex(driveShown_);
    }
    Dir1_->setPath(here);
}

void FilesWindow::cmdStoreFile_Click()
{
    // As typed: a bare name lands in the working folder, whatever the lists show.
    const QString pictureFileName = Text1_->text();
    PictureSurface *surface = surface_ ? surface_() : nullptr;
    if (!surface)
        return;
    if (const auto error = savePicture(surface->canvas().image(), pictureFileName)) {
        notifier_.warn(messages::kPictureNotWritten, error->file, error->reason);
        return;
    }
    notifier_.beep();
    hide();
}

void FilesWindow::cmdDispFile_Click()
{
    const QString name = File1_->selectedName();
    if (name.isEmpty()) {
        notifier_.warn(messages::kNoBmpSelected);
        return;
    }
    const QString pictureFileName = QDir(File1_->path()).filePath(name);
    files::FileError error;
    const std::optional<QImage> picture = loadPicture(pictureFileName, &error);
    if (!picture) {
        notifier_.warn(messages::kPictureNotRead, error.file, error.reason);
        return;
    }
    PictureSurface *surface = surface_ ? surface_() : nullptr;
    if (!surface)
        return;
    surface->canvas().replace(*picture);
    surface->canvasReplaced();
    notifier_.beep();
    hide();
}

void FilesWindow::cmdCancelFile_Click()
{
    hide();
}

void FilesWindow::Dir1_Change()
{
    File1_->setPath(Dir1_->path());
}

void FilesWindow::Drive1_Change()
{
    const QString root = Drive1_->currentData().toString();
    if (Dir1_->setPath(root)) {
        driveShown_ = Drive1_->currentIndex();
        return;
    }
    notifier_.warn(messages::kDriveNotReady);
    // The three lists keep agreeing on where they are.
    const QSignalBlocker quiet(Drive1_);
    Drive1_->setCurrentIndex(driveShown_);
}

void FilesWindow::showEvent(QShowEvent *event)
{
    // A picture stored since the list was read shows up.
    File1_->refresh();
    QWidget::showEvent(event);
}

} // namespace orvanta::picture
