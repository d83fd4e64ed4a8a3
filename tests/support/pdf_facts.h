#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvanta::test {

// One word of a PDF as pdftotext -bbox reads it: its page (from 1) and its
// box in points from the page's top left.
struct PdfWord
{
    int page;
    QRectF box;
    QString text;
};

// What poppler-utils read from a PDF file; nothing, an empty list or a null
// image when the file can't be read.
std::optional<QByteArray> toolOutput(const QString &program, const QStringList &arguments);
QList<PdfWord> pdfWords(const QString &path, int *pages = nullptr);
// Page numbers count from 1.
QImage pdfPageImage(const QString &path, int page, int dotsPerInch = 50);

} // namespace orvanta::test
