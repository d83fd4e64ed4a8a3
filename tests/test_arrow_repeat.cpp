// The six shift arrows on the wire: a held arrow repeats its code until the
// release, wherever the pointer is and whichever button it was.
#include "messages/messages.h"
#include "panel/arrow_repeat.h"
#include "panel/ui/arrow_key.h"
#include "support/panel_rig.h"
#include "support/shown_messages.h"

#include <QAction>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace orvanta;
using test::PanelRig;

namespace {

constexpr int kHoldMs = 300;
// Written right after the release; unknown to the instrument and not the
// rig's own marker, so whatever arrives after it came too late.
constexpr char kReleased = char(0xFF);

QPoint centreOf(const PanelRig &rig, const QString &control)
{
    const QWidget *widget = rig.window().findChild<QWidget *>(control);
    return widget->mapTo(&rig.window(), widget->rect().center());
}

// Queued as the window system would queue it, behind whatever is waiting.
void postMouse(const PanelRig &rig, QEvent::Type type, const QString &image, Qt::MouseButton button)
{
    const QPointF at = centreOf(rig, image);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QCoreApplication::postEvent(
        rig.handle(), new QMouseEvent(type, at, rig.handle()->mapToGlobal(at), button, held, Qt::NoModifier));
}

// Presses the image and releases it kHoldMs later at releaseAt, `during`
// running halfway. A repeat that never ends is cut short after 10 s by
// ending the link. Returns RepeatFlag as the repeat left it if it ended
// before the release, nothing if it lasted until then.
std::optional<bool> hold(PanelRig &rig, const QString &image, Qt::MouseButton button, QPoint releaseAt,
    const std::function<void()> &during = {})
{
    QObject timers;
    bool released = false;
    QTimer::singleShot(10'000, &timers, [&] { rig.serial->endWaits(); });
    if (during)
        QTimer::singleShot(kHoldMs / 2, &timers, during);
    QTimer::singleShot(kHoldMs, &timers, [&] {
        QTest::mouseRelease(rig.handle(), button, {}, releaseAt);
        rig.serial->WriteByte(kReleased);
        released = true;
    });
    QTest::mousePress(rig.handle(), button, {}, centreOf(rig, image));
    std::optional<bool> flag;
    if (!released)
        flag = rig.panel->arrowRepeat().repeatFlag();
    (void)QTest::qWaitFor([&] { return released; });
    return flag;
}

} // namespace

class TestArrowRepeat : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void heldArrowRepeatsUntilRelease_data();
    void heldArrowRepeatsUntilRelease();
    void releaseAlreadyQueuedWritesNothing();
    void repeatEndsBeforeTheRelease_data();
    void repeatEndsBeforeTheRelease();

private:
    // Fresh for each test: a test that ends the program ends its link.
    std::unique_ptr<PanelRig> rig_;
};

void TestArrowRepeat::init()
{
    rig_ = std::make_unique<PanelRig>();
    QVERIFY(rig_->ready());
    QVERIFY(rig_->serial->OpenPort());
}

void TestArrowRepeat::heldArrowRepeatsUntilRelease_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("releasedOn");
    QTest::addColumn<QString>("next");     // released and this one pressed within one pass, halfway
    QTest::addColumn<QByteArray>("codes"); // in the order they repeat

    const auto row = [](const char *image, Qt::MouseButton button, const char *releasedOn, const char *next,
                         const char *codes, const char *how = "") {
        QTest::addRow("%s%s", image, how) << image << button << releasedOn << next << QByteArray(codes);
    };
    // Each arrow once, the buttons and the places of release spread among them.
    row("imgRight", Qt::LeftButton, "imgRight", "", "\1");
    row("imgLeft", Qt::MiddleButton, "cmdFreeze", "", "\2", ", middle button, released outside");
    row("imgDown", Qt::RightButton, "imgDown", "", "\3", ", right button");
    row("imgUp", Qt::LeftButton, "cmdFreeze", "", "\4", ", released outside");
    row("imgPhright", Qt::LeftButton, "imgPhright", "", "\5");
    row("imgPhleft", Qt::RightButton, "cmdFreeze", "", "\6", ", right button, released outside");
    // The new arrow's code follows at once and stops with its own release.
    row("imgUp", Qt::LeftButton, "imgDown", "imgDown", "\4\3", ", then imgDown");
}

