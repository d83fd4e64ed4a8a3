#include "support/cups_queue.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::test {

namespace {

constexpr int kGuardMs = 60'000;

// cups-pdf's "Out" folder for the job's owner: whoever runs this process.
QString cupsPdfOutputFolder()
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    static const QRegularExpression setting(
        QStringLiteral("^\\s*Out\\s+(\\S.*)$"), QRegularExpression::MultilineOption);
    QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (config.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (const QRegularExpressionMatch match = setting.match(QString::fromUtf8(config.readAll())); match.hasMatch())
            out = match.captured(1).trimmed();
    }
    if (const passwd *owner = ::getpwuid(::getuid())) {
        out.replace(QLatin1String("${HOME}"), QString::fromLocal8Bit(owner->pw_dir));
        out.replace(QLatin1String("${USER}"), QString::fromLocal8Bit(owner->pw_name));
    }
    return QDir::cleanPath(out);
}

QString lastLines(const QString &path, int count)
{
    QFile file(path);
    const QStringList lines = file.open(QIODevice::ReadOnly | QIODevice::Text)
        ? QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)
        : QStringList();
    return lines.mid(std::max<qsizetype>(0, lines.size() - count)).join(u'\n');
}

} // namespace

CupsQueue::CupsQueue()
{
    // The cups-pdf backend runs only under a cupsd that runs as root.
    if (::geteuid() != 0)
        skipReason_ = QStringLiteral("cups-pdf prints only under a cupsd run as root; this test is not root");
    // cupsd, lpadmin and lpinfo live in sbin, which a plain user's PATH may lack.
    qputenv("PATH", qgetenv("PATH") + ":/usr/sbin:/sbin");
    for (const char *tool : {"cupsd", "lpadmin", "lpinfo", "lpstat"}) {
        if (skipReason_.isEmpty() && QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            skipReason_ = QStringLiteral("%1 is not installed (scripts/setup.sh installs cups)").arg(tool);
    }
    if (!skipReason_.isEmpty())
        return;
    outputFolder_ = cupsPdfOutputFolder();
    if (startServer())
        addQueue();
}

CupsQueue::~CupsQueue()
{
    // The queue and every job are in the server's own folder, gone with it.
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(kGuardMs))
            cupsd_.kill();
    }
    for (const QString &pdf : std::as_const(pdfsReturned_))
        QFile::remove(pdf);
}

