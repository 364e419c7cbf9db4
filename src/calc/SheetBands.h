#pragma once
// Where a cut across the whole sheet crosses no piece, the sheet falls apart into bands: the pieces
// between two such cuts. A band keeps its layout when it is stacked again in another order, or on
// another sheet of the same size, so the improvement stage trades bands between sheets: the free
// length of several sheets then gathers on one, in one rest across it, where larger pieces fit.
// Pieces wider than half the sheet never lie side by side, so the stage also stacks them afresh,
// each sheet taking those whose lengths fill it closest.
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

// Stacks one piece of each of the part types listed (indices into `types`, placed unturned) along
// Y from the sheet's edge (across: along X), every piece against the edge X = 0 (across: Y = 0),
// the widest first, so that the room beside the stack widens towards its top. The room beside
// each piece and the length left above the stack become rests. False when the pieces are longer
// than the sheet.
bool StackPieces(const std::vector<TSearchPartType>& types, std::vector<int> pieces, int64_t x, int64_t y,
                 TCSDimOutOrientation grain, bool across, int64_t kerf, TImproveSheet& out);

// As StackPieces, each row of pieces side by side across the stack, the longest first; the rows
// stacked the widest first. A row's length is its longest piece's.
bool StackRows(const std::vector<TSearchPartType>& types, std::vector<std::vector<int>> rows, int64_t x,
               int64_t y, TCSDimOutOrientation grain, bool across, int64_t kerf, TImproveSheet& out);

// The bands, as indices, whose lengths come closest to `capacity` without passing it; `work` counts
// the sums tried.
std::vector<int> FullestBands(const std::vector<TSheetBand>& bands, int64_t capacity, int64_t& work);

} // namespace lintaro
