#include "print/pdf_printer_target.h"

#include <QPrinterInfo>

#include <utility>

namespace orvanta::print {

PdfPrinterTarget::PdfPrinterTarget(QString path, QPageSize pageSize)
    : path_(std::move(path))
    , pageSize_(std::move(pageSize))
{ }

std::unique_ptr<QPrinter> PdfPrinterTarget::open()
{
    if (noPrinter_)
        return nullptr;
    // A null printer info: the page must not take its size or margins from
    // whatever default printer the machine has.
    auto printer = std::make_unique<QPrinter>(QPrinterInfo(), QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path_);
    printer->setPageSize(pageSize_);
    return printer;
}

} // namespace orvanta::print
