#pragma once

#include "files/file_error.h"

#include <QIODevice>
#include <QString>

#include <functional>
#include <optional>

namespace orvanta::files {

// Whether a file written whole may take the place of one of the same name.
enum class Existing {
    Replace, // as cp does: the old file goes at the moment the new one is there
    Keep,    // the write fails instead, and the old file stays
};

// Writes a file whole or not at all. write() makes the content, which goes
// to a temporary file beside the target; it is written, synced and checked,
// and only then takes the target's name, so a full disk, a size limit or a failed write
// leaves the old file as it was and no half file behind. A target that exists
// and is not a regular file (a folder, a pipe, a device) is refused. The error
// names the file as given.
std::optional<FileError> writeWholeFile(
    const QString &path, const std::function<bool(QIODevice &)> &write, Existing existing = Existing::Replace);

// The same for bytes at hand.
std::optional<FileError> writeWholeFile(
    const QString &path, const QByteArray &bytes, Existing existing = Existing::Replace);

// Whether a file could be made under this name now: the folder exists and
// takes files, and the name is not something other than a regular file. A
// job asks before it spends time on the instrument.
std::optional<FileError> checkWritable(const QString &path);

} // namespace orvanta::files
