#pragma once

#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "logger/log_texts.h"
#include "logger/logger_window.h"
#include "print/pdf_printer_target.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace orvanta::test {

// The logger window on the simulator over its pty, the status poll replaced by
// a record of what the window told it.
struct LoggerRig : link::PollSwitch
{
    explicit LoggerRig(const QStringList &options = {}, bool instrument = true)
        : sim(options)
    {
        map.setDevice(1, instrument ? sim.devicePath() : dir.filePath("no-such-tty"));
        serial = std::make_unique<link::SerialLink>(map, notifier);
        window = new logger::LoggerWindow(*serial, *this, printer);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        watch.setInterval(5);
        QObject::connect(&watch, &QTimer::timeout, [this] {
            if (!condition || !condition())
                return;
            watch.stop();
            condition = nullptr;
            if (const auto run = std::exchange(action, nullptr))
                run();
        });
    }
    ~LoggerRig() override { delete window.data(); }

    void pollEvent(link::PollEvent event) override { pollEvents.append(event); }
    void click(QStringView name) const { window->button(name)->click(); }
    QString logText() const { return window->logText(); }
    QString shown() const { return window->log().shownText(); }

    // Runs action once when holds, from inside whatever loop runs by then.
    void when(std::function<bool()> holds, std::function<void()> then)
    {
        condition = std::move(holds);
        action = std::move(then);
        watch.start();
    }
    bool fired() const { return !watch.isActive(); }

    // The codes the instrument got so far, as "8 7 7"; with the port open, up
    // to a marker it ignores, so none is missed.
    QString codes() const
    {
        const bool marked = serial->IsPortOpen() && serial->WriteByte(0);
        QList<SimProcess::Received> list = sim.received();
        const auto done = [&] { return marked && !list.isEmpty() && list.last().byte == 0; };
        for (QDeadlineTimer deadline(marked ? 5000 : 300); !done() && !deadline.hasExpired(); list = sim.received())
            QTest::qWait(10);
        QStringList sent;
        for (const SimProcess::Received &r : list)
            if (r.byte != 0)
                sent << QString::number(r.byte);
        return sent.join(' ');
    }

    QTemporaryDir dir;
    print::PdfPrinterTarget printer{dir.filePath("log.pdf")};
    SimProcess sim;
    link::PortMap map;
    RecordingNotifier notifier;
    std::unique_ptr<link::SerialLink> serial;
    QList<link::PollEvent> pollEvents;
    QPointer<logger::LoggerWindow> window;
    QTimer watch;
    std::function<bool()> condition;
    std::function<void()> action;
};

// LogText read back as its parts: H the heading and ruler, R a record, e a
// record starting "end", E the end line, T the time-out line, F the closing
// line of monitoring; ? and the rest for anything else.
inline QString logShape(QString text)
{
    using namespace logger::texts;
    static const QRegularExpression record(R"(^ \S.{30}\r\n)");
    QString shape;
    while (!text.isEmpty()) {
        const auto take = [&](QStringView part, QChar letter) {
            if (!text.startsWith(part))
                return false;
            text.remove(0, part.size());
            shape += letter;
            return true;
        };
        if (take(headingLines(), 'H') || take(kEndLine, 'E') || take(kTimeoutLine, 'T') || take(kFinishedLine, 'F'))
            continue;
        if (record.match(text).hasMatch() || text.startsWith("end")) {
            shape += text.startsWith("end") ? 'e' : 'R';
            text.remove(0, 34);
            continue;
        }
        return shape + '?' + text;
    }
    return shape;
}

// What the text area shows for a text with CR LF line ends.
inline QString asShown(QString text)
{
    return text.replace("\r\n", "\n");
}

} // namespace orvanta::test
