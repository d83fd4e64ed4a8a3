#pragma once

#include "link/network_address.h"
#include "link/port_settings.h"

#include <QByteArray>
#include <QIODevice>
#include <QTcpSocket>

#include <chrono>
#include <memory>
#include <optional>

namespace orvanta::link {

class TelnetComPort;
class WaitLoop;

// The instrument's line through a serial-device server, as a device the link
// reads and writes like a local port: bytes in, bytes out, each written byte
// sent at once. Connecting waits in the program's wait loop, so the window
// stays alive; a connection the far end drops closes the device.
class NetworkPort : public QIODevice
{
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kConnectTime{3};

    explicit NetworkPort(WaitLoop &waits, QObject *parent = nullptr);
    ~NetworkPort() override;

    // Connects, and with port control sets the far line; false with
    // errorString() saying why.
    bool connectTo(const NetworkAddress &address, const PortSettings &line);
    void setLine(const PortSettings &line);
    // Sends what was written and not yet sent, without waiting.
    void flush();
    // Drops the bytes received and not yet read.
    void clearInput() { inbox_.clear(); }
    // The rate the server says its port runs at; with port control only.
    std::optional<int> farBaud() const;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return inbox_.size() + QIODevice::bytesAvailable(); }
    void close() override;

signals:
    // The connection went while open: the far end closed it, or it failed.
    void lost(const QString &reason);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    void onReadyRead();
    void onGone();
    void ackAtOnce();

    WaitLoop &waits_;
    QTcpSocket socket_;
    std::unique_ptr<TelnetComPort> telnet_;
    NetworkAddress address_;
    QByteArray inbox_;
    bool readAny_ = false;
};

} // namespace orvanta::link
