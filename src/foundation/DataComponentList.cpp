#include "foundation/DataComponentList.h"

#include "foundation/QuickSort.h"
#include "platform/Locale.h"

#include <algorithm>

namespace lintaro {

namespace {
const QString kItems = QStringLiteral("Items");
}

int TDataComponentList::CompareCaptions(const TDataComponent* a, const TDataComponent* b) {
    return Locale::compareText(a->Caption(), b->Caption());
}

TDataComponentList::TDataComponentList(TComponent* owner) : TDataComponent(owner) {
    TDataComponentList::InitDefaults();
}

TDataComponentList::~TDataComponentList() {
    focused_ = nullptr;
    FreeItems();
}

void TDataComponentList::FreeItems() {
    while (!items_.empty()) {
        TDataComponent* item = items_.back();
        items_.pop_back();
        delete item;
    }
}

QString TDataComponentList::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key.isEmpty())
        return ItemsAsString();
    if (key == QLatin1String("ITEMCOUNT"))
        return QString::number(ItemCount());
    return TDataComponent::GetPropAsString(name);
}

bool TDataComponentList::DataChangeStep(TComponent* source, TComponent* sender, int phase,
                                        const QString& propName) {
    if (phase == 1) {
        auto* item = dynamic_cast<TDataComponent*>(source);
        if (item && Owns(item) && IndexOf(item) >= 0) {
            if (propName == QLatin1String("Checked")) {
                Announce(QStringLiteral("CheckedCount"));
            } else if (propName.isEmpty() || propName == QLatin1String("Caption")) {
                PrepareItem(item);
                if (!autoSortingOff_)
                    Sort();
            }
        }
    }
    return TDataComponent::DataChangeStep(source, sender, phase, propName);
}

void TDataComponentList::InitDefaults() {
    TDataComponent::InitDefaults();
    SetCaptionDirect(QStringLiteral("Seznam"));
    compare_ = &CompareCaptions;
    autoSortingOff_ = false;
    exclusiveCaption_ = false;
    focused_ = nullptr;
    FreeItems();
}

QString TDataComponentList::GetDefaultCaption() const { return QStringLiteral("Seznam"); }

void TDataComponentList::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    auto* d = dynamic_cast<TDataComponentList*>(dest);
    if (!d)
        return;
    d->autoSortingOff_ = autoSortingOff_;
    d->exclusiveCaption_ = exclusiveCaption_;
    d->focused_ = nullptr;
    d->FreeItems();
    d->items_.reserve(items_.size());
    for (TDataComponent* item : items_) {
        auto* copy = static_cast<TDataComponent*>(item->NewInstance(d));
        copy->Assign(item);
        d->items_.push_back(copy);
        if (item == focused_)
            d->focused_ = copy;
    }
    d->SetOwnModifiedDirect(OwnModified());
}

bool TDataComponentList::Delete() {
    DeleteItems(true);
    return true;
}

TDataComponent* TDataComponentList::FindItem(int key) const {
    if (key >= 0 && key < ItemCount())
        return items_[static_cast<size_t>(key)];
    for (TDataComponent* item : items_)
        if (item->ID() == -static_cast<long long>(key))
            return item;
    return nullptr;
}

TDataComponent* TDataComponentList::FindItem(const QString& key) const {
    const QString upper = Locale::toUpper(key);
    for (TDataComponent* item : items_)
        if (Locale::toUpper(item->Caption()) == upper)
            return item;
    return nullptr;
}

QString TDataComponentList::GetItemsAsString() const {
    QString text;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (i > 0)
            text += QLatin1String("\r\n");
        text += items_[i]->Caption();
    }
    return text;
}

void TDataComponentList::PrepareItem(TDataComponent* item) {
    if (!item)
        return;
    if (exclusiveCaption_) {
        const QString caption = item->Caption();
        bool free = true;
        for (TDataComponent* other : items_)
            if (other != item && Locale::compareText(other->Caption(), caption) == 0) {
                free = false;
                break;
            }
        if (!free) {
            QString base = caption;
            while (!base.isEmpty() && QStringLiteral("0123456789,-").contains(base.back()))
                base.chop(1);
            if (base.isEmpty())
                base = item->DefaultCaption();
            QString candidate = base;
            for (int n = 1; FindItem(candidate); ++n)
                candidate = base + QString::number(n);
            const bool wasSilent = item->Silent();
            item->SetSilent(true);
            item->SetCaption(candidate);
            item->SetSilent(wasSilent);
        }
    }
    if (item->ID() == 0) {
        int n = 1;
        while (FindItem(-n))
            ++n;
        item->SetID(n);
    }
}

