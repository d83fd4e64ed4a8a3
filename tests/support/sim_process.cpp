#include "support/sim_process.h"

#include <QFile>
#include <QTest>

#include <time.h>

namespace orvanta::test {

SimProcess::SimProcess(const QStringList &options)
    : devicePath_(process_.start(QStringList{"--record", recordPath_} + options, QStringLiteral(ORVANTA_SIM_PATH)))
{ }

QList<SimProcess::Received> SimProcess::received() const
{
    QList<Received> list;
    QFile file(recordPath_);
    if (!file.open(QIODevice::ReadOnly))
        return list;
    while (!file.atEnd()) {
        if (const QList<QByteArray> fields = file.readLine().trimmed().split(' '); fields.size() == 2)
            list.append({fields[0].toLongLong(), quint8(fields[1].toUInt())});
    }
    return list;
}

QByteArray SimProcess::receivedBytes() const
{
    QByteArray bytes;
    for (const Received &r : received())
        bytes.append(char(r.byte));
    return bytes;
}

bool SimProcess::waitForReceived(int count, int timeoutMs) const
{
    return QTest::qWaitFor([&] { return received().size() >= count; }, timeoutMs);
}

qint64 SimProcess::monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace orvanta::test
