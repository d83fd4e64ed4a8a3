#pragma once

#include <QDateTime>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace orvanta::test {

// A print queue "PDF" on a cupsd of the test's own, made the default
// destination; each job lands as a PDF file in cups-pdf's output folder.
// The cupsd listens only on a socket in a temporary folder, so a system cupsd
// is neither changed nor in the way. The client keeps the first server it
// reaches: make the queue before anything in the process asks for a printer.
class CupsQueue
{
public:
    CupsQueue();
    ~CupsQueue();

    // Why no cupsd can run here, for QSKIP; empty otherwise.
    const QString &skipReason() const { return skipReason_; }
    // What went wrong once the server answered: a fault, not a reason to skip.
    const QString &error() const { return error_; }

    // Once no job is left in the queue, the newest PDF that appeared since the
    // queue was made or the last one was returned; empty if none did.
    QString waitForPdf();
    // Deletes the queue, leaving the server with no default destination; true once it is gone.
    bool removeQueue();
    // The last complaint and the end of the server's log.
    QString diagnostics() const;

private:
    using Pdfs = QHash<QString, QDateTime>;

    std::optional<QString> run(const QString &tool, const QStringList &arguments);
    Pdfs pdfsNow() const;

    QTemporaryDir dir_;
    QProcess cupsd_;
    QString skipReason_;
    QString error_;
    QString complaint_;
    QString outputFolder_;
    Pdfs pdfsBefore_;
    QStringList pdfsReturned_;
    bool removed_ = false;
};

} // namespace orvanta::test
