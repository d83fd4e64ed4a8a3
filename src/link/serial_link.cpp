#include "link/serial_link.h"

#include "messages/messages.h"
#include "messages/notifier.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>

#include <limits>

namespace orvanta::link {

Q_LOGGING_CATEGORY(linkLog, "orvanta.link")

namespace {

// Where the serial port layer keeps its lock files, in the order it tries them.
constexpr const char *kLockFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp",
    "/var/tmp", "/var/lock/lockdev", "/run/lock"};

// The process that holds the device's lock, or 0. The lock is named after
// the device's path below /dev, its slashes made underscores: LCK..pts_3.
qint64 lockOwner(QString device)
{
    if (device.startsWith(u"/dev/"))
        device.remove(0, 5);
    device.replace(u'/', u'_');
    for (const char *folder : kLockFolders) {
        const QString lock = QDir(QString::fromLatin1(folder)).filePath("LCK.." + device);
        qint64 pid = 0;
        QString host, application;
        if (QFileInfo::exists(lock) && QLockFile(lock).getLockInfo(&pid, &host, &application))
            return pid;
    }
    return 0;
}

// Bounded, the port's buffer appends each arrival to the chunk it holds;
// unbounded, Qt allocates a fresh 32 KiB chunk for each read that adds to
// waiting bytes: one per byte when they come one at a time. BytesWaiting
// counts no further anyway.
constexpr qint64 kReadBufferSize = 32768;

} // namespace

SerialLink::SerialLink(PortMap portMap, messages::Notifier &notifier, QObject *parent)
    : QObject(parent)
    , portMap_(std::move(portMap))
    , notifier_(notifier)
    , network_(waits_)
{
    waitTimer_.setObjectName(QStringLiteral("waitTimer"));
    waitTimer_.setTimerType(Qt::PreciseTimer);
    waitTimer_.setInterval(kWaitInterval);
    connect(&waitTimer_, &QTimer::timeout, this, [this] { timeoutFlag_ = kTrue; });
    connect(&serial_, &QSerialPort::errorOccurred, this, &SerialLink::onPortError);
    connect(&network_, &NetworkPort::lost, this, &SerialLink::onConnectionLost);
    serial_.setReadBufferSize(kReadBufferSize);
    applySettings(*PortSettings::parse(settings_));
}

SerialLink::~SerialLink()
{
    ClosePort();
}

void SerialLink::SetPortNumber(int port)
{
    // Takes effect at the next OpenPort; an open port keeps its device.
    portNumber_ = port;
}

bool SerialLink::SetPortSettings(const QString &settings)
{
    const auto parsed = PortSettings::parse(settings);
    if (!parsed)
        return false;
    settings_ = settings;
    return applySettings(*parsed);
}

bool SerialLink::applySettings(const PortSettings &settings)
{
    line_ = settings;
    // A server with port control is told at once; a raw one's line is set at the server.
    network_.setLine(settings);
    // QSerialPort keeps these for the next open and applies them at once to an open port.
    bool ok = serial_.setBaudRate(settings.baud);
    ok = serial_.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) && ok;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (settings.parity) {
    case 'E': parity = QSerialPort::EvenParity; break;
    case 'O': parity = QSerialPort::OddParity; break;
    case 'M': parity = QSerialPort::MarkParity; break;
    case 'S': parity = QSerialPort::SpaceParity; break;
    default: break;
    }
    ok = serial_.setParity(parity) && ok;
    ok = serial_.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) && ok;
    ok = serial_.setFlowControl(QSerialPort::NoFlowControl) && ok;
    return ok;
}

bool SerialLink::IsPortOpen() const
{
    return port_->isOpen();
}

bool SerialLink::OpenPort()
{
    if (ending())
        return false;
    if (port_->isOpen())
        return true;
    const QString name = devicePath();
    if (NetworkAddress::looksLikeOne(name)) {
        port_ = &network_;
        const std::optional<NetworkAddress> address = NetworkAddress::parse(name);
        if (!address) {
            portFailure_ = QStringLiteral("not a device name: give tcp://HOST:PORT or rfc2217://HOST:PORT");
            return false;
        }
        if (!network_.connectTo(*address, line_)) {
            portFailure_ = network_.errorString();
            return false;
        }
        portFailure_.clear();
        return !ending() && network_.isOpen();
    }
    port_ = &serial_;
    // By the device's own name: a link to it and the device share one lock.
    const QFileInfo device(name);
    serial_.setPortName(device.exists() ? device.canonicalFilePath() : device.filePath());
    if (!serial_.open(QIODevice::ReadWrite)) {
        portFailure_ = openFailure();
        return false;
    }
    portFailure_.clear();
    return serial_.isOpen();
}

