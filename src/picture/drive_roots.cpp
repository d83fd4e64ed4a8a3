#include "picture/drive_roots.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace orvanta::picture {

QStringList driveRoots()
{
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives())
        roots << drive.absoluteFilePath();
#else
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        // Single files mounted into place are no place to look for pictures.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots << volume.rootPath();
    }
#endif
    roots.sort(Qt::CaseInsensitive);
    roots.removeDuplicates();
    return roots;
}

QString driveOf(const QString &path)
{
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.rootPath() : QDir(path).rootPath();
}

} // namespace orvanta::picture
