// The status request and the once-a-second poll, against the simulator on a pty.
#include "link/messages.h"
#include "link/serial_link.h"
#include "panel/lamp.h"
#include "panel/main_window.h"
#include "panel/menu_item.h"
#include "panel/panel_controller.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

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

RecordingNotifier::Message message(const link::Message &m)
{
    return {m.text.toString(), m.title.toString()};
}

// Records like the others, then runs a hook: a snapshot, or a nested loop
// standing in for a modal box.
class HookNotifier : public RecordingNotifier
{
public:
    std::function<void()> onMessage;

protected:
    void showWarning(const QString &text, const QString &title) override
    {
        RecordingNotifier::showWarning(text, title);
        if (onMessage)
            onMessage();
    }
};

QList<qint64> requestStamps(const SimProcess &sim)
{
    QList<qint64> stamps;
    for (const SimProcess::Received &r : sim.received())
        if (r.byte == 13)
            stamps << r.nanoseconds;
    return stamps;
}

} // namespace

class TestPoll : public QObject
{
    Q_OBJECT

private slots:
    void statusRequest_data();
    void statusRequest();
    void pollThroughItsLife();
};

void TestPoll::statusRequest_data()
{
    QTest::addColumn<QString>("replySize"); // none: no such device
    QTest::addColumn<int>("stored");
    QTest::addColumn<Messages>("messages");
    QTest::addColumn<int>("atLeastMs");

    QTest::newRow("20-byte reply stored whole") << "20" << 20 << Messages{} << 0;
    // The second request flushes the first one's 15 bytes, or it would see 30.
    QTest::newRow("15-byte reply times out")
        << "15" << 0 << Messages(2, message(link::messages::kStatusTimeout)) << 1900;
    QTest::newRow("no such device") << "" << 0 << Messages(2, message(link::messages::kStatusLinkFailure)) << 0;
}

