#pragma once

#include <QPrinter>

#include <memory>

namespace orvanta::print {

// Where a window's print job goes: the default printer in the program, a PDF
// file in tests.
//
// For callers: "no printer" is either open() giving nullptr or a
// QPainter::begin() on the printer it gives that fails. Both get the window's
// own message and change nothing else.
class PrinterTarget
{
public:
    virtual ~PrinterTarget() = default;

    // A printer ready for a QPainter, or nullptr when there is nothing to print on.
    virtual std::unique_ptr<QPrinter> open() = 0;
};

} // namespace orvanta::print