bool CupsQueue::startServer()
{
    const QString root = dir_.path();
    const QString socket = root + QStringLiteral("/cups.sock");
    // Filters run as the lp user and must reach the spool inside.
    ::chmod(qPrintable(root), 0755);
    for (const char *sub : {"state", "cache", "spool/tmp", "log"})
        QDir(root).mkpath(QString::fromLatin1(sub));

    // Socket only, no network port; no authentication; a failed job is
    // dropped rather than retried, so a wait for its PDF ends.
    const auto write = [](const QString &path, const QString &text) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text.toLocal8Bit()) == text.toLocal8Bit().size();
    };
    const QString files = root + QStringLiteral("/cups-files.conf");
    const QString server = root + QStringLiteral("/cupsd.conf");
    if (!write(files,
            QStringLiteral("ServerRoot %1\nStateDir %1/state\nCacheDir %1/cache\nRequestRoot %1/spool\n"
                           "TempDir %1/spool/tmp\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                           "PageLog %1/log/page_log\nPrintcap %1/printcap\nDataDir /usr/share/cups\n"
                           "ServerBin /usr/lib/cups\nSystemGroup root\n")
                .arg(root))
        || !write(server,
            QStringLiteral("Listen %1\nLogLevel info\nMaxLogSize 0\nBrowsing Off\nWebInterface No\n"
                           "ErrorPolicy abort-job\nDefaultPolicy open\n"
                           "<Policy open>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                .arg(socket))) {
        skipReason_ = QStringLiteral("can't write cupsd's configuration in %1").arg(root);
        return false;
    }

    // This process and every tool it starts speak to this server only.
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    qputenv("CUPS_SERVERROOT", root.toLocal8Bit());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");

    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.setStandardOutputFile(root + QStringLiteral("/log/cupsd_output"));
    // cupsd must not outlive a test that crashes or is killed.
    cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    cupsd_.start(QStringLiteral("cupsd"), {"-f", "-c", server, "-s", files});
    if (!cupsd_.waitForStarted(kGuardMs)) {
        skipReason_ = QStringLiteral("can't start cupsd: %1").arg(cupsd_.errorString());
        return false;
    }
    for (QDeadlineTimer deadline(kGuardMs); cupsd_.state() == QProcess::Running && !deadline.hasExpired();) {
        const std::optional<QString> status = run(QStringLiteral("lpstat"), {"-r"});
        if (status && status->trimmed() == QLatin1String("scheduler is running"))
            return true;
        QTest::qWait(200);
    }
    skipReason_ = QStringLiteral("cupsd did not answer: %1\n%2")
                      .arg(lastLines(root + QStringLiteral("/log/cupsd_output"), 5),
                          lastLines(root + QStringLiteral("/log/error_log"), 10));
    return false;
}

void CupsQueue::addQueue()
{
    // The model's name as this server knows it, rather than a path written down here.
    const std::optional<QString> models = run(QStringLiteral("lpinfo"), {"-m"});
    if (!models) {
        error_ = QStringLiteral("lpinfo -m failed: %1").arg(lastComplaint_);
        return;
    }
    const QRegularExpressionMatch model
        = QRegularExpression(QStringLiteral("^(\\S*/CUPS-PDF_opt\\.ppd) "), QRegularExpression::MultilineOption)
              .match(*models);
    if (!model.hasMatch()) {
        skipReason_
            = QStringLiteral("no cups-pdf model on this machine (scripts/setup.sh installs printer-driver-cups-pdf)");
        return;
    }
    // Whatever is in the output folders now was not printed here.
    pdfsBefore_ = pdfsNow();
    // The default renderer turns text into Type 3 glyphs that no text
    // extraction reads back; pdftocairo keeps the fonts' text.
    if (!run(QStringLiteral("lpadmin"),
            {"-p", name(), "-v", "cups-pdf:/", "-m", model.captured(1), "-o", "pdftops-renderer-default=pdftocairo",
                "-E"})
        || !run(QStringLiteral("lpadmin"), {"-d", name()}))
        error_ = QStringLiteral("lpadmin could not add the default queue: %1").arg(lastComplaint_);
}

QString CupsQueue::waitForPdf()
{
    // A job stays listed until its backend has finished writing the file.
    for (QDeadlineTimer deadline(kGuardMs);;) {
        const std::optional<QString> jobs = run(QStringLiteral("lpstat"), {"-o", name()});
        if (jobs && jobs->trimmed().isEmpty())
            break;
        if (deadline.hasExpired()) {
            if (jobs)
                lastComplaint_ = QStringLiteral("still queued: %1").arg(*jobs);
            return {};
        }
        QTest::qWait(200);
    }
    const Pdfs now = pdfsNow();
    QString newest;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (pdfsBefore_.value(it.key()) != it.value() && (newest.isEmpty() || it.value() > now.value(newest)))
            newest = it.key();
    }
    if (newest.isEmpty()) {
        lastComplaint_ = QStringLiteral("the queue is empty and no new PDF is in %1").arg(outputFolder_);
        return {};
    }
    pdfsBefore_ = now;
    pdfsReturned_.append(newest);
    return newest;
}

bool CupsQueue::removeQueue()
{
    return run(QStringLiteral("lpadmin"), {"-x", name()}).has_value();
}

QString CupsQueue::diagnostics() const
{
    return lastComplaint_ + QStringLiteral("\ncupsd's log ends:\n") + lastLines(dir_.filePath("log/error_log"), 30);
}

std::optional<QString> CupsQueue::run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(kGuardMs) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        lastComplaint_ = QStringLiteral("%1 %2: %3 %4")
                             .arg(tool, arguments.join(u' '), process.errorString(),
                                 QString::fromLocal8Bit(process.readAllStandardError()));
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

CupsQueue::Pdfs CupsQueue::pdfsNow() const
{
    Pdfs pdfs;
    for (const QFileInfo &file : QDir(outputFolder_).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
        pdfs.insert(file.filePath(), file.lastModified());
    return pdfs;
}

} // namespace orvanta::test
