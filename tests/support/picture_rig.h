#pragma once

#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "messages/messages.h"
#include "picture/ui/picture_window.h"
#include "print/pdf_printer_target.h"
#include "support/recording_notifier.h"
#include "support/sim_process.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace orvanta::test {

// Waveform, range H, PAL (byte 7 bit 0).
inline constexpr const char *kPalWaveform = "03210000800c20050000000000001e30";
inline const QString kDataGraticules = QStringLiteral(ORVANTA_DATA_DIR "/graticules");

inline RecordingNotifier::Message said(const messages::Message &m)
{
    return {m.text.toString(), m.title.toString()};
}

// The picture window on the simulator, the port open as the poll leaves it; it
// prints to a PDF file.
struct PictureRig : link::PollSwitch
{
    explicit PictureRig(const QString &status, QStringList options = {}, const QString &graticules = kDataGraticules)
        : sim(options << "--status" << status)
    {
        map.setDevice(1, sim.devicePath());
        serial = std::make_unique<link::SerialLink>(map, notifier);
        serial->OpenPort();
        window = new picture::PictureWindow(*serial, notifier, *this, printer, {}, graticules);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    }
    ~PictureRig() override { delete window.data(); }

    void pollEvent(link::PollEvent event) override { pollEvents.append(event); }
    void click(std::string_view button) const { window->button(button)->click(); }
    void download() const { click("cmdDownload"); }
    // After a download: nothing more said, nothing running, the pointer back.
    void expectIdle(const QList<RecordingNotifier::Message> &messages) const
    {
        QCOMPARE(notifier.messages, messages);
        QVERIFY(!window->cycle().running() && !window->cycle().continuous());
        QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
    }
    // What the instrument got so far, as "13 11 10 10 12"; with the port open, up to
    // a marker it ignores.
    QString codes() const
    {
        const bool marked = serial->IsPortOpen() && serial->WriteByte(0);
        QList<SimProcess::Received> list = sim.received();
        const auto done = [&] { return marked && !list.isEmpty() && list.last().byte == 0; };
        for (QDeadlineTimer deadline(marked ? 5000 : 300); !done() && !deadline.hasExpired(); list = sim.received())
            QTest::qWait(10);
        QStringList codes;
        for (const SimProcess::Received &r : list)
            if (r.byte != 0)
                codes << QString::number(r.byte);
        return codes.join(' ');
    }

    QTemporaryDir dir;
    print::PdfPrinterTarget printer{dir.filePath(QStringLiteral("frame.pdf"))};
    SimProcess sim;
    link::PortMap map;
    RecordingNotifier notifier;
    std::unique_ptr<link::SerialLink> serial;
    QList<link::PollEvent> pollEvents;
    QPointer<picture::PictureWindow> window;
};

// The picture window with no instrument behind it, printing where it is told.
struct OfflinePictureWindow : link::PollSwitch
{
    explicit OfflinePictureWindow(print::PrinterTarget &printer)
        : serial(map, notifier)
        , window(serial, notifier, *this, printer, {}, kDataGraticules)
    { }
    void pollEvent(link::PollEvent) override { }

    RecordingNotifier notifier;
    link::PortMap map;
    link::SerialLink serial;
    picture::PictureWindow window;
};

} // namespace orvanta::test
