#pragma once

#include "link/network_port.h"
#include "link/port_map.h"
#include "link/port_settings.h"
#include "link/status_block.h"
#include "link/wait_loop.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <chrono>

namespace orvanta::messages {
class Notifier;
struct Message;
} // namespace orvanta::messages

namespace orvanta::link {

// The one serial port to the instrument, the one wait timer and the one
// TimeoutFlag. The port is a local device or, by its name, a serial-device
// server on the network; nothing above the link tells them apart. Everything runs on the user-interface thread: a wait
// is a loop that lets pending events run once per pass and sleeps until the next one.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kWaitInterval{2000};
    static constexpr qint16 kTrue = -1;
    static constexpr qint16 kFalse = 0;
    static inline const QString kDefaultSettings = QStringLiteral("9600,N,8,1");
    static constexpr std::chrono::milliseconds kLongestNetworkNap{2};

    SerialLink(PortMap portMap, messages::Notifier &notifier, QObject *parent = nullptr);
    ~SerialLink() override;

    // Link operations. A false result is a link failure; the caller reacts.
    void SetPortNumber(int port);
    bool SetPortSettings(const QString &settings);
    bool IsPortOpen() const;
    bool OpenPort();
    void ClosePort();
    bool WriteByte(int byte);
    int BytesWaiting() const;
    void FlushInput();
    QByteArray ReadBytes();
    QString ReadText();
    void StartWaitTimer();
    void StopWaitTimer();

    // Requests a fresh status block and keeps it; on failure says so once,
    // keeps the last one and returns false.
    bool ReadStatus();
    const StatusBlock &statusBlock() const { return statusBlock_; }

    // True while real-time error output runs; whoever finds it set first ends it.
    bool realtimeActive() const { return realtimeActive_ != kFalse; }
    void setRealtimeActive(bool active) { realtimeActive_ = active ? kTrue : kFalse; }

    // Opens the port if needed and writes one command code; reports its own
    // failure. False when the code did not go.
    bool SendCode(int code);
    // Says what failed, then closes the port, so the next request opens it
    // afresh. The message is the window's; why it failed, and on which
    // device, goes to the log (standard error): the reason given, or why the
    // port last failed.
    void failWith(const messages::Message &message, const QString &reason = {});
    // The device, its port number and rate, and why: for the log after a message.
    void logFailure(const QString &reason);
    // Returns after at least the given time, leaving TimeoutFlag true.
    void Delay(std::chrono::milliseconds time);
    // True once count bytes are waiting, false when the wait timer ticks first.
    bool WaitForBytes(int count);

    // The program's one wait loop: every wait of the program runs in it.
    WaitLoop &waits() { return waits_; }
    // The program is ending: every running and later wait returns at once
    // and the port is not opened again.
    void endWaits();
    bool ending() const { return waits_.ending(); }

    qint16 timeoutFlag() const { return timeoutFlag_; }
    int portNumber() const { return portNumber_; }
    QString portSettings() const { return settings_; }
    // The least time this many bytes take to arrive: the line's time at the
    // chosen speed. Through a server, at most a few milliseconds: it sends
    // the bytes in small segments only as fast as this end takes them in, so
    // a wait that naps longer holds them up.
    std::chrono::microseconds lineTime(int bytes) const
    {
        const std::chrono::microseconds time = line_.lineTime(bytes);
        return port_ == &serial_ ? time : std::min<std::chrono::microseconds>(time, kLongestNetworkNap);
    }
    QString devicePath() const { return portMap_.devicePath(portNumber_); }
    // Why the port last failed to open, to write or to stay open; empty if it did not.
    const QString &portFailure() const { return portFailure_; }
    const QTimer &waitTimer() const { return waitTimer_; }
    // The rate the far port of a server with port control runs at, as it says.
    std::optional<int> farBaud() const { return network_.farBaud(); }
    messages::Notifier &notifier() const { return notifier_; }

private:
    void onPortError(QSerialPort::SerialPortError error);
    void onConnectionLost(const QString &reason);
    bool applySettings(const PortSettings &settings);
    QString openFailure() const;

    PortMap portMap_;
    messages::Notifier &notifier_;
    WaitLoop waits_;
    QSerialPort serial_;
    NetworkPort network_;
    QIODevice *port_ = &serial_; // whichever of the two the device's name chose
    QTimer waitTimer_;
    qint16 timeoutFlag_ = kFalse;
    qint16 realtimeActive_ = kFalse;
    StatusBlock statusBlock_;
    int portNumber_ = 1;
    QString settings_ = kDefaultSettings;
    PortSettings line_;
    QString portFailure_;
};

} // namespace orvanta::link
