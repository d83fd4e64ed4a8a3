#pragma once

#include "link/port_settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

struct telnet_t;
union telnet_event_t;

namespace orvanta::link {

// The Telnet side of a link to a serial-device server that controls its
// port over Telnet (Com Port Control): the line's bytes both ways, 0xFF
// escaped, and the far port's rate, data bits, parity, stop bits and no flow
// control set whenever they change. The Telnet protocol itself is the
// library's; this class only says what the program wants of it.
class TelnetComPort
{
public:
    // toServer gets what must go on the connection; toLine the bytes the
    // instrument sent, Telnet taken out.
    TelnetComPort(std::function<void(QByteArrayView)> toServer, std::function<void(QByteArrayView)> toLine);
    ~TelnetComPort();
    TelnetComPort(const TelnetComPort &) = delete;
    TelnetComPort &operator=(const TelnetComPort &) = delete;

    // Offers port control; the server's answer arrives through received().
    void start(const PortSettings &line);
    void received(QByteArrayView bytes);
    void send(QByteArrayView bytes);
    // Sent at once if the server has agreed to port control, else when it does.
    void setLine(const PortSettings &line);

    // Whether the server has answered the offer, either way.
    bool answered() const { return answered_; }
    bool agreed() const { return agreed_; }
    // The rate the server says its port now runs at.
    std::optional<int> farBaud() const { return farBaud_; }
    // The protocol error that makes the connection useless; empty while none.
    const QString &failure() const { return failure_; }

private:
    static void onEvent(telnet_t *telnet, telnet_event_t *event, void *self);
    void handle(const telnet_event_t &event);
    void sendLine();

    std::function<void(QByteArrayView)> toServer_;
    std::function<void(QByteArrayView)> toLine_;
    std::unique_ptr<telnet_t, void (*)(telnet_t *)> telnet_;
    PortSettings line_;
    bool answered_ = false;
    bool agreed_ = false;
    std::optional<int> farBaud_;
    QString failure_;
};

} // namespace orvanta::link
