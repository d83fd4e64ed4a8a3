#pragma once

#include "messages/notifier.h"

namespace orvanta::ui {

// The program's messages: modal, exclamation icon, one OK button.
class MessageBoxNotifier : public messages::Notifier
{
protected:
    void showWarning(const QString &text, const QString &title) override;
    void soundBeep() override;
};

} // namespace orvanta::ui
