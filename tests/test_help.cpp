// The help window and the About box, alone and inside the whole program.
#include "app/program.h"
#include "help/about_window.h"
#include "help/help_text.h"
#include "help/help_window.h"
#include "link/messages.h"
#include "panel/main_window.h"
#include "panel/menu_item.h"
#include "support/recording_notifier.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using namespace orvanta;
using test::RecordingNotifier;

namespace {

const RecordingNotifier::Message kHelpMessage{link::messages::kHelpFile.text.toString(),
                                              link::messages::kHelpFile.title.toString()};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString shownText(const QWidget *window)
{
    const auto *text = window->findChild<QPlainTextEdit *>(QStringLiteral("txtHelp"));
    return text ? text->toPlainText() : QStringLiteral("<no txtHelp>");
}

// The help file's messages, each with whether the main window was already on
// screen when it came. Other windows' messages (a picture window without its
// graticule files) are not these tests' concern.
class WatchingNotifier : public link::Notifier
{
public:
    std::function<bool()> mainWindowShown;
    QList<bool> helpMessages;

protected:
    void showWarning(const QString &text, const QString &title) override
    {
        if (RecordingNotifier::Message{text, title} == kHelpMessage)
            helpMessages << (mainWindowShown && mainWindowShown());
    }
};

// The whole program, started in a folder of its own that is also the working
// directory, since the help file is looked for there.
struct Run
{
    explicit Run(const QTemporaryDir &dir)
        : previous(QDir::currentPath())
    {
        QDir::setCurrent(dir.path());
        link::PortMap map;
        for (int port = 1; port <= 4; ++port)
            map.setDevice(port, dir.filePath("no-such-tty"));
        auto watching = std::make_unique<WatchingNotifier>();
        notifier = watching.get();
        program = std::make_unique<app::Program>(map, std::move(watching), [] {});
        notifier->mainWindowShown = [this] { return program->panel().window().isVisible(); };
    }
    ~Run()
    {
        program.reset();
        QDir::setCurrent(previous);
    }

    void start()
    {
        program->start();
        // No poll: nothing but the windows under test may speak.
        program->panel().window().pollTimer()->stop();
    }
    void choose(const char *item) const
    {
        program->panel().window().menuItem(QString::fromLatin1(item))->trigger();
    }
    QWidget *form(const char *name) const { return program->panel().form(QString::fromLatin1(name))->form(); }
    // The close box: the window goes once pending deletions have run.
    void closeBox(const char *name) const
    {
        QVERIFY(form(name)->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form(name));
    }

    QString previous;
    WatchingNotifier *notifier = nullptr;
    std::unique_ptr<app::Program> program;
};

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void helpTextFromBytes_data();
    void helpTextFromBytes();
    void helpFile_data();
    void helpFile();
    void textForView_data();
    void textForView();
    void largeFileLoadsWhole_data();
    void largeFileLoadsWhole();
    void missingFileAtStartUpAndAfterCloseBox();
    void fileIsReadWhenTheWindowIsMade();
    void aboutCaptionsOnEveryOpening();
    void shippedHelpFile();
};

void TestHelp::helpTextFromBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("three lines, no final end") << QByteArray("a\r\nb\r\nc") << "a\r\nb\r\nc\r\n";
    QTest::newRow("final CR LF not doubled") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("one empty line") << QByteArray("\r\n") << "\r\n";
    QTest::newRow("blank lines kept") << QByteArray("a\r\n\r\n\r\nb") << "a\r\n\r\n\r\nb\r\n";
    QTest::newRow("LF ends") << QByteArray("a\nb\n") << "a\r\nb\r\n";
    QTest::newRow("lone CR ends") << QByteArray("a\rb") << "a\r\nb\r\n";
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << "a\r\n\r\nb\r\n";
    QTest::newRow("Latin-1, one character a byte")
        << QByteArray("\xe9t\xe9\r\n\x80\xff") << QString::fromUtf16(u"\u00e9t\u00e9\r\n\u0080\u00ff\r\n");
    QTest::newRow("NUL byte kept") << QByteArray("a\0b", 3) << QString::fromUtf16(u"a\0b\r\n", 5);
}

