#include "jobs/stream_notifier.h"

namespace orvanta::jobs {

void StreamNotifier::showWarning(const QString &text, const QString &title)
{
    stream_ << prefix_ << ": " << title.trimmed() << ": " << text << Qt::endl;
}

} // namespace orvanta::jobs
