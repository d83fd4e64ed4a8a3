// The six shift arrows on the wire: a held arrow repeats its code until the
// release, wherever the pointer is and whichever button it was.
#include "link/messages.h"
#include "panel/arrow_key.h"
#include "panel/arrow_repeat.h"
#include "support/panel_rig.h"

#include <QAction>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace orvanta;
using test::PanelRig;

namespace {

constexpr int kHoldMs = 300;
// Written right after the release; unknown to the instrument and not the
// rig's own marker, so whatever arrives after it came too late.
constexpr char kReleased = char(0xFF);

QPoint centreOf(const PanelRig &rig, const QString &image)
{
    const panel::ArrowKey *key = rig.window().image(image);
    return key->mapTo(&rig.window(), key->rect().center());
}

QPoint outsideEveryKey(const PanelRig &rig)
{
    return rig.window().button("cmdFreeze")->mapTo(&rig.window(), QPoint(5, 5));
}

// Queued as the window system would queue it, behind whatever is waiting.
void postMouse(const PanelRig &rig, QEvent::Type type, const QString &image, Qt::MouseButton button)
{
    const QPointF at = centreOf(rig, image);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    QCoreApplication::postEvent(rig.handle(), new QMouseEvent(type, at, rig.handle()->mapToGlobal(at), button, held,
                                                              Qt::NoModifier));
}

struct Held
{
    bool stuck = false;              // cut short: the repeat did not end
    bool endedBeforeRelease = false;
    bool flagWhenEnded = false;      // RepeatFlag as the repeat left it
};

// Presses the image; `during` runs halfway through the hold and the release
// comes at its end, also when the repeat has ended before. A repeat that
// never ends is cut short by ending the link.
Held hold(PanelRig &rig, const QString &image, Qt::MouseButton button, QPoint releaseAt,
          const std::function<void()> &during = {})
{
    QObject timers;
    Held held;
    bool released = false;
    QTimer::singleShot(10'000, &timers, [&] {
        held.stuck = true;
        rig.serial->endWaits();
    });
    if (during)
        QTimer::singleShot(kHoldMs / 2, &timers, during);
    QTimer::singleShot(kHoldMs, &timers, [&] {
        QTest::mouseRelease(rig.handle(), button, {}, releaseAt);
        rig.serial->WriteByte(kReleased);
        released = true;
    });
    QTest::mousePress(rig.handle(), button, {}, centreOf(rig, image));
    held.endedBeforeRelease = !released;
    held.flagWhenEnded = rig.panel->arrowRepeat().repeatFlag();
    held.stuck = !QTest::qWaitFor([&] { return released; }) || held.stuck;
    return held;
}

} // namespace

class TestArrowRepeat : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void heldArrowRepeatsUntilRelease_data();
    void heldArrowRepeatsUntilRelease();
    void pressOnAnotherArrowTakesOver();
    void releaseAlreadyQueuedWritesNothing_data();
    void releaseAlreadyQueuedWritesNothing();
    void failingWriteSaysSoOnceAndEnds_data();
    void failingWriteSaysSoOnceAndEnds();
    void exitEndsTheRepeat();

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
    QTest::addColumn<char>("code");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("releaseOutside");

    QTest::newRow("imgRight") << "imgRight" << char(1) << Qt::LeftButton << false;
    QTest::newRow("imgLeft") << "imgLeft" << char(2) << Qt::LeftButton << false;
    QTest::newRow("imgDown") << "imgDown" << char(3) << Qt::LeftButton << false;
    QTest::newRow("imgUp") << "imgUp" << char(4) << Qt::LeftButton << false;
    QTest::newRow("imgPhright") << "imgPhright" << char(5) << Qt::LeftButton << false;
    QTest::newRow("imgPhleft") << "imgPhleft" << char(6) << Qt::LeftButton << false;
    QTest::newRow("released outside") << "imgUp" << char(4) << Qt::LeftButton << true;
    QTest::newRow("right button") << "imgDown" << char(3) << Qt::RightButton << false;
    QTest::newRow("right button, released outside") << "imgPhleft" << char(6) << Qt::RightButton << true;
    QTest::newRow("middle button, released outside") << "imgLeft" << char(2) << Qt::MiddleButton << true;
}

void TestArrowRepeat::heldArrowRepeatsUntilRelease()
{
    QFETCH(QString, image);
    QFETCH(char, code);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, releaseOutside);
    PanelRig &rig = *rig_;
    const qsizetype before = rig.receivedCount();

    const Held held = hold(rig, image, button, releaseOutside ? outsideEveryKey(rig) : centreOf(rig, image));
    QVERIFY(!held.stuck);
    QVERIFY(!held.endedBeforeRelease);

    const QByteArray got = rig.receivedSince(before);
    QVERIFY2(got.size() >= 3, got.toHex().constData());
    QCOMPARE(got, QByteArray(got.size() - 1, code) + kReleased);
    QVERIFY(!rig.panel->arrowRepeat().repeatFlag());
    QCOMPARE(rig.notifier.messages, {});
}

