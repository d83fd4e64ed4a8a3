// The help window: what it shows of the help file, and what it says when it has none.
#include "help/ui/help_window.h"
#include "support/file_bytes.h"
#include "support/recording_notifier.h"
#include "support/shown_messages.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace orvanta;
using test::writeFile;
using test::shown::kHelpFile;

namespace {

QString shownText(const QWidget *window)
{
    return window->findChild<QPlainTextEdit *>("txtHelp")->toPlainText();
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void helpFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const auto file = [](const char *row, const QByteArray &bytes, const QString &text) {
            QTest::newRow(row) << "file" << bytes << text;
        };
        file("three lines, no final end", "a\r\nb\r\nc", "a\r\nb\r\nc\r\n");
        file("LF, lone CR and LF CR end lines; a final CR LF not doubled", "a\nb\rc\n\rd\r\n",
            "a\r\nb\r\nc\r\n\r\nd\r\n");
        file("empty file: no message", "", "");
        file("Latin-1, one character a byte", "\xe9t\xe9\r\n\x80\xff",
            QString::fromUtf16(u"\u00e9t\u00e9\r\n\u0080\u00ff\r\n"));
        // A view that lays out a megabyte line whole freezes for minutes.
        const QByteArray line(2 * 1024 * 1024, 'x');
        file(
            "five 2 MB lines", QByteArrayList(5, line).join('\n'), QString(QStringList(5, line).join("\r\n") + "\r\n"));
        for (const char *kind : {"missing", "folder", "pipe"})
            QTest::newRow(kind) << kind << QByteArray("secret") << "";
    }

    void helpFile()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath("orva.hlp");
        if (kind == "file")
            writeFile(path, bytes);
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("orva.hlp"));
        if (kind == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        test::RecordingNotifier notifier;
        help::HelpWindow window(notifier, path);
        window.show();
        window.grab();
        QCOMPARE(notifier.messages, kind == "file" ? QList<test::RecordingNotifier::Message>{} : QList{kHelpFile});
        QCOMPARE(window.helpText(), text);
        // Shown as read; the long lines broken for the view.
        QCOMPARE(shownText(&window).remove('\n'), QString(text).remove("\r\n"));
        QVERIFY(window.findChild<QPlainTextEdit *>("txtHelp")->isReadOnly());
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
