#include "model/OrderItem.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/NumberEntry.h"
#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Setup.h"
#include "platform/Locale.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <vector>

namespace lintaro {

namespace {

const QString kPrice = QStringLiteral("Price");
const QString kPriceTotal = QStringLiteral("PriceTotal");

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool supplierIsNotVATPayer() {
    const TAddress* supplier = TApplicationLinks::Setup()->Supplier();
    return supplier && supplier->IsNotVATPayer();
}

// A text field of the record must stay one field on one line: a "|" would shift the fields after
// it (and so the price), a line break would end the INI line and a NUL the whole file when it is
// read back. They are written as "¦", "¶" and nothing.
QString recordField(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'|') {
            out += QChar(u'\u00A6');
        } else if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += QChar(u'\u00B6');
        } else if (c == u'\n') {
            out += QChar(u'\u00B6');
        } else if (c != QChar(0)) {
            out += c;
        }
    }
    return out;
}

// The record holds the full scaled value, so that amounts and totals beyond the 32-bit range (which
// the setters do not limit) read back unchanged; within that range the text is the 32-bit form.
bool readScaled(const QString& text, Currency& value) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    if (i == t.size() || t.size() - i > 19)
        return false;
    for (qsizetype k = i; k < t.size(); ++k)
        if (!isAsciiDigit(t[k]))
            return false;
    bool ok = false;
    const qlonglong raw = t.toLongLong(&ok);
    if (ok)
        value = Currency::fromRaw(raw);
    return ok;
}

} // namespace

// ---- TOrderItem ---------------------------------------------------------------------------------

TOrderItem::TOrderItem(TComponent* owner) : TDataComponent(owner) {
    TOrderItem::InitDefaults();
}

void TOrderItem::InitDefaults() {
    TDataComponent::InitDefaults();
    amount_ = {};
    mu_.clear();
    price_ = {};
    priceTotal_ = {};
    vatRate_ = vrZero;
    checked_ = false;
}

void TOrderItem::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TOrderItem*>(dest)) {
        d->amount_ = amount_;
        d->mu_ = mu_;
        d->price_ = price_;
        d->priceTotal_ = priceTotal_;
        d->vatRate_ = vatRate_;
        d->checked_ = checked_;
    }
}

bool TOrderItem::InPriceRange(Currency value) {
    return value.raw() >= 0 && value < Currency::fromInteger(PriceLimit);
}

long double TOrderItem::VATFactor() const {
    return 1.0L + TApplicationLinks::Setup()->GetVATValue(vatRate_) / 100.0L;
}

void TOrderItem::UpdateTotal() {
    // In extended floating point, saturating rather than wrapping for an amount far out of range.
    priceTotal_ = price_ * amount_.toValue();
    Announce(kPriceTotal);
}

void TOrderItem::SetAmount(Currency value) {
    if (value == amount_)
        return;
    amount_ = value;
    Announce(QStringLiteral("Amount"));
    SetModified(true);
    UpdateTotal();
}

void TOrderItem::SetMU(const QString& value) {
    if (value == mu_)
        return;
    mu_ = value;
    Announce(QStringLiteral("MU"));
    SetModified(true);
}

void TOrderItem::SetPrice(Currency value) {
    if (!InPriceRange(value) || value == price_)
        return;
    price_ = value;
    Announce(kPrice);
    SetModified(true);
    UpdateTotal();
}

void TOrderItem::SetPriceTotal(Currency value) {
    if (!InPriceRange(value) || value == priceTotal_)
        return;
    priceTotal_ = value;
    Announce(kPriceTotal);
    SetModified(true);
    price_ = amount_.raw() != 0 ? Currency::fromValue(priceTotal_.toValue() / amount_.toValue()) : Currency();
    Announce(kPrice);
}

void TOrderItem::SetVATRate(TVATRate value) {
    if (value == vatRate_)
        return;
    vatRate_ = value;
    Announce(QStringLiteral("VATRate"));
    SetModified(true);
}

void TOrderItem::SetChecked(bool value) {
    if (value == checked_)
        return;
    checked_ = value;
    Announce(QStringLiteral("Checked"));
    SetModified(true);
}

QString TOrderItem::RecordText() const {
    return u'|' + QString::number(ID()) + u'|' + recordField(Caption()) + u'|' +
           (checked_ ? QStringLiteral("1") : QStringLiteral("0")) + u'|' + price_.toScaledText() + u'|' +
           QString::number(static_cast<int>(vatRate_)) + u'|' + amount_.toScaledText() + u'|' +
           recordField(mu_) + u'|' + priceTotal_.toScaledText() + u'|';
}

