#include "picture/ui/directory_list.h"

#include <QDir>
#include <QStyle>

namespace orvanta::picture {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kIndent = 2; // blanks a level

} // namespace

DirectoryList::DirectoryList(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this,
        [this](QListWidgetItem *item) { setPath(item->data(kPathRole).toString()); });
}

bool DirectoryList::setPath(const QString &path)
{
    const QDir dir(path);
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QString chosen = QDir::cleanPath(dir.absolutePath());
    if (chosen == path_)
        return true;
    path_ = chosen;
    fill();
    emit pathChanged(path_);
    return true;
}

void DirectoryList::fill()
{
    clear();
    // The parents, from the root down to the folder itself.
    QStringList chain;
    for (QDir dir(path_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int depth = 0;
    for (const QString &folder : std::as_const(chain)) {
        const QString name = QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QDir(folder).dirName();
        auto *item = new QListWidgetItem(open, QString(depth * kIndent, u' ') + name, this);
        item->setData(kPathRole, folder);
        ++depth;
    }
    setCurrentRow(count() - 1);
    const QDir here(path_);
    for (const QString &sub : here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto *item = new QListWidgetItem(closed, QString(depth * kIndent, u' ') + sub, this);
        item->setData(kPathRole, here.filePath(sub));
    }
}

} // namespace orvanta::picture
