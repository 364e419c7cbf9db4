#pragma once
// One cutting plan on one stock dimension, repeated Count times, and the list of them that is a
// calculation's result. A sheet owns its copy of the dimension, its placed parts, its rests and the
// demand still open after it. The stored form is one INI section per sheet; a placed part's line
// that is not valid hexadecimal makes loading throw ConversionError.
#include "foundation/Currency.h"
#include "foundation/DataComponentList.h"
#include "model/DimOut.h"
#include "model/PartIn.h"
#include "model/PartOut.h"

#include <QStringList>

namespace lintaro {

class TDimension;
class TINI;

class TCuttingSheet : public TDataComponent {
    LINTARO_COMPONENT(TCuttingSheet)
public:
    explicit TCuttingSheet(TComponent* owner = nullptr);
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    QString GetPropAsString(const QString& name) const override;

    TDimension* Dimension() const { return dimension_; }
    TCSPartOutList* Parts() const { return parts_; }
    TCSPartInList* PartsIn() const { return partsIn_; }
    TCSDimOutList* Rests() const { return rests_; }
    // The search score of the last placement, raw mm².
    Currency MinActualRest() const { return minActualRest_; }
    void SetMinActualRest(Currency value) { minActualRest_ = value; }
    int64_t MultiIndex() const { return multiIndex_; }
    void SetMultiIndex(int64_t value) { multiIndex_ = value; }

    // The repeat count: the dimension's count.
    int Count() const;
    void SetCount(int value);
    // Percentages with four decimals.
    Currency ExtractBrutto() const;
    Currency ExtractNetto() const;
    // How far the parts reach along X, stored mm.
    Currency StoredPartsLength() const;
    // The dimension's area in m².
    Currency StoredDimensionArea() const;
    // The area of the recyclable rests, m².
    Currency StoredRecyclableArea() const;

    void SaveToStrings(QStringList& lines) const;
    void LoadFromStrings(const QStringList& lines);

private:
    Currency percentOfSheet(Currency area) const;

    TDimension* dimension_ = nullptr; // owned
    Currency minActualRest_;
    int64_t multiIndex_ = 1;
    TCSPartOutList* parts_ = nullptr;  // owned
    TCSPartInList* partsIn_ = nullptr; // owned
    TCSDimOutList* rests_ = nullptr;   // owned
};

class TCuttingSheetList : public TDataComponentList {
    LINTARO_COMPONENT(TCuttingSheetList)
public:
    static int CompareSheets(const TDataComponent* a, const TDataComponent* b);

    explicit TCuttingSheetList(TComponent* owner = nullptr);
    void InitDefaults() override;

    TCuttingSheet* Sheet(int index) const { return static_cast<TCuttingSheet*>(Item(index)); }
    // Each sheet weighted by its count; 0 for an empty list.
    Currency ExtractBrutto() const;
    Currency ExtractNetto() const;
    // In the user's area unit.
    Currency PartsArea() const;
    int PartsCount() const;

    // Sections "SHEET1" … replace every section whose name begins with "SHEET".
    void SaveToINI(TINI& ini) const;
    // Throws ConversionError on a damaged placed-part value.
    void LoadFromINI(const TINI& ini);
};

} // namespace lintaro
