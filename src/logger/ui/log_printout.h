#pragma once

#include <QString>

class QPrinter;

namespace orvanta::logger {

// The printed log: an empty line, the title in Arial 18 bold, then the text
// area's text in Arial 12, each line below the one before and on to as many
// pages as it takes. A line wider than the page goes on below, at a blank if
// it has one; no line is cut at the edge or split between two pages.
class LogPrintout
{
public:
    static inline const QString kFontFamily = QStringLiteral("Arial");
    static constexpr int kTitlePoints = 18;
    static constexpr int kTextPoints = 12;

    // False when the printer would not take the job.
    static bool print(QPrinter &printer, const QString &text);
};

} // namespace orvanta::logger
