#pragma once
// The calculation container of an order: state and phase of the calculation, the progress figures,
// the report, the snapshot of the material used, the demand totals and the resulting cutting
// sheets. It runs the calculator synchronously; the calculator reports back through
// CalculationInfo. Everything it owns is freed with it; a failed calculation leaves the sheets found
// so far, the full report and the state ssCalculatedError, and raises nothing.
#include "foundation/Currency.h"
#include "foundation/DataComponent.h"

#include <QStringList>

#include <functional>

namespace lintaro {

class TCuttingSheetList;
class TINI;
class TMaterial;
class TPartList;
class TSheets;

enum TSheetsState { ssNone, ssCalculating, ssCalculatedOK, ssCalculatedError, ssPartsChanged };
enum TSheetsCalculationPhase {
    scpNone,
    scpClearResults,
    scpPrepareParams,
    scpPrepareDims,
    scpPreparePartsIn,
    scpPrepareNewCuttingSheet,
    scpSolve,
    scpMultiplication,
    scpStoreResultCuttingSheet,
    scpAssignUnusedPartsToReport,
    scpImprove // the improvement stage after the sheet-by-sheet search
};

// What the container needs of a calculator; the calculation layer provides the real one.
class TCalculatorBase : public TDataComponent {
public:
    using TDataComponent::TDataComponent;
    virtual bool Calculate() = 0;
    bool Stop() const { return stop_; }
    void SetStop(bool value) { stop_ = value; }
    int LastError() const { return lastError_; }
    void SetLastError(int value) { lastError_ = value; }

private:
    bool stop_ = false;
    int lastError_ = 0;
};

class TSheets : public TDataComponent {
    LINTARO_COMPONENT(TSheets)
public:
    // Makes the calculator of one run, owned by the container.
    using TCalculatorFactory = std::function<TCalculatorBase*(TSheets* owner)>;
    static void SetCalculatorFactory(TCalculatorFactory factory);

    explicit TSheets(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    QString GetDefaultCaption() const override;

    // Runs a calculation on the order's parts and a copy of the current material.
    void Calculate();
    // Asks the running calculation to stop; a request made while it is still being set up (the
    // window's events run from its first progress report on) is passed on when its calculator exists.
    void RequestStop();
    // The calculator's report: progress values and the sheet number when not negative, always the
    // phase, and the text appended to the report when not empty.
    void CalculationInfo(int totalProgress, int sheetProgress, int sheetNumber, TSheetsCalculationPhase phase,
                         const QString& text);
    void SaveToINI(TINI* ini) const;
    // Throws ConversionError when a stored placed part is damaged.
    void LoadFromINI(const TINI* ini);

    // The part list of the order that owns the container (the first part list its owner holds).
    TPartList* OwnerParts() const;

    bool AddExtractToOrder() const { return addExtractToOrder_; }
    void SetAddExtractToOrder(bool value);
    TSheetsCalculationPhase CalculationPhase() const { return phase_; }
    void SetCalculationPhase(TSheetsCalculationPhase value);
    const QStringList& CalculationReport() const { return report_; }
    void AppendReportLine(const QString& line);
    int CalculationSheetNumber() const { return sheetNumber_; }
    void SetCalculationSheetNumber(int value);
    int CalculationSheetProgress() const { return sheetProgress_; }
    // Also lets pending window events run, so that a stop command gets through.
    void SetCalculationSheetProgress(int value);
    int CalculationTotalProgress() const { return totalProgress_; }
    void SetCalculationTotalProgress(int value);
    TCalculatorBase* Calculator() const { return calculator_; }
    TCuttingSheetList* CuttingSheets() const { return cuttingSheets_; }
    bool DimsTakedOff() const { return dimsTakedOff_; }
    void SetDimsTakedOff(bool value);
    Currency ExtractBrutto() const;
    Currency ExtractNetto() const;
    TMaterial* Material() const { return material_; }
    Currency PartsInArea() const { return partsInArea_; } // user's area unit
    void SetPartsInArea(Currency value);
    int PartsInCount() const { return partsInCount_; }
    void SetPartsInCount(int value);
    Currency PartsUnusedArea() const;
    int PartsUnusedCount() const;
    bool RestReturned() const { return restReturned_; }
    void SetRestReturned(bool value);
    TSheetsState State() const { return state_; }
    // Whether the result no longer fits what it was calculated from: a part's size, count or grain
    // rule changed, parts came or went, or (when `current` is given) the material differs from the
    // snapshot in cut width, grain, minimum rest, caption or the size or grain of a stock size the
    // snapshot holds. Counts of stock sizes and added rests do not count: taking the result off the
    // stock and returning its rests change those. False while nothing is calculated or it runs.
    bool ResultOutOfDate(const TMaterial* current) const;
    // A digest of the parts as the calculation sees them (ID, size, count, grain of the valid ones).
    static QString PartsKey(const TPartList& parts);
    // ssPartsChanged is refused.
    void SetState(TSheetsState value);

    // Texts of the states and phases from the shipped texts.
    static QString StateText(TSheetsState state);
    static QString PhaseText(TSheetsCalculationPhase phase);

private:
    bool addExtractToOrder_ = false;
    TSheetsCalculationPhase phase_ = scpNone;
    QStringList report_;
    int sheetNumber_ = 0;
    int sheetProgress_ = 0;
    int totalProgress_ = 0;
    TCalculatorBase* calculator_ = nullptr;      // owned while it runs
    TCuttingSheetList* cuttingSheets_ = nullptr; // owned
    bool dimsTakedOff_ = false;
    TMaterial* material_ = nullptr; // owned
    Currency partsInArea_;
    int partsInCount_ = 0;
    bool restReturned_ = false;
    TSheetsState state_ = ssNone;
    double lastEventPump_ = 0;
    bool stopRequested_ = false;
    // PartsKey of the parts at the end of the calculation; empty for a result read from a file that
    // does not store it, which is then checked by the parts' count and area only.
    QString partsKey_;
};

} // namespace lintaro
