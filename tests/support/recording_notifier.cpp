#include "support/recording_notifier.h"

namespace orvanta::test {

void RecordingNotifier::showWarning(const QString &text, const QString &title)
{
    messages.append({text, title});
    if (onMessage)
        onMessage();
}

} // namespace orvanta::test
