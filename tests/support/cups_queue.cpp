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
#include <sys/un.h>
#include <unistd.h>

namespace orvanta::test {

namespace {

constexpr std::chrono::milliseconds kPollInterval{200};
constexpr std::chrono::milliseconds kStopGuard{20'000};
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString kCupsPdfConfig = QStringLiteral("/etc/cups/cups-pdf.conf");

// cupsd, lpadmin and lpinfo live in sbin, which a plain user's PATH may lack.
QString findTool(const QString &name)
{
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty()
        ? QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
        : onPath;
}

// cups-pdf writes a job to its "Out" folder with ${HOME} and ${USER} taken
// from the job's owner, which is whoever runs this process; a job whose owner
// it does not know goes to the anonymous folder.
QStringList cupsPdfOutputFolders()
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QString anonymous = QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    QFile config(kCupsPdfConfig);
    if (config.open(QIODevice::ReadOnly | QIODevice::Text)) {
        while (!config.atEnd()) {
            const QString line = QString::fromUtf8(config.readLine()).trimmed();
            if (line.startsWith(u'#'))
                continue;
            const qsizetype gap = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
            if (gap < 0)
                continue;
            const QString key = line.left(gap);
            const QString value = line.mid(gap).trimmed();
            if (key == QLatin1String("Out"))
                out = value;
            else if (key == QLatin1String("AnonDirName"))
                anonymous = value;
        }
    }
    if (const passwd *owner = ::getpwuid(::getuid())) {
        out.replace(QLatin1String("${HOME}"), QString::fromLocal8Bit(owner->pw_dir));
        out.replace(QLatin1String("${USER}"), QString::fromLocal8Bit(owner->pw_name));
    }
    return {QDir::cleanPath(out), QDir::cleanPath(anonymous)};
}

// All the server keeps lives under root; it listens on socket only, no network port,
// so a system cupsd is never in its way.
bool writeServerConfiguration(const QString &root, const QString &socket)
{
    QFile files(root + QStringLiteral("/cups-files.conf"));
    QFile server(root + QStringLiteral("/cupsd.conf"));
    if (!files.open(QIODevice::WriteOnly) || !server.open(QIODevice::WriteOnly))
        return false;
    files.write(QStringLiteral("ServerRoot %1\n"
                               "StateDir %1/state\n"
                               "CacheDir %1/cache\n"
                               "RequestRoot %1/spool\n"
                               "TempDir %1/spool/tmp\n"
                               "AccessLog %1/log/access_log\n"
                               "ErrorLog %1/log/error_log\n"
                               "PageLog %1/log/page_log\n"
                               "Printcap %1/printcap\n"
                               "DataDir /usr/share/cups\n"
                               "ServerBin /usr/lib/cups\n"
                               "SystemGroup root\n")
                    .arg(root)
                    .toLocal8Bit());
    // No authentication: the server exists for this test's jobs only.
    // A failed job is dropped rather than retried, so a wait for its PDF ends.
    server.write(QStringLiteral("Listen %1\n"
                                "LogLevel info\n"
                                "MaxLogSize 0\n"
                                "Browsing Off\n"
                                "WebInterface No\n"
                                "ErrorPolicy abort-job\n"
                                "DefaultPolicy open\n"
                                "<Policy open>\n"
                                "  <Limit All>\n"
                                "    Order deny,allow\n"
                                "  </Limit>\n"
                                "</Policy>\n")
                     .arg(socket)
                     .toLocal8Bit());
    return files.flush() && server.flush();
}

QString lastLines(const QString &path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() > count)
        lines = lines.mid(lines.size() - count);
    return lines.join(u'\n');
}

} // namespace

