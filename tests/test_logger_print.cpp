// "Print Log": the title and what the text area shows, in Arial, on as many
// pages as it takes with no line cut; no printer gives the message. One run
// goes through a real CUPS queue on the default destination.
#include "link/messages.h"
#include "print/default_printer_target.h"
#include "support/cups_queue.h"
#include "support/logger_rig.h"
#include "support/pdf_facts.h"

#include <QProcess>

using namespace orvanta;
using test::CupsQueue;
using Message = test::RecordingNotifier::Message;

namespace {

const Message kNoPrinter{
    link::messages::kLogPrintFailed.text.toString(), link::messages::kLogPrintFailed.title.toString()};
const QString kTitle = logger::texts::kPrintTitle.toString();

QStringList words(const QString &text)
{
    return text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

// Each page's lines, blanks collapsed, empty lines left out.
QList<QStringList> pageLines(const QString &pdfText)
{
    QList<QStringList> pages;
    for (const QString &page : pdfText.split(u'\f')) {
        QStringList lines;
        for (const QString &line : page.split(u'\n'))
            if (!line.simplified().isEmpty())
                lines << line.simplified();
        if (!lines.isEmpty())
            pages << lines;
    }
    return pages;
}

// The fonts the PDF uses, as pdffonts names them.
QString pdfFonts(const QString &path)
{
    QProcess tool;
    tool.start("pdffonts", {path});
    tool.waitForFinished(60'000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// A log of this many records, as the instrument lays them out.
QString records(int count)
{
    QString text = logger::texts::headingLines();
    for (int i = 0; i < count; ++i)
        text += QString(" Gamut   %1     %2    %3    SDI1\r\n")
                    .arg(i / 3600 % 24, 2, 10, QChar('0'))
                    .arg(i / 60 % 60, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'));
    return text;
}

// The printed lines must be the title and the text's own lines, whole, in order.
void expectPrinted(const QString &pdf, const QString &shown, int pagesAtLeast)
{
    const QString text = test::pdfText(pdf);
    QCOMPARE(words(text), words(kTitle + ' ' + shown));
    const QList<QStringList> pages = pageLines(text);
    QVERIFY2(pages.size() >= pagesAtLeast, qPrintable(QString::number(pages.size())));
    QCOMPARE(test::pdfPageCount(pdf), pages.size());
    QCOMPARE(pages.first().first(), kTitle);
    QStringList whole{kTitle};
    for (const QString &line : shown.split(u'\n'))
        whole << line.simplified();
    for (const QStringList &page : pages)
        for (const QString &line : page)
            QVERIFY2(whole.contains(line), qPrintable("not a whole line: " + line));
}

} // namespace

class TestLoggerPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // First: the process's CUPS client keeps the first server it reaches.
        queue_ = std::make_unique<CupsQueue>();
    }

    void cleanupTestCase() { queue_.reset(); }

    void printout_data()
    {
        QTest::addColumn<QString>("log");
        QTest::addColumn<bool>("startLogging"); // pressed after the log is shown
        QTest::addColumn<int>("pages");

        QTest::newRow("empty text area") << QString() << false << 1;
        QTest::newRow("after Start Logging: the status line only") << records(3) << true << 1;
        QTest::newRow("a long log over several pages") << records(160) << false << 3;
        const QString wide = QStringList(60, "wide").join(' ');
        QTest::newRow("a line wider than the page goes on below") << logger::texts::headingLines() + wide + "\r\n"
                + QString(200, 'x') + "\r\n" << false << 1;
    }

    void printout()
    {
        QFETCH(QString, log);
        QFETCH(bool, startLogging);
        QFETCH(int, pages);
        test::LoggerRig rig({}, true);
        rig.window->log().start(log);
        if (startLogging)
            rig.click(u"cmdStartlog");
        const QString shown = rig.shown();
        QCOMPARE(shown, startLogging ? logger::texts::kLoggerRunning.toString() : test::asShown(log));

        rig.click(u"cmdPrintLog");
        QVERIFY(rig.notifier.messages.isEmpty());
        const QString pdf = rig.printer.path();
        if (log.contains(QString(200, 'x'))) {
            // Broken anywhere: every x is printed, on more than one line.
            const QStringList lines = test::pdfText(pdf).split('\n');
            QCOMPARE(test::pdfText(pdf).count('x'), 200);
            QVERIFY(std::ranges::count_if(lines, [](const QString &l) { return l.contains('x'); }) > 1);
            QCOMPARE(words(test::pdfText(pdf)).mid(0, 68), words(kTitle + ' ' + shown).mid(0, 68));
        } else {
            expectPrinted(pdf, shown, pages);
        }
        // Arial, whose metrics Liberation Sans has: bold for the title, plain for the text.
        const QString fonts = pdfFonts(pdf);
        QVERIFY2(fonts.contains("LiberationSans-Bold")
                && fonts.contains(QRegularExpression("LiberationSans\\s")) == !shown.isEmpty(),
            qPrintable(fonts));
    }

    void noPrinter_data()
    {
        QTest::addColumn<bool>("toldNoPrinter");
        QTest::newRow("no default printer") << true;
        QTest::newRow("a printer that will not start the job") << false;
    }

    void noPrinter()
    {
        QFETCH(bool, toldNoPrinter);
        test::LoggerRig rig;
        rig.window->log().start(records(2));
        print::PdfPrinterTarget target(rig.dir.filePath("missing folder/log.pdf"));
        target.setNoPrinter(toldNoPrinter);
        logger::LoggerWindow window(*rig.serial, rig, target);
        window.log().start(records(2));
        if (!toldNoPrinter)
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        window.button(u"cmdPrintLog")->click();
        QCOMPARE(rig.notifier.messages, QList{kNoPrinter});
        QCOMPARE(test::logShape(window.logText()), "HRR");
    }

    // A readout from the simulator printed on the default printer, a cups-pdf
    // queue; then, with no queue left, the message.
    void printsOnTheDefaultPrinter()
    {
        if (!queue_->skipReason().isEmpty())
            QSKIP(qPrintable(queue_->skipReason()));
        QVERIFY2(queue_->error().isEmpty(), qPrintable(queue_->error()));
        test::LoggerRig rig({"--log-records", "150", "--log-no-end"});
        print::DefaultPrinterTarget printer;
        logger::LoggerWindow window(*rig.serial, rig, printer);
        window.button(u"cmdReadlog")->click();
        QCOMPARE(test::logShape(window.logText()), "H" + QString(125, 'R'));

        window.button(u"cmdPrintLog")->click();
        QVERIFY(rig.notifier.messages.isEmpty());
        const QString pdf = queue_->waitForPdf();
        QVERIFY2(!pdf.isEmpty(), qPrintable(queue_->diagnostics()));
        expectPrinted(pdf, window.log().shownText(), 3);

        QVERIFY2(queue_->removeQueue(), qPrintable(queue_->diagnostics()));
        window.button(u"cmdPrintLog")->click();
        QCOMPARE(rig.notifier.messages, QList{kNoPrinter});
    }

private:
    std::unique_ptr<CupsQueue> queue_;
};

QTEST_MAIN(TestLoggerPrint)
#include "test_logger_print.moc"
