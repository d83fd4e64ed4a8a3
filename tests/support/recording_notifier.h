#pragma once

#include "messages/notifier.h"

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

namespace orvanta::test {

// Keeps every message the program would have shown, in order, and runs
// onMessage after each: a snapshot, or a nested loop standing in for a modal box.
class RecordingNotifier : public messages::Notifier
{
public:
    using Message = QPair<QString, QString>; // text, title

    QList<Message> messages;
    int beeps = 0;
    std::function<void()> onMessage;

    void clear()
    {
        messages.clear();
        beeps = 0;
    }

protected:
    void showWarning(const QString &text, const QString &title) override
    {
        messages.append({text, title});
        if (onMessage)
            onMessage();
    }
    void soundBeep() override { ++beeps; }
};

} // namespace orvanta::test
