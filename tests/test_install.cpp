// cmake --install into a scratch prefix, then the installed copy as a user
// meets it: its desktop entry, its man page, a working folder seeded for it,
// the monitor service as systemd reads it, the shell's completion.
#include "support/file_bytes.h"
#include "support/job_process.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace orvanta;
using test::readFile;
using test::runProgram;
using test::writeFile;

namespace {

constexpr int kGuardMs = 120000;

// The help file and the graticules, relative to a working folder.
QStringList dataFiles()
{
    QStringList files{"orva.hlp"};
    for (const QString &name : QDir(ORVANTA_DATA_DIR "/graticules").entryList({"*.rle"}, QDir::Files))
        files << "graticules/" + name;
    return files;
}

// A tool that checks a file says nothing when the file is sound.
void silentlyAccepted(const char *tool, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(tool);
    QVERIFY2(!path.isEmpty(), qPrintable(QString("%1 is missing: scripts/setup.sh installs it").arg(tool)));
    const test::JobResult run = runProgram(arguments, {}, test::jobEnvironment(), kGuardMs, path);
    QVERIFY2(run.exitCode == 0 && run.out.isEmpty() && run.err.isEmpty(), (run.out + run.err).constData());
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const test::JobResult install = runProgram({"--install", ORVANTA_BUILD_DIR, "--prefix", prefix_.path()}, {},
            test::jobEnvironment(), kGuardMs, ORVANTA_CMAKE);
        QVERIFY2(install.exitCode == 0, (install.out + install.err).constData());
    }

    void layout()
    {
        for (const char *program : {ORVANTA_INSTALL_BINDIR "/orvanta", ORVANTA_INSTALL_BINDIR "/orvanta-sim"})
            QVERIFY2(QFileInfo(installed(program)).isExecutable(), program);
        for (const QString &file : dataFiles())
            QCOMPARE(
                readFile(installed(ORVANTA_INSTALL_DATADIR "/orvanta/" + file)), readFile(ORVANTA_DATA_DIR "/" + file));

        QVERIFY(QFileInfo(installed(ORVANTA_INSTALL_DATADIR "/icons/hicolor/scalable/apps/orvanta.svg")).size() > 0);

        silentlyAccepted("desktop-file-validate", {installed(ORVANTA_INSTALL_DATADIR "/applications/orvanta.desktop")});
        silentlyAccepted("groff", {"-man", "-ww", "-z", installed(ORVANTA_INSTALL_MANDIR "/man1/orvanta.1")});
        // It checks that the program the unit starts is there, too.
        const QString unit = installed("lib/systemd/system/orvanta-monitor@.service");
        silentlyAccepted("systemd-analyze", {"verify", "--man=no", unit});
        QVERIFY(readFile(unit).contains(
            "\nExecStart=" + installed(ORVANTA_INSTALL_BINDIR "/orvanta").toUtf8() + " monitor --json --device "));
    }

    void completion_data()
    {
        QTest::addColumn<QString>("line"); // the words so far, the last one being completed
        QTest::addColumn<QString>("offered");
        QTest::newRow("a job") << "orvanta sta" << QString("status");
        QTest::newRow("a job's option") << "orvanta capture --fo" << QString("--format");
        QTest::newRow("an option's values") << "orvanta capture --format b" << QString("bmp");
        QTest::newRow("JSON Lines where a job writes logs") << "orvanta monitor --j" << QString("--json");
        QTest::newRow("not another job's options") << "orvanta send --j" << QString("");
        QTest::newRow("--baud=1, split at the =") << "orvanta status --baud = 1" << QString("19200");
    }

    // Sourced in a plain bash, the function complete names, called as bash
    // calls it: COMP_WORDS and COMP_CWORD in, COMPREPLY out.
    void completion()
    {
        QFETCH(QString, line);
        QFETCH(QString, offered);
        const QString script = R"sh(source "$0" || exit
read -r _ _ function _ <<<"$(complete -p orvanta)"
COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
"$function" orvanta "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
echo "${COMPREPLY[*]}")sh";
        const test::JobResult run
            = runProgram(QStringList{"--norc", "--noprofile", "-c", script,
                             installed(ORVANTA_INSTALL_DATADIR "/bash-completion/completions/orvanta")}
                    + QProcess::splitCommand(line),
                {}, test::jobEnvironment(), kGuardMs, "bash");
        QVERIFY2(run.exitCode == 0 && run.err.isEmpty(), run.err.constData());
        QCOMPARE(QString::fromUtf8(run.out), offered + '\n');
    }

    void desktopEntryStartsTheProgram()
    {
        QSettings entry(installed(ORVANTA_INSTALL_DATADIR "/applications/orvanta.desktop"), QSettings::IniFormat);
        const QStringList exec = QProcess::splitCommand(entry.value("Desktop Entry/Exec").toString());
        QVERIFY(!exec.isEmpty());
        QCOMPARE(exec.first(), installed(ORVANTA_INSTALL_BINDIR "/orvanta"));

        QTemporaryDir home;
        const QDir folder(home.filePath("data/orvanta"));
        QVERIFY(QDir().mkpath(folder.path()));
        writeFile(folder.filePath("orva.hlp"), "my notes\r\n");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("XDG_DATA_HOME", home.filePath("data"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(home.path());
        program.start(exec.first(), exec.mid(1));
        // orva.set is made by start-up, in the folder it works in, after seeding.
        const bool started = QTest::qWaitFor(
            [&] { return QFile::exists(folder.filePath("orva.set")) || program.state() == QProcess::NotRunning; },
            kGuardMs);
        program.terminate();
        program.waitForFinished();
        QVERIFY2(started && QFile::exists(folder.filePath("orva.set")), program.readAllStandardError().constData());
        for (const QString &file : dataFiles())
            QCOMPARE(readFile(folder.filePath(file)),
                file == "orva.hlp" ? QByteArray("my notes\r\n") : readFile(ORVANTA_DATA_DIR "/" + file));
    }

    // Last: the installed graticules go. A job looks in its working folder,
    // then in the installed ones, and names both when neither has them; the
    // picture comes all the same.
    void captureWithoutGraticules()
    {
        QVERIFY(QDir(installed(ORVANTA_INSTALL_DATADIR "/orvanta/graticules")).removeRecursively());
        QTemporaryDir folder;
        const test::JobResult run = runProgram({"capture", "--simulate", "-o", "x.png"}, folder.path(),
            test::jobEnvironment(), kGuardMs, installed(ORVANTA_INSTALL_BINDIR "/orvanta"));
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QString said = QString("orvanta capture: no graticule pal_wfmd.rle in %1/graticules or %2/graticules")
                                 .arg(folder.path(), QDir::cleanPath(installed(ORVANTA_INSTALL_DATADIR "/orvanta")));
        QVERIFY2(QString::fromUtf8(run.err).contains(said), run.err.constData());
        QVERIFY(QFile::exists(folder.filePath("x.png")));
    }

private:
    QString installed(const QString &path) const { return prefix_.filePath(path); }

    QTemporaryDir prefix_;
};

QTEST_MAIN(TestInstall)
#include "test_install.moc"
