#pragma once

#include "link/poll_switch.h"
#include "picture/ui/picture_window.h"
#include "print/pdf_printer_target.h"
#include "support/link_rig.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace orvanta::test {

// Waveform, range H, PAL (byte 7 bit 0).
inline constexpr const char *kPalWaveform = "03210000800c20050000000000001e30";
inline const QString kDataGraticules = QStringLiteral(ORVANTA_DATA_DIR "/graticules");

// The picture window on the simulator, the port open as the poll leaves it; it
// prints to a PDF file unless told otherwise. With no status, no instrument
// is behind it.
struct PictureRig : LinkRig, link::PollSwitch
{
    explicit PictureRig(const QString &status, QStringList options = {}, const QString &graticules = kDataGraticules,
        print::PrinterTarget *printTo = nullptr)
        : LinkRig(status.isEmpty() ? options : options << "--status" << status, !status.isEmpty())
    {
        if (!status.isEmpty())
            serial->OpenPort();
        window = new picture::PictureWindow(*serial, notifier, *this, printTo ? *printTo : printer, {}, graticules);
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

    print::PdfPrinterTarget printer{dir.filePath(QStringLiteral("frame.pdf"))};
    QList<link::PollEvent> pollEvents;
    QPointer<picture::PictureWindow> window;
};

} // namespace orvanta::test