// Two requests in a row, each after a flush of what came before.
void TestPoll::statusRequest()
{
    QFETCH(QString, replySize);
    QFETCH(int, stored);
    QFETCH(Messages, messages);
    QFETCH(int, atLeastMs);

    SimProcess sim({"--status", kSimStatusHex, "--short", replySize.isEmpty() ? "16" : replySize});
    QVERIFY(sim.started());
    RecordingNotifier notifier;
    link::PortMap map;
    map.setDevice(1, replySize.isEmpty() ? "/nonexistent/tty" : sim.devicePath());
    link::SerialLink serial(map, notifier);
    for (int request = 0; request < 2; ++request) {
        QElapsedTimer clock;
        clock.start();
        serial.ReadStatus();
        QVERIFY2(clock.elapsed() >= atLeastMs, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(serial.statusBlock().size(), stored);
        QCOMPARE(serial.statusBlock().bytes().left(16), stored ? kSimStatus : QByteArray());
        QVERIFY(!serial.waitTimer().isActive());
    }
    QCOMPARE(notifier.messages, messages);
    QCOMPARE(serial.IsPortOpen(), !replySize.isEmpty());
    QCOMPARE(sim.receivedBytes(), replySize.isEmpty() ? QByteArray() : QByteArray("\r\r"));
}

// One console through the poll's life, so that no step waits for a start-up
// of its own. No orva.set: start-up takes port 4, a silent instrument; port 1
// is a working one.
void TestPoll::pollThroughItsLife()
{
    SimProcess sim({"--status", kSimStatusHex});
    SimProcess silent({"--silent"});
    QVERIFY(sim.started() && silent.started());
    QTemporaryDir dir;
    HookNotifier notifier;
    link::PortMap map;
    for (int port = 1; port <= 4; ++port)
        map.setDevice(port, port == 1 ? sim.devicePath() : silent.devicePath());
    link::SerialLink serial(map, notifier);
    panel::PanelController panel(serial, notifier, {}, {}, dir.filePath("orva.set"));
    panel::MainWindow &window = panel.window();
    const auto checked = [&](const char *item) { return panel::itemChecked(window.menuItem(item)); };
    // Everything the poll writes: marks, captions, enabled states, lamp colours.
    const auto shown = [&] {
        QStringList state;
        for (const QAction *item : window.leafItems())
            state << item->objectName() + item->text() + char('0' + panel::itemChecked(item) + 2 * item->isEnabled());
        for (const QPushButton *button : window.findChildren<QPushButton *>())
            state << button->text();
        for (const panel::Lamp *lamp : window.findChildren<panel::Lamp *>())
            state << lamp->fillColour().name();
        return state;
    };
    const qint64 started = SimProcess::monotonicNanoseconds();
    QVERIFY(panel.Form_Load());
    const QStringList shownAtStart = shown();

    // Silent from the start: the first tick's three messages in order, each
    // box up longer than a poll interval as a user would leave it; then the
    // poll stops and no request follows.
    notifier.onMessage = [] {
        QEventLoop box;
        QTimer::singleShot(1200, &box, &QEventLoop::quit);
        box.exec();
    };
    QTRY_COMPARE_WITH_TIMEOUT(notifier.messages.size(), 3, 15000);
    QCOMPARE(notifier.messages,
        (Messages{message(link::messages::kStatusTimeout), message(link::messages::kMenuUpdateFailure),
            message(link::messages::kPanelUpdateFailure)}));
    QVERIFY(!serial.IsPortOpen());
    QVERIFY(!window.pollTimer()->isActive());
    QVERIFY(!serial.waitTimer().isActive());
    QTest::qWait(1200);
    QCOMPARE(notifier.messages.size(), 3);
    QCOMPARE(silent.receivedBytes(), QByteArray("\r"));
    // Not before the first tick: a byte reaches the instrument only after it is written.
    const qint64 first = (requestStamps(silent)[0] - started) / kMs;
    QVERIFY2(first >= 900, qPrintable(QString::number(first)));
    QVERIFY(serial.statusBlock().empty());
    QCOMPARE(shown(), shownAtStart);

    // The working instrument, the poll started again as the logger's close
    // starts it: the block on the window; a command's mark shows with the
    // next request, about a second later, and not before.
    notifier.onMessage = nullptr;
    notifier.clear();
    serial.SetPortNumber(1);
    const qint64 restarted = SimProcess::monotonicNanoseconds();
    panel.pollEvent(link::PollEvent::LoggerClosed);
    QTRY_VERIFY_WITH_TIMEOUT(!serial.statusBlock().empty(), 5000);
    QCOMPARE(serial.statusBlock().bytes(), kSimStatus);
    QVERIFY(checked("mnuMaglines4") && checked("mnuSafeoff"));
    QCOMPARE(window.button("cmdGenEdh")->text(), QString("EDH"));
    QCOMPARE(window.lamp("led_sdi1")->fillColour(), QColor(0, 255, 0));
    serial.SendCode(56); // "16 Lines"
    QVERIFY(!checked("mnuMaglines16"));
    QTRY_VERIFY_WITH_TIMEOUT(checked("mnuMaglines16"), 5000);
    QVERIFY(!checked("mnuMaglines4"));
    // The mark came with the request after the code, the restarted poll's
    // second tick: two intervals after the restart at the earliest.
    QVERIFY(sim.receivedBytes().startsWith("\r8\r"));
    const qint64 second = (requestStamps(sim)[1] - restarted) / kMs;
    QVERIFY2(second >= 1800, qPrintable(QString::number(second)));

    // Real-time output ends before the request: 16, at least 100 ms, 13.
    qsizetype before = sim.received().size();
    const qint64 realtimeSet = SimProcess::monotonicNanoseconds();
    serial.setRealtimeActive(true);
    QVERIFY(sim.waitForReceived(int(before) + 2, 5000));
    const QList<SimProcess::Received> got = sim.received().mid(before);
    QCOMPARE(int(got[0].byte), 16);
    QCOMPARE(int(got[1].byte), 13);
    // The 16 is written after this point, the 13 a pause after the 16.
    QVERIFY2((got[1].nanoseconds - realtimeSet) / kMs >= 95, "no pause between 16 and 13");

    // No tick inside another wait: a request there would stop the one wait
    // timer under it and the delay would never end; ending the program is
    // the way out then. The next tick finds the port closed: it skips the
    // 16 rather than open the port for it, and the request opens it.
    serial.ClosePort();
    serial.setRealtimeActive(true);
    before = sim.received().size();
    {
        QObject guard;
        QTimer::singleShot(8000, &guard, [&] { panel.Shutdown(); });
        serial.Delay(1500);
    }
    QVERIFY(!serial.ending());
    QCOMPARE(sim.received().size(), before);
    QVERIFY(sim.waitForReceived(int(before) + 1, 3000));
    QCOMPARE(int(sim.received()[before].byte), 13);
    QVERIFY(!serial.realtimeActive());
    QVERIFY(notifier.messages.isEmpty());

    // Silent after a good block: each tick gives one message after one
    // request and puts back the last good block, also over a mark and a lamp
    // changed here.
    const QByteArray block = serial.statusBlock().bytes();
    const QStringList shownBefore = shown();
    serial.SetPortNumber(4);
    serial.ClosePort();
    panel::setItemChecked(window.menuItem("mnuMaglines32"), true);
    window.lamp("led_sdi1")->setFillColour(Qt::blue);
    QList<int> requestsAtMessage;
    notifier.onMessage = [&] { requestsAtMessage << int(requestStamps(silent).size()); };
    QTRY_VERIFY_WITH_TIMEOUT(notifier.messages.size() >= 2, 12000);
    notifier.onMessage = nullptr;
    QCOMPARE(requestsAtMessage.mid(0, 2), (QList<int>{2, 3}));
    QCOMPARE(notifier.messages.mid(0, 2), Messages(2, message(link::messages::kStatusTimeout)));
    QCOMPARE(serial.statusBlock().bytes(), block);
    QCOMPARE(shown(), shownBefore);
    QVERIFY(window.pollTimer()->isActive());
}

QTEST_MAIN(TestPoll)
#include "test_poll.moc"
