// "Print Log": the title and what the text area shows, in Arial, over as many
// pages as it takes with no line cut, to a PDF file and through a real CUPS
// queue on the default destination; no printer gives the message.
#include "messages/messages.h"
#include "print/default_printer_target.h"
#include "support/cups_queue.h"
#include "support/logger_rig.h"
#include "support/pdf_facts.h"

#include <QDir>
#include <QProcess>

using namespace orvanta;

namespace {

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

} // namespace

class TestLoggerPrint : public QObject
{
    Q_OBJECT

private slots:
    // First: the process's CUPS client keeps the first server it reaches.
    void initTestCase() { queue_ = std::make_unique<test::CupsQueue>(); }
    void cleanupTestCase() { queue_.reset(); }

    void printLog_data()
    {
        QTest::addColumn<QString>("log");
        QTest::addColumn<bool>("startLogging"); // pressed after the log is shown
        QTest::addColumn<QString>("printer");   // pdf, cups, none, unwritable, or removed: the CUPS queue gone
        QTest::addColumn<int>("pages");         // at least; 0: the message instead
        const QString wide = QStringList(60, "wide").join(' ') + "\r\n";
        QTest::newRow("empty text area") << QString() << false << "pdf" << 1;
        QTest::newRow("after Start Logging: the status line only") << records(3) << true << "pdf" << 1;
        QTest::newRow("a long log over several pages") << records(160) << false << "pdf" << 3;
        QTest::newRow("a line wider than the page goes on below") << wide << false << "pdf" << 1;
        QTest::newRow("through CUPS") << records(160) << false << "cups" << 3;
        QTest::newRow("told there is no printer") << records(2) << false << "none" << 0;
        QTest::newRow("a printer that cannot start the job") << records(2) << false << "unwritable" << 0;
        QTest::newRow("no default destination") << records(2) << false << "removed" << 0;
    }

    void printLog()
    {
        QFETCH(QString, log);
        QFETCH(bool, startLogging);
        QFETCH(QString, printer);
        QFETCH(int, pages);
        print::DefaultPrinterTarget cups;
        const bool viaCups = printer == "cups" || printer == "removed";
        if (viaCups) {
            if (!queue_->skipReason().isEmpty())
                QSKIP(qPrintable(queue_->skipReason()));
            QVERIFY2(queue_->error().isEmpty(), qPrintable(queue_->error()));
            QVERIFY2(printer == "cups" || queue_->removeQueue(), qPrintable(queue_->diagnostics()));
        }
        test::LoggerRig rig({}, true, viaCups ? &cups : nullptr);
        rig.window->log().start(log);
        if (startLogging)
            rig.click("cmdStartlog");
        const QString shown = rig.shown();
        QCOMPARE(shown, startLogging ? logger::texts::kLoggerRunning.toString() : test::asShown(log));
        rig.printer.setNoPrinter(printer == "none");
        if (printer == "unwritable") {
            QVERIFY(QDir(rig.dir.path()).mkdir("log.pdf"));
            QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        }
        rig.click("cmdPrintLog");
        if (pages == 0) {
            const messages::Message &failed = messages::kLogPrintFailed;
            QCOMPARE(rig.notifier.messages, QList{qMakePair(failed.text.toString(), failed.title.toString())});
            QVERIFY(rig.logText() == log && rig.shown() == shown);
            return;
        }
        QVERIFY(rig.notifier.messages.isEmpty());
        const QString pdf = viaCups ? queue_->waitForPdf() : rig.printer.path();
        QVERIFY2(!pdf.isEmpty(), qPrintable(queue_->diagnostics()));
        // Printouts are proved on the PDF target: the printer lays pages out alike.
        if (viaCups)
            QCOMPARE(cups.open()->resolution(), rig.printer.open()->resolution());

        // The title, then the text's lines in order, each whole on one page
        // unless wider than the page.
        const QString kTitle = logger::texts::kPrintTitle.toString();
        const QString text = test::pdfText(pdf);
        QCOMPARE(words(text), words(kTitle + ' ' + shown));
        QVERIFY(test::pdfPageCount(pdf) >= pages);
        QStringList whole{kTitle};
        for (const QString &line : shown.split('\n'))
            whole << line.simplified();
        for (const QString &line : text.split(QRegularExpression("[\f\n]")))
            QVERIFY2(line.simplified().isEmpty() || whole.contains(line.simplified()) || log.contains("wide"),
                qPrintable("cut: " + line));
        // Arial, whose metrics Liberation Sans has: bold for the title, plain for any text.
        QProcess fonts;
        fonts.start("pdffonts", {pdf});
        QVERIFY(fonts.waitForFinished(60'000));
        const QString used = fonts.readAllStandardOutput();
        QVERIFY2(used.contains("LiberationSans-Bold ") && used.contains("LiberationSans ") == !shown.isEmpty(),
            qPrintable(used));
    }

private:
    std::unique_ptr<test::CupsQueue> queue_;
};

QTEST_MAIN(TestLoggerPrint)
#include "test_logger_print.moc"
