// "Print Log": the title and what the text area shows, in Arial, over as many
// pages as it takes with no line cut; no printer gives the message. One run
// prints a readout through a real CUPS queue on the default destination.
#include "link/messages.h"
#include "print/default_printer_target.h"
#include "support/cups_queue.h"
#include "support/logger_rig.h"
#include "support/pdf_facts.h"

#include <QProcess>

using namespace orvanta;

namespace {

const QString kTitle = logger::texts::kPrintTitle.toString();

QStringList words(const QString &text)
{
    return text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
}

// A log of this many records, as the instrument lays them out.
QString records(int count)
{
    QString text = logger::texts::headingLines();
    for (int i = 0; i < count; ++i)
        text += QString(" Gamut   00     %1    %2    SDI1\r\n")
                    .arg(i / 60, 2, 10, QChar('0'))
                    .arg(i % 60, 2, 10, QChar('0'));
    return text;
}

// The title, then the text's lines in order, each whole on one page.
void expectPrinted(const QString &pdf, const QString &shown, int pagesAtLeast)
{
    const QString text = test::pdfText(pdf);
    QCOMPARE(words(text), words(kTitle + ' ' + shown));
    QStringList whole{kTitle};
    for (const QString &line : shown.split('\n'))
        whole << line.simplified();
    const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    QVERIFY(test::pdfPageCount(pdf) >= pagesAtLeast);
    for (const QString &page : pages)
        for (const QString &line : page.split('\n'))
            QVERIFY2(line.simplified().isEmpty() || whole.contains(line.simplified()), qPrintable("cut: " + line));
}

} // namespace

class TestLoggerPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // First: the process's CUPS client keeps the first server it reaches.
        queue_ = std::make_unique<test::CupsQueue>();
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
        QTest::newRow("a line wider than the page goes on below") << QStringList(60, "wide").join(' ') + "\r\n"
                                                                  << false << 1;
    }

    void printout()
    {
        QFETCH(QString, log);
        QFETCH(bool, startLogging);
        QFETCH(int, pages);
        test::LoggerRig rig;
        rig.window->log().start(log);
        if (startLogging)
            rig.click(u"cmdStartlog");
        const QString shown = rig.shown();
        QCOMPARE(shown, startLogging ? logger::texts::kLoggerRunning.toString() : test::asShown(log));
        rig.click(u"cmdPrintLog");
        QVERIFY(rig.notifier.messages.isEmpty());
        const QString pdf = rig.printer.path();
        if (log.contains("wide"))
            QCOMPARE(words(test::pdfText(pdf)), words(kTitle + ' ' + shown));
        else
            expectPrinted(pdf, shown, pages);
        // Arial, whose metrics Liberation Sans has: bold for the title, plain for any text.
        QProcess fonts;
        fonts.start("pdffonts", {pdf});
        QVERIFY(fonts.waitForFinished(60'000));
        const QString used = fonts.readAllStandardOutput();
        QVERIFY2(used.contains("LiberationSans-Bold ") && used.contains("LiberationSans ") == !shown.isEmpty(),
            qPrintable(used));
    }

    // Told there is none, or one that will not start the job: the message, nothing else.
    void noPrinter()
    {
        test::LoggerRig rig;
        print::PdfPrinterTarget target(rig.dir.filePath("missing folder/log.pdf"));
        logger::LoggerWindow window(*rig.serial, rig, target);
        window.log().start(records(2));
        target.setNoPrinter(true);
        window.button(u"cmdPrintLog")->click();
        target.setNoPrinter(false);
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        window.button(u"cmdPrintLog")->click();
        const link::Message &failed = link::messages::kLogPrintFailed;
        QCOMPARE(rig.notifier.messages,
            QList<test::RecordingNotifier::Message>(2, {failed.text.toString(), failed.title.toString()}));
        QCOMPARE(test::logShape(window.logText()), "HRR");
    }

    // A readout from the simulator on the default printer, a cups-pdf queue;
    // then, with no queue left, the message.
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
        QCOMPARE(rig.notifier.messages.size(), 1);
        QCOMPARE(rig.notifier.messages[0].first, link::messages::kLogPrintFailed.text.toString());
    }

private:
    std::unique_ptr<test::CupsQueue> queue_;
};

QTEST_MAIN(TestLoggerPrint)
#include "test_logger_print.moc"
