// The status request and the once-a-second poll, against the simulator on a pty.
#include "panel/ui/lamp.h"
#include "panel/ui/menu_item.h"
#include "support/panel_rig.h"
#include "support/shown_messages.h"

#include <QAction>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace orvanta;
using test::RecordingNotifier;
using test::SimProcess;
using Messages = QList<RecordingNotifier::Message>;

namespace {

// The instrument's state at start: safe area off, four mag lines, trace on,
// EDH, internal reference, SDI 1 the only input lit, no gamut lamp.
const QString kSimStatusHex = "03210000800C20050000000000001E30";
const QByteArray kSimStatus = QByteArray::fromHex(kSimStatusHex.toLatin1());
constexpr qint64 kMs = 1'000'000;

QList<qint64> requestStamps(const SimProcess &sim)
{
    QList<qint64> stamps;
    for (const SimProcess::Received &r : sim.received())
        if (r.byte == 13)
            stamps << r.nanoseconds;
    return stamps;
}

struct SilentInstrument
{
    SimProcess silent{QStringList{"--silent"}};
};

// A console with port 1 on a working instrument and ports 2 to 4 on a
// silent one; no orva.set, so start-up takes port 4.
struct PollRig : SilentInstrument, test::PanelRig
{
    PollRig()
        : PanelRig({"--status", kSimStatusHex}, silent.devicePath())
    { }

    bool checked(const char *item) const { return panel::itemChecked(window().menuItem(item)); }

    // The poll on the working instrument, started as the logger's close
    // starts it, until its first block is on the window.
    bool pollWorking()
    {
        serial->SetPortNumber(1);
        panel->pollEvent(link::PollEvent::LoggerClosed);
        return QTest::qWaitFor([&] { return !serial->statusBlock().empty(); }, 5000);
    }

    // Everything the poll writes: marks, captions, enabled states, lamp colours.
    QStringList shown() const
    {
        QStringList state;
        for (const QAction *item : window().leafItems())
            state << item->objectName() + item->text() + char('0' + panel::itemChecked(item) + 2 * item->isEnabled());
        for (const QPushButton *button : window().findChildren<QPushButton *>())
            state << button->text();
        for (const panel::Lamp *lamp : window().findChildren<panel::Lamp *>())
            state << lamp->fillColour().name();
        return state;
    }
};

} // namespace

class TestPoll : public QObject
{
    Q_OBJECT

private slots:
    void statusRequest_data()
    {
        QTest::addColumn<QString>("replySize"); // none: no such device
        QTest::addColumn<int>("stored");
        QTest::addColumn<Messages>("messages");
        QTest::addColumn<int>("atLeastMs");

        QTest::newRow("20-byte reply stored whole") << "20" << 20 << Messages{} << 0;
        // The second request flushes the first one's 15 bytes, or it would see 30.
        QTest::newRow("15-byte reply times out") << "15" << 0 << Messages(2, test::shown::kStatusTimeout) << 1900;
    }

    // Two requests in a row, each after a flush of what came before.
    void statusRequest()
    {
        QFETCH(QString, replySize);
        QFETCH(int, stored);
        QFETCH(Messages, messages);
        QFETCH(int, atLeastMs);

        test::LinkRig rig(
            {"--status", kSimStatusHex, "--short", replySize.isEmpty() ? "16" : replySize}, !replySize.isEmpty());
        for (int request = 0; request < 2; ++request) {
            QElapsedTimer clock;
            clock.start();
            rig.serial->ReadStatus();
            QVERIFY2(clock.elapsed() >= atLeastMs, qPrintable(QString::number(clock.elapsed())));
            QCOMPARE(rig.serial->statusBlock().size(), stored);
            QCOMPARE(rig.serial->statusBlock().bytes().left(16), stored ? kSimStatus : QByteArray());
            QVERIFY(!rig.serial->waitTimer().isActive());
        }
        QCOMPARE(rig.notifier.messages, messages);
        QCOMPARE(rig.serial->IsPortOpen(), !replySize.isEmpty());
        QCOMPARE(rig.sim.receivedBytes(), replySize.isEmpty() ? QByteArray() : QByteArray("\r\r"));
    }

    // Silent from the start: the first tick's three messages in order, each box
    // up longer than a poll interval as a user would leave it; then the poll
    // stops and no request follows.
    void silentFromTheStart()
    {
        PollRig rig;
        QVERIFY(rig.ready());
        const qint64 started = SimProcess::monotonicNanoseconds();
        QVERIFY(rig.panel->Form_Load());
        const QStringList shownAtStart = rig.shown();
        rig.notifier.onMessage = [] {
            QEventLoop box;
            QTimer::singleShot(1200, &box, &QEventLoop::quit);
            box.exec();
        };
        QTRY_COMPARE_WITH_TIMEOUT(rig.notifier.messages.size(), 3, 15000);
        QCOMPARE(rig.notifier.messages,
            (Messages{test::shown::kStatusTimeout, test::shown::kMenuUpdateFailure, test::shown::kPanelUpdateFailure}));
        QVERIFY(!rig.serial->IsPortOpen());
        QVERIFY(!rig.window().pollTimer()->isActive());
        QVERIFY(!rig.serial->waitTimer().isActive());
        QTest::qWait(1200);
        QCOMPARE(rig.notifier.messages.size(), 3);
        QCOMPARE(rig.silent.receivedBytes(), QByteArray("\r"));
        // The first request one interval after start-up, not during it.
        const qint64 first = (requestStamps(rig.silent)[0] - started) / kMs;
        QVERIFY2(first >= 900, qPrintable(QString::number(first)));
        QVERIFY(rig.serial->statusBlock().empty());
        QCOMPARE(rig.shown(), shownAtStart);
    }

