#pragma once
// The guillotine cuts of a stored cutting plan. The result keeps only where each piece lies, not
// the cuts, so they are worked out again: a region is split by the first straight line across it
// that crosses no piece (across X first, then across Y), until every piece (placed part or
// recyclable rest) stands alone in its region. Waste needs no cut of its own.
#include "foundation/Currency.h"

namespace lintaro {
class TCuttingSheet;
}

namespace lintaro::cli {

struct TCutFigures {
    int Count = 0;
    Currency Length; // stored millimetres
};

// The cuts of one sheet (not multiplied by its count). A plan that is not guillotine-cut counts
// the cuts up to where it stops being one.
TCutFigures CountCuts(const TCuttingSheet& sheet, Currency cutWidth);

} // namespace lintaro::cli
