#include "support/working_folder.h"

#include <QDir>
#include <QFile>

namespace orvanta::test {

WorkingFolder::WorkingFolder()
    : previous_(QDir::currentPath())
{
    const QDir data(QStringLiteral(ORVANTA_DATA_DIR));
    QFile::copy(data.filePath(QStringLiteral("orva.hlp")), dir_.filePath(QStringLiteral("orva.hlp")));
    QDir(dir_.path()).mkdir(QStringLiteral("graticules"));
    const QDir graticules(data.filePath(QStringLiteral("graticules")));
    for (const QString &name : graticules.entryList({QStringLiteral("*.rle")}, QDir::Files))
        QFile::copy(graticules.filePath(name), dir_.filePath(QStringLiteral("graticules/") + name));
    QDir::setCurrent(dir_.path());
}

WorkingFolder::~WorkingFolder()
{
    QDir::setCurrent(previous_);
}

} // namespace orvanta::test
