#pragma once
// The margin test before printing: a printer cannot print to the edge of its paper, so the report's
// margins must each be at least the printer's unprintable amount on that side. Too small margins lead
// to a question (through the report's AskYesNo: the window asks the person, the batch tool answers
// yes) whether to raise them to what the printer allows.
#include "reports/ReportMessages.h"
#include <QString>

QT_BEGIN_NAMESPACE
class QPrinter;
QT_END_NAMESPACE

namespace lintaro {

class TSestava;
struct TPageSetup;

// What a printer cannot print on each side of the paper, in hundredths of an inch.
struct TUnprintableMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TUnprintableMargins&) const = default;
};

// From the printer's paper as its page layout describes it (in the layout's orientation), rounded up
// so that margins raised to them really suffice.
TUnprintableMargins PrinterUnprintableMargins(const QPrinter& printer);

// Whether each margin of page is at least the unprintable amount on its side.
bool MarginsFit(const TPageSetup& page, const TUnprintableMargins& minimum);
// Raises each margin to at least its minimum; larger margins stay.
void RaiseMargins(TPageSetup& page, const TUnprintableMargins& minimum);

enum TMarginTestResult {
    mtFits,      // the margins were large enough
    mtRaised,    // the answer was yes: the margins now fit
    mtKept,      // the answer was no: the margins stay as they are
    mtNoPrinter, // no usable printer to test against
};

// The margin test against the printer of that index (−1 the default printer): the paper set to the
// report's page size and orientation, then its unprintable margins against the report's.
TMarginTestResult TestMargins(TSestava& report, int printerIndex);
// The same against known unprintable margins.
TMarginTestResult TestMargins(TSestava& report, const TUnprintableMargins& minimum);

namespace MarginMessages {
inline QString RaiseQuestion() {
    return ReportMessages::EngineText(
        "MarginRaiseQuestion",
        QStringLiteral("Nastavené okraje tisku jsou menší, než umožňuje připojená tiskárna. Upravit "
                       "velikost okrajů podle možností tiskárny?"));
}
} // namespace MarginMessages

} // namespace lintaro
