#pragma once

#include "link/notifier.h"

namespace orvanta::panel {

// The program's messages: modal, exclamation icon, one OK button.
class MessageBoxNotifier : public link::Notifier
{
protected:
    void showWarning(const QString &text, const QString &title) override;
    void soundBeep() override;
};

} // namespace orvanta::panel
