#include "link/network_port.h"

#include "link/telnet_com_port.h"
#include "link/wait_loop.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace orvanta::link {

NetworkPort::NetworkPort(WaitLoop &waits, QObject *parent)
    : QIODevice(parent)
    , waits_(waits)
{
    connect(&socket_, &QTcpSocket::readyRead, this, &NetworkPort::onReadyRead);
    connect(&socket_, &QTcpSocket::disconnected, this, &NetworkPort::onGone);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &NetworkPort::onGone);
}

NetworkPort::~NetworkPort()
{
    close();
}

bool NetworkPort::connectTo(const NetworkAddress &address, const PortSettings &line)
{
    close();
    address_ = address;
    inbox_.clear();
    readAny_ = false;
    telnet_.reset();
    socket_.connectToHost(address.host, address.port);
    const QDeadlineTimer deadline(kConnectTime);
    const auto connected = [this] {
        return socket_.state() != QAbstractSocket::HostLookupState
            && socket_.state() != QAbstractSocket::ConnectingState;
    };
    if (waits_.until(connected, deadline) != WaitLoop::Result::Done
        || socket_.state() != QAbstractSocket::ConnectedState) {
        const bool timedOut = socket_.state() != QAbstractSocket::UnconnectedState;
        setErrorString(
            timedOut ? QStringLiteral("no answer within %1 seconds").arg(kConnectTime.count()) : socket_.errorString());
        socket_.abort();
        return false;
    }
    // A command code goes at once, not held back to share a packet.
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    QIODevice::open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (address.kind == NetworkAddress::Kind::Raw)
        return true;

    telnet_
        = std::make_unique<TelnetComPort>([this](QByteArrayView bytes) { socket_.write(bytes.data(), bytes.size()); },
            [this](QByteArrayView bytes) { inbox_.append(bytes); });
    telnet_->start(line);
    socket_.flush();
    // The server must take the offer of port control, or the far line keeps whatever rate it had.
    const auto answered = [this] { return !isOpen() || telnet_->answered() || !telnet_->failure().isEmpty(); };
    const WaitLoop::Result result = waits_.until(answered, deadline);
    QString reason;
    if (result != WaitLoop::Result::Done)
        reason = QStringLiteral("no answer to the offer of port control within %1 seconds").arg(kConnectTime.count());
    else if (!isOpen())
        reason = errorString();
    else if (!telnet_->failure().isEmpty())
        reason = QStringLiteral("Telnet: ") + telnet_->failure();
    else if (!telnet_->agreed())
        reason = QStringLiteral("the server refuses port control");
    if (reason.isEmpty())
        return true;
    close();
    setErrorString(reason);
    return false;
}

void NetworkPort::setLine(const PortSettings &line)
{
    if (telnet_ && isOpen()) {
        telnet_->setLine(line);
        socket_.flush();
    }
}

void NetworkPort::flush()
{
    socket_.flush();
    ackAtOnce();
}

std::optional<int> NetworkPort::farBaud() const
{
    return telnet_ ? telnet_->farBaud() : std::nullopt;
}

void NetworkPort::close()
{
    if (isOpen())
        QIODevice::close();
    socket_.abort();
    inbox_.clear();
}

qint64 NetworkPort::readData(char *data, qint64 maxSize)
{
    const qint64 count = std::min<qint64>(maxSize, inbox_.size());
    std::copy_n(inbox_.constData(), count, data);
    inbox_.remove(0, count);
    readAny_ = readAny_ || count > 0;
    return count;
}

qint64 NetworkPort::writeData(const char *data, qint64 maxSize)
{
    if (socket_.state() != QAbstractSocket::ConnectedState)
        return -1;
    if (telnet_)
        telnet_->send(QByteArrayView(data, maxSize));
    else if (socket_.write(data, maxSize) != maxSize)
        return -1;
    return maxSize;
}

void NetworkPort::onReadyRead()
{
    const QByteArray bytes = socket_.readAll();
    ackAtOnce();

    if (telnet_)
        telnet_->received(bytes);
    else
        inbox_.append(bytes);
    if (!inbox_.isEmpty())
        emit readyRead();
}

void NetworkPort::ackAtOnce()
{
    // A server that holds back small segments until the last is acknowledged
    // (as most do by default) would otherwise wait for this end's delayed
    // acknowledgement on every few bytes. The kernel forgets it: said again
    // after each read and write.
#ifdef TCP_QUICKACK
    int on = 1;
    ::setsockopt(int(socket_.socketDescriptor()), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#endif
}

void NetworkPort::onGone()
{
    if (!isOpen())
        return;
    QString reason = socket_.error() == QAbstractSocket::RemoteHostClosedError
            || socket_.state() == QAbstractSocket::UnconnectedState
        ? QStringLiteral("the server closed the connection")
        : socket_.errorString();
    // A server that turns the link away says why in a line of text, before anything else.
    const QByteArray said = inbox_.trimmed();
    if (!readAny_ && !said.isEmpty() && said.size() < 200
        && std::ranges::all_of(said, [](char c) { return c >= ' ' && c < 127; }))
        reason += QStringLiteral(": ") + QString::fromLatin1(said);
    QIODevice::close();
    inbox_.clear();
    setErrorString(reason);
    emit lost(reason);
}

} // namespace orvanta::link
