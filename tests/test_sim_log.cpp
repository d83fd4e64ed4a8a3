// The simulator's error log as the logger relies on it: the stored-log readout
// (8, then 7 for each record), internal logging (88, 89) and real-time error
// lines (14 ... 16), over a real pseudo-terminal.
#include "logger/log_texts.h"
#include "support/pty_client.h"
#include "support/sim_process.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace orvanta;
using namespace orvanta::test;

namespace {

// One record as the instrument sends it: 32 characters and CR LF.
const QRegularExpression kRecord(R"(^ \S.{30}\r\n$)");
const QByteArray kEnd = QByteArray("END").leftJustified(32, ' ') + "\r\n";

// What each request of a readout brought, up to the first left unanswered.
QList<QByteArray> readout(PtyClient &client, int requests, int replySize = 34)
{
    QList<QByteArray> replies;
    client.send(codes({8}));
    for (int i = 0; i < requests; ++i) {
        client.send(codes({7}));
        QByteArray reply = client.read(replySize, 1000);
        if (reply.isEmpty())
            break;
        replies << reply;
    }
    return replies;
}

// Where each word of a line begins.
QList<qsizetype> wordStarts(const QString &line)
{
    QList<qsizetype> starts;
    for (qsizetype i = 0; i < line.size(); ++i)
        if (line[i] != ' ' && (i == 0 || line[i - 1] == ' '))
            starts << i;
    return starts;
}

} // namespace

class TestSimLog : public QObject
{
    Q_OBJECT

private slots:
    void storedLog_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QList<int>>("sizes"); // of each reply
        QTest::addColumn<QByteArray>("last");  // the last reply; empty: a record

        QTest::newRow("eight records, then END") << QStringList{} << QList<int>(8, 34) + QList{34} << kEnd;
        QTest::newRow("END at once") << QStringList{"--log-records", "0"} << QList{34} << kEnd;
        QTest::newRow("no END") << QStringList{"--log-records", "3", "--log-no-end"} << QList<int>(3, 34)
                                << QByteArray();
        QTest::newRow("lower-case end") << QStringList{"--log-records", "1", "--log-end", "end"} << QList{34, 34}
                                        << QByteArray("end").leftJustified(32, ' ') + "\r\n";
        QTest::newRow("two records at once")
            << QStringList{"--log-records", "3", "--log-pairs"} << QList{68, 68} << QByteArray();
        QTest::newRow("a record of 33") << QStringList{"--log-records", "3", "--log-short-at", "2"}
                                        << QList{34, 33, 34, 34} << kEnd;
        QTest::newRow("in pieces") << QStringList{"--log-records", "2", "--log-pieces"} << QList{34, 34, 34} << kEnd;
    }

    void storedLog()
    {
        QFETCH(QStringList, options);
        QFETCH(QList<int>, sizes);
        QFETCH(QByteArray, last);
        SimProcess sim(options);
        QVERIFY(sim.started());
        PtyClient client(sim.devicePath());

        // No readout without its start: a request alone goes unanswered.
        client.send(codes({7}));
        QCOMPARE(client.read(1, 300), QByteArray());

        const int replySize = options.contains("--log-pairs") ? 68 : 34;
        const QList<QByteArray> replies = readout(client, 20, replySize);
        QList<int> got;
        for (const QByteArray &reply : replies)
            got << int(reply.size());
        QCOMPARE(got, sizes);
        if (!last.isEmpty())
            QCOMPARE(replies.last(), last);
        // Every record stands under the heading: each field starts where its column's name does.
        const QList<qsizetype> columns = wordStarts(logger::texts::kHeading.toString());
        for (const QByteArray &reply : replies) {
            for (qsizetype at = 0; at + 34 <= reply.size(); at += 34) {
                const QString record = QString::fromLatin1(reply.mid(at, 34));
                if (record.startsWith("END") || record.startsWith("end"))
                    continue;
                QVERIFY2(kRecord.match(record).hasMatch(), qPrintable(record));
                QCOMPARE(wordStarts(record.trimmed().prepend(' ')), columns);
            }
        }
        // A new readout starts again at the first record.
        QCOMPARE(readout(client, 1, replySize).value(0), replies.first());
    }

    void errorsAsTheyHappen()
    {
        SimProcess sim({"--log-records", "0", "--error-interval", "100"});
        QVERIFY(sim.started());
        PtyClient client(sim.devicePath());

        // Real-time lines, stamped with the time of day, until 16.
        client.send(codes({14}));
        const QByteArray line = client.read(34, 3000);
        QVERIFY2(kRecord.match(QString::fromLatin1(line)).hasMatch(), line.constData());
        const QTime stamp(line.mid(9, 2).toInt(), line.mid(16, 2).toInt(), line.mid(22, 2).toInt());
        const int apart = qAbs(stamp.secsTo(QTime::currentTime()));
        QVERIFY(stamp.isValid() && (apart < 60 || apart > 86'340));
        client.send(codes({16}));
        QTest::qWait(300);
        client.read(1 << 16, 100);
        QCOMPARE(client.read(1, 500), QByteArray());

        // Internal logging stores the errors that happen while it runs; none are sent.
        client.send(codes({88}));
        QTest::qWait(600);
        client.send(codes({89}));
        QCOMPARE(client.read(1, 300), QByteArray());
        const QList<QByteArray> stored = readout(client, 200);
        QVERIFY(stored.size() >= 2);
        QCOMPARE(stored.last(), kEnd);
    }
};

QTEST_GUILESS_MAIN(TestSimLog)
#include "test_sim_log.moc"