CupsQueue::CupsQueue()
{
    // The cups-pdf backend runs only under a cupsd that runs as root.
    if (::geteuid() != 0) {
        skipReason_ = QStringLiteral("cups-pdf prints only under a cupsd run as root; this test is not root");
        return;
    }
    for (const QString &tool :
        {QStringLiteral("cupsd"), QStringLiteral("lpadmin"), QStringLiteral("lpinfo"), QStringLiteral("lpstat")}) {
        if (findTool(tool).isEmpty()) {
            skipReason_ = QStringLiteral("%1 is not installed (scripts/setup.sh installs cups)").arg(tool);
            return;
        }
    }
    if (!QFileInfo::exists(kBackend)) {
        skipReason_ = QStringLiteral("%1 is missing (scripts/setup.sh installs printer-driver-cups-pdf)").arg(kBackend);
        return;
    }
    if (!dir_.isValid()) {
        skipReason_ = QStringLiteral("no temporary folder for cupsd: %1").arg(dir_.errorString());
        return;
    }
    outputFolders_ = cupsPdfOutputFolders();
    if (startServer())
        addQueue();
}

CupsQueue::~CupsQueue()
{
    // The queue and every job are in the server's own folder, gone with it.
    stopServer();
    for (const QString &pdf : std::as_const(pdfsReturned_))
        QFile::remove(pdf);
    for (const QString &folder : std::as_const(foldersMissingBefore_))
        QDir().rmdir(folder); // only if empty: something else may have printed there meanwhile
    for (auto it = savedEnvironment_.crbegin(); it != savedEnvironment_.crend(); ++it) {
        if (it->second)
            qputenv(it->first.constData(), *it->second);
        else
            qunsetenv(it->first.constData());
    }
}

bool CupsQueue::startServer()
{
    const QDir dir(dir_.path());
    const QString socket = dir.filePath(QStringLiteral("cups.sock"));
    if (socket.toLocal8Bit().size() >= qsizetype(sizeof(sockaddr_un::sun_path))) {
        skipReason_ = QStringLiteral("the temporary folder's path is too long for a socket: %1").arg(socket);
        return false;
    }
    // Filters run as the lp user and must reach the spool inside.
    QFile::setPermissions(dir.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
            | QFile::ExeOther);
    for (const char *sub : {"state", "cache", "spool", "spool/tmp", "log"})
        dir.mkpath(QString::fromLatin1(sub));

    const QString root = dir.path();
    if (!writeServerConfiguration(root, socket)) {
        skipReason_ = QStringLiteral("can't write cupsd's configuration in %1").arg(root);
        return false;
    }

    // The client side of the process and of every tool it starts: this
    // server only, no system-wide client settings, no user's choice of printer.
    overrideEnvironment("CUPS_SERVER", socket.toLocal8Bit());
    overrideEnvironment("CUPS_SERVERROOT", root.toLocal8Bit());
    overrideEnvironment("PRINTER", std::nullopt);
    overrideEnvironment("LPDEST", std::nullopt);

    cupsd_.setProgram(findTool(QStringLiteral("cupsd")));
    cupsd_.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), dir.filePath(QStringLiteral("cupsd.conf")),
        QStringLiteral("-s"), dir.filePath(QStringLiteral("cups-files.conf"))});
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
    for (;;) {
        if (cupsd_.state() != QProcess::Running) {
            skipReason_ = QStringLiteral("cupsd ended as it started: %1")
                              .arg(lastLines(dir.filePath(QStringLiteral("log/cupsd_output")), 5) + u'\n'
                                  + lastLines(dir.filePath(QStringLiteral("log/error_log")), 10));
            return false;
        }
        const std::optional<QString> status = run(QStringLiteral("lpstat"), {QStringLiteral("-r")});
        if (status && status->trimmed() == QLatin1String("scheduler is running"))
            return true;
        if (deadline.hasExpired()) {
            skipReason_ = QStringLiteral("cupsd did not answer within %1 s").arg(kGuard.count() / 1000);
            stopServer();
            return false;
        }
        QTest::qWait(int(kPollInterval.count()));
    }
}

