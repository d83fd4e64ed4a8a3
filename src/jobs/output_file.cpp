#include "jobs/output_file.h"

#include "files/regular_file.h"
#include "files/whole_file.h"
#include "jobs/standard_output.h"
#include "messages/messages.h"
#include "messages/notifier.h"

#include <QDir>

namespace orvanta::jobs {

OutputFile::OutputFile(const QString &fileName, const QString &startFolder, Mode mode, StandardOutput &standardOutput)
    : fileName_(fileName)
    , path_(QDir(startFolder).absoluteFilePath(fileName))
    , mode_(mode)
    , standardOutput_(standardOutput)
{ }

bool OutputFile::open(messages::Notifier &notifier)
{
    if (toStandardOutput()) {
        if (!standardOutput_.failed())
            return true;
        warnFailed(notifier, standardOutput_.reason());
        return false;
    }
    if (mode_ == Mode::WholeFile) {
        whole_.open(QIODevice::WriteOnly);
        if (const auto error = files::checkWritable(path_)) {
            warnFailed(notifier, error->reason);
            return false;
        }
        return true;
    }
    appended_.setFileName(path_);
    QString reason;
    if (files::openRegularFile(appended_, QIODevice::WriteOnly | QIODevice::Append, &reason))
        return true;
    warnFailed(notifier, reason);
    return false;
}

QIODevice &OutputFile::device()
{
    if (toStandardOutput())
        return standardOutput_.device();
    if (mode_ == Mode::WholeFile)
        return whole_;
    return appended_;
}

bool OutputFile::finish(messages::Notifier &notifier)
{
    if (toStandardOutput() || mode_ == Mode::Append)
        return true;
    const std::optional<files::FileError> error = files::writeWholeFile(path_, whole_.data());
    if (error)
        warnFailed(notifier, error->reason);
    return !error;
}

void OutputFile::warnFailed(messages::Notifier &notifier, const QString &reason) const
{
    notifier.warn(messages::kLogNotWritten, toStandardOutput() ? QStringLiteral("standard output") : fileName_, reason);
}

} // namespace orvanta::jobs
