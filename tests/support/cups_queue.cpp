#include "support/cups_queue.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvanta::test {

namespace {

constexpr int kGuardMs = 60'000;

QString lastLines(const QString &path, int count)
{
    QFile file(path);
    const QStringList lines
        = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u'\n') : QStringList();
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
    for (const char *tool : {"cupsd", "lpadmin", "lpinfo", "lpstat"})
        if (skipReason_.isEmpty() && QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            skipReason_ = QStringLiteral("%1 is not installed (scripts/setup.sh installs cups)").arg(tool);
    if (!QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")))
        skipReason_ = QStringLiteral("no cups-pdf backend (scripts/setup.sh installs printer-driver-cups-pdf)");
    if (!skipReason_.isEmpty())
        return;
    // cups-pdf's "Out" for root, as Debian sets it.
    outputFolder_ = QDir::homePath() + QStringLiteral("/PDF");

    // Socket only, no network port, no authentication; a failed job is
    // dropped rather than retried, so a wait for its PDF ends.
    const QString root = dir_.path();
    ::chmod(qPrintable(root), 0755); // filters run as the lp user and must reach the spool
    for (const char *sub : {"state", "cache", "spool/tmp", "log"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    const QString socket = root + QStringLiteral("/cups.sock");
    writeFile(root + "/cups-files.conf",
        QStringLiteral("ServerRoot %1\nStateDir %1/state\nCacheDir %1/cache\nRequestRoot %1/spool\n"
                       "TempDir %1/spool/tmp\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                       "PageLog %1/log/page_log\nPrintcap %1/printcap\nDataDir /usr/share/cups\n"
                       "ServerBin /usr/lib/cups\nSystemGroup root\n")
            .arg(root)
            .toUtf8());
    writeFile(root + "/cupsd.conf",
        QStringLiteral("Listen %1\nLogLevel info\nBrowsing Off\nWebInterface No\nErrorPolicy abort-job\n"
                       "DefaultPolicy open\n<Policy open>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                       "</Policy>\n")
            .arg(socket)
            .toUtf8());
    // This process and every tool it starts speak to this server only.
    qputenv("CUPS_SERVER", socket.toLocal8Bit());
    qunsetenv("PRINTER");
    cupsd_.setProcessChannelMode(QProcess::MergedChannels);
    cupsd_.setStandardOutputFile(root + QStringLiteral("/log/cupsd_output"));
    // cupsd must not outlive a test that crashes or is killed.
    cupsd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    cupsd_.start(QStringLiteral("cupsd"), {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
    const bool answers = QTest::qWaitFor(
        [&] { return run(QStringLiteral("lpstat"), {"-r"}).value_or("").trimmed() == "scheduler is running"; },
        kGuardMs);
    if (!answers) {
        skipReason_ = QStringLiteral("cupsd did not answer: %1").arg(lastLines(root + "/log/cupsd_output", 5));
        return;
    }
    // The model's name as this server knows it; pdftocairo keeps the fonts'
    // text, which the default renderer turns into glyphs no extraction reads.
    const QRegularExpressionMatch model
        = QRegularExpression(QStringLiteral("^(\\S*/CUPS-PDF_opt\\.ppd) "), QRegularExpression::MultilineOption)
              .match(run(QStringLiteral("lpinfo"), {"-m"}).value_or(""));
    pdfsBefore_ = pdfsNow();
    if (!model.hasMatch()
        || !run(QStringLiteral("lpadmin"),
            {"-p", "PDF", "-v", "cups-pdf:/", "-m", model.captured(1), "-o", "pdftops-renderer-default=pdftocairo",
                "-E"})
        || !run(QStringLiteral("lpadmin"), {"-d", "PDF"}))
        error_ = QStringLiteral("could not add the default queue: %1").arg(complaint_);
}

CupsQueue::~CupsQueue()
{
    // The queue and every job are in the server's own folder, gone with it.
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(kGuardMs))
        cupsd_.kill();
    for (const QString &pdf : std::as_const(pdfsReturned_))
        QFile::remove(pdf);
}

QString CupsQueue::waitForPdf()
{
    // A job stays listed until its backend has finished writing the file.
    if (!QTest::qWaitFor(
            [&] {
                return run(QStringLiteral("lpstat"), {"-o", "PDF"}).value_or("x").trimmed().isEmpty();
            },
            kGuardMs))
        return {};
    const Pdfs now = pdfsNow();
    QString newest;
    for (auto it = now.cbegin(); it != now.cend(); ++it)
        if (pdfsBefore_.value(it.key()) != it.value() && (newest.isEmpty() || it.value() > now.value(newest)))
            newest = it.key();
    complaint_ = QStringLiteral("no new PDF in %1").arg(outputFolder_);
    pdfsBefore_ = now;
    if (!newest.isEmpty())
        pdfsReturned_.append(newest);
    return newest;
}

bool CupsQueue::removeQueue()
{
    removed_ = removed_ || run(QStringLiteral("lpadmin"), {"-x", "PDF"}).has_value();
    return removed_;
}

QString CupsQueue::diagnostics() const
{
    return complaint_ + QStringLiteral("\ncupsd's log ends:\n") + lastLines(dir_.filePath("log/error_log"), 30);
}

std::optional<QString> CupsQueue::run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(kGuardMs) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        complaint_ = QStringLiteral("%1 %2: %3").arg(tool, arguments.join(u' '), process.readAllStandardError());
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
