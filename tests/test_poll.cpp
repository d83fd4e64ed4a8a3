// The status request and the once-a-second poll, against the simulator on a pty.
#include "link/messages.h"
#include "link/serial_link.h"
#include "panel/front_panel.h"
#include "panel/lamp.h"
#include "panel/main_window.h"
#include "panel/menu_item.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

#include <QAction>
#include <QDir>
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

namespace {

// The instrument's state at start: safe area off, four mag lines, trace on,
// EDH, internal reference, SDI 1 the only input lit, no gamut lamp.
const QByteArray kSimStatusHex = "03210000800C20050000000000001E30";
const QByteArray kSimStatus = QByteArray::fromHex(kSimStatusHex);

QStringList simOptions(QStringList more = {})
{
    return QStringList{"--status", QString::fromLatin1(kSimStatusHex)} + more;
}

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

// The front panel on its own, every port number on the given devices.
struct Console
{
    explicit Console(const QString &device, const QString &port2 = {})
    {
        for (int port = 1; port <= 4; ++port)
            map.setDevice(port, device);
        if (!port2.isEmpty())
            map.setDevice(2, port2);
        serial = std::make_unique<link::SerialLink>(map, notifier);
        // No orva.set here: port 4 at 38400.
        panel = std::make_unique<panel::FrontPanel>(*serial, notifier,
                                                    std::vector<panel::FrontPanel::FormSpec>{},
                                                    panel::FrontPanel::EndProgram{}, dir.filePath("orva.set"));
    }
    ~Console() { panel->Shutdown(); }

    panel::MainWindow &window() const { return panel->window(); }
    bool checked(const char *item) const { return panel::itemChecked(window().menuItem(item)); }

    // Everything the poll writes: marks, captions, enabled states, lamp colours.
    QStringList shown() const
    {
        QStringList state;
        for (QAction *item : window().leafItems())
            state << QString("%1 %2 %3 %4").arg(item->objectName(), item->text())
                         .arg(panel::itemChecked(item)).arg(item->isEnabled());
        for (const char *button : {"cmdRef", "cmdGenEdh"})
            state << window().button(button)->text();
        for (const char *lamp :
             {"led_sdi1", "led_sdi2", "led_cvs1", "led_cvs2", "led_cmpt", "led_pos", "led_neg"})
            state << window().lamp(lamp)->fillColour().name();
        return state;
    }

    QTemporaryDir dir;
    HookNotifier notifier;
    link::PortMap map;
    std::unique_ptr<link::SerialLink> serial;
    std::unique_ptr<panel::FrontPanel> panel;
};

QList<qint64> stampsOf(const QList<SimProcess::Received> &received, quint8 byte)
{
    QList<qint64> stamps;
    for (const SimProcess::Received &r : received)
        if (r.byte == byte)
            stamps << r.nanoseconds;
    return stamps;
}

constexpr qint64 kMs = 1'000'000;

} // namespace

class TestPoll : public QObject
{
    Q_OBJECT

private slots:
    void statusRequest_data();
    void statusRequest();
    void requestsOnceASecond();
    void commandShowsAfterTheNextPoll();
    void silentAfterAGoodBlock();
    void silentFromTheStart();
    void noTickInsideAnotherWait();
    void realtimeEndsBeforeTheRequest_data();
    void realtimeEndsBeforeTheRequest();
};

void TestPoll::statusRequest_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<bool>("device");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<RecordingNotifier::Message>>("messages");
    QTest::addColumn<int>("atLeastMs");

    QTest::newRow("20-byte reply stored whole") << QStringList{"--short", "20"} << true << 20
                                                << QList<RecordingNotifier::Message>{} << 0;
    // The second request flushes the first one's 15 bytes, or it would see 30.
    QTest::newRow("15-byte reply times out")
        << QStringList{"--short", "15"} << true << 0
        << QList{message(link::messages::kStatusTimeout), message(link::messages::kStatusTimeout)} << 1900;
    QTest::newRow("no such device")
        << QStringList{} << false << 0
        << QList{message(link::messages::kStatusLinkFailure), message(link::messages::kStatusLinkFailure)}
        << 0;
}

