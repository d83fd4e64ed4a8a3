// The shift arrows' repeat without a window: a held arrow's code goes out again
// and again until the release, the next arrow's at once; a failing write is
// said once and ends it.
#include "panel/arrow_repeat.h"
#include "support/link_rig.h"
#include "support/shown_messages.h"

#include <QTest>
#include <QTimer>

using namespace orvanta;
using namespace std::chrono_literals;

namespace {

// Written right after the release, so whatever arrives after it came too late.
constexpr char kReleased = char(0xFF);

// The codes as runs: "\4\4\4\3\3" is "\4\3".
QByteArray runs(const QByteArray &codes)
{
    QByteArray runs;
    for (const char c : codes)
        if (!runs.endsWith(c))
            runs += c;
    return runs;
}

} // namespace

class TestArrowRepeat : public QObject
{
    Q_OBJECT

private slots:
    // Released halfway and the next arrow pressed: its code follows at once.
    void heldUntilReleased()
    {
        test::LinkRig rig;
        QVERIFY(rig.serial->OpenPort());
        panel::ArrowRepeat arrows(*rig.serial);
        QObject timers;
        QTimer::singleShot(150, &timers, [&] {
            arrows.release();
            arrows.press(3);
        });
        QTimer::singleShot(300, &timers, [&] {
            arrows.release();
            rig.serial->WriteByte(quint8(kReleased));
        });
        arrows.press(4);
        const QByteArray got = rig.receivedSince();
        QVERIFY2(got.size() >= 4 && got.endsWith(kReleased), got.toHex().constData());
        QCOMPARE(runs(got.chopped(1)), QByteArray("\4\3"));
        QVERIFY(!arrows.repeatFlag() && rig.notifier.messages.isEmpty());
    }

    void endsBeforeTheRelease_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::newRow("port closed by an earlier error") << "closed";
        QTest::newRow("instrument gone while held") << "gone";
        QTest::newRow("the program ends while held") << "ending";
    }

    // A failing write: one message, the port closed and the loop over before
    // the release, RepeatFlag still saying held. The program's end: no message.
    void endsBeforeTheRelease()
    {
        QFETCH(QString, cause);
        test::LinkRig rig;
        if (cause != "closed")
            QVERIFY(rig.serial->OpenPort());
        panel::ArrowRepeat arrows(*rig.serial);
        QObject timers;
        QTimer::singleShot(150, &timers, [&] {
            if (cause == "gone")
                rig.sim.kill();
            if (cause == "ending") {
                rig.serial->ClosePort();
                rig.serial->endWaits();
            }
        });
        QTimer::singleShot(10'000, &timers, [&] { arrows.release(); });
        arrows.press(2);
        QVERIFY(arrows.repeatFlag());
        QVERIFY(!rig.serial->IsPortOpen());
        QCOMPARE(rig.notifier.messages,
            cause == "ending" ? QList<test::RecordingNotifier::Message>{} : QList{test::shown::kSerialPort});
    }
};

QTEST_MAIN(TestArrowRepeat)
#include "test_arrow_repeat.moc"