bool CupsQueue::addQueue()
{
    // The model's name as this server knows it, rather than a path written down here.
    const std::optional<QString> models = run(QStringLiteral("lpinfo"), {QStringLiteral("-m")});
    if (!models) {
        error_ = QStringLiteral("lpinfo -m failed: %1").arg(lastComplaint_);
        return false;
    }
    QString model;
    for (const QString &line : models->split(u'\n', Qt::SkipEmptyParts)) {
        const QString name = line.section(u' ', 0, 0);
        if (name.endsWith(QLatin1String("/CUPS-PDF_opt.ppd")))
            model = name;
    }
    if (model.isEmpty()) {
        skipReason_
            = QStringLiteral("no cups-pdf model on this machine (scripts/setup.sh installs printer-driver-cups-pdf)");
        return false;
    }

    // Snapshot first: whatever is in the output folders now was not printed here.
    for (const QString &folder : std::as_const(outputFolders_)) {
        if (!QFileInfo::exists(folder))
            foldersMissingBefore_.append(folder);
    }
    pdfsBefore_ = pdfsNow();

    // The default renderer turns text into Type 3 glyphs that no text
    // extraction reads back; pdftocairo keeps the fonts' text.
    if (!run(QStringLiteral("lpadmin"),
            {QStringLiteral("-p"), name(), QStringLiteral("-v"), QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                model, QStringLiteral("-o"), QStringLiteral("pdftops-renderer-default=pdftocairo"),
                QStringLiteral("-E")})) {
        error_ = QStringLiteral("lpadmin could not add the queue: %1").arg(lastComplaint_);
        return false;
    }
    if (!run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name()})) {
        error_ = QStringLiteral("lpadmin could not make the queue the default: %1").arg(lastComplaint_);
        return false;
    }
    return true;
}

void CupsQueue::stopServer()
{
    if (cupsd_.state() == QProcess::NotRunning)
        return;
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(int(kStopGuard.count()))) {
        cupsd_.kill();
        cupsd_.waitForFinished(int(kStopGuard.count()));
    }
}

QString CupsQueue::waitForPdf(std::chrono::milliseconds timeout)
{
    QDeadlineTimer deadline(timeout);
    for (;;) {
        // A job stays listed until its backend has finished writing the file.
        const std::optional<QString> jobs = run(QStringLiteral("lpstat"), {QStringLiteral("-o"), name()});
        if (jobs && jobs->trimmed().isEmpty())
            break;
        if (deadline.hasExpired()) {
            lastComplaint_ = jobs ? QStringLiteral("still queued after %1 s: %2").arg(timeout.count() / 1000).arg(*jobs)
                                  : lastComplaint_;
            return {};
        }
        QTest::qWait(int(kPollInterval.count()));
    }

    const QHash<QString, FileState> now = pdfsNow();
    QString newest;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (pdfsBefore_.value(it.key()) == it.value())
            continue;
        if (newest.isEmpty() || it.value().modified > now.value(newest).modified)
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
    if (!process.waitForFinished(int(kGuard.count()))) {
        lastComplaint_ = QStringLiteral("%1 did not finish: %2").arg(tool, process.errorString());
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        lastComplaint_ = QStringLiteral("%1 %2: %3")
                             .arg(tool, arguments.join(u' '), QString::fromLocal8Bit(process.readAllStandardError()));
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QHash<QString, CupsQueue::FileState> CupsQueue::pdfsNow() const
{
    QHash<QString, FileState> pdfs;
    for (const QString &folder : outputFolders_) {
        const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::NoSort);
        for (const QFileInfo &file : files)
            pdfs.insert(file.filePath(), {file.lastModified(), file.size()});
    }
    return pdfs;
}

void CupsQueue::overrideEnvironment(const char *name, const std::optional<QByteArray> &value)
{
    savedEnvironment_.append({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

} // namespace orvanta::test