void TestPoll::statusRequest()
{
    QFETCH(QStringList, faults);
    QFETCH(bool, device);
    QFETCH(int, size);
    QFETCH(QList<RecordingNotifier::Message>, messages);
    QFETCH(int, atLeastMs);

    SimProcess sim(simOptions(faults));
    QVERIFY(sim.started());
    RecordingNotifier notifier;
    link::PortMap map;
    map.setDevice(1, device ? sim.devicePath() : QDir::temp().filePath("no-such-tty-here"));
    link::SerialLink serial(map, notifier);

    for (int request = 0; request < 2; ++request) {
        QElapsedTimer clock;
        clock.start();
        serial.ReadStatus();
        QVERIFY2(clock.elapsed() >= atLeastMs, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(serial.statusBlock().size(), size);
        if (size > 0)
            QCOMPARE(serial.statusBlock().bytes().left(16), kSimStatus);
        QVERIFY(!serial.waitTimer().isActive());
    }
    QCOMPARE(notifier.messages, messages);
    QCOMPARE(serial.IsPortOpen(), device);
    if (device)
        QCOMPARE(sim.receivedBytes(), QByteArray("\r\r"));
}

void TestPoll::requestsOnceASecond()
{
    SimProcess sim(simOptions());
    QVERIFY(sim.started());
    Console console(sim.devicePath());
    const qint64 start = SimProcess::monotonicNanoseconds();
    QVERIFY(console.panel->Form_Load());
    QVERIFY(!console.serial->IsPortOpen());

    QTest::qWait(4600);
    const QByteArray bytes = sim.receivedBytes();
    QCOMPARE(bytes, QByteArray(bytes.size(), '\r'));
    const QList<qint64> requests = stampsOf(sim.received(), 13);
    QVERIFY2(requests.size() >= 3 && requests.size() <= 5, qPrintable(QString::number(requests.size())));
    const qint64 first = (requests.first() - start) / kMs;
    QVERIFY2(first >= 900 && first <= 2500, qPrintable(QString::number(first)));
    const qint64 meanGap = (requests.last() - requests.first()) / (requests.size() - 1) / kMs;
    QVERIFY2(meanGap >= 800 && meanGap <= 1600, qPrintable(QString::number(meanGap)));

    QVERIFY(console.notifier.messages.isEmpty());
    QCOMPARE(console.serial->statusBlock().bytes(), kSimStatus);
    QVERIFY(console.checked("mnuMaglines4"));
    QVERIFY(console.checked("mnuSafeoff"));
    QVERIFY(console.checked("mnuTrace"));
    QCOMPARE(console.window().button("cmdGenEdh")->text(), QString("EDH"));
    QCOMPARE(console.window().button("cmdRef")->text(), QString("Int"));
    QCOMPARE(console.window().lamp("led_sdi1")->fillColour(), QColor(0, 255, 0));
    for (const char *dark : {"led_sdi2", "led_cvs1", "led_cvs2", "led_cmpt", "led_pos", "led_neg"})
        QCOMPARE(console.window().lamp(dark)->fillColour(), QColor(128, 128, 128));
}

void TestPoll::commandShowsAfterTheNextPoll()
{
    SimProcess sim(simOptions());
    QVERIFY(sim.started());
    Console console(sim.devicePath());
    QVERIFY(console.panel->Form_Load());
    QTRY_VERIFY_WITH_TIMEOUT(console.checked("mnuMaglines4"), 5000);

    console.serial->SendCode(56); // "16 Lines"
    const qint64 sent = SimProcess::monotonicNanoseconds();
    QVERIFY(!console.checked("mnuMaglines16"));
    QElapsedTimer clock;
    clock.start();
    while (!console.checked("mnuMaglines16") && clock.elapsed() < 5000)
        QTest::qWait(5);
    QVERIFY(console.checked("mnuMaglines16"));
    QVERIFY(!console.checked("mnuMaglines4"));
    // The mark came with a status request made after the code.
    const QList<qint64> requests = stampsOf(sim.received(), 13);
    QVERIFY(!requests.isEmpty() && requests.last() > sent);
    QVERIFY(console.notifier.messages.isEmpty());
}

void TestPoll::silentAfterAGoodBlock()
{
    SimProcess good(simOptions());
    SimProcess silent({"--silent"});
    QVERIFY(good.started() && silent.started());
    Console console(good.devicePath(), silent.devicePath());
    QVERIFY(console.panel->Form_Load());
    QTRY_VERIFY_WITH_TIMEOUT(!console.serial->statusBlock().empty(), 5000);
    QTest::qWait(50);
    const QStringList shown = console.shown();

    // The instrument goes quiet: the next open finds the silent one.
    console.serial->SetPortNumber(2);
    console.serial->ClosePort();
    // A mark and a lamp changed here must be put back from the last good block.
    panel::setItemChecked(console.window().menuItem("mnuMaglines32"), true);
    console.window().lamp("led_sdi1")->setFillColour(Qt::blue);

    QList<int> requestsAtMessage;
    console.notifier.onMessage = [&] { requestsAtMessage << int(stampsOf(silent.received(), 13).size()); };
    QTRY_VERIFY_WITH_TIMEOUT(console.notifier.messages.size() >= 2, 12000);
    console.notifier.onMessage = nullptr;

    // One request, one message: no tick started inside another's wait.
    QCOMPARE(requestsAtMessage.mid(0, 2), (QList<int>{1, 2}));
    for (const RecordingNotifier::Message &m : console.notifier.messages)
        QCOMPARE(m, message(link::messages::kStatusTimeout));
    QCOMPARE(console.serial->statusBlock().bytes(), kSimStatus);
    QCOMPARE(console.shown(), shown);
    QVERIFY(console.window().pollTimer()->isActive());
}

void TestPoll::silentFromTheStart()
{
    SimProcess sim({"--silent"});
    QVERIFY(sim.started());
    Console console(sim.devicePath());
    // Each box stays up a while, as the user would leave it, with ticks falling due.
    console.notifier.onMessage = [] {
        QEventLoop box;
        QTimer::singleShot(1500, &box, &QEventLoop::quit);
        box.exec();
    };
    QVERIFY(console.panel->Form_Load());
    const QStringList shown = console.shown();

    QTRY_COMPARE_WITH_TIMEOUT(console.notifier.messages.size(), 3, 15000);
    QCOMPARE(console.notifier.messages,
             (QList{message(link::messages::kStatusTimeout), message(link::messages::kMenuUpdateFailure),
                    message(link::messages::kPanelUpdateFailure)}));
    QVERIFY(!console.serial->IsPortOpen());
    QVERIFY(!console.window().pollTimer()->isActive());
    QVERIFY(!console.serial->waitTimer().isActive());

    QTest::qWait(2500);
    QCOMPARE(console.notifier.messages.size(), 3);
    QCOMPARE(sim.receivedBytes(), QByteArray("\r"));
    QVERIFY(console.serial->statusBlock().empty());
    QCOMPARE(console.shown(), shown);
}

void TestPoll::noTickInsideAnotherWait()
{
    SimProcess sim(simOptions());
    QVERIFY(sim.started());
    Console console(sim.devicePath());
    QVERIFY(console.panel->Form_Load());
    QTRY_VERIFY_WITH_TIMEOUT(!console.serial->statusBlock().empty(), 5000);
    const qsizetype before = sim.received().size();

    // A request inside the delay would stop the one wait timer under it, and
    // the delay would never end; ending the program is the way out then.
    QTimer::singleShot(8000, console.panel.get(), [&] { console.panel->Shutdown(); });
    QElapsedTimer clock;
    clock.start();
    console.serial->Delay(2500);
    QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(sim.received().size(), before);

    // The poll goes on afterwards.
    QVERIFY(sim.waitForReceived(int(before + 1), 3000));
    QVERIFY(console.notifier.messages.isEmpty());
}

void TestPoll::realtimeEndsBeforeTheRequest_data()
{
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("port open") << true << QByteArray("\x10\r");
    // Not opened for the end code alone: the request opens it.
    QTest::newRow("port closed") << false << QByteArray("\r");
}

void TestPoll::realtimeEndsBeforeTheRequest()
{
    QFETCH(bool, portOpen);
    QFETCH(QByteArray, bytes);

    SimProcess sim(simOptions());
    QVERIFY(sim.started());
    Console console(sim.devicePath());
    QVERIFY(console.panel->Form_Load());
    if (portOpen)
        QTRY_VERIFY_WITH_TIMEOUT(!console.serial->statusBlock().empty(), 5000);
    QCOMPARE(console.serial->IsPortOpen(), portOpen);
    const qsizetype before = sim.received().size();

    console.serial->setRealtimeActive(true);
    QVERIFY(sim.waitForReceived(int(before + bytes.size()), 5000));
    QTest::qWait(50);
    const QList<SimProcess::Received> received = sim.received().mid(before);
    QByteArray got;
    for (const SimProcess::Received &r : received)
        got += char(r.byte);
    QCOMPARE(got.left(bytes.size()), bytes);
    QVERIFY(!console.serial->realtimeActive());
    if (portOpen) {
        // Stamped on arrival at the simulator, which a busy machine may make
        // a little late for the first byte: the bound leaves room for that.
        const qint64 gap = (received[1].nanoseconds - received[0].nanoseconds) / kMs;
        QVERIFY2(gap >= 80, qPrintable(QString::number(gap)));
    }
}

QTEST_MAIN(TestPoll)
#include "test_poll.moc"