void TestHelp::helpTextFromBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(help::helpTextFromBytes(bytes), text);
}

void TestHelp::helpFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("message");

    QTest::newRow("three lines") << "file" << QByteArray("a\r\nb\r\nc") << "a\r\nb\r\nc\r\n" << false;
    QTest::newRow("empty file: no message") << "file" << QByteArray() << "" << false;
    QTest::newRow("Latin-1 bytes") << "file" << QByteArray("Gr\xfc\xdf\r\n\xa9") << QString::fromUtf16(u"Gr\u00fc\u00df\r\n\u00a9\r\n")
                                   << false;
    QTest::newRow("missing") << "missing" << QByteArray() << "" << true;
    QTest::newRow("a folder named orva.hlp") << "folder" << QByteArray() << "" << true;
    QTest::newRow("a pipe named orva.hlp") << "pipe" << QByteArray() << "" << true;
    QTest::newRow("no read permission") << "unreadable" << QByteArray("secret") << "" << true;
}

void TestHelp::helpFile()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, message);

    QTemporaryDir dir;
    const QString path = dir.filePath("orva.hlp");
    if (kind == "file" || kind == "unreadable")
        writeFile(path, bytes);
    if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkdir("orva.hlp"));
    if (kind == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == "unreadable") {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    }

    RecordingNotifier notifier;
    help::HelpWindow window(notifier, path);
    QCOMPARE(notifier.messages, message ? QList{kHelpMessage} : QList<RecordingNotifier::Message>{});
    QCOMPARE(window.helpText(), text);
    QCOMPARE(shownText(&window), QString(text).replace("\r\n", "\n"));
    QVERIFY(window.findChild<QPlainTextEdit *>("txtHelp")->isReadOnly());
}

void TestHelp::textForView_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    const qsizetype longest = help::kLongestShownLine;
    const QString x = QString(longest, u'x');
    QTest::newRow("short lines as they are") << "a\r\nb\r\n" << "a\r\nb\r\n";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("longest line kept whole") << x + "\r\n" << x + "\r\n";
    QTest::newRow("no blank: broken at the limit")
        << x + x + "yz\r\nend\r\n" << x + "\r\n" + x + "\r\nyz\r\nend\r\n";
    QTest::newRow("broken after its last blank")
        << QString(longest - 10, u'a') + " b " + QString(20, u'c') + "\r\n"
        << QString(longest - 10, u'a') + " b \r\n" + QString(20, u'c') + "\r\n";
}

void TestHelp::textForView()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(help::textForView(text), shown);
}

void TestHelp::largeFileLoadsWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");

    constexpr qsizetype kSize = 10 * 1024 * 1024;
    QByteArray everyByte(kSize, Qt::Uninitialized);
    for (qsizetype i = 0; i < everyByte.size(); ++i)
        everyByte[i] = char((i * 7919) & 0xff);
    QTest::newRow("10 MB of every byte value") << everyByte;
    QTest::newRow("10 MB on one line") << QByteArray(kSize, 'x');
}

void TestHelp::largeFileLoadsWhole()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    writeFile(dir.filePath("orva.hlp"), bytes);

    QElapsedTimer clock;
    clock.start();
    RecordingNotifier notifier;
    help::HelpWindow window(notifier, dir.filePath("orva.hlp"));
    window.show();
    window.grab();
    // Well under a second when sound; a view that lays out megabyte lines takes minutes.
    QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(notifier.messages.isEmpty());
    QCOMPARE(window.helpText(), help::helpTextFromBytes(bytes));
    QCOMPARE(shownText(&window).remove(u'\n').size(), QString(window.helpText()).remove(u'\r').remove(u'\n').size());
}

