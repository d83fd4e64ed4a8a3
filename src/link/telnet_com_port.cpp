#include "link/telnet_com_port.h"

#include <libtelnet.h>

#include <QtEndian>

#include <array>

namespace orvanta::link {

namespace {

// Com Port Control: the option, and what the client asks of it.
constexpr unsigned char kComPortOption = 44;
enum ComPortCommand : unsigned char {
    kSetBaudRate = 1,
    kSetDataSize = 2,
    kSetParity = 3,
    kSetStopSize = 4,
    kSetControl = 5,
};
// The server answers each command with its number plus this.
constexpr unsigned char kServerReply = 100;
constexpr unsigned char kNoFlowControl = 1;

// Binary both ways, so no byte of the line is taken for a Telnet line end;
// no go-ahead; port control offered by us. Anything else is refused.
const telnet_telopt_t kOptions[] = {
    {TELNET_TELOPT_BINARY, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {kComPortOption, TELNET_WILL, TELNET_DONT},
    {-1, 0, 0},
};

unsigned char parityCode(char parity)
{
    switch (parity) {
    case 'O': return 2;
    case 'E': return 3;
    case 'M': return 4;
    case 'S': return 5;
    default: return 1;
    }
}

} // namespace

TelnetComPort::TelnetComPort(std::function<void(QByteArrayView)> toServer, std::function<void(QByteArrayView)> toLine)
    : toServer_(std::move(toServer))
    , toLine_(std::move(toLine))
    , telnet_(telnet_init(kOptions, &TelnetComPort::onEvent, 0, this), &telnet_free)
{ }

TelnetComPort::~TelnetComPort() = default;

void TelnetComPort::start(const PortSettings &line)
{
    line_ = line;
    telnet_negotiate(telnet_.get(), TELNET_WILL, kComPortOption);
    telnet_negotiate(telnet_.get(), TELNET_WILL, TELNET_TELOPT_BINARY);
    telnet_negotiate(telnet_.get(), TELNET_DO, TELNET_TELOPT_BINARY);
}

void TelnetComPort::received(QByteArrayView bytes)
{
    telnet_recv(telnet_.get(), bytes.data(), bytes.size());
}

void TelnetComPort::send(QByteArrayView bytes)
{
    telnet_send(telnet_.get(), bytes.data(), bytes.size());
}

void TelnetComPort::setLine(const PortSettings &line)
{
    line_ = line;
    if (agreed_)
        sendLine();
}

void TelnetComPort::sendLine()
{
    const auto command = [this](ComPortCommand what, QByteArrayView value) {
        QByteArray body(1, char(what));
        body += value;
        telnet_subnegotiation(telnet_.get(), kComPortOption, body.constData(), body.size());
    };
    std::array<char, 4> baud{};
    qToBigEndian(quint32(line_.baud), baud.data());
    command(kSetBaudRate, QByteArrayView(baud.data(), baud.size()));
    command(kSetDataSize, QByteArray(1, char(line_.dataBits)));
    command(kSetParity, QByteArray(1, char(parityCode(line_.parity))));
    command(kSetStopSize, QByteArray(1, char(line_.stopBits == 2 ? 2 : 1)));
    command(kSetControl, QByteArray(1, char(kNoFlowControl)));
}

void TelnetComPort::onEvent(telnet_t *, telnet_event_t *event, void *self)
{
    static_cast<TelnetComPort *>(self)->handle(*event);
}

void TelnetComPort::handle(const telnet_event_t &event)
{
    switch (event.type) {
    case TELNET_EV_DATA: toLine_(QByteArrayView(event.data.buffer, qsizetype(event.data.size))); break;
    case TELNET_EV_SEND: toServer_(QByteArrayView(event.data.buffer, qsizetype(event.data.size))); break;
    case TELNET_EV_DO:
    case TELNET_EV_DONT:
        if (event.neg.telopt == kComPortOption) {
            const bool first = !agreed_ && event.type == TELNET_EV_DO;
            agreed_ = event.type == TELNET_EV_DO;
            answered_ = true;
            if (first)
                sendLine();
        }
        break;
    case TELNET_EV_SUBNEGOTIATION:
        // The server's word on the rate it has set.
        if (event.sub.telopt == kComPortOption && event.sub.size == 5
            && quint8(event.sub.buffer[0]) == kServerReply + kSetBaudRate)
            farBaud_ = int(qFromBigEndian<quint32>(event.sub.buffer + 1));
        break;
    case TELNET_EV_ERROR: failure_ = QString::fromLocal8Bit(event.error.msg); break;
    default: break;
    }
}

} // namespace orvanta::link