int TDataComponentList::IndexOf(const TDataComponent* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool TDataComponentList::ItemInsert(TDataComponent* item) {
    if (!item || IndexOf(item) >= 0)
        return false;
    PrepareItem(item);
    if (item->Owner() != this) {
        if (item->Owner())
            item->Owner()->RemoveComponent(item);
        if (!item->Owner())
            InsertComponent(item);
    }
    items_.push_back(item);
    item->DataChanged(item, item, QStringLiteral("Owner"));
    if (compare_ && !autoSortingOff_)
        SortItems();
    Announce(kItems);
    SetModified(true);
    return true;
}

bool TDataComponentList::ItemDelete(TDataComponent* item) {
    if (!item)
        return false;
    int remembered = -1;
    if (item == focused_) {
        remembered = IndexOf(item);
        SetItemFocused(nullptr);
    }
    if (!item->Delete())
        return false;
    const int index = IndexOf(item);
    if (index >= 0)
        items_.erase(items_.begin() + index);
    delete item;
    Announce(kItems);
    SetModified(true);
    if (remembered >= 0 && !items_.empty())
        SetItemFocused(items_[static_cast<size_t>(std::min(remembered, ItemCount() - 1))]);
    return true;
}

bool TDataComponentList::ItemRemove(TDataComponent* item) {
    // Removing an item that is not listed is a caller error; refuse it rather than corrupt the list.
    const int index = IndexOf(item);
    if (!item || index < 0)
        return false;
    int remembered = -1;
    if (item == focused_) {
        remembered = index;
        SetItemFocused(nullptr);
    }
    items_.erase(items_.begin() + index);
    Announce(kItems);
    SetModified(true);
    if (remembered >= 0 && !items_.empty())
        SetItemFocused(items_[static_cast<size_t>(std::min(remembered, ItemCount() - 1))]);
    return true;
}

bool TDataComponentList::ItemMove(int delta) {
    if (!focused_ || compare_)
        return false;
    const int from = IndexOf(focused_);
    if (from < 0)
        return true;
    const int to = std::clamp(from + delta, 0, ItemCount() - 1);
    if (to != from) {
        TDataComponent* item = items_[static_cast<size_t>(from)];
        items_.erase(items_.begin() + from);
        items_.insert(items_.begin() + to, item);
        Announce(kItems);
    }
    return true;
}

bool TDataComponentList::ItemIsChild(const TDataComponent* item) const {
    for (TComponent* o = item ? item->Owner() : nullptr; o; o = o->Owner())
        if (o == this)
            return true;
    return false;
}

void TDataComponentList::First() {
    if (!items_.empty())
        SetItemFocused(items_.front());
}

void TDataComponentList::Last() {
    if (!items_.empty())
        SetItemFocused(items_.back());
}

void TDataComponentList::Next() {
    if (items_.empty())
        return;
    const int i = focused_ ? IndexOf(focused_) : -1;
    if (!focused_)
        SetItemFocused(items_.front());
    else if (i >= 0 && i < ItemCount() - 1)
        SetItemFocused(items_[static_cast<size_t>(i + 1)]);
}

void TDataComponentList::Previous() {
    if (items_.empty())
        return;
    const int i = focused_ ? IndexOf(focused_) : -1;
    if (!focused_)
        SetItemFocused(items_.front());
    else if (i > 0)
        SetItemFocused(items_[static_cast<size_t>(i - 1)]);
}

void TDataComponentList::SortItems() {
    if (compare_)
        QuickSort(items_, compare_);
}

void TDataComponentList::Sort() {
    SortItems();
    Announce(kItems);
}

bool TDataComponentList::DeleteItems(bool force) {
    bool ok = true;
    while (!items_.empty() && ok) {
        TDataComponent* item = items_.front();
        if (item->Delete() || force) {
            items_.erase(items_.begin());
            if (item == focused_)
                focused_ = nullptr;
            delete item;
        } else {
            ok = false;
        }
    }
    if (items_.empty())
        focused_ = nullptr;
    return ok;
}

void TDataComponentList::SetItemFocused(TDataComponent* item) {
    if (item == focused_)
        return;
    focused_ = item;
    Announce(QStringLiteral("ItemFocused"));
}

bool TDataComponentList::SetItemOrder(const std::vector<TDataComponent*>& order) {
    if (order.size() != items_.size())
        return false;
    std::vector<TDataComponent*> sortedOld = items_;
    std::vector<TDataComponent*> sortedNew = order;
    std::sort(sortedOld.begin(), sortedOld.end());
    std::sort(sortedNew.begin(), sortedNew.end());
    if (sortedOld != sortedNew)
        return false;
    items_ = order;
    return true;
}

void TDataComponentList::AppendDirect(TDataComponent* item) {
    if (item->Owner() != this)
        InsertComponent(item);
    items_.push_back(item);
}

} // namespace lintaro
