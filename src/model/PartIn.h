#pragma once
// The demand of a calculation: part types (one size and grain rule each) grouped from the order's
// parts, each with the order parts that contribute to it. These records belong to the calculator;
// they announce nothing.
#include "foundation/Currency.h"
#include "foundation/DataComponentList.h"
#include "model/CalcOrientation.h"

namespace lintaro {

class TPart;

// One order part contributing to a part type: the pieces of it still to be placed.
class TCSSinglePartIn : public TDataComponent {
    LINTARO_COMPONENT(TCSSinglePartIn)
public:
    explicit TCSSinglePartIn(TComponent* owner = nullptr);
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;

    int Count() const { return count_; }
    void SetCount(int value) { count_ = value; }
    // The order part, not owned.
    TPart* Part() const { return part_; }
    void SetPart(TPart* part) { part_ = part; }

private:
    int count_ = 0;
    TPart* part_ = nullptr;
};

// The contributing parts of one type. Sorted by their (empty) captions on every insertion, so the
// quicksort decides their order; the calculator always consumes the first one.
class TCSSinglePartInList : public TDataComponentList {
    LINTARO_COMPONENT(TCSSinglePartInList)
public:
    explicit TCSSinglePartInList(TComponent* owner = nullptr) : TDataComponentList(owner) {}
    void DataChanged(TComponent*, TComponent*, const QString&) override {}

    TCSSinglePartIn* Single(int index) const { return static_cast<TCSSinglePartIn*>(Item(index)); }
    TCSSinglePartIn* FindByPartID(int partID) const;
};

class TCSPartIn : public TDataComponent {
    LINTARO_COMPONENT(TCSPartIn)
public:
    explicit TCSPartIn(TComponent* owner = nullptr);
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;

    TCSPartInOrientation Orientation() const { return orientation_; }
    void SetOrientation(TCSPartInOrientation value) { orientation_ = value; }
    TCSSinglePartInList* SingleParts() const { return singleParts_; }
    int UsedCounter() const { return usedCounter_; }
    void SetUsedCounter(int value) { usedCounter_ = value; }
    // Stored millimetres; X() and Y() are in the user's length unit.
    Currency StoredX() const { return x_; }
    Currency StoredY() const { return y_; }
    void SetStoredSize(Currency x, Currency y) {
        x_ = x;
        y_ = y;
    }
    Currency X() const;
    Currency Y() const;
    // Pieces still open: the sum over the contributing parts.
    int Count() const;
    // Count × X × Y, in the user's area unit.
    Currency Amount() const;

private:
    TCSPartInOrientation orientation_ = cspioNone;
    TCSSinglePartInList* singleParts_ = nullptr; // owned
    int usedCounter_ = 0;
    Currency x_;
    Currency y_;
};

// The open demand, ordered by ascending diagonal, then ascending count (IDs decide between types
// that agree in both, so no two types compare equal).
class TCSPartInList : public TDataComponentList {
    LINTARO_COMPONENT(TCSPartInList)
public:
    static int ComparePartTypes(const TDataComponent* a, const TDataComponent* b);

    explicit TCSPartInList(TComponent* owner = nullptr);
    void InitDefaults() override;
    void DataChanged(TComponent*, TComponent*, const QString&) override {}

    TCSPartIn* PartIn(int index) const { return static_cast<TCSPartIn*>(Item(index)); }
    // Adds a valid order part to the type of its size and rule, making the type when there is none.
    void AddPart(TPart* part);
    // The type that takes a part of X × Y (stored mm) with rule o: the same size and rule, or the
    // exchanged size with the crossed rule.
    TCSPartIn* GetPartInByParams(TCSPartInOrientation o, Currency x, Currency y) const;
    TCSSinglePartIn* FindSinglePartByPartID(int partID) const;
    // The largest side over all types, in the user's length unit.
    Currency MaxPartInDim() const;
    int PartsTotalCount() const;
};

} // namespace lintaro
