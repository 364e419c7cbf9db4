#pragma once
// The priced lines of an order.
//
// TOrderItem is one line: a text (Caption), a quantity (Amount) with its measure unit (MU), a unit
// price (with or without VAT by the order's VAT mode), the line total and the line's VAT class. The
// total follows price × amount; setting the total derives the price from it. An item owns nothing.
//
// TOrderItemList owns its items (they are freed with it) and keeps them in the user's order: it has
// no compare function, so items may be moved, and captions need not be unique. It reads and writes
// the "OrderItems" section of an order file, one item record per item.
//
// Failure: SetPropAsString may throw ConversionError for a number text that does not convert; the
// property keeps its value. Prices and totals outside the accepted range are ignored without a
// message. Reading a record or a section never throws: unreadable fields fall back.
#include "foundation/Currency.h"
#include "foundation/DataComponentList.h"
#include "model/VAT.h"

#include <QString>
#include <QStringList>

namespace lintaro {

class TOrder;

class TOrderItem : public TDataComponent {
    LINTARO_COMPONENT(TOrderItem)
public:
    // Prices and totals set through the setters stay in 0 ≤ value < 214 748.
    static constexpr int64_t PriceLimit = 214748;

    explicit TOrderItem(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;
    // Empty: a line without a text has none.
    QString GetDefaultCaption() const override { return QString(); }

    // No range check; the total follows.
    Currency Amount() const { return amount_; }
    void SetAmount(Currency value);
    QString MU() const { return mu_; }
    void SetMU(const QString& value);
    // Ignored outside the price range; the total follows.
    Currency Price() const { return price_; }
    void SetPrice(Currency value);
    // Ignored outside the price range; the price becomes total ÷ amount (0 without an amount).
    Currency PriceTotal() const { return priceTotal_; }
    void SetPriceTotal(Currency value);
    TVATRate VATRate() const { return vatRate_; }
    void SetVATRate(TVATRate value);
    // A stored mark that takes part in no computation.
    bool Checked() const { return checked_; }
    void SetChecked(bool value);

    // 1 + the rate's percentage ÷ 100, from the application's setup.
    long double VATFactor() const;

    // The one-line item record: "|ID|Caption|Checked|Price|VATRate|Amount|MU|PriceTotal|", the
    // numbers as scaled integers (value × 10 000). Reading sets the fields directly: no setter runs,
    // nothing is checked or announced.
    QString RecordText() const;
    void ReadRecord(const QString& record);

private:
    friend class TOrder;         // converts prices directly when the VAT mode changes
    friend class TOrderItemList; // sets new and loaded items' fields directly

    static bool InPriceRange(Currency value);
    void UpdateTotal();

    Currency amount_;
    QString mu_;
    Currency price_;
    Currency priceTotal_;
    TVATRate vatRate_ = vrZero;
    bool checked_ = false;
};

class TOrderItemList : public TDataComponentList {
    LINTARO_COMPONENT(TOrderItemList)
public:
    // The list always holds at least this many items after loading or creating an order.
    static constexpr int MinItemCount = 5;

    explicit TOrderItemList(TComponent* owner = nullptr);

    void InitDefaults() override;
    QString GetDefaultCaption() const override;

    TOrderItem* OrderItem(int index) const;

    // Appends empty items (VAT class high) up to MinItemCount, then focuses the first item when none
    // is focused.
    void CheckEmptyItems();
    // Empties the section, then writes "Count" and "Item1" … "ItemN" with the records in list order.
    void SaveToStrings(QStringList& lines) const;
    // Replaces the items by the non-empty records "Item1" … "Item" + Count of the section and
    // focuses the first one; none (a missing section) leaves the list empty.
    void LoadFromStrings(const QStringList* lines);
};

} // namespace lintaro