void TOrderItem::ReadRecord(const QString& record) {
    bool ok = false;
    const int id = GetBarField(record, 0).trimmed().toInt(&ok);
    SetIDDirect(ok ? id : 0);
    SetCaptionDirect(GetBarField(record, 1));
    checked_ = GetBarField(record, 2) == QLatin1String("1");
    if (!readScaled(GetBarField(record, 3), price_))
        price_ = {};
    const int rate = GetBarField(record, 4).trimmed().toInt(&ok);
    vatRate_ = !ok ? vrZero : rate == 0 ? vrZero : rate == 1 ? vrLow : vrHigh;
    if (!readScaled(GetBarField(record, 5), amount_))
        amount_ = {};
    mu_ = GetBarField(record, 6);
    if (!readScaled(GetBarField(record, 7), priceTotal_))
        priceTotal_ = price_ * amount_.toValue();
}

QString TOrderItem::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key.isEmpty())
        return RecordText();
    if (key == QLatin1String("AMOUNT"))
        return amount_.toText();
    if (key == QLatin1String("PRICE"))
        return FormatMoney(price_);
    if (key == QLatin1String("PRICETOTAL"))
        return FormatMoney(priceTotal_);
    if (key == QLatin1String("MU"))
        return mu_;
    if (key == QLatin1String("VATRATE")) {
        if (supplierIsNotVATPayer())
            return QStringLiteral("---");
        return QString::number(TApplicationLinks::Setup()->GetVATValue(vatRate_)) + u'%';
    }
    return TDataComponent::GetPropAsString(name);
}

void TOrderItem::SetPropAsString(const QString& name, const QString& value) {
    const QString key = KeyOf(name);
    if (key.isEmpty()) {
        ReadRecord(value);
    } else if (key == QLatin1String("AMOUNT")) {
        SetAmount(EntryToCurrency(value, amount_));
    } else if (key == QLatin1String("PRICE")) {
        SetPrice(EntryToCurrency(value, price_));
    } else if (key == QLatin1String("PRICETOTAL")) {
        SetPriceTotal(EntryToCurrency(value, priceTotal_));
    } else if (key == QLatin1String("MU")) {
        SetMU(value);
    } else if (key == QLatin1String("VATRATE")) {
        SetVATRate(TApplicationLinks::Setup()->VATRateOfText(value));
    } else {
        TDataComponent::SetPropAsString(name, value);
    }
}

// ---- TOrderItemList -----------------------------------------------------------------------------

TOrderItemList::TOrderItemList(TComponent* owner) : TDataComponentList(owner) {
    TOrderItemList::InitDefaults();
}

void TOrderItemList::InitDefaults() {
    TDataComponentList::InitDefaults();
    SetCaptionDirect(GetDefaultCaption());
    // The user's order: no sorting, so items can be moved.
    SetCompareFunc(nullptr);
}

QString TOrderItemList::GetDefaultCaption() const {
    const QString text = GetText(QStringLiteral("TOrderItemList"), QStringLiteral("DefaultCaption"));
    return text.isEmpty() ? TDataComponentList::GetDefaultCaption() : text;
}

TOrderItem* TOrderItemList::OrderItem(int index) const {
    if (index < 0 || index >= ItemCount())
        return nullptr;
    return dynamic_cast<TOrderItem*>(Item(index));
}

void TOrderItemList::CheckEmptyItems() {
    while (ItemCount() < MinItemCount) {
        auto* item = new TOrderItem(nullptr);
        item->vatRate_ = vrHigh;
        ItemInsert(item);
    }
    if (!ItemFocused())
        SetItemFocused(Item(0));
}

void TOrderItemList::SaveToStrings(QStringList& lines) const {
    lines.clear();
    lines.append(QLatin1String("Count=") + QString::number(ItemCount()));
    for (int i = 0; i < ItemCount(); ++i)
        if (const TOrderItem* item = OrderItem(i))
            lines.append(QLatin1String("Item") + QString::number(i + 1) + u'=' + item->RecordText());
}

void TOrderItemList::LoadFromStrings(const QStringList* lines) {
    Clear();
    if (!lines)
        return;
    bool ok = false;
    int count = ReadValue(*lines, QStringLiteral("Count")).trimmed().toInt(&ok);
    if (!ok)
        count = 0;

    // One pass over the lines, so that a huge count in a damaged file costs nothing.
    const std::map<int, QString> records = ReadNumberedValues(*lines, QStringLiteral("Item"), count);
    std::vector<TOrderItem*> items;
    for (const auto& [k, record] : records) {
        if (record.isEmpty())
            continue;
        auto* item = new TOrderItem(nullptr);
        item->ReadRecord(record);
        items.push_back(item);
    }
    // Printed lists tell items apart by ID. A damaged file may repeat an ID, or give an item ID 0
    // ahead of an item that holds the ID it would get: such items get the smallest IDs that no item
    // of the section holds.
    std::set<int> used;
    std::vector<TOrderItem*> needID;
    for (TOrderItem* item : items)
        if (item->ID() <= 0 || !used.insert(item->ID()).second)
            needID.push_back(item);
    int next = 1;
    for (TOrderItem* item : needID) {
        while (used.count(next))
            ++next;
        item->SetIDDirect(next);
        used.insert(next);
    }
    for (TOrderItem* item : items)
        ItemInsert(item);
    if (ItemCount() > 0)
        SetItemFocused(Item(0));
}

} // namespace lintaro
