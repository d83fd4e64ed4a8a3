#include "files/regular_file.h"

#include <QFileInfo>

namespace orvanta::files {

bool openRegularFile(QFile &file, QIODevice::OpenMode mode, QString *reason)
{
    const QFileInfo info(file.fileName());
    const bool opened = (!info.exists() || info.isFile()) && file.open(mode);
    if (!opened && reason)
        *reason = info.exists() && !info.isFile() ? QStringLiteral("not a plain file") : file.errorString();
    return opened;
}

} // namespace orvanta::files
