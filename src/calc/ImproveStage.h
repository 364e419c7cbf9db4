#pragma once
// The calculator's side of the improvement stage: it collects the sheets the sheet-by-sheet search
// stored, hands them to TPlanImprover as one result, and when the stage found a better one, puts it
// in the container in their place: the cutting sheets (identical sheets with the same order parts
// counted as one), the stock counts of the container's material and the report lines.
#include "calc/LowerBound.h"
#include "calc/PlanImprover.h"

#include <memory>
#include <vector>

namespace lintaro {

class TCSPartInList;
class TDimension;
class TSheets;

class TImproveStage {
public:
    // Takes the demand as it was before the first sheet, and the stock counts as they are now.
    TImproveStage(TSheets* sheets, const TCSPartInList& demand, const TSearchSettings& search);
    ~TImproveStage();

    // The index of the part type of the demand with this size and rule, or -1.
    int TypeIndexOf(int64_t x, int64_t y, TCSPartInOrientation orientation) const;
    // A plan stored count times on `dim`; the plan's part types are typeIndex[type].
    void AddStored(const TSearchPlan& plan, const std::vector<int>& typeIndex, const TDimension* dim,
                   int count);

    // The bound of the order: the stage ends as soon as its result meets it.
    void SetBound(const TLowerBound& bound) { bound_ = bound; }

    // Runs the stage. When the result improved, it replaces the container's sheets and stock counts;
    // the report gets a line on what the stage gained and, after a change, one line per new sheet.
    void Run(const TImproveControl& control, const TImproveSettings& settings);

    const TImproveResult& Start() const { return start_; }
    const TImproveResult& Result() const { return result_; }
    int64_t Expansions() const { return expansions_; }

private:
    int stockIndexOf(const TDimension* dim) const;
    void replaceResult();
    int sheetCount(const TImproveResult& r) const;
    bool meetsBound(const TImproveResult& r) const;

    TSheets* sheets_;
    std::unique_ptr<TCSPartInList> demand_;
    std::vector<TSearchPartType> types_;
    std::vector<TDimension*> dims_; // the stocks of the stage, in the calculator's order
    std::vector<TImproveStock> stocks_;
    std::vector<TDimension*> allDims_;
    std::vector<int> initialCounts_; // of allDims_
    TSearchSettings search_;
    TImproveResult start_;
    TImproveResult result_;
    TLowerBound bound_;
    int64_t demandPieces_ = 0;
    bool valid_ = true; // false when a stored sheet lies on a size the stage may not use
    int64_t expansions_ = 0;
};

} // namespace lintaro
