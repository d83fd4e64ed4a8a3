#pragma once

#include "link/poll_switch.h"
#include "logger/ui/logger_window.h"
#include "print/pdf_printer_target.h"
#include "support/link_rig.h"

#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>

namespace orvanta::test {

// The logger window on the simulator over its pty, printing to a PDF file
// unless told otherwise; the status poll replaced by a record of what the
// window told it.
struct LoggerRig : LinkRig, link::PollSwitch
{
    explicit LoggerRig(const QStringList &options = {}, bool instrument = true, print::PrinterTarget *printTo = nullptr)
        : LinkRig(options, instrument)
    {
        window = new logger::LoggerWindow(*serial, *this, printTo ? *printTo : printer);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QObject::connect(&watch, &QTimer::timeout, [this] {
            if (holds && holds()) {
                watch.stop();
                std::exchange(then, nullptr)();
            }
        });
    }
    ~LoggerRig() override { delete window.data(); }

    void pollEvent(link::PollEvent event) override { pollEvents.append(event); }
    void click(std::string_view name) const { window->button(name)->click(); }
    QString logText() const { return window->logText(); }
    QString shown() const { return window->log().shownText(); }

    // Runs action once condition holds, from inside whatever loop runs by then.
    void when(std::function<bool()> condition, std::function<void()> action)
    {
        holds = std::move(condition);
        then = std::move(action);
        watch.start(5);
    }

    print::PdfPrinterTarget printer{dir.filePath("log.pdf")};
    QList<link::PollEvent> pollEvents;
    QPointer<logger::LoggerWindow> window;
    QTimer watch;
    std::function<bool()> holds;
    std::function<void()> then;
};

// The log's fixed lines, written out as the user sees them.
inline const QString kHeadingLines = QStringLiteral(" Type    Hour   Min   Sec   Source\r\n"
                                                    "-----------------------------------------------\r\n");
inline const QString kEndLine = QStringLiteral(" End of Internally Logged Errors");
inline const QString kTimeoutLine = QStringLiteral("Com Port Timeout\r\n");
inline const QString kFinishedLine = QStringLiteral("  Finished Realtime Logging\r\n");

// LogText as its parts: H heading and ruler, R a record, e one starting
// "end", E the end line, T the time-out line, F monitoring's closing line.
inline QString logShape(QString text)
{
    static const QRegularExpression record(R"(^( \S.{30}|end.{29})\r\n)");
    QString shape;
    while (!text.isEmpty()) {
        const auto take = [&](const QString &part, char letter) {
            const bool found = text.startsWith(part);
            if (found) {
                text.remove(0, part.size());
                shape += letter;
            }
            return found;
        };
        if (!take(kHeadingLines, 'H') && !take(kEndLine, 'E') && !take(kTimeoutLine, 'T') && !take(kFinishedLine, 'F')
            && !(record.match(text).hasMatch() && take(text.left(34), text[0] == 'e' ? 'e' : 'R')))
            return shape + '?' + text;
    }
    return shape;
}

// A text with CR LF line ends as the text area shows it.
inline QString asShown(QString text)
{
    return text.replace("\r\n", "\n");
}

} // namespace orvanta::test