void TestArrowRepeat::heldArrowRepeatsUntilRelease()
{
    QFETCH(QString, image);
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, releasedOn);
    QFETCH(QString, next);
    QFETCH(QByteArray, codes);
    PanelRig &rig = *rig_;
    const qsizetype before = rig.receivedCount();

    const std::optional<bool> endedEarly = hold(rig, image, button, centreOf(rig, releasedOn), [&] {
        if (!next.isEmpty()) {
            postMouse(rig, QEvent::MouseButtonRelease, image, button);
            postMouse(rig, QEvent::MouseButtonPress, next, button);
        }
    });
    QCOMPARE(endedEarly, std::nullopt);
    QVERIFY(!rig.serial->ending());
    const QByteArray got = rig.receivedSince(before);
    QVERIFY2(got.size() >= 3 && got.endsWith(kReleased), got.toHex().constData());
    QByteArray runs;
    for (const char c : got.chopped(1))
        if (!runs.endsWith(c))
            runs += c;
    QCOMPARE(runs, codes);
    QVERIFY(!rig.panel->arrowRepeat().repeatFlag());
    QCOMPARE(rig.notifier.messages, {});
}

// Press and release both wait before the press is handled: the repeat's
// first pass finds the release and writes nothing.
void TestArrowRepeat::releaseAlreadyQueuedWritesNothing()
{
    PanelRig &rig = *rig_;
    QSignalSpy up(rig.window().image("imgRight"), &panel::ArrowKey::mouseUp);
    const qsizetype before = rig.receivedCount();
    QObject timers;
    QTimer::singleShot(10'000, &timers, [&] { rig.serial->endWaits(); });
    postMouse(rig, QEvent::MouseButtonPress, "imgRight", Qt::RightButton);
    postMouse(rig, QEvent::MouseButtonRelease, "imgRight", Qt::RightButton);
    QTRY_COMPARE(up.count(), 1);
    QCOMPARE(rig.receivedSince(before), QByteArray());
    QVERIFY(!rig.panel->arrowRepeat().repeatFlag());
}

void TestArrowRepeat::repeatEndsBeforeTheRelease_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("port closed by an earlier error") << "closed";
    QTest::newRow("instrument gone while held") << "gone";
    QTest::newRow("exit while held") << "exit";
}

// A failing write: one message, the port closed and the loop over before
// the release, RepeatFlag still saying held until the release comes.
// "&Exit": the loop unwinds without a message.
void TestArrowRepeat::repeatEndsBeforeTheRelease()
{
    QFETCH(QString, cause);
    PanelRig &rig = *rig_;
    const bool exit = cause == "exit";
    if (cause == "closed")
        rig.serial->ClosePort();
    const std::optional<bool> flag = hold(rig, "imgLeft", Qt::LeftButton, centreOf(rig, "imgLeft"), [&] {
        if (cause == "gone")
            rig.sim.kill();
        if (exit)
            rig.window().menuItem("mnuExit")->trigger();
    });
    QVERIFY(flag.has_value());
    QCOMPARE(rig.serial->ending(), exit);
    QCOMPARE(rig.ended, int(exit));
    QVERIFY(!rig.serial->IsPortOpen());
    QCOMPARE(rig.notifier.messages.size(), exit ? 0 : 1);
    if (!exit) {
        QCOMPARE(rig.notifier.messages[0], test::shown::kSerialPort);
        QVERIFY(*flag && !rig.panel->arrowRepeat().repeatFlag());
    }
}

QTEST_MAIN(TestArrowRepeat)
#include "test_arrow_repeat.moc"
