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

    // A byte the instrument ignores, written after what a test wants to see.
    static constexpr char kMarker = 0;

    QList<Received> received() const;
    QByteArray receivedBytes() const;
    // The bytes received from `from` on, up to the marker that ends them,
    // once it has arrived, without any marker; "<marker lost>" if it does not.
    QByteArray untilMarker(qsizetype from = 0) const;
    // Bytes as their numbers: "13 11 10 12".
    static QString numbers(const QByteArray &bytes);
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
