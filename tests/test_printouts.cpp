// The two printouts through a real CUPS queue on the default destination: the
// log over as many pages as it takes, every word inside the printable area, in
// Arial; the picture window's client area on one page, without its buttons.
// No printer gives each window's message and changes nothing.
#include "print/default_printer_target.h"
#include "support/cups_queue.h"
#include "support/logger_rig.h"
#include "support/pdf_facts.h"
#include "support/picture_rig.h"

#include <QDir>

using namespace orvanta;
using picture::Canvas;
using Message = test::RecordingNotifier::Message;
namespace palette = picture::palette;

namespace {

constexpr QSize kClient{625, 536};
constexpr QRect kCanvasOnWindow{10, 10, 516, 508}; // inside the picture area's border
constexpr QRect kRedSquare{100, 100, 100, 100};    // on the canvas
constexpr std::array kButtons{
    "cmdDownload", "cmdAbort", "cmdContinuous", "cmdConvert", "cmdPrint", "cmdGetBMP", "cmdClear", "cmdExit"};

QStringList words(const QString &text)
{
    return text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

// A log of this many records as the instrument lays them out, and a line wider than the page.
QString longLog(int records)
{
    QString text = test::kHeadingLines;
    for (int i = 0; i < records; ++i)
        text += QString(" Gamut   00     %1    %2    SDI1\r\n")
                    .arg(i / 60, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'));
    return text + QStringList(60, "wide").join(' ') + "\r\n";
}

bool near(QRgb pixel, QRgb colour)
{
    return std::abs(qRed(pixel) - qRed(colour)) + std::abs(qGreen(pixel) - qGreen(colour))
        + std::abs(qBlue(pixel) - qBlue(colour))
        < 36;
}

// A white picture with a red square.
void paintPicture(Canvas &canvas)
{
    canvas.fillRows(0, Canvas::kSize - 1, palette::kWhite);
    for (int row = kRedSquare.top(); row <= kRedSquare.bottom(); ++row)
        canvas.fillRow(row, kRedSquare.left(), kRedSquare.right() + 1, palette::kLightRed);
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
    // The column of buttons, 544 to 609 across and 16 to 505 down, is grey.
    for (int y = 20; y < 500; y += 10)
        if (!near(at(576, y), grey))
            return QStringLiteral("a button is printed at %1").arg(y);
    const auto onCanvas = [&](QPoint p) {
        return at(kCanvasOnWindow.left() + (p.x() + 0.5) * kCanvasOnWindow.width() / Canvas::kSize,
            kCanvasOnWindow.top() + (p.y() + 0.5) * kCanvasOnWindow.height() / Canvas::kSize);
    };
    if (!near(onCanvas(kRedSquare.center()), palette::rgb(palette::kLightRed)) || !near(onCanvas({400, 400}), ~0u))
        return QStringLiteral("the picture is not there");
    return {};
}

} // namespace

class TestPrintouts : public QObject
{
    Q_OBJECT

private slots:
    // First: the process's CUPS client keeps the first server it reaches.
    void initTestCase() { queue_ = std::make_unique<test::CupsQueue>(); }
    void cleanupTestCase() { queue_.reset(); }

    void throughCups_data()
    {
        QTest::addColumn<QString>("printout");
        QTest::newRow("a long log") << "log";
        // What the text area shows, which is not always LogText.
        QTest::newRow("the log after Start Logging: the status line") << "status";
        QTest::newRow("the picture") << "picture";
    }

    void throughCups()
    {
        QFETCH(QString, printout);
        if (!queue_->skipReason().isEmpty())
            QSKIP(qPrintable(queue_->skipReason()));
        QVERIFY2(queue_->error().isEmpty(), qPrintable(queue_->error()));
        print::DefaultPrinterTarget cups;
        if (printout == "picture") {
            test::PictureRig rig(QString(), {}, test::kDataGraticules, &cups);
            paintPicture(rig.window->canvas());
            rig.click("cmdPrint");
            QCOMPARE(rig.notifier.messages, {});
            for (const char *button : kButtons)
                QVERIFY2(rig.window->button(button)->isVisible(), button);
            const QString pdf = queue_->waitForPdf();
            QVERIFY2(!pdf.isEmpty(), qPrintable(queue_->diagnostics()));
            QCOMPARE(pageFault(test::pdfPageImage(pdf, 1, 72)), QString());
            int pages = 0;
            test::pdfWords(pdf, &pages);
            QCOMPARE(pages, 1);
            return;
        }
        test::LoggerRig rig({}, true, &cups);
        rig.window->log().start(longLog(160));
        if (printout == "status")
            rig.click("cmdStartlog");
        rig.click("cmdPrintLog");
        QCOMPARE(rig.notifier.messages, {});
        const QString pdf = queue_->waitForPdf();
        QVERIFY2(!pdf.isEmpty(), qPrintable(queue_->diagnostics()));

        // The title, then the text area's words in order, every one inside the printable area.
        int pages = 0;
        QList<test::PdfWord> found = test::pdfWords(pdf, &pages);
        // In reading order: pdftotext may give a page's columns one after the other.
        std::ranges::sort(found, {},
            [](const test::PdfWord &w) { return std::tuple(w.page, qRound(w.box.center().y()), w.box.left()); });
        QStringList printed;
        const QRectF area = cups.open()->pageLayout().paintRectPoints().toRectF().adjusted(-1, -1, 1, 1);
        for (const test::PdfWord &word : found) {
            printed << word.text;
            QVERIFY2(area.contains(word.box),
                qPrintable(QString("\"%1\" on page %2 lies outside the printable area").arg(word.text).arg(word.page)));
        }
        const QString shown = printout == "status" ? " Internal Logger Running" : longLog(160);
        QCOMPARE(printed, words("Brellin Orvanta Error Logger " + shown));
        QVERIFY(pages >= (printout == "status" ? 1 : 3));
        // Arial, whose metrics Liberation Sans has: bold for the title, plain for the text.
        const QString fonts = QString::fromUtf8(test::toolOutput("pdffonts", {pdf}).value_or("<no pdffonts>"));
        QVERIFY2(fonts.contains("LiberationSans-Bold ") && fonts.contains("LiberationSans "), qPrintable(fonts));
    }

    void withoutAPrinter_data()
    {
        QTest::addColumn<QString>("printout");
        QTest::addColumn<QString>("printer"); // none: told there is none; unwritable; removed: no CUPS default
        for (const char *printout : {"log", "picture"})
            for (const char *printer : {"none", "unwritable", "removed"})
                QTest::addRow("%s, %s", printout, printer) << printout << printer;
    }

    // The window's message once; the log, the picture and the buttons as they were.
    void withoutAPrinter()
    {
        QFETCH(QString, printout);
        QFETCH(QString, printer);
        QTemporaryDir dir;
        print::PdfPrinterTarget pdf(dir.filePath(printer == "unwritable" ? "missing/out.pdf" : "out.pdf"));
        pdf.setNoPrinter(printer == "none");
        print::DefaultPrinterTarget cups;
        print::PrinterTarget *target = &pdf;
        if (printer == "removed") {
            if (!queue_->skipReason().isEmpty())
                QSKIP(qPrintable(queue_->skipReason()));
            QVERIFY2(queue_->removeQueue(), qPrintable(queue_->diagnostics()));
            target = &cups;
        }
        if (printer == "unwritable")
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        if (printout == "log") {
            test::LoggerRig rig({}, true, target);
            rig.window->log().start(longLog(2));
            rig.click("cmdPrintLog");
            QCOMPARE(rig.notifier.messages, QList{Message("Can't find a Printer", "Print Error")});
            QCOMPARE(rig.logText(), longLog(2));
            QCOMPARE(rig.shown(), test::asShown(longLog(2)));
        } else {
            test::PictureRig rig(QString(), {}, test::kDataGraticules, target);
            paintPicture(rig.window->canvas());
            const QImage picture = rig.window->canvas().image();
            rig.click("cmdPrint");
            QCOMPARE(rig.notifier.messages,
                QList{Message("Can't send Picture to Printer, Check it's on / Needs more paper?", " Printer Fault")});
            for (const char *button : kButtons)
                QVERIFY2(rig.window->button(button)->isVisible(), button);
            QCOMPARE(rig.window->canvas().image(), picture);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

private:
    std::unique_ptr<test::CupsQueue> queue_;
};

QTEST_MAIN(TestPrintouts)
#include "test_printouts.moc"
