#pragma once
// Where a cut across the whole sheet crosses no piece, the sheet falls apart into bands: the pieces
// between two such cuts. A band keeps its layout when it is stacked again in another order, or on
// another sheet of the same size, so the improvement stage trades bands between sheets: the free
// length of several sheets then gathers on one, in one rest across it, where larger pieces fit.
#include "calc/PlanImprover.h"

#include <cstdint>
#include <vector>

namespace lintaro {

struct TSheetBand {
    int sheet = 0;      // the sheet it lies on, an index into the caller's list
    int64_t start = 0;  // raw mm along the stacking direction
    int64_t length = 0; // raw mm, with the cut after it
};

// The bands of a sheet stacked along Y (across: along X), each with the kerf of the cut after it;
// `side` is the sheet's length along the cuts. None when a band could not be cut out on its own.
std::vector<TSheetBand> SheetBandsOf(const TImproveSheet& sheet, int sheetIndex, bool across, int64_t kerf,
                                     int64_t side);

// Stacks the bands in the order given from the sheet's edge on a sheet of x × y: the pieces of each
// band move with it, and the length left over becomes one rest across the sheet. False when the
// bands are longer than the sheet.
bool StackBands(const std::vector<const TImproveSheet*>& from, const std::vector<TSheetBand>& bands,
                int64_t x, int64_t y, TCSDimOutOrientation grain, bool across, int64_t kerf,
                TImproveSheet& out);

// The bands, as indices, whose lengths come closest to `capacity` without passing it; `work` counts
// the sums tried.
std::vector<int> FullestBands(const std::vector<TSheetBand>& bands, int64_t capacity, int64_t& work);

} // namespace lintaro
