#pragma once
// The fewest sheets any plan of an order could need, or with stock of several sizes the least stock
// area: no plan, guillotine or not, can do better, so a result that meets it is the best possible
// and the improvement stage has nothing left to gain.
//
// With one stock size the bound is the largest of a family of area bounds in which every piece's
// width and length are first mapped by a dual feasible function: pieces longer than the sheet less
// a threshold count as the whole sheet's length, pieces shorter than the threshold as nothing (the
// classic area bound, the count of pieces of which no two fit beside each other, and the bounds of
// wide pieces stacked along the sheet are members of it); or, by a rounding function, each length
// rounded down to whole k-th parts of the sheet. A piece that may be turned counts in its
// cheaper way. The kerf is added to every piece and to the sheet, which keeps the bound true for
// cuts of that width.
//
// With several sizes the bound is the least stock area of whole sheets, as many of each size as
// there are, that holds the parts' area (the kerf added as above), with every size taking at least
// the sheets that the pieces fitting on it alone need.
#include "model/CalcOrientation.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace lintaro {

class TSheets;

struct TBoundPiece {
    int64_t x = 0, y = 0; // raw mm
    TCSPartInOrientation orientation = cspioNone;
    int count = 0;
};

struct TBoundStock {
    int64_t x = 0, y = 0; // raw mm
    TCSDimOutOrientation grain = csdooNone;
    int count = -1; // sheets there are; −1: as many as needed (the default size)
};

struct TLowerBound {
    bool valid = false;   // false without pieces that fit or without stock
    bool oneSize = false; // one stock size: `sheets` is the bound
    int sheets = 0;
    double stockArea = 0; // m²: `sheets` times the sheet, or with several sizes the least stock area
};

TLowerBound ComputeLowerBound(const std::vector<TBoundPiece>& pieces, const std::vector<TBoundStock>& stocks,
                              int64_t kerf);

// The bound of the container's order on the stock sizes a calculation may take: not stopped, with
// sheets in stock, the default size, or a size the result already uses (its count may be spent).
TLowerBound LowerBoundOf(const TSheets& sheets);

// How far a result is from the bound, for the calculation report and the batch tool.
struct TBoundGap {
    int sheets = 0;       // with one stock size: sheets above the bound
    double percent = 0;   // stock area above the bound's, in percent of the bound
    bool optimal = false; // the result meets the bound
};

TBoundGap GapOf(const TLowerBound& bound, int resultSheets, double resultStockArea);

// "Lower bound: 36 sheets; at most 1 sheet above the best possible", or without a placed result
// the bound alone.
QString BoundReportLine(const TLowerBound& bound, bool complete, int resultSheets, double resultStockArea);

// The bound as BoundReportLine wrote it into a calculation report, for a saved result whose stock
// sizes are no longer known; not valid when the report has no such line.
TLowerBound BoundFromReport(const QStringList& report);

} // namespace lintaro
