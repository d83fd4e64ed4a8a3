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
#include <unistd.h>

namespace orvanta::test {

namespace {

const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");

// cupsd, lpadmin and lpinfo live in sbin, which a plain user's PATH may lack.
QString findTool(const QString &name)
{
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"}) : onPath;
}

// cups-pdf's "Out" folder for the job's owner, who is whoever runs this
// process, and its folder for owners it does not know.
QStringList cupsPdfOutputFolders()
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QString anonymous = QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (config.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QRegularExpression setting(QStringLiteral("^(Out|AnonDirName)\\s+(\\S.*)$"));
        for (const QString &line : QString::fromUtf8(config.readAll()).split(u'\n')) {
            const QRegularExpressionMatch match = setting.match(line.trimmed());
            if (match.hasMatch())
                (match.captured(1) == QLatin1String("Out") ? out : anonymous) = match.captured(2).trimmed();
        }
    }
    if (const passwd *owner = ::getpwuid(::getuid())) {
        out.replace(QLatin1String("${HOME}"), QString::fromLocal8Bit(owner->pw_dir));
        out.replace(QLatin1String("${USER}"), QString::fromLocal8Bit(owner->pw_name));
    }
    return {QDir::cleanPath(out), QDir::cleanPath(anonymous)};
}

QString lastLines(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return lines.mid(std::max<qsizetype>(0, lines.size() - count)).join(u'\n');
}

} // namespace

CupsQueue::CupsQueue()
{
    // The cups-pdf backend runs only under a cupsd that runs as root.
    if (::geteuid() != 0)
        skipReason_ = QStringLiteral("cups-pdf prints only under a cupsd run as root; this test is not root");
    for (const char *tool : {"cupsd", "lpadmin", "lpinfo", "lpstat"}) {
        if (skipReason_.isEmpty() && findTool(QString::fromLatin1(tool)).isEmpty())
            skipReason_ = QStringLiteral("%1 is not installed (scripts/setup.sh installs cups)").arg(tool);
    }
    if (skipReason_.isEmpty() && !QFileInfo::exists(kBackend))
        skipReason_ = QStringLiteral("%1 is missing (scripts/setup.sh installs printer-driver-cups-pdf)").arg(kBackend);
    if (skipReason_.isEmpty() && !dir_.isValid())
        skipReason_ = QStringLiteral("no temporary folder for cupsd: %1").arg(dir_.errorString());
    if (!skipReason_.isEmpty())
        return;
    outputFolders_ = cupsPdfOutputFolders();
    if (startServer())
        addQueue();
}

CupsQueue::~CupsQueue()
{
    // The queue and every job are in the server's own folder, gone with it.
    if (cupsd_.state() != QProcess::NotRunning) {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(int(kGuard.count())))
            cupsd_.kill();
    }
    for (const QString &pdf : std::as_const(pdfsReturned_))
        QFile::remove(pdf);
}

