#pragma once

#include <QFile>
#include <QString>

namespace orvanta::files {

// Opens a file the program reads by a fixed name only when it is a plain
// file: a pipe or a device under that name would block the one thread or
// read for ever. Anything else under the name counts as missing; a name
// that is not there at all is left to the mode (ReadWrite creates it).
// reason, when given, says why a file was not opened.
bool openRegularFile(QFile &file, QIODevice::OpenMode mode, QString *reason = nullptr);

} // namespace orvanta::files
