#pragma once

#include <QImage>
#include <QString>

namespace orvanta::test {

// What poppler-utils read from a PDF file: -1, an empty text or a null image
// when the file can't be read.
int pdfPageCount(const QString &path);
// The text laid out as on the page.
QString pdfText(const QString &path);
// Page numbers count from 1.
QImage pdfPageImage(const QString &path, int page, int dotsPerInch = 50);

} // namespace orvanta::test