    // The block on the window; a command's mark shows with the next request,
    // about a second later, and not before.
    void commandShowsWithTheNextRequest()
    {
        PollRig rig;
        QVERIFY(rig.ready());
        const qint64 restarted = SimProcess::monotonicNanoseconds();
        QVERIFY(rig.pollWorking());
        QCOMPARE(rig.serial->statusBlock().bytes(), kSimStatus);
        QVERIFY(rig.checked("mnuMaglines4") && rig.checked("mnuSafeoff"));
        QCOMPARE(rig.window().button("cmdGenEdh")->text(), QString("EDH"));
        QCOMPARE(rig.window().lamp("led_sdi1")->fillColour(), QColor(0, 255, 0));
        rig.serial->SendCode(56); // "16 Lines"
        QVERIFY(!rig.checked("mnuMaglines16"));
        QTRY_VERIFY_WITH_TIMEOUT(rig.checked("mnuMaglines16"), 5000);
        QVERIFY(!rig.checked("mnuMaglines4"));
        // The mark came with the request after the code, the restarted poll's
        // second tick: two intervals after the restart at the earliest (a byte
        // reaches the instrument only after it is written).
        QVERIFY(rig.sim.receivedBytes().startsWith("\r8\r"));
        const qint64 second = (requestStamps(rig.sim)[1] - restarted) / kMs;
        QVERIFY2(second >= 1800, qPrintable(QString::number(second)));
        QVERIFY(rig.notifier.messages.isEmpty());
    }

    // Real-time output ends before the request: 16, then 13. A tick never runs
    // inside another wait: one there would stop the one wait timer under it and
    // the delay would never end (ending the program is the way out then). The
    // next tick finds the port closed, as a failed monitoring loop leaves it: it
    // opens it for the 16.
    void realtimeOutputEndedFirst()
    {
        PollRig rig;
        QVERIFY(rig.ready());
        QVERIFY(rig.pollWorking());
        qsizetype before = rig.sim.received().size();
        const qint64 realtimeSet = SimProcess::monotonicNanoseconds();
        rig.serial->setRealtimeActive(true);
        QVERIFY(rig.sim.waitForReceived(int(before) + 2, 5000));
        QCOMPARE(rig.sim.receivedBytes().mid(before, 2), QByteArray("\x10\x0d"));
        // The 16 is written after this point, the 13 a pause after the 16.
        const qint64 pause = (rig.sim.received()[before + 1].nanoseconds - realtimeSet) / kMs;
        QVERIFY2(pause >= 95, qPrintable(QString::number(pause)));

        rig.serial->ClosePort();
        rig.serial->setRealtimeActive(true);
        before = rig.sim.received().size();
        {
            QObject guard;
            QTimer::singleShot(8000, &guard, [&] { rig.panel->Shutdown(); });
            rig.serial->Delay(std::chrono::milliseconds(1500));
        }
        QVERIFY(!rig.serial->ending());
        QCOMPARE(rig.sim.received().size(), before);
        QVERIFY(rig.sim.waitForReceived(int(before) + 2, 3000));
        QCOMPARE(rig.sim.receivedBytes().mid(before, 2), QByteArray("\x10\x0d"));
        QVERIFY(!rig.serial->realtimeActive());
        QVERIFY(rig.notifier.messages.isEmpty());
    }

    // Silent after a good block: each tick gives one message after one request
    // and puts back the last good block, also over a mark and a lamp changed here.
    void silentAfterAGoodBlock()
    {
        PollRig rig;
        QVERIFY(rig.ready());
        QVERIFY(rig.pollWorking());
        QTRY_VERIFY_WITH_TIMEOUT(rig.checked("mnuMaglines4"), 5000);
        const QByteArray block = rig.serial->statusBlock().bytes();
        const QStringList shownBefore = rig.shown();
        rig.serial->SetPortNumber(4);
        rig.serial->ClosePort();
        panel::setItemChecked(rig.window().menuItem("mnuMaglines32"), true);
        rig.window().lamp("led_sdi1")->setFillColour(Qt::blue);
        QList<int> requestsAtMessage;
        rig.notifier.onMessage = [&] { requestsAtMessage << int(requestStamps(rig.silent).size()); };
        QTRY_VERIFY_WITH_TIMEOUT(rig.notifier.messages.size() >= 2, 12000);
        rig.notifier.onMessage = nullptr;
        QCOMPARE(requestsAtMessage.mid(0, 2), (QList<int>{1, 2}));
        QCOMPARE(rig.notifier.messages.mid(0, 2), Messages(2, test::shown::kStatusTimeout));
        QCOMPARE(rig.serial->statusBlock().bytes(), block);
        QCOMPARE(rig.shown(), shownBefore);
        QVERIFY(rig.window().pollTimer()->isActive());
    }
};

QTEST_MAIN(TestPoll)
#include "test_poll.moc"
