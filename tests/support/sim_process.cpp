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

QByteArray SimProcess::untilMarker(qsizetype from) const
{
    QByteArray bytes;
    const bool arrived = QTest::qWaitFor(
        [&] {
            bytes = receivedBytes().mid(from);
            return bytes.endsWith(kMarker);
        },
        10'000);
    // Markers written earlier are no codes of the program's either.
    return arrived ? bytes.chopped(1).replace(kMarker, "") : QByteArrayLiteral("<marker lost>");
}

QString SimProcess::numbers(const QByteArray &bytes)
{
    QStringList numbers;
    for (const char byte : bytes)
        numbers << QString::number(quint8(byte));
    return numbers.join(u' ');
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
