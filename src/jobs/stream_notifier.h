#pragma once

#include "messages/notifier.h"

#include <QTextStream>

namespace orvanta::jobs {

// A job's messages: the window's message box texts, on standard error.
class StreamNotifier : public messages::Notifier
{
public:
    StreamNotifier(QTextStream &stream, QString prefix)
        : stream_(stream)
        , prefix_(std::move(prefix))
    { }

protected:
    void showWarning(const QString &text, const QString &title) override;

private:
    QTextStream &stream_;
    QString prefix_;
};

} // namespace orvanta::jobs
