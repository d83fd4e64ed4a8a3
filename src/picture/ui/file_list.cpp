#include "picture/ui/file_list.h"

#include <QDir>

namespace orvanta::picture {

FileList::FileList(QWidget *parent)
    : QListWidget(parent)
{ }

void FileList::setPath(const QString &path)
{
    path_ = path;
    clear();
    refresh();
}

void FileList::refresh()
{
    const QString selected = selectedName();
    clear();
    // Name filters ignore case unless told otherwise.
    addItems(QDir(path_).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name | QDir::IgnoreCase));
    const QList<QListWidgetItem *> again = findItems(selected, Qt::MatchExactly);
    if (!selected.isEmpty() && !again.isEmpty())
        setCurrentItem(again.first());
}

QString FileList::selectedName() const
{
    const QList<QListWidgetItem *> items = selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

} // namespace orvanta::picture
