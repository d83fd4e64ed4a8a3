#pragma once

#include "print/printer_target.h"

#include <QPageSize>
#include <QString>

namespace orvanta::print {

// Prints to a PDF file, so tests can read back what a window printed. Each
// open() starts the file anew.
class PdfPrinterTarget : public PrinterTarget
{
public:
    explicit PdfPrinterTarget(QString path, QPageSize pageSize = QPageSize(QPageSize::A4));

    // Acts as a machine without a default printer: open() gives nullptr.
    void setNoPrinter(bool noPrinter) { noPrinter_ = noPrinter; }

    const QString &path() const { return path_; }
    std::unique_ptr<QPrinter> open() override;

private:
    QString path_;
    QPageSize pageSize_;
    bool noPrinter_ = false;
};

} // namespace orvanta::print
