// "Print  Frame": the window's client area on one page, the picture area on its grey and
// no buttons, through a PDF file and through a real CUPS queue; no printer gives the
// window's message and changes nothing.
#include "link/messages.h"
#include "link/poll_switch.h"
#include "link/serial_link.h"
#include "picture/picture_buttons.h"
#include "picture/picture_window.h"
#include "print/default_printer_target.h"
#include "print/pdf_printer_target.h"
#include "support/cups_queue.h"
#include "support/pdf_facts.h"
#include "support/recording_notifier.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanta;
using picture::Canvas;
using Message = test::RecordingNotifier::Message;
namespace palette = picture::palette;

namespace {

constexpr QSize kClient{625, 536};
// The canvas inside the picture area's border.
constexpr QRect kCanvasOnWindow{10, 10, 516, 508};
constexpr QRect kRedSquare{100, 100, 100, 100}; // on the canvas
constexpr int kDotsPerInch = 72;

bool near(QRgb pixel, QRgb colour, int tolerance = 24)
{
    return std::abs(qRed(pixel) - qRed(colour)) <= tolerance && std::abs(qGreen(pixel) - qGreen(colour)) <= tolerance
        && std::abs(qBlue(pixel) - qBlue(colour)) <= tolerance;
}

// What a printed page shows of the window: empty when it shows it as it should, else what is wrong.
QString pageFault(const QImage &page)
{
    if (page.isNull())
        return QStringLiteral("no page image");
    const QRgb grey = qRgb(128, 128, 128);
    // The window is where its grey background is.
    QRect window;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (near(page.pixel(x, y), grey, 12))
                window |= QRect(x, y, 1, 1);
    if (window.width() < page.width() / 2)
        return QStringLiteral("the window is %1 of %2 dots wide").arg(window.width()).arg(page.width());
    const double aspect = double(window.width()) / window.height() / (double(kClient.width()) / kClient.height());
    if (aspect < 0.97 || aspect > 1.03)
        return QStringLiteral("the window's sides are out of proportion by %1").arg(aspect);
    const auto at = [&](QPointF onWindow) {
        return page.pixel(window.topLeft()
            + QPointF(
                onWindow.x() * window.width() / kClient.width(), onWindow.y() * window.height() / kClient.height())
                  .toPoint());
    };
    // Grey all down the button column.
    for (const picture::PictureButton &button : picture::kPictureButtons) {
        const QPointF middle(picture::kButtonLeft + picture::kButtonWidth / 2.0, button.top + button.height / 2.0);
        if (!near(at(middle), grey, 12))
            return QStringLiteral("%1 is printed").arg(button.name);
    }
    // The picture: white with a red square.
    const auto onCanvas = [&](QPoint point) {
        return at(QPointF(kCanvasOnWindow.left() + (point.x() + 0.5) * kCanvasOnWindow.width() / Canvas::kSize,
            kCanvasOnWindow.top() + (point.y() + 0.5) * kCanvasOnWindow.height() / Canvas::kSize));
    };
    if (!near(onCanvas(kRedSquare.center()), palette::rgb(palette::kLightRed)))
        return QStringLiteral("no red square");
    for (const QPoint point : {QPoint(20, 20), QPoint(400, 100), QPoint(256, 480)})
        if (!near(onCanvas(point), palette::rgb(palette::kWhite)))
            return QStringLiteral("canvas %1,%2 is not white").arg(point.x()).arg(point.y());
    return {};
}

struct NoPoll : link::PollSwitch
{
    void pollEvent(link::PollEvent) override { }
};

// The picture window with a picture and no instrument, printing where it is told.
struct PrintRig
{
    explicit PrintRig(print::PrinterTarget &printer)
        : serial(map, notifier)
        , window(serial, notifier, poll, printer, {}, QStringLiteral(ORVANTA_DATA_DIR "/graticules"))
    {
        window.canvas().fillRows(0, Canvas::kSize - 1, palette::kWhite);
        for (int row = kRedSquare.top(); row <= kRedSquare.bottom(); ++row)
            window.canvas().fillRow(row, kRedSquare.left(), kRedSquare.right() + 1, palette::kLightRed);
        window.show();
    }