bool CupsQueue::startServer()
{
    const QDir dir(dir_.path());
    const QString root = dir.path();
    const QString socket = dir.filePath(QStringLiteral("cups.sock"));
    // Filters run as the lp user and must reach the spool inside.
    QFile::setPermissions(root,
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
            | QFile::ExeOther);
    for (const char *sub : {"state", "cache", "spool/tmp", "log"})
        dir.mkpath(QString::fromLatin1(sub));

    // Socket only, no network port; no authentication; a failed job is
    // dropped rather than retried, so a wait for its PDF ends.
    QFile files(dir.filePath(QStringLiteral("cups-files.conf")));
    QFile server(dir.filePath(QStringLiteral("cupsd.conf")));
    if (!files.open(QIODevice::WriteOnly) || !server.open(QIODevice::WriteOnly)) {
        skipReason_ = QStringLiteral("can't write cupsd's configuration in %1").arg(root);
        return false;
    }
    files.write(QStringLiteral("ServerRoot %1\nStateDir %1/state\nCacheDir %1/cache\nRequestRoot %1/spool\n"
                               "TempDir %1/spool/tmp\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                               "PageLog %1/log/page_log\nPrintcap %1/printcap\nDataDir /usr/share/cups\n"
                               "ServerBin /usr/lib/cups\nSystemGroup root\n")
                    .arg(root)
                    .toLocal8Bit());
    server.write(QStringLiteral("Listen %1\nLogLevel info\nMaxLogSize 0\nBrowsing Off\nWebInterface No\n"
                                "ErrorPolicy abort-job\nDefaultPolicy open\n"
                                "<Policy open>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                     .arg(socket)
                     .toLocal8Bit());
    files.close();
    server.close();

    // This process and every tool it starts speak to this server only.
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    qputenv("CUPS_SERVERROOT", root.toLocal8Bit());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");

    cupsd_.setProgram(findTool(QStringLiteral("cupsd")));
    cupsd_.setArguments(
        {QStringLiteral("-f"), QStringLiteral("-c"), server.fileName(), QStringLiteral("-s"), files.fileName()});
    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.setStandardOutputFile(dir.filePath(QStringLiteral("log/cupsd_output")));
    // cupsd must not outlive a test that crashes or is killed.
    cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    cupsd_.start();
    if (!cupsd_.waitForStarted(int(kGuard.count()))) {
        skipReason_ = QStringLiteral("can't start cupsd: %1").arg(cupsd_.errorString());
        return false;
    }
    QDeadlineTimer deadline(kGuard);
    while (cupsd_.state() == QProcess::Running && !deadline.hasExpired()) {
        const std::optional<QString> status = run(QStringLiteral("lpstat"), {QStringLiteral("-r")});
        if (status && status->trimmed() == QLatin1String("scheduler is running"))
            return true;
        QTest::qWait(200);
    }
    skipReason_ = QStringLiteral("cupsd did not answer: %1\n%2")
                      .arg(lastLines(dir.filePath(QStringLiteral("log/cupsd_output")), 5),
                          lastLines(dir.filePath(QStringLiteral("log/error_log")), 10));
    return false;
}

bool CupsQueue::addQueue()
{
    // The model's name as this server knows it, rather than a path written down here.
    const std::optional<QString> models = run(QStringLiteral("lpinfo"), {QStringLiteral("-m")});
    if (!models) {
        error_ = QStringLiteral("lpinfo -m failed: %1").arg(lastComplaint_);
        return false;
    }
    const QRegularExpressionMatch model
        = QRegularExpression(QStringLiteral("^(\\S*/CUPS-PDF_opt\\.ppd) "), QRegularExpression::MultilineOption)
              .match(*models);
    if (!model.hasMatch()) {
        skipReason_
            = QStringLiteral("no cups-pdf model on this machine (scripts/setup.sh installs printer-driver-cups-pdf)");
        return false;
    }
    // Whatever is in the output folders now was not printed here.
    pdfsBefore_ = pdfsNow();
    // The default renderer turns text into Type 3 glyphs that no text
    // extraction reads back; pdftocairo keeps the fonts' text.
    if (!run(QStringLiteral("lpadmin"),
            {QStringLiteral("-p"), name(), QStringLiteral("-v"), QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                model.captured(1), QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo"),
                QStringLiteral("-E")})
        || !run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name()})) {
        error_ = QStringLiteral("lpadmin could not add the default queue: %1").arg(lastComplaint_);
        return false;
    }
    return true;
}

QString CupsQueue::waitForPdf(std::chrono::milliseconds timeout)
{
    // A job stays listed until its backend has finished writing the file.
    QDeadlineTimer deadline(timeout);
    for (;;) {
        const std::optional<QString> jobs = run(QStringLiteral("lpstat"), {QStringLiteral("-o"), name()});
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
        lastComplaint_ = QStringLiteral("the queue is empty and no new PDF is in %1").arg(outputFolders_.join(u' '));
        return {};
    }
    pdfsBefore_ = now;
    pdfsReturned_.append(newest);
    return newest;
}

bool CupsQueue::removeQueue()
{
    return run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name()}).has_value();
}

QString CupsQueue::diagnostics() const
{
    return lastComplaint_ + QStringLiteral("\ncupsd's log ends:\n")
        + lastLines(QDir(dir_.path()).filePath(QStringLiteral("log/error_log")), 30);
}

std::optional<QString> CupsQueue::run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(findTool(tool), arguments);
    if (!process.waitForFinished(int(kGuard.count())) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
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
    for (const QString &folder : outputFolders_) {
        for (const QFileInfo &file : QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
            pdfs.insert(file.filePath(), file.lastModified());
    }
    return pdfs;
}

} // namespace orvanta::test
