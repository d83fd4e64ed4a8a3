#pragma once

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
// TimeoutFlag. Everything runs on the user-interface thread: a wait is a loop
// that lets pending events run once per pass and sleeps until the next one.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kWaitInterval{2000};
    static constexpr qint16 kTrue = -1;
    static constexpr qint16 kFalse = 0;
    static inline const QString kDefaultSettings = QStringLiteral("9600,N,8,1");

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
    // The time the line at the chosen speed needs for this many bytes.
    std::chrono::microseconds lineTime(int bytes) const { return line_.lineTime(bytes); }
    QString devicePath() const { return portMap_.devicePath(portNumber_); }
    // Why the port last failed to open, to write or to stay open; empty if it did not.
    const QString &portFailure() const { return portFailure_; }
    const QTimer &waitTimer() const { return waitTimer_; }
    messages::Notifier &notifier() const { return notifier_; }

private:
    void onPortError(QSerialPort::SerialPortError error);
    bool applySettings(const PortSettings &settings);
    QString openFailure() const;

    PortMap portMap_;
    messages::Notifier &notifier_;
    QSerialPort port_;
    QTimer waitTimer_;
    qint16 timeoutFlag_ = kFalse;
    qint16 realtimeActive_ = kFalse;
    StatusBlock statusBlock_;
    int portNumber_ = 1;
    QString settings_ = kDefaultSettings;
    PortSettings line_;
    QString portFailure_;
    WaitLoop waits_;
};

} // namespace orvanta::link
