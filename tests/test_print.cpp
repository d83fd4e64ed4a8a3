// The printer seam: PDF pages as drawn, both kinds of "no printer", and one
// page through a real CUPS queue on the default destination.
#include "print/default_printer_target.h"
#include "print/pdf_printer_target.h"
#include "support/cups_queue.h"
#include "support/pdf_facts.h"

#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace orvanta::print;
using orvanta::test::CupsQueue;

namespace {

// One of the four quarters of the printable area, by page number, so each page is told apart.
QRect quarter(const QRect &area, int page)
{
    const QSize half = area.size() / 2;
    const QPoint corner(page % 2 ? half.width() : 0, (page / 2) % 2 ? half.height() : 0);
    return QRect(area.topLeft() + corner, half);
}

// Where a point of the printer's painting lands on the page rendered at dotsPerInch.
QPoint onRenderedPage(const QPrinter &printer, QPointF devicePoint, int dotsPerInch)
{
    const double scale = double(dotsPerInch) / printer.resolution();
    return printer.pageLayout().paintRectPixels(dotsPerInch).topLeft() + (devicePoint * scale).toPoint();
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 64;
}

bool isWhite(QRgb pixel)
{
    return qGray(pixel) > 192;
}

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pdfPagesShowWhatWasDrawn_data();
    void pdfPagesShowWhatWasDrawn();
    void noPrinter_data();
    void noPrinter();
    void defaultPrinterPrintsThroughCups();
    void noDefaultDestinationIsNoPrinter();

private:
    std::unique_ptr<CupsQueue> queue_;
    QTemporaryDir dir_;
};

void TestPrint::initTestCase()
{
    // First of all: the process's CUPS client keeps the first server it reaches.
    queue_ = std::make_unique<CupsQueue>();
    QVERIFY(dir_.isValid());
}

void TestPrint::cleanupTestCase()
{
    queue_.reset();
}

void TestPrint::pdfPagesShowWhatWasDrawn_data()
{
    QTest::addColumn<int>("pages");
    QTest::newRow("one page") << 1;
    QTest::newRow("a page in each quarter") << 4;
}

// A filled square in one quarter of each page: the page count, the page size and where the square lands.
void TestPrint::pdfPagesShowWhatWasDrawn()
{
    QFETCH(int, pages);
    PdfPrinterTarget target(dir_.filePath(QStringLiteral("pages.pdf")));
    std::unique_ptr<QPrinter> printer = target.open();
    QVERIFY(printer);
    const QRect area(0, 0, printer->width(), printer->height());
    QPainter painter;
    QVERIFY(painter.begin(printer.get()));
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            QVERIFY(printer->newPage());
        const QRect square = quarter(area, page);
        painter.fillRect(
            square.adjusted(square.width() / 4, square.height() / 4, -square.width() / 4, -square.height() / 4),
            Qt::black);
    }
    QVERIFY(painter.end());

    QCOMPARE(orvanta::test::pdfPageCount(target.path()), pages);
    constexpr int kDotsPerInch = 50;
    for (int page = 0; page < pages; ++page) {
        const QImage image = orvanta::test::pdfPageImage(target.path(), page + 1, kDotsPerInch);
        QVERIFY(!image.isNull());
        const QSize a4 = printer->pageLayout().fullRectPixels(kDotsPerInch).size();
        QVERIFY2(qAbs(image.width() - a4.width()) <= 1 && qAbs(image.height() - a4.height()) <= 1,
            qPrintable(QStringLiteral("page %1 is %2 x %3").arg(page + 1).arg(image.width()).arg(image.height())));
        for (int other = 0; other < 4; ++other) {
            const QPoint middle = onRenderedPage(*printer, quarter(area, other).center(), kDotsPerInch);
            const QRgb pixel = image.pixel(middle);
            QVERIFY2(other == page ? isDark(pixel) : isWhite(pixel),
                qPrintable(QStringLiteral("page %1, quarter %2: grey %3").arg(page + 1).arg(other).arg(qGray(pixel))));
        }
    }
}

void TestPrint::noPrinter_data()
{
    QTest::addColumn<bool>("toldNoPrinter");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("no default printer") << true << QStringLiteral("none.pdf");
    QTest::newRow("printer that can't start the job") << false << QStringLiteral("missing folder/none.pdf");
}

// Callers treat both the same: nothing to paint on, and nothing printed.
void TestPrint::noPrinter()
{
    QFETCH(bool, toldNoPrinter);
    QFETCH(QString, fileName);
    PdfPrinterTarget target(dir_.filePath(fileName));
    target.setNoPrinter(toldNoPrinter);
    std::unique_ptr<QPrinter> printer = target.open();
    QCOMPARE(printer == nullptr, toldNoPrinter);
    if (printer) {
        QPainter painter;
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QVERIFY(!painter.begin(printer.get()));
    }
    QVERIFY(!QFile::exists(target.path()));
}

void TestPrint::defaultPrinterPrintsThroughCups()
{
    if (!queue_->skipReason().isEmpty())
        QSKIP(qPrintable(queue_->skipReason()));
    QVERIFY2(queue_->error().isEmpty(), qPrintable(queue_->error()));
    QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), CupsQueue::name());

    DefaultPrinterTarget target;
    std::unique_ptr<QPrinter> printer = target.open();
    QVERIFY(printer);
    // Pages are laid out in tests on the PDF target: the printer must get the same resolution.
    QCOMPARE(printer->resolution(), PdfPrinterTarget(dir_.filePath(QStringLiteral("same.pdf"))).open()->resolution());
    printer->setDocName(QStringLiteral("orvanta print check"));

    const QString line = QStringLiteral("Orvanta print check 6.1: 0123456789");
    QPainter painter;
    QVERIFY(painter.begin(printer.get()));
    painter.setFont(QFont(QStringLiteral("Arial"), 14));
    painter.drawText(QRect(0, 0, printer->width(), printer->height() / 4), Qt::AlignCenter, line);
    QVERIFY(painter.end());

    const QString pdf = queue_->waitForPdf();
    QVERIFY2(!pdf.isEmpty(), qPrintable(queue_->diagnostics()));
    QCOMPARE(orvanta::test::pdfPageCount(pdf), 1);
    const QString text = orvanta::test::pdfText(pdf);
    QVERIFY2(text.contains(line), qPrintable(QStringLiteral("%1 reads: %2").arg(pdf, text)));
}

void TestPrint::noDefaultDestinationIsNoPrinter()
{
    if (!queue_->skipReason().isEmpty())
        QSKIP(qPrintable(queue_->skipReason()));
    QVERIFY2(queue_->error().isEmpty(), qPrintable(queue_->error()));
    QVERIFY2(queue_->removeQueue(), qPrintable(queue_->diagnostics()));
    QVERIFY(QPrinterInfo::defaultPrinter().isNull());
    QVERIFY(!DefaultPrinterTarget().open());
}

QTEST_MAIN(TestPrint)
#include "test_print.moc"
