#pragma once

#include "files/file_error.h"

#include <QBuffer>
#include <QFile>
#include <QString>

#include <optional>

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::jobs {

class StandardOutput;

// Where read-log and monitor write: standard output (no name, or "-"), or the
// -o file, checked before anything is sent so that a file that cannot be
// written costs nothing. read-log's file appears whole or not at all, the old
// one left as it was until then; monitor's is appended to line by line, as a
// log is.
class OutputFile
{
public:
    enum class Mode { WholeFile, Append };

    // fileName: relative to startFolder.
    OutputFile(const QString &fileName, const QString &startFolder, Mode mode, StandardOutput &standardOutput);

    // False, said through the notifier, when the file cannot be written.
    bool open(messages::Notifier &notifier);
    QIODevice &device();
    // The file under its name; false, said, when it cannot be.
    bool finish(messages::Notifier &notifier);
    // The device failed to take a line: said.
    void warnFailed(messages::Notifier &notifier, const QString &reason) const;

private:
    bool toStandardOutput() const { return fileName_.isEmpty() || fileName_ == QStringLiteral("-"); }

    QString fileName_;
    QString path_;
    Mode mode_;
    StandardOutput &standardOutput_;
    QFile appended_;
    QBuffer whole_;
};

} // namespace orvanta::jobs
