#pragma once

#include "print/printer_target.h"

namespace orvanta::print {

// The system's default printer, with no dialog.
class DefaultPrinterTarget : public PrinterTarget
{
public:
    // nullptr when there is no default destination.
    std::unique_ptr<QPrinter> open() override;
};

} // namespace orvanta::print
