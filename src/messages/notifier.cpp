#include "messages/notifier.h"

namespace orvanta::messages {

void Notifier::warn(const QString &text, const QString &title)
{
    if (!silenced_)
        showWarning(text, title);
}

void Notifier::beep()
{
    if (!silenced_)
        soundBeep();
}

} // namespace orvanta::messages
