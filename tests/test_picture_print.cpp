// "Print  Frame": the client area on one page, the picture on its grey and no buttons,
// through a PDF file and through a real CUPS queue; no printer gives the window's
// message, and the buttons come back either way.
#include "picture/ui/picture_buttons.h"
#include "print/default_printer_target.h"
#include "support/cups_queue.h"
#include "support/pdf_facts.h"
#include "support/picture_rig.h"

#include <QPushButton>
#include <QTest>

using namespace orvanta;
using picture::Canvas;
namespace palette = picture::palette;

namespace {

constexpr QSize kClient{625, 536};
constexpr QRect kCanvasOnWindow{10, 10, 516, 508}; // inside the picture area's border
constexpr QRect kRedSquare{100, 100, 100, 100};    // on the canvas
const test::RecordingNotifier::Message kPrinterFault{
    "Can't send Picture to Printer, Check it's on / Needs more paper?", " Printer Fault"};

bool near(QRgb pixel, QRgb colour)
{
    return std::abs(qRed(pixel) - qRed(colour)) + std::abs(qGreen(pixel) - qGreen(colour))
        + std::abs(qBlue(pixel) - qBlue(colour))
        < 36;
}

// Empty when the page shows the window as it should, else what is wrong.
QString pageFault(const QImage &page)
{
    // The window is where its grey is; kept in proportion, filling most of the width.
    const QRgb grey = qRgb(128, 128, 128);
    QRect window;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (near(page.pixel(x, y), grey))
                window |= QRect(x, y, 1, 1);
    const double aspect = double(window.width()) / window.height() * kClient.height() / kClient.width();
    if (window.width() < page.width() / 2 || aspect < 0.97 || aspect > 1.03)
        return QStringLiteral("the window is printed %1 x %2").arg(window.width()).arg(window.height());
    const auto at = [&](double x, double y) {
        return page.pixel(window.topLeft()
            + QPointF(x * window.width() / kClient.width(), y * window.height() / kClient.height()).toPoint());
    };
    for (const picture::PictureButton &button : picture::kPictureButtons)
        if (!near(at(picture::kButtonLeft + picture::kButtonWidth / 2.0, button.top + button.height / 2.0), grey))
            return QString::fromLatin1(button.name) + QStringLiteral(" is printed");
    const auto onCanvas = [&](QPoint p) {
        return at(kCanvasOnWindow.left() + (p.x() + 0.5) * kCanvasOnWindow.width() / Canvas::kSize,
            kCanvasOnWindow.top() + (p.y() + 0.5) * kCanvasOnWindow.height() / Canvas::kSize);
    };
    if (!near(onCanvas(kRedSquare.center()), palette::rgb(palette::kLightRed)) || !near(onCanvas({400, 400}), ~0u))
        return QStringLiteral("the picture is not there");
    return {};
}

} // namespace

class TestPicturePrint : public QObject
{
    Q_OBJECT

private slots:
    // First of all: the process's CUPS client keeps the first server it reaches.
    void initTestCase() { queue_ = std::make_unique<test::CupsQueue>(); }
    void cleanupTestCase() { queue_.reset(); }

    void prints_data()
    {
        QTest::addColumn<QString>("file"); // a PDF file's name, or "cups" for the default destination
        QTest::addColumn<bool>("noPrinter");
        QTest::newRow("to a PDF file") << "frame.pdf" << false;
        QTest::newRow("no default printer") << "frame.pdf" << true;
        QTest::newRow("a printer that cannot start the job") << "no such folder/frame.pdf" << false;
        QTest::newRow("through CUPS") << "cups" << false;
        QTest::newRow("CUPS queue removed") << "cups" << true;
    }

    void prints()
    {
        QFETCH(QString, file);
        QFETCH(bool, noPrinter);
        QTemporaryDir dir;
        print::PdfPrinterTarget pdf(dir.filePath(file));
        print::DefaultPrinterTarget cups;
        const bool viaCups = file == "cups";
        if (viaCups) {
            if (!queue_->skipReason().isEmpty())
                QSKIP(qPrintable(queue_->skipReason()));
            QVERIFY2(queue_->error().isEmpty(), qPrintable(queue_->error()));
            QVERIFY2(!noPrinter || queue_->removeQueue(), qPrintable(queue_->diagnostics()));
        }
        pdf.setNoPrinter(noPrinter);
        test::OfflinePictureWindow rig(viaCups ? static_cast<print::PrinterTarget &>(cups) : pdf);
        // A white picture with a red square.
        Canvas &canvas = rig.window.canvas();
        canvas.fillRows(0, Canvas::kSize - 1, palette::kWhite);
        for (int row = kRedSquare.top(); row <= kRedSquare.bottom(); ++row)
            canvas.fillRow(row, kRedSquare.left(), kRedSquare.right() + 1, palette::kLightRed);
        rig.window.show();
        const QImage picture = canvas.image();
        const bool fails = noPrinter || file.contains('/');
        if (file.contains('/'))
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        rig.window.button("cmdPrint")->click();

        // The message once if nothing was printed; the buttons back and the picture as it was either way.
        QCOMPARE(rig.notifier.messages, fails ? QList{kPrinterFault} : QList<test::RecordingNotifier::Message>());
        for (const picture::PictureButton &button : picture::kPictureButtons)
            QVERIFY2(rig.window.button(button.name)->isVisible(), qPrintable(QString::fromLatin1(button.name)));
        QVERIFY(canvas.image() == picture);
        if (fails)
            return;
        const QString printed = viaCups ? queue_->waitForPdf() : pdf.path();
        QVERIFY2(!printed.isEmpty(), qPrintable(queue_->diagnostics()));
        QCOMPARE(test::pdfPageCount(printed), 1);
        QCOMPARE(pageFault(test::pdfPageImage(printed, 1, 72)), QString());
    }

private:
    std::unique_ptr<test::CupsQueue> queue_;
};

QTEST_MAIN(TestPicturePrint)
#include "test_picture_print.moc"
