#pragma once

#include <QString>
#include <QStringList>

namespace orvanta::app {

// The help file and the graticules as installed beside the program:
// PREFIX/share/orvanta for PREFIX/bin/orvanta.
QString installedDataFolder();

// The files a working folder needs from the installed data, relative to it.
QStringList seededFiles();

// Copies into folder, from the installed data, each of seededFiles() that the
// folder lacks; a file already there is the user's and stays as it is. What
// could not be copied, one line each; a file missing from the data is not a
// problem of the folder's and is left to the window that reads it.
QStringList seedWorkFolder(const QString &folder, const QString &data);

// --workdir and the desktop entry: makes the folder if needed, seeds it and
// works in it from now on. False with the reason when the program cannot
// work there; problems notes what could not be seeded.
bool enterWorkFolder(const QString &folder, const QString &data, QString *error, QStringList *problems);

} // namespace orvanta::app
