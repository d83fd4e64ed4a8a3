#pragma once

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <optional>

namespace orvanta::messages {
class Notifier;
} // namespace orvanta::messages

namespace orvanta::jobs {

// Where read-log and monitor write: standard output, or the -o file, opened
// before anything is sent so that a file that cannot be written costs nothing.
// read-log's file appears whole or not at all; monitor's is appended to line
// by line, as a log is.
class OutputFile
{
public:
    enum class Mode { WholeFile, Append };

    OutputFile(const QString &fileName, Mode mode);

    // False, said through the notifier, when the file cannot be opened.
    bool open(messages::Notifier &notifier);
    QIODevice &device();
    // The file under its name; false, said, when it cannot be.
    bool finish(messages::Notifier &notifier);
    // Nothing of a whole file is left.
    void discard();
    // The device failed to take a line: said.
    void warnFailed(messages::Notifier &notifier, const QString &reason) const;

private:
    QString fileName_;
    Mode mode_;
    QFile standardOutput_;
    QFile appended_;
    std::optional<QSaveFile> whole_;
};

} // namespace orvanta::jobs