    // Prints, and says what is wrong with how it went: nothing said, every button back.
    QString print()
    {
        window.button(u"cmdPrint")->click();
        for (const picture::PictureButton &button : picture::kPictureButtons)
            if (!window.button(button.name)->isVisible())
                return button.name.toString() + QStringLiteral(" is still hidden");
        return notifier.messages.isEmpty() ? QString() : notifier.messages.first().first;
    }

    test::RecordingNotifier notifier;
    link::PortMap map;
    link::SerialLink serial;
    NoPoll poll;
    picture::PictureWindow window;
};

const Message kPrinterFault{
    link::messages::kPrinterFault.text.toString(), link::messages::kPrinterFault.title.toString()};

} // namespace

class TestPicturePrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // First of all: the process's CUPS client keeps the first server it reaches.
        queue_ = std::make_unique<test::CupsQueue>();
    }

    void cleanupTestCase() { queue_.reset(); }

    void toPdf()
    {
        QTemporaryDir dir;
        print::PdfPrinterTarget target(dir.filePath("frame.pdf"));
        PrintRig rig(target);
        const QImage canvas = rig.window.canvas().image();
        QCOMPARE(rig.print(), QString());
        QCOMPARE(test::pdfPageCount(target.path()), 1);
        QCOMPARE(pageFault(test::pdfPageImage(target.path(), 1, kDotsPerInch)), QString());
        QCOMPARE(rig.window.canvas().image(), canvas);
    }

    void noPrinter_data()
    {
        QTest::addColumn<bool>("toldNoPrinter");
        QTest::newRow("no default printer") << true;
        QTest::newRow("a printer that cannot start the job") << false;
    }

    void noPrinter()
    {
        QFETCH(bool, toldNoPrinter);
        QTemporaryDir dir;
        print::PdfPrinterTarget target(dir.filePath("no such folder/frame.pdf"));
        target.setNoPrinter(toldNoPrinter);
        PrintRig rig(target);
        const QImage canvas = rig.window.canvas().image();
        if (!toldNoPrinter)
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QCOMPARE(rig.print(), kPrinterFault.first);
        QCOMPARE(rig.notifier.messages, QList{kPrinterFault});
        QCOMPARE(rig.window.canvas().image(), canvas);
    }

    void throughCups()
    {
        if (!queue_->skipReason().isEmpty())
            QSKIP(qPrintable(queue_->skipReason()));
        QVERIFY2(queue_->error().isEmpty(), qPrintable(queue_->error()));
        print::DefaultPrinterTarget target;
        PrintRig rig(target);
        QCOMPARE(rig.print(), QString());
        const QString pdf = queue_->waitForPdf();
        QVERIFY2(!pdf.isEmpty(), qPrintable(queue_->diagnostics()));
        QCOMPARE(test::pdfPageCount(pdf), 1);
        QCOMPARE(pageFault(test::pdfPageImage(pdf, 1, kDotsPerInch)), QString());
    }

    // Last: it takes the queue away.
    void noDefaultQueue()
    {
        if (!queue_->skipReason().isEmpty())
            QSKIP(qPrintable(queue_->skipReason()));
        QVERIFY2(queue_->removeQueue(), qPrintable(queue_->diagnostics()));
        print::DefaultPrinterTarget target;
        PrintRig rig(target);
        QCOMPARE(rig.print(), kPrinterFault.first);
        QCOMPARE(rig.notifier.messages, QList{kPrinterFault});
    }

private:
    std::unique_ptr<test::CupsQueue> queue_;
};

QTEST_MAIN(TestPicturePrint)
#include "test_picture_print.moc"
