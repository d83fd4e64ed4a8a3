#include "app/work_folder.h"

#include "help/help_text.h"
#include "picture/graticule_choice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace orvanta::app {

namespace {

// The files a working folder needs from the installed data, relative to it.
QStringList seededFiles()
{
    QStringList files{help::kHelpFileName.toString()};
    for (QStringView name : picture::kGraticuleFiles)
        files << picture::kGraticuleFolder.toString() + u'/' + name.toString();
    return files;
}

// Copies into folder, from the installed data, each seeded file the folder
// lacks. What could not be copied, one line each; a file missing from the data
// is not a problem of the folder's and is left to the window that reads it.
QStringList seedWorkFolder(const QString &folder, const QString &data)
{
    QStringList problems;
    const QDir into(folder);
    const QDir from(data);
    for (const QString &name : seededFiles()) {
        const QString source = from.filePath(name);
        const QString target = into.filePath(name);
        // exists() follows links: a dangling one is the user's too and is left alone.
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink() || !QFileInfo(source).isFile())
            continue;
        const QString parent = QFileInfo(target).path();
        if (!into.mkpath(QFileInfo(name).path())) {
            problems << QStringLiteral("%1: can't make the folder %2").arg(name, parent);
            continue;
        }
        QFile file(source);
        if (!file.copy(target))
            problems << QStringLiteral("%1: %2").arg(name, file.errorString());
    }
    return problems;
}

} // namespace

QString installedDataFolder()
{
    // Set by the build from the install layout, so a prefix of any name works.
    return QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(ORVANTA_DATA_FROM_BIN)));
}

bool enterWorkFolder(const QString &folder, const QString &who)
{
    if (folder.isEmpty())
        return true;
    const auto say
        = [&who](const QString &line) { std::fprintf(stderr, "%s: %s\n", qPrintable(who), qPrintable(line)); };
    const QString path = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    if (!QDir().mkpath(path)) {
        say(QStringLiteral("Can't make the working folder %1").arg(path));
        return false;
    }
    if (!QFileInfo(path).isDir()) {
        say(QStringLiteral("%1 is not a folder").arg(path));
        return false;
    }
    // The program starts all the same; the window that reads a missing file says so.
    for (const QString &problem : seedWorkFolder(path, installedDataFolder()))
        say(QStringLiteral("not copied into the working folder: ") + problem);
    if (!QDir::setCurrent(path)) {
        say(QStringLiteral("Can't work in the folder %1").arg(path));
        return false;
    }
    return true;
}

} // namespace orvanta::app
