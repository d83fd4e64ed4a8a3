#pragma once

#include <QString>
#include <QStringList>

namespace orvanta::app {

// The help file and the graticules as installed beside the program:
// PREFIX/share/orvanta for PREFIX/bin/orvanta.
QString installedDataFolder();

// --workdir and the desktop entry: makes the folder if needed, gives it the
// help file and graticules it lacks from the installed data (a file already
// there is the user's) and works in it from now on. Says on standard error,
// after who, what could not be copied, and why the program cannot work there
// when it returns false. Nothing to do for an empty folder.
bool enterWorkFolder(const QString &folder, const QString &who);

} // namespace orvanta::app
