#pragma once

#include "messages/messages.h"

#include <QString>

namespace orvanta::messages {

// Every message the user sees goes through here, so tests can record them
// and shutdown can silence the ones a wait that is being unwound would raise.
class Notifier
{
public:
    virtual ~Notifier() = default;

    void warn(const QString &text, const QString &title);
    void warn(const Message &message) { warn(message.text.toString(), message.title.toString()); }
    // A message about a file: its %1 the file, its %2 the reason.
    void warn(const Message &message, const QString &file, const QString &reason)
    {
        warn(message.text.toString().arg(file, reason), message.title.toString());
    }
    void beep();

    // Once the program is ending, nothing more is shown.
    void silence() { silenced_ = true; }
    bool silenced() const { return silenced_; }

protected:
    virtual void showWarning(const QString &text, const QString &title) = 0;
    virtual void soundBeep() { }

private:
    bool silenced_ = false;
};

} // namespace orvanta::messages
