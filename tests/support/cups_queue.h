#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <optional>

namespace orvanta::test {

// A print queue "PDF" on a cupsd of the test's own, made the default
// destination; each job lands as a PDF file in cups-pdf's output folder.
//
// The cupsd listens only on a socket in a temporary folder and keeps its
// state there, so a system cupsd, running or not, is neither changed nor in
// the way, and nothing of the queue outlives the object. The process's CUPS
// client is pointed at that socket while the object lives; the client keeps
// the first server it reaches, so make the queue before anything in the
// process asks for a printer.
class CupsQueue
{
public:
    static constexpr std::chrono::milliseconds kGuard{60'000};

    CupsQueue();
    ~CupsQueue();

    CupsQueue(const CupsQueue &) = delete;
    CupsQueue &operator=(const CupsQueue &) = delete;

    // Why no cupsd can run here (not root, not installed, would not start),
    // for QSKIP; empty otherwise.
    const QString &skipReason() const { return skipReason_; }
    // What went wrong once the server answered: a fault, not a reason to skip.
    const QString &error() const { return error_; }

    static QString name() { return QStringLiteral("PDF"); }
    // Where cups-pdf writes: the job owner's folder, then the anonymous one.
    const QStringList &outputFolders() const { return outputFolders_; }

    // Once no job is left in the queue, the newest PDF that appeared in the
    // output folders since the queue was made or the last one was returned;
    // empty if none did.
    QString waitForPdf(std::chrono::milliseconds timeout = kGuard);

    // Deletes the queue, leaving the server with no destination and so no default.
    bool removeQueue();

    // The last complaint and the end of the server's log, to explain a job
    // that printed nothing.
    QString diagnostics() const;

private:
    struct FileState
    {
        QDateTime modified;
        qint64 size = 0;
        bool operator==(const FileState &) const = default;
    };

    bool startServer();
    bool addQueue();
    void stopServer();
    std::optional<QString> run(const QString &tool, const QStringList &arguments);
    QHash<QString, FileState> pdfsNow() const;
    void overrideEnvironment(const char *name, const std::optional<QByteArray> &value);

    QTemporaryDir dir_;
    QProcess cupsd_;
    QString skipReason_;
    QString error_;
    QString lastComplaint_;
    QStringList outputFolders_;
    QStringList foldersMissingBefore_;
    QHash<QString, FileState> pdfsBefore_;
    QStringList pdfsReturned_;
    QList<QPair<QByteArray, std::optional<QByteArray>>> savedEnvironment_;
};

} // namespace orvanta::test
