#pragma once

#include "app/simulator_process.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace orvanta::test {

// orvanta-sim on a pseudo-terminal, recording what it receives.
class SimProcess
{
public:
    struct Received
    {
        qint64 nanoseconds; // CLOCK_MONOTONIC, as monotonicNanoseconds()
        quint8 byte;
    };

    explicit SimProcess(const QStringList &options = {});

    bool started() const { return !devicePath_.isEmpty(); }
    QString devicePath() const { return devicePath_; }

    QList<Received> received() const;
    QByteArray receivedBytes() const;
    // Lets events run until the simulator has recorded at least count bytes.
    bool waitForReceived(int count, int timeoutMs = 5000) const;

    void kill() { process_.kill(); }

    static qint64 monotonicNanoseconds();

private:
    QTemporaryDir dir_;
    QString recordPath_ = dir_.filePath(QStringLiteral("received.txt"));
    app::SimulatorProcess process_;
    QString devicePath_;
};

} // namespace orvanta::test
