#include "print/default_printer_target.h"

#include <QPrinterInfo>

namespace orvanta::print {

std::unique_ptr<QPrinter> DefaultPrinterTarget::open()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    // High resolution, as the PDF target: a test's page is laid out as the printer's.
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // The destination can vanish between asking for it and opening it.
    if (!printer->isValid())
        return nullptr;
    return printer;
}

} // namespace orvanta::print
