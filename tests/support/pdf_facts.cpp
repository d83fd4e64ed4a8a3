#include "support/pdf_facts.h"

#include <QProcess>
#include <QRegularExpression>

#include <chrono>
#include <optional>

namespace orvanta::test {

namespace {

// Generous: a loaded machine may be slow, but a tool that hangs must not hang the test.
constexpr std::chrono::milliseconds kToolGuard{60'000};

std::optional<QByteArray> toolOutput(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(int(kToolGuard.count()))) {
        tool.kill();
        tool.waitForFinished();
        return std::nullopt;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return tool.readAllStandardOutput();
}

} // namespace

int pdfPageCount(const QString &path)
{
    const std::optional<QByteArray> info = toolOutput(QStringLiteral("pdfinfo"), {path});
    if (!info)
        return -1;
    static const QRegularExpression pages(
        QStringLiteral("^Pages:\\s+(\\d+)\\s*$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = pages.match(QString::fromUtf8(*info));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString &path)
{
    const std::optional<QByteArray> text
        = toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    return text ? QString::fromUtf8(*text) : QString();
}

QImage pdfPageImage(const QString &path, int page, int dotsPerInch)
{
    // Without an output name pdftoppm writes the one page to its standard output.
    const std::optional<QByteArray> png = toolOutput(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-f"),
            QString::number(page), QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), path});
    return png ? QImage::fromData(*png, "PNG") : QImage();
}

} // namespace orvanta::test
