// cmake --install into a scratch prefix, then the installed copy as a user
// meets it: its desktop entry, its man page, a working folder seeded for it.
#include "support/job_process.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace orvanta;

namespace {

constexpr int kGuardMs = 120000;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The help file and the graticules, relative to a working folder.
QStringList dataFiles()
{
    QStringList files{"orva.hlp"};
    for (const QString &name : QDir(ORVANTA_DATA_DIR "/graticules").entryList({"*.rle"}, QDir::Files))
        files << "graticules/" + name;
    return files;
}

struct Tool
{
    int exitCode = -1;
    QByteArray output; // standard output and error together
};

Tool runTool(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment = {})
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Tool tool;
    if (process.waitForFinished(kGuardMs) && process.exitStatus() == QProcess::NormalExit)
        tool.exitCode = process.exitCode();
    else
        process.kill();
    tool.output = process.readAll();
    return tool;
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layout();
    void desktopEntryAndManPage();
    void jobSeedsItsWorkingFolder();
    void desktopEntryStartsTheProgram();
    void unusableWorkingFolder();

private:
    QString installed(const QString &path) const { return prefix_.filePath(path); }

    QTemporaryDir prefix_;
};

void TestInstall::initTestCase()
{
    const Tool install = runTool(ORVANTA_CMAKE, {"--install", ORVANTA_BUILD_DIR, "--prefix", prefix_.path()});
    QVERIFY2(install.exitCode == 0, install.output.constData());
}

void TestInstall::layout()
{
    for (const char *program : {ORVANTA_INSTALL_BINDIR "/orvanta", ORVANTA_INSTALL_BINDIR "/orvanta-sim"})
        QVERIFY2(QFileInfo(installed(program)).isExecutable(), program);
    for (const QString &file : dataFiles())
        QCOMPARE(
            contents(installed(ORVANTA_INSTALL_DATADIR "/orvanta/" + file)), contents(ORVANTA_DATA_DIR "/" + file));
    QCOMPARE(QDir(installed(ORVANTA_INSTALL_DATADIR "/orvanta/graticules")).entryList(QDir::Files).size(), 12);

    QXmlStreamReader svg(contents(installed(ORVANTA_INSTALL_DATADIR "/icons/hicolor/scalable/apps/orvanta.svg")));
    QVERIFY(svg.readNextStartElement());
    QCOMPARE(svg.name(), u"svg");
    while (!svg.atEnd())
        svg.readNext();
    QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));
}

void TestInstall::desktopEntryAndManPage()
{
    const QString entry = installed(ORVANTA_INSTALL_DATADIR "/applications/orvanta.desktop");
    const QString validate = QStandardPaths::findExecutable("desktop-file-validate");
    QVERIFY2(!validate.isEmpty(), "desktop-file-validate is missing: scripts/setup.sh installs it");
    const Tool valid = runTool(validate, {entry});
    QVERIFY2(valid.exitCode == 0 && valid.output.isEmpty(), valid.output.constData());

    const QString groff = QStandardPaths::findExecutable("groff");
    QVERIFY2(!groff.isEmpty(), "groff is missing: scripts/setup.sh installs it");
    const Tool page = runTool(groff, {"-man", "-ww", "-z", installed(ORVANTA_INSTALL_MANDIR "/man1/orvanta.1")});
    QVERIFY2(page.exitCode == 0 && page.output.isEmpty(), page.output.constData());
}

void TestInstall::jobSeedsItsWorkingFolder()
{
    // A user's file is theirs: seeding only adds what is missing.
    QTemporaryDir scratch;
    const QDir work(scratch.filePath("new/work"));
    QVERIFY(QDir().mkpath(work.filePath("graticules")));
    QFile mine(work.filePath("graticules/pal_wfmd.rle"));
    QVERIFY(mine.open(QIODevice::WriteOnly) && mine.write("mine") == 4);
    mine.close();

    const test::JobResult run = test::runProgram(
        {"status", "--simulate", "--workdir", work.path()}, scratch.path(), test::jobEnvironment(), kGuardMs);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QVERIFY(run.out.contains("Block:"));
    for (const QString &file : dataFiles())
        QCOMPARE(contents(work.filePath(file)),
            file.endsWith("pal_wfmd.rle") ? QByteArray("mine") : contents(ORVANTA_DATA_DIR "/" + file));
    QVERIFY(!QFile::exists(work.filePath("orva.set")));
}

void TestInstall::desktopEntryStartsTheProgram()
{
    QSettings entry(installed(ORVANTA_INSTALL_DATADIR "/applications/orvanta.desktop"), QSettings::IniFormat);
    const QStringList exec = QProcess::splitCommand(entry.value("Desktop Entry/Exec").toString());
    QVERIFY(!exec.isEmpty());
    QCOMPARE(exec.first(), installed(ORVANTA_INSTALL_BINDIR "/orvanta"));

    QTemporaryDir home;
    const QDir folder(home.filePath("data/orvanta"));
    QVERIFY(QDir().mkpath(folder.path()));
    QFile mine(folder.filePath("orva.hlp"));
    QVERIFY(mine.open(QIODevice::WriteOnly) && mine.write("my notes\r\n") == 10);
    mine.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home.path());
    program.start(exec.first(), exec.mid(1));
    QVERIFY(program.waitForStarted());
    // orva.set is made by start-up, in the folder it works in, after seeding.
    const QDeadlineTimer deadline(kGuardMs);
    while (
        !QFile::exists(folder.filePath("orva.set")) && !deadline.hasExpired() && program.state() == QProcess::Running)
        QTest::qWait(50);
    const bool started = QFile::exists(folder.filePath("orva.set"));
    program.terminate();
    program.waitForFinished();
    QVERIFY2(started, program.readAllStandardError().constData());
    for (const QString &file : dataFiles())
        QCOMPARE(contents(folder.filePath(file)),
            file == "orva.hlp" ? QByteArray("my notes\r\n") : contents(ORVANTA_DATA_DIR "/" + file));
}

void TestInstall::unusableWorkingFolder()
{
    QTemporaryDir scratch;
    QFile file(scratch.filePath("plain-file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const test::JobResult run
        = test::runProgram({"status", "--simulate", "--workdir", file.fileName()}, scratch.path());
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(file.fileName().toLocal8Bit()), run.err.constData());
}

QTEST_MAIN(TestInstall)
#include "test_install.moc"
