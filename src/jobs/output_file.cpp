#include "jobs/output_file.h"

#include "messages/messages.h"
#include "messages/notifier.h"

#include <cstdio>

namespace orvanta::jobs {

OutputFile::OutputFile(const QString &fileName, Mode mode)
    : fileName_(fileName)
    , mode_(mode)
{ }

bool OutputFile::open(messages::Notifier &notifier)
{
    if (fileName_.isEmpty())
        return standardOutput_.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QFileDevice *file = nullptr;
    if (mode_ == Mode::WholeFile) {
        whole_.emplace(fileName_);
        file = &*whole_;
    } else {
        appended_.setFileName(fileName_);
        file = &appended_;
    }
    if (file->open(mode_ == Mode::WholeFile ? QIODevice::WriteOnly : QIODevice::WriteOnly | QIODevice::Append))
        return true;
    warnFailed(notifier, file->errorString());
    whole_.reset();
    return false;
}

QIODevice &OutputFile::device()
{
    if (fileName_.isEmpty())
        return standardOutput_;
    if (whole_)
        return *whole_;
    return appended_;
}

bool OutputFile::finish(messages::Notifier &notifier)
{
    if (!whole_ || whole_->commit())
        return true;
    warnFailed(notifier, whole_->errorString());
    return false;
}

void OutputFile::discard()
{
    if (whole_)
        whole_->cancelWriting();
}

void OutputFile::warnFailed(messages::Notifier &notifier, const QString &reason) const
{
    notifier.warn(
        messages::kLogNotWritten, fileName_.isEmpty() ? QStringLiteral("standard output") : fileName_, reason);
}

} // namespace orvanta::jobs
