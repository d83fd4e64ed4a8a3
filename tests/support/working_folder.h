#pragma once

#include <QString>
#include <QTemporaryDir>

namespace orvanta::test {

// A working folder like run.sh's: the help file and the graticules beside the
// program. The process works in it while the object lives.
class WorkingFolder
{
public:
    WorkingFolder();
    ~WorkingFolder();

    QString path() const { return dir_.path(); }
    QString filePath(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace orvanta::test
