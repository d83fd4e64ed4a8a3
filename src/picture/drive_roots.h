#pragma once

#include <QStringList>

namespace orvanta::picture {

// What the drive list offers: the drive letters' roots where there are
// drives, else the roots of the mounted file systems; sorted.
QStringList driveRoots();

// The root of the drive or file system that holds path.
QString driveOf(const QString &path);

} // namespace orvanta::picture
