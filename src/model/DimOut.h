#pragma once
// Free rectangles ("rests") of a cutting sheet. Rests of a stored result are the recyclable ones,
// which the user may return to the material's stock. These records announce nothing.
#include "foundation/Currency.h"
#include "foundation/DataComponentList.h"
#include "model/CalcOrientation.h"

#include <QStringList>

#include <map>

namespace lintaro {

class TDimension;

class TCSDimOut : public TDataComponent {
    LINTARO_COMPONENT(TCSDimOut)
public:
    explicit TCSDimOut(TComponent* owner = nullptr);
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;

    int DimensionID() const { return dimensionID_; }
    void SetDimensionID(int value) { dimensionID_ = value; }
    bool IsRecyable() const { return recyable_; }
    void SetIsRecyable(bool value) { recyable_ = value; }
    bool IsTooSmall() const { return tooSmall_; }
    void SetIsTooSmall(bool value) { tooSmall_ = value; }
    TCSDimOutOrientation Orientation() const { return orientation_; }
    void SetOrientation(TCSDimOutOrientation value) { orientation_ = value; }
    // Stored millimetres.
    Currency OX() const { return ox_; }
    Currency OY() const { return oy_; }
    Currency X() const { return x_; }
    Currency Y() const { return y_; }
    void SetPlace(Currency ox, Currency oy, Currency x, Currency y) {
        ox_ = ox;
        oy_ = oy;
        x_ = x;
        y_ = y;
    }
    // X × Y in m².
    Currency StoredArea() const;

    // Takes the whole stock dimension as this rest.
    void AssignFromDimension(const TDimension& dimension);
    // Returns this rest to stock as that dimension, `count` pieces more of it.
    void AssignToDimension(TDimension& dimension, int count);

    QString RecordLine() const;
    void ReadRecordLine(const QString& line);

private:
    int dimensionID_ = 0;
    bool recyable_ = false;
    bool tooSmall_ = false;
    TCSDimOutOrientation orientation_ = csdooNone;
    Currency ox_, oy_, x_, y_;
};

// The rests of a sheet, ordered by ascending area.
class TCSDimOutList : public TDataComponentList {
    LINTARO_COMPONENT(TCSDimOutList)
public:
    static int CompareRests(const TDataComponent* a, const TDataComponent* b);

    explicit TCSDimOutList(TComponent* owner = nullptr);
    void InitDefaults() override;
    void DataChanged(TComponent*, TComponent*, const QString&) override {}

    TCSDimOut* Rest(int index) const { return static_cast<TCSDimOut*>(Item(index)); }
    Currency StoredMaxArea() const;
    // The sum of the squared areas (m²) of the rests worth returning to stock.
    Currency GetTotalSqrRecyArea(Currency minRecyDim, Currency minRecyArea) const;
    void SaveToStringsAsRest(QStringList& lines) const;
    void LoadFromStringsAsRest(const QStringList& lines);
};

} // namespace lintaro