// One arrow released and the next pressed within one pass of the repeat:
// the new arrow's code follows at once and stops with its own release.
void TestArrowRepeat::pressOnAnotherArrowTakesOver()
{
    PanelRig &rig = *rig_;
    const qsizetype before = rig.receivedCount();
    const Held held = hold(rig, "imgUp", Qt::LeftButton, centreOf(rig, "imgDown"), [&] {
        postMouse(rig, QEvent::MouseButtonRelease, "imgUp", Qt::LeftButton);
        postMouse(rig, QEvent::MouseButtonPress, "imgDown", Qt::LeftButton);
    });
    QVERIFY(!held.stuck);

    const QByteArray got = rig.receivedSince(before);
    const qsizetype down = got.indexOf(char(3));
    QVERIFY(down > 0);
    QCOMPARE(got.left(down), QByteArray(down, char(4)));
    QCOMPARE(got.mid(down), QByteArray(got.size() - down - 1, char(3)) + kReleased);
}

void TestArrowRepeat::releaseAlreadyQueuedWritesNothing_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
}

// Press and release both wait before the press is handled: the repeat's
// first pass finds the release and writes nothing.
void TestArrowRepeat::releaseAlreadyQueuedWritesNothing()
{
    QFETCH(Qt::MouseButton, button);
    PanelRig &rig = *rig_;
    QSignalSpy up(rig.window().image("imgRight"), &panel::ArrowKey::mouseUp);
    const qsizetype before = rig.receivedCount();
    QObject timers;
    QTimer::singleShot(10'000, &timers, [&] { rig.serial->endWaits(); });

    postMouse(rig, QEvent::MouseButtonPress, "imgRight", button);
    postMouse(rig, QEvent::MouseButtonRelease, "imgRight", button);
    QTRY_COMPARE(up.count(), 1);
    QCOMPARE(rig.receivedSince(before), QByteArray());
    QVERIFY(!rig.panel->arrowRepeat().repeatFlag());
}

void TestArrowRepeat::failingWriteSaysSoOnceAndEnds_data()
{
    QTest::addColumn<bool>("instrumentGoesAway");
    QTest::newRow("port closed by an earlier error") << false;
    QTest::newRow("instrument gone while held") << true;
}

// One message, the port closed and the loop over before the release; the
// flag still says held until the release comes.
void TestArrowRepeat::failingWriteSaysSoOnceAndEnds()
{
    QFETCH(bool, instrumentGoesAway);
    PanelRig &rig = *rig_;
    if (!instrumentGoesAway)
        rig.serial->ClosePort();

    const Held held = hold(rig, "imgLeft", Qt::LeftButton, centreOf(rig, "imgLeft"), [&] {
        if (instrumentGoesAway)
            rig.sim.kill();
    });
    QVERIFY(!held.stuck);
    QVERIFY(held.endedBeforeRelease);
    QVERIFY(held.flagWhenEnded);
    QCOMPARE(rig.notifier.messages, QList{test::RecordingNotifier::Message(link::messages::kSerialPort.text.toString(),
                                                                           link::messages::kSerialPort.title.toString())});
    QVERIFY(!rig.serial->IsPortOpen());
    QVERIFY(!rig.panel->arrowRepeat().repeatFlag());
}

// "&Exit" while an arrow is held: the loop unwinds without a message, though
// the release never comes.
void TestArrowRepeat::exitEndsTheRepeat()
{
    PanelRig &rig = *rig_;
    QObject timers;
    bool stuck = false;
    QTimer::singleShot(kHoldMs / 2, &timers, [&] { rig.window().menuItem("mnuExit")->trigger(); });
    QTimer::singleShot(10'000, &timers, [&] {
        stuck = true;
        QTest::mouseRelease(rig.handle(), Qt::LeftButton, {}, centreOf(rig, "imgPhright"));
    });
    QTest::mousePress(rig.handle(), Qt::LeftButton, {}, centreOf(rig, "imgPhright"));

    QVERIFY(!stuck);
    QCOMPARE(rig.ended, 1);
    QVERIFY(!rig.serial->IsPortOpen());
    QCOMPARE(rig.notifier.messages, {});
}

QTEST_MAIN(TestArrowRepeat)
#include "test_arrow_repeat.moc"