QString SerialLink::openFailure() const
{
    const QString said = serial_.errorString();
    if (said.contains(QStringLiteral("locking"))) {
        const qint64 owner = lockOwner(QFileInfo(devicePath()).canonicalFilePath());
        return owner > 0 ? QStringLiteral("is in use by process %1").arg(owner)
                         : QStringLiteral("is in use by another program");
    }
    if (serial_.error() == QSerialPort::PermissionError)
        return said + QStringLiteral("; is the user in the dialout group?");
    if (said.contains(QStringLiteral("Inappropriate ioctl")))
        return QStringLiteral("not a serial device");
    return said;
}

void SerialLink::ClosePort()
{
    if (port_->isOpen())
        port_->close();
}

bool SerialLink::WriteByte(int byte)
{
    if (!port_->isOpen())
        return false;
    const char c = static_cast<char>(byte & 0xFF);
    if (port_->write(&c, 1) != 1) {
        portFailure_ = port_->errorString();
        return false;
    }
    // The order and spacing of bytes on the line are part of the protocol.
    if (port_ == &serial_)
        serial_.flush();
    else
        network_.flush();
    return port_->isOpen();
}

int SerialLink::BytesWaiting() const
{
    if (!port_->isOpen())
        return 0;
    const qint64 waiting = port_->bytesAvailable();
    return static_cast<int>(std::min<qint64>(waiting, std::numeric_limits<qint16>::max()));
}

void SerialLink::FlushInput()
{
    if (!port_->isOpen())
        return;
    if (port_ == &serial_)
        serial_.clear(QSerialPort::Input);
    else
        network_.clearInput();
    // A full buffer stops reading from the port until the next read; clear()
    // alone would leave the link deaf.
    port_->readAll();
}

QByteArray SerialLink::ReadBytes()
{
    if (!port_->isOpen())
        return {};
    return port_->readAll();
}

QString SerialLink::ReadText()
{
    return QString::fromLatin1(ReadBytes());
}

void SerialLink::StartWaitTimer()
{
    if (!ending())
        waitTimer_.start();
}

void SerialLink::StopWaitTimer()
{
    waitTimer_.stop();
}

bool SerialLink::SendCode(int code)
{
    bool ok = IsPortOpen() || OpenPort();
    ok = ok && WriteByte(code);
    if (!ok && !ending())
        failWith(messages::kSerialPort);
    return ok;
}

void SerialLink::failWith(const messages::Message &message, const QString &reason)
{
    notifier_.warn(message);
    logFailure(reason.isEmpty() ? portFailure_ : reason);
    ClosePort();
}

void SerialLink::logFailure(const QString &reason)
{
    if (reason.isEmpty() || notifier_.silenced())
        return;
    qCWarning(linkLog).noquote()
        << QStringLiteral("%1 (port %2, %3 baud): %4").arg(devicePath()).arg(portNumber_).arg(line_.baud).arg(reason);
}

void SerialLink::Delay(std::chrono::milliseconds time)
{
    timeoutFlag_ = kFalse;
    waitTimer_.setInterval(time);
    StartWaitTimer();
    waits_.until([this] { return timeoutFlag_ == kTrue; });
    StopWaitTimer();
    waitTimer_.setInterval(kWaitInterval);
}

bool SerialLink::WaitForBytes(int count)
{
    StartWaitTimer();
    timeoutFlag_ = kFalse;
    bool arrived = false;
    waits_.until([&] {
        // The tick wins over bytes that came in the same pass.
        if (timeoutFlag_ == kTrue)
            return true;
        arrived = BytesWaiting() >= count;
        return arrived;
    });
    timeoutFlag_ = kFalse;
    StopWaitTimer();
    return arrived;
}

void SerialLink::endWaits()
{
    waits_.end();
    StopWaitTimer();
}

void SerialLink::onPortError(QSerialPort::SerialPortError error)
{
    // A lost adapter keeps reporting errors many thousand times a second until closed.
    if (error != QSerialPort::NoError && serial_.isOpen()) {
        // A hung-up terminal refuses its ioctls with "Inappropriate ioctl for device".
        const bool hungUp = error == QSerialPort::ResourceError
            || serial_.errorString().contains(QStringLiteral("Inappropriate ioctl"));
        portFailure_ = hungUp ? QStringLiteral("the line hung up") : serial_.errorString();
        serial_.close();
    }
}

void SerialLink::onConnectionLost(const QString &reason)
{
    // Closed already; the next request connects again.
    portFailure_ = reason;
}

} // namespace orvanta::link