void TestHelp::missingFileAtStartUpAndAfterCloseBox()
{
    QTemporaryDir dir;
    Run run(dir);
    run.start();
    // Once, while start-up loads the window, before the main window shows; start-up goes on.
    QCOMPARE(run.notifier->helpMessages, QList{false});
    QVERIFY(run.program->panel().window().isVisible());
    QVERIFY(panel::itemChecked(run.program->panel().window().menuItem("mnuPort4")));

    run.choose("mnuHelpContents");
    QWidget *help = run.form("frmHelp");
    QVERIFY(help->isVisible());
    QCOMPARE(shownText(help), QString());
    QCOMPARE(run.notifier->helpMessages.size(), 1);

    // Made anew after its close box, the window looks for the file again.
    run.closeBox("frmHelp");
    run.choose("mnuHelpContents");
    QCOMPARE(run.notifier->helpMessages, (QList{false, true}));
    QVERIFY(run.form("frmHelp")->isVisible());
}

void TestHelp::fileIsReadWhenTheWindowIsMade()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("orva.hlp"), "old");
    Run run(dir);
    run.start();
    QVERIFY(run.notifier->helpMessages.isEmpty());

    writeFile(dir.filePath("orva.hlp"), "new");
    run.choose("mnuHelpContents");
    QWidget *help = run.form("frmHelp");
    QCOMPARE(shownText(help), QString("old\n"));
    help->hide();
    run.choose("mnuHelpContents");
    QCOMPARE(run.form("frmHelp"), help);
    QCOMPARE(shownText(help), QString("old\n"));

    run.closeBox("frmHelp");
    run.choose("mnuHelpContents");
    QCOMPARE(shownText(run.form("frmHelp")), QString("new\n"));
    QVERIFY(run.notifier->helpMessages.isEmpty());
}

void TestHelp::aboutCaptionsOnEveryOpening()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("orva.hlp"), "help");
    Run run(dir);
    run.start();
    const auto label = [&](const char *name) {
        return run.form("frmAbout")->findChild<QLabel *>(QString::fromLatin1(name));
    };

    run.choose("mnuAbout");
    QWidget *about = run.form("frmAbout");
    QVERIFY(about->isVisible());
    const QString version = label("lblVersion")->text();
    const QString copyright = label("lblCopyright")->text();
    QVERIFY(version.startsWith("Version 6.1 for Windows.\r\n"));
    QVERIFY(version.size() > QString("Version 6.1 for Windows.\r\n").size());
    QVERIFY(!copyright.isEmpty());
    QVERIFY(!label("Label1")->text().isEmpty());
    QVERIFY(!label("Label2")->text().isEmpty());

    // "OK" only hides; the next opening sets both captions again.
    auto *ok = about->findChild<QPushButton *>("Command1");
    QCOMPARE(ok->text(), QString("OK"));
    ok->click();
    QVERIFY(!about->isVisible());
    label("lblVersion")->clear();
    label("lblCopyright")->clear();
    run.choose("mnuAbout");
    QCOMPARE(run.form("frmAbout"), about);
    QCOMPARE(label("lblVersion")->text(), version);
    QCOMPARE(label("lblCopyright")->text(), copyright);

    run.closeBox("frmAbout");
    run.choose("mnuAbout");
    QCOMPARE(label("lblVersion")->text(), version);
    QVERIFY(run.notifier->helpMessages.isEmpty());
}

void TestHelp::shippedHelpFile()
{
    QFile file(QStringLiteral(ORVANTA_DATA_DIR "/orva.hlp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 10000);
    QVERIFY(bytes.endsWith("\r\n"));
    // Plain ASCII, CR LF line ends and nothing else of the control characters.
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar c = uchar(bytes[i]);
        const bool lineEnd = (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                             || (c == '\n' && i > 0 && bytes[i - 1] == '\r');
        QVERIFY2(lineEnd || (c >= 0x20 && c < 0x7f), qPrintable(QString("byte %1 at %2").arg(c).arg(i)));
    }
    // The operator can look up each message by its exact words.
    const QString text = QString::fromLatin1(bytes);
    using namespace link::messages;
    for (const link::Message &message :
         {kSerialPort, kSettingsFile, kStatusTimeout, kStatusLinkFailure, kMenuUpdateFailure, kPanelUpdateFailure,
          kHelpFile, kGraticulesMissing, kGraticuleShort, kSmallBoxes, kDownloadFailed})
        QVERIFY2(text.contains(message.text), qPrintable(message.text.toString()));
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
