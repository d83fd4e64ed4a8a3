#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QSerialPort>

#include <initializer_list>
#include <utility>

namespace orvanta::test {

// The simulator's status block at power-on: PAL waveform, digital set.
inline const QByteArray kSimStatus = QByteArray::fromHex("0321000080 0C20050000000000001E30");

// That block with whole bytes replaced: {index, value}.
inline QByteArray simStatus(std::initializer_list<std::pair<int, int>> changes)
{
    QByteArray block = kSimStatus;
    for (const auto &[index, value] : changes)
        block[index] = char(value);
    return block;
}

inline QByteArray codes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(value));
    return bytes;
}

// The program's end of the simulator's pty, driven byte by byte.
struct PtyClient
{
    explicit PtyClient(const QString &path)
    {
        port.setPortName(path);
        port.setBaudRate(9600);
        port.open(QIODevice::ReadWrite);
    }

    void send(const QByteArray &bytes)
    {
        port.write(bytes);
        port.flush();
    }

    // Up to count bytes, waiting no longer than timeoutMs for them nor past a hang-up.
    QByteArray read(int count, int timeoutMs = 3000)
    {
        QByteArray data;
        const QDeadlineTimer deadline(timeoutMs);
        while (data.size() < count && !deadline.hasExpired() && !hungUp()) {
            if (port.bytesAvailable() == 0 && !port.waitForReadyRead(20) && port.error() == QSerialPort::TimeoutError)
                port.clearError();
            data += port.read(count - data.size());
        }
        return data;
    }

    QByteArray pictureBlock(int timeoutMs = 3000)
    {
        send(codes({10}));
        return read(128, timeoutMs);
    }

    // Any error but a wait's time-out: the line is gone.
    bool hungUp() const { return port.error() != QSerialPort::NoError && port.error() != QSerialPort::TimeoutError; }

    QSerialPort port;
};

} // namespace orvanta::test
