#pragma once

#include <QString>

namespace orvanta::files {

// What went wrong with a file, for the message that names both.
struct FileError
{
    QString file;
    QString reason;
};

} // namespace orvanta::files
