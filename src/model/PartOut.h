#pragma once
// Parts placed on a cutting sheet, and their grouping by order part for reports. These records
// announce nothing. A placed part's whole state is one bar record line (the empty property name).
#include "foundation/Currency.h"
#include "foundation/DataComponentList.h"

namespace lintaro {

class TCSPartOut : public TDataComponent {
    LINTARO_COMPONENT(TCSPartOut)
public:
    explicit TCSPartOut(TComponent* owner = nullptr);
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;

    bool IsRotated() const { return rotated_; }
    void SetIsRotated(bool value) { rotated_ = value; }
    int PartID() const { return partID_; }
    void SetPartID(int value) { partID_ = value; }
    // Stored millimetres.
    Currency OriginalX() const { return originalX_; }
    Currency OriginalY() const { return originalY_; }
    Currency OX() const { return ox_; }
    Currency OY() const { return oy_; }
    Currency X() const { return x_; }
    Currency Y() const { return y_; }
    void SetOriginal(Currency x, Currency y) {
        originalX_ = x;
        originalY_ = y;
    }
    void SetPlace(Currency ox, Currency oy, Currency x, Currency y) {
        ox_ = ox;
        oy_ = oy;
        x_ = x;
        y_ = y;
    }
    // X × Y in m².
    Currency StoredArea() const;

    // The record line, and the scrambled hexadecimal form in which it is stored.
    QString RecordLine() const;
    void ReadRecordLine(const QString& line);
    QString EncodedRecord() const;
    // Throws ConversionError when the text is not hexadecimal.
    void ReadEncodedRecord(const QString& hex);

private:
    bool rotated_ = false;
    Currency originalX_, originalY_, ox_, oy_;
    int partID_ = 0;
    Currency x_, y_;
};

class TCSPartOutList : public TDataComponentList {
    LINTARO_COMPONENT(TCSPartOutList)
public:
    explicit TCSPartOutList(TComponent* owner = nullptr);
    void InitDefaults() override;
    void DataChanged(TComponent*, TComponent*, const QString&) override {}

    TCSPartOut* PartOut(int index) const { return static_cast<TCSPartOut*>(Item(index)); }
    // Sum of the parts' areas in m², each partial sum rounded.
    Currency StoredTotalArea() const;
};

// The placed parts of one order part on a sheet, counted.
class TCSPartOutPrint : public TDataComponent {
    LINTARO_COMPONENT(TCSPartOutPrint)
public:
    explicit TCSPartOutPrint(TComponent* owner = nullptr);
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    QString GetPropAsString(const QString& name) const override;

    int Count() const { return count_; }
    void SetCount(int value) { count_ = value; }
    int PartID() const { return partID_; }
    void SetPartID(int value) { partID_ = value; }
    Currency X() const { return x_; } // stored mm, the ordered size
    Currency Y() const { return y_; }
    void SetSize(Currency x, Currency y) {
        x_ = x;
        y_ = y;
    }

private:
    int count_ = 0;
    int partID_ = 0;
    Currency x_, y_;
};

class TCSPartOutPrintList : public TDataComponentList {
    LINTARO_COMPONENT(TCSPartOutPrintList)
public:
    explicit TCSPartOutPrintList(TComponent* owner = nullptr);
    void InitDefaults() override;
    void DataChanged(TComponent*, TComponent*, const QString&) override {}

    TCSPartOutPrint* Group(int index) const { return static_cast<TCSPartOutPrint*>(Item(index)); }
    // Rebuilds the groups from a sheet's placed parts, in the order of their first placed part.
    void AssignFromPartOutList(const TCSPartOutList& list);
    TCSPartOutPrint* FindByPartID(int partID) const;
};

} // namespace lintaro
