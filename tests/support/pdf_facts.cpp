#include "support/pdf_facts.h"

#include <QProcess>
#include <QRegularExpression>

#include <chrono>

namespace orvanta::test {

namespace {

// Generous: a loaded machine may be slow, but a tool that hangs must not hang the test.
constexpr std::chrono::milliseconds kToolGuard{60'000};

} // namespace

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

QList<PdfWord> pdfWords(const QString &path, int *pages)
{
    const QString html
        = QString::fromUtf8(toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, "-"}).value_or(""));
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    int page = 0;
    for (const QRegularExpressionMatch &match : tag.globalMatch(html)) {
        if (match.captured(0) == u"<page ") {
            ++page;
            continue;
        }
        const QPointF topLeft(match.captured(1).toDouble(), match.captured(2).toDouble());
        const QPointF bottomRight(match.captured(3).toDouble(), match.captured(4).toDouble());
        words.append({page, QRectF(topLeft, bottomRight), match.captured(5)});
    }
    if (pages)
        *pages = page;
    return words;
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
