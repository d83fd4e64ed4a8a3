// The PDF target, on which the windows' printouts are proved: its pages as drawn.
// The default printer is tested through a real queue by the logger's printout.
#include "print/pdf_printer_target.h"
#include "support/pdf_facts.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using orvanta::print::PdfPrinterTarget;

class TestPrint : public QObject
{
    Q_OBJECT

private slots:
    // A filled square in one quarter of each page: the page count, the page size and where the square lands.
    void pdfPagesShowWhatWasDrawn()
    {
        constexpr int pages = 4;
        QTemporaryDir dir;
        PdfPrinterTarget target(dir.filePath("pages.pdf"));
        std::unique_ptr<QPrinter> printer = target.open();
        QVERIFY(printer);
        const QSize half = QSize(printer->width(), printer->height()) / 2;
        const auto quarter
            = [&](int page) { return QRect(QPoint(page % 2 * half.width(), page / 2 * half.height()), half); };
        QPainter painter;
        QVERIFY(painter.begin(printer.get()));
        for (int page = 0; page < pages; ++page) {
            QVERIFY(page == 0 || printer->newPage());
            const QMargins inset(half.width() / 4, half.height() / 4, half.width() / 4, half.height() / 4);
            painter.fillRect(quarter(page) - inset, Qt::black);
        }
        QVERIFY(painter.end());

        QCOMPARE(orvanta::test::pdfPageCount(target.path()), pages);
        constexpr int dpi = 50;
        const QPageLayout layout = printer->pageLayout();
        for (int page = 0; page < pages; ++page) {
            const QImage image = orvanta::test::pdfPageImage(target.path(), page + 1, dpi);
            const QSize a4 = QPageSize(QPageSize::A4).sizePixels(dpi);
            QVERIFY2(qAbs(image.width() - a4.width()) <= 1 && qAbs(image.height() - a4.height()) <= 1,
                qPrintable(QStringLiteral("page %1 is %2 x %3").arg(page + 1).arg(image.width()).arg(image.height())));
            for (int other = 0; other < pages; ++other) {
                const QPoint middle = layout.paintRectPixels(dpi).topLeft()
                    + (QPointF(quarter(other).center()) * dpi / printer->resolution()).toPoint();
                const int grey = qGray(image.pixel(middle));
                QVERIFY2(other == page ? grey < 64 : grey > 192,
                    qPrintable(QStringLiteral("page %1, quarter %2: grey %3").arg(page + 1).arg(other).arg(grey)));
            }
        }
    }
};

QTEST_MAIN(TestPrint)
#include "test_print.moc"
