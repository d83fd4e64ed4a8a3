#include "files/whole_file.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace orvanta::files {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file the name stands for: a link's target is written, not the link.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

std::optional<QString> notRegular(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return info.isDir() ? QStringLiteral("it is a folder") : QStringLiteral("it is not a regular file");
    return std::nullopt;
}

// Takes the target's name: over an existing file, or only where there is none.
bool rename(const QString &from, const QString &to, Existing existing, QString &reason)
{
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
    if (existing == Existing::Replace) {
        if (::rename(source.constData(), target.constData()) == 0)
            return true;
        reason = systemReason(errno);
        return false;
    }
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    // A file system that cannot rename without replacing can still link.
    if ((errno == EINVAL || errno == ENOSYS) && ::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    reason = errno == EEXIST ? QStringLiteral("a file of that name appeared meanwhile") : systemReason(errno);
    return false;
}

// A new file gets what the umask leaves of read and write for all; a
// replaced one keeps its own permissions.
QFileDevice::Permissions permissionsFor(const QString &target)
{
    if (QFileInfo::exists(target))
        return QFile::permissions(target);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = 0666 & ~mask;
    QFileDevice::Permissions permissions;
    if (mode & S_IRUSR)
        permissions |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (mode & S_IWUSR)
        permissions |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (mode & S_IRGRP)
        permissions |= QFileDevice::ReadGroup;
    if (mode & S_IWGRP)
        permissions |= QFileDevice::WriteGroup;
    if (mode & S_IROTH)
        permissions |= QFileDevice::ReadOther;
    if (mode & S_IWOTH)
        permissions |= QFileDevice::WriteOther;
    return permissions;
}

} // namespace

std::optional<FileError> writeWholeFile(const QString &path, const QByteArray &bytes, Existing existing)
{
    if (path.isEmpty())
        return FileError{path, QStringLiteral("no file name given")};
    if (const auto why = notRegular(path))
        return FileError{path, *why};
    const QString target = resolved(path);
    QTemporaryFile temporary(
        QFileInfo(target).dir().filePath(QStringLiteral(".%1.XXXXXX").arg(QFileInfo(target).fileName())));
    if (!temporary.open())
        return FileError{path, temporary.errorString()};
    // Written with the system's own calls, each checked, so that a full disk
    // or a size limit is told by its own name; synced before it takes the name.
    const int handle = temporary.handle();
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(handle, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return FileError{path, written < 0 ? systemReason(errno) : QStringLiteral("nothing could be written")};
        done += written;
    }
    if (::fsync(handle) != 0)
        return FileError{path, systemReason(errno)};
    if (!temporary.setPermissions(permissionsFor(target)))
        return FileError{path, temporary.errorString()};
    temporary.close();
    QString reason;
    if (!rename(temporary.fileName(), target, existing, reason))
        return FileError{path, reason};
    // Taken: not the temporary file's to remove any more.
    temporary.setAutoRemove(false);
    return std::nullopt;
}

std::optional<FileError> writeWholeFile(
    const QString &path, const std::function<bool(QIODevice &)> &write, Existing existing)
{
    // Put together in memory first: a writer that misses a short write on a
    // file cannot miss it here, and what reaches the disk is checked above.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer))
        return FileError{path, QStringLiteral("the content could not be made")};
    return writeWholeFile(path, bytes, existing);
}

std::optional<FileError> checkWritable(const QString &path)
{
    if (path.isEmpty())
        return FileError{path, QStringLiteral("no file name given")};
    if (const auto why = notRegular(path))
        return FileError{path, *why};
    const QString folder = QFileInfo(resolved(path)).dir().path();
    if (!QFileInfo(folder).isDir())
        return FileError{path, QStringLiteral("no folder %1").arg(folder)};
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".orvanta-probe.XXXXXX")));
    if (!probe.open())
        return FileError{path, probe.errorString()};
    return std::nullopt;
}

} // namespace orvanta::files
