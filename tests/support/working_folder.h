#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace orvanta::test {

// A working folder like run.sh's: the help file and the graticules beside the
// program. The process works in it while the object lives.
class WorkingFolder
{
public:
    WorkingFolder()
    {
        const QDir data(QStringLiteral(ORVANTA_DATA_DIR));
        QFile::copy(data.filePath("orva.hlp"), dir_.filePath("orva.hlp"));
        QDir(dir_.path()).mkdir("graticules");
        for (const QString &name : QDir(data.filePath("graticules")).entryList({"*.rle"}, QDir::Files))
            QFile::copy(data.filePath("graticules/" + name), dir_.filePath("graticules/" + name));
        QDir::setCurrent(dir_.path());
    }
    ~WorkingFolder() { QDir::setCurrent(previous_); }

    QString path() const { return dir_.path(); }
    QString filePath(const QString &name) const { return dir_.filePath(name); }

private:
    QString previous_ = QDir::currentPath();
    QTemporaryDir dir_;
};

} // namespace orvanta::test
