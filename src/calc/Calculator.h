#pragma once
// The calculator of one calculation: it groups the order's parts into part types and, sheet by
// sheet, chooses a stock dimension, searches the best plan for one sheet of it, repeats the plan as
// often as the demand and the stock allow, and stores it in its container's result with the
// recyclable rests, until every part is placed, no dimension takes any part, or Stop is set.
// It is owned by the TSheets that runs it and reports through its CalculationInfo. Problems become
// numbered error lines of the report; the first code stays in LastError. Nothing is thrown.
#include "calc/LowerBound.h"
#include "calc/SheetSearch.h"
#include "model/Sheets.h"

#include <memory>

namespace lintaro {

class TCSPartInList;
class TCuttingSheet;
class TDimension;
class TImproveStage;

class TCSCalculator : public TCalculatorBase {
    LINTARO_COMPONENT(TCSCalculator)
public:
    explicit TCSCalculator(TComponent* owner = nullptr);
    ~TCSCalculator() override;
    void InitDefaults() override;

    bool Calculate() override;

    TCSPartInList* PartsIn() const { return partsIn_; }
    TCuttingSheet* BestSheet() const { return bestSheet_; }
    int InitialPartsCount() const { return initialPartsCount_; }

    // Figures of a whole run, for the benchmarks and the batch tool.
    struct TRunFigures {
        int64_t expansions = 0;
        size_t longestQueue = 0;
        int64_t improveExpansions = 0; // of the improvement stage
        int sheetsBefore = 0;          // sheets of the first pass, when the stage ran
        int sheetsAfter = 0;           // sheets after the stage
        TLowerBound bound;             // of the order on the stock sizes it could take
    };
    TRunFigures Figures() const { return figures_; }
    // The figures of the last run that ended in this process.
    static TRunFigures LastRunFigures();

    // The bound on the search queue (see TSearchSettings::queueLimit), for every calculator.
    static void SetQueueLimit(size_t limit);
    static size_t QueueLimit();
    // The seed of the improvement stage's random choices, for every calculator: fixed, so that one
    // order gives one plan; another seed shows how much of a result is the draw.
    static void SetImproveSeed(uint64_t seed);

private:
    TSheets* container() const;
    void addError(int code, const QString& argument);
    void phase(TSheetsCalculationPhase p);
    void prepareNewCuttingSheet();
    void solve();
    void takeBestPlan(const TSearchPlan& plan);
    void multiply();
    void storeResult();
    void reportUnplacedParts();
    QString nowText() const;
    Clock& searchClock() const;
    void showSheetProgress();
    TSearchSettings searchSettings() const;
    void improve();
    void reportBound();

    double startTime_ = 0;
    int64_t generatedCount_ = 0;
    double lastSheetProgress_ = -1;    // steady seconds at which the search last showed its progress
    TCSPartInList* partsIn_ = nullptr; // owned
    int initialPartsCount_ = 0;
    TCuttingSheet* bestSheet_ = nullptr; // owned
    int64_t processedCount_ = 0;
    TDimension* currentDimension_ = nullptr; // in the container's material
    std::unique_ptr<TSheetSearch> search_;
    TRunFigures figures_;

    // The improvement stage (SheetsImprove): the first pass runs on a clock of its own pace, and
    // every stored plan is kept for the stage with the part types of its search.
    std::unique_ptr<Clock> firstPassClock_;
    std::unique_ptr<TImproveStage> stage_;
    std::vector<int> typeIndex_; // the current search's part types in the stage's demand
    TSearchPlan lastPlan_;
    double calculationStart_ = 0;
};

// Makes every TSheets calculate with TCSCalculator.
void InstallCalculator();

} // namespace lintaro
