#pragma once
// The stock sizes of a material.
//
// TDimension is one stock size X × Y with a number of pieces and the flags that steer the
// calculator: the material's default size, preferred and stopped (blocked) sizes, and rests returned
// by earlier calculations. Sizes are stored in millimetres and read and set in the user's length
// unit. A dimension holds plain values only (besides its caption), so that copying one (Assign) is
// cheap: the calculator copies a dimension into every search node.
//
// TDimensionList owns its dimensions (they are freed with it). It keeps one empty dimension for the
// user to type a new size into, totals area and circuit, and reads and writes the "Dims" section of
// a material file. Its owner, when a TMaterial, decides the dimensions' grain direction.
//
// Failure: SetPropAsString may throw ConversionError for a size text that does not convert; the size
// keeps its value. Sizes outside the accepted range are ignored without a message. Unreadable record
// fields read as 0.
#include "foundation/Currency.h"
#include "foundation/DataComponentList.h"
#include "foundation/Units.h"
#include "model/Orientation.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace lintaro {

class TMaterial;
class TDimensionList;

class TDimension : public TDataComponent {
    LINTARO_COMPONENT(TDimension)
public:
    // Stored sizes, in millimetres, stay below this so that the record form's size × 10 000 fits a
    // signed 32-bit integer.
    static constexpr int64_t SizeLimitMm = ::lintaro::SizeLimitMm;

    explicit TDimension(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    void InitDefaults() override;
    // Copies Count, the five flags, the stored orientation and the sizes after the base copy.
    void AssignTo(TComponent* dest) const override;
    // "M0": the caption of a dimension without an ID.
    QString GetDefaultCaption() const override;

    // The size in the user's length unit (inches under the U.S. system).
    Currency X() const;
    Currency Y() const;
    // A value ≤ 0 or ≥ 214 748 in the user's unit, or one that reaches 214 748 mm once converted
    // from inches, is ignored.
    void SetX(Currency value);
    void SetY(Currency value);
    // The stored millimetres.
    Currency StoredX() const { return x_; }
    Currency StoredY() const { return y_; }

    int Count() const { return count_; }
    // A negative value becomes 0.
    void SetCount(int value);
    // Stores without announcement or clamping: the calculator counts the default dimension below 0
    // when it is used beyond its stock.
    void SetCountDirect(int value) { count_ = value; }

    bool IsDefault() const { return isDefault_; }
    // A rest cannot be made default; setting it clears it on the other dimensions of the list.
    void SetIsDefault(bool value);
    bool IsPrefered() const { return isPrefered_; }
    // Setting it clears IsStopped.
    void SetIsPrefered(bool value);
    bool IsRest() const { return isRest_; }
    void SetIsRest(bool value);
    bool IsStopped() const { return isStopped_; }
    // Setting it clears IsPrefered.
    void SetIsStopped(bool value);
    // The calculator's own mark: not announced, not stored.
    bool IsUnUseable() const { return isUnUseable_; }
    void SetIsUnUseable(bool value) { isUnUseable_ = value; }

    // The grain direction as the material sees it: doNone for a material without grain direction,
    // doX in place of doNone for one with it; the stored value without a material.
    TDimensionOrientation Orientation() const;
    // Adjusted to the material the same way before it is stored.
    void SetOrientation(TDimensionOrientation value);
    TDimensionOrientation StoredOrientation() const { return orientation_; }

    // The owner of the owning list when that is a material, else none.
    TMaterial* Material() const;
    // One piece's area in the user's area unit and circuit in the user's perimeter unit.
    Currency Area() const;
    Currency Circuit() const;
    bool IsValid() const { return Area().raw() > 0; }

private:
    friend class TDimensionList; // sets the new empty dimension's count and orientation directly

    void SetSize(Currency& field, Currency value, const QString& propName);
    void SetFlag(bool& field, bool value, const QString& propName);
    void UpdateCaption();
    QString RecordText() const;
    void ReadRecord(const QString& record);
    QString FlagsText() const;

    Currency x_; // mm
    Currency y_; // mm
    int count_ = 0;
    TDimensionOrientation orientation_ = doNone;
    bool isDefault_ = false;
    bool isPrefered_ = false;
    bool isRest_ = false;
    bool isStopped_ = false;
    bool isUnUseable_ = false;
};

class TDimensionList : public TDataComponentList {
    LINTARO_COMPONENT(TDimensionList)
public:
    explicit TDimensionList(TComponent* owner = nullptr);

    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    void InitDefaults() override;

    // The dimension order: valid before invalid; not preferred before preferred; stopped before not
    // stopped; stock sizes before rests; larger area first; then larger count first.
    static int CompareDimensions(const TDataComponent* a, const TDataComponent* b);

    TDimension* Dimension(int index) const;
    // Sums of area × count (user's area unit) and circuit × count (user's perimeter unit).
    Currency Area() const;
    Currency Circuit() const;
    // The first dimension in list order that is default, or none.
    TDimension* DefaultDim() const;

    // True while the list is filled from a file; CheckEmptyDim then does nothing.
    bool BulkLoading() const { return bulkLoading_; }
    // Appends a new empty dimension (count 1, stored orientation doY) when every dimension is valid
    // or the list is empty.
    void CheckEmptyDim();

    // The "Dims" section: "Count=" and one "ItemN=" record per dimension with an area.
    void SaveToStrings(QStringList& lines) const;
    // Replaces the dimensions by those of the section, then sorts and focuses the first; none (a
    // missing section) leaves the list empty. Modified is left to the caller.
    void LoadFromStrings(const QStringList* lines);

private:
    // Not reset by InitDefaults: Clear runs inside a bulk load and must not end it.
    bool bulkLoading_ = false;
};

} // namespace lintaro
