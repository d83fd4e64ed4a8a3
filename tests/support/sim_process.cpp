#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

#include <time.h>

namespace orvanta::test {

SimProcess::SimProcess(const QStringList &options)
{
    recordPath_ = dir_.filePath(QStringLiteral("received.txt"));
    devicePath_ = process_.start(
        QStringList{QStringLiteral("--record"), recordPath_} + options, QStringLiteral(ORVANTA_SIM_PATH));
}

SimProcess::~SimProcess() = default;

void SimProcess::kill()
{
    process_.kill();
}

QList<SimProcess::Received> SimProcess::received() const
{
    QList<Received> list;
    QFile file(recordPath_);
    if (!file.open(QIODevice::ReadOnly))
        return list;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(' ');
        if (fields.size() != 2)
            continue;
        list.append({fields[0].toLongLong(), static_cast<quint8>(fields[1].toUInt())});
    }
    return list;
}

QByteArray SimProcess::receivedBytes() const
{
    QByteArray bytes;
    for (const Received &r : received())
        bytes.append(static_cast<char>(r.byte));
    return bytes;
}

bool SimProcess::waitForReceived(int count, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (received().size() < count) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

qint64 SimProcess::monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace orvanta::test
