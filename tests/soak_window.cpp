// The windows' part of scripts/soak.sh: the whole program on DEVICE for
// SECONDS, left running as an operator would leave it, in rounds of the status
// poll, continuous download and real-time monitoring. Every other round leaves
// its windows by the close box instead of "Exit". Says what it was told.
#include "support/program_rig.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMap>
#include <QPointer>
#include <QPushButton>

#include <cstdio>
#include <functional>

using namespace orvanta;
using namespace std::chrono_literals;

namespace {

// Each step comes from the program's own event loop, as a click does, so a
// window its close box ends is gone before the next step.
class Operator
{
public:
    Operator(test::ProgramRig &rig, QDeadlineTimer deadline)
        : rig_(rig)
        , deadline_(deadline)
    {
        stopper_.setSingleShot(true);
        after(3s, [this] { download(); });
    }

    int rounds() const { return rounds_; }

private:
    void after(std::chrono::milliseconds time, std::function<void()> step)
    {
        if (deadline_.hasExpired())
            QCoreApplication::quit();
        else
            QTimer::singleShot(time, &stopper_, std::move(step));
    }

    // Opens a window from the menu, runs its loop for 6 s and leaves it. A hand
    // takes a moment from the menu to the button: the poll's last request is over by then.
    void visit(const char *item, const char *name, const char *start, const char *stop, std::function<void()> next)
    {
        rig_.item(item)->trigger();
        QPointer<QWidget> window = rig_.other(name);
        after(300ms, [=, this] {
            repeat(window, start, stop, QDeadlineTimer(6s), [=, this] {
                leave(window);
                after(2s, next);
            });
        });
    }

    void download()
    {
        visit("mnuUpload", "frmUpload", "cmdContinuous", "cmdAbort", [this] { monitor(); });
    }
    void monitor()
    {
        visit("mnu_Logger", "frmLogger", "cmdStartreal", "cmdStopreal", [this] {
            ++rounds_;
            download();
        });
    }

    // Presses start and, from inside the loop that runs, stop when the time is
    // up; again half a second after a failure ended it early.
    void repeat(
        QPointer<QWidget> window, const char *start, const char *stop, QDeadlineTimer end, std::function<void()> then)
    {
        end = std::min(end, deadline_);
        if (!window || end.hasExpired())
            return after(0ms, then);
        QObject::disconnect(&stopper_, &QTimer::timeout, nullptr, nullptr);
        QObject::connect(&stopper_, &QTimer::timeout, window->findChild<QPushButton *>(stop), &QPushButton::click);
        stopper_.start(int(end.remainingTime()));
        window->findChild<QPushButton *>(start)->click();
        stopper_.stop();
        after(500ms, [=, this] { repeat(window, start, stop, end, then); });
    }

    void leave(QWidget *window) const
    {
        if (window && rounds_ % 2 == 1)
            window->close();
        else if (window)
            window->findChild<QPushButton *>("cmdExit")->click();
    }

    test::ProgramRig &rig_;
    QDeadlineTimer deadline_;
    QTimer stopper_;
    int rounds_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = app.arguments().value(2).toInt();
    if (argc != 3 || seconds <= 0) {
        std::fputs("usage: soak_window DEVICE SECONDS\n", stderr);
        return 2;
    }
    test::ProgramRig rig(std::nullopt, app.arguments()[1]);
    // orva.set: no baud choice (38 400), port number 2.
    QFile settings(rig.folder.filePath("orva.set"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write(QByteArray::fromHex("000002000200")) != 6
        || !settings.flush()) {
        std::fputs("soak_window: can't write orva.set\n", stderr);
        return 1;
    }
    // Counted, not kept: a long run must not grow by what it was told.
    QMap<QString, int> told;
    rig.notifier.onMessage = [&] {
        for (const auto &[text, title] : std::as_const(rig.notifier.messages))
            ++told[text.simplified()];
        rig.notifier.clear();
    };
    rig.start();
    Operator user(rig, QDeadlineTimer(std::chrono::seconds(seconds)));
    app.exec();
    std::printf("soak_window: %d rounds\n", user.rounds());
    for (auto said = told.cbegin(); said != told.cend(); ++said)
        std::printf("soak_window: told %d times: %s\n", said.value(), qPrintable(said.key()));
    return 0;
}
