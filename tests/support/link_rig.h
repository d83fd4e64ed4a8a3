#pragma once

#include "link/serial_link.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace orvanta::test {

// The simulator on port 1 (or, without an instrument, a device that is not
// there), the other ports on otherPorts or leading nowhere, and the program's
// one link on it with a notifier that records what would be shown. The port
// starts closed.
struct LinkRig
{
    explicit LinkRig(const QStringList &simOptions = {}, bool instrument = true, const QString &otherPorts = {})
        : sim(simOptions)
    {
        for (int port = 1; port <= 4; ++port)
            map.setDevice(port,
                port == 1 && instrument                 ? sim.devicePath()
                    : port > 1 && !otherPorts.isEmpty() ? otherPorts
                                                        : dir.filePath("no-such-tty"));
        serial = std::make_unique<link::SerialLink>(map, notifier);
    }

    // What the instrument received from byte `from` on, up to a marker the
    // link writes now (opening the port for it if need be): whatever the
    // program wrote before has arrived by then, and nothing is waited for in
    // vain. An instrument that hung up has recorded all it got.
    QByteArray receivedSince(qsizetype from = 0) const
    {
        const bool wasOpen = serial->IsPortOpen();
        if (!(wasOpen || serial->OpenPort()) || !serial->WriteByte(SimProcess::kMarker))
            return sim.receivedBytes().mid(from).replace(SimProcess::kMarker, "");
        const QByteArray bytes = sim.untilMarker(from);
        if (!wasOpen)
            serial->ClosePort();
        return bytes;
    }
    // The same as the codes' numbers, "13 11 10 12".
    QString codes(qsizetype from = 0) const { return SimProcess::numbers(receivedSince(from)); }
    qsizetype receivedCount() const { return sim.received().size(); }

    QTemporaryDir dir;
    SimProcess sim;
    RecordingNotifier notifier;
    link::PortMap map;
    std::unique_ptr<link::SerialLink> serial;
};

} // namespace orvanta::test
