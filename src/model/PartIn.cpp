#include "model/PartIn.h"

#include "foundation/Units.h"
#include "model/Part.h"

#include <cmath>

namespace lintaro {

// ---- TCSSinglePartIn -----------------------------------------------------------------------------

TCSSinglePartIn::TCSSinglePartIn(TComponent* owner) : TDataComponent(owner) {
    TCSSinglePartIn::InitDefaults();
}

void TCSSinglePartIn::InitDefaults() {
    TDataComponent::InitDefaults();
    SetSilent(true);
    count_ = 0;
    part_ = nullptr;
}

void TCSSinglePartIn::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TCSSinglePartIn*>(dest)) {
        d->count_ = count_;
        d->part_ = part_;
    }
}

TCSSinglePartIn* TCSSinglePartInList::FindByPartID(int partID) const {
    for (TDataComponent* item : Items()) {
        auto* s = static_cast<TCSSinglePartIn*>(item);
        if (s->Part() && s->Part()->ID() == partID)
            return s;
    }
    return nullptr;
}

// ---- TCSPartIn -----------------------------------------------------------------------------------

TCSPartIn::TCSPartIn(TComponent* owner) : TDataComponent(owner) {
    TCSPartIn::InitDefaults();
}

void TCSPartIn::InitDefaults() {
    TDataComponent::InitDefaults();
    SetSilent(true);
    orientation_ = cspioNone;
    delete singleParts_;
    singleParts_ = new TCSSinglePartInList(this);
    usedCounter_ = 0;
    x_ = {};
    y_ = {};
}

void TCSPartIn::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TCSPartIn*>(dest)) {
        d->orientation_ = orientation_;
        d->singleParts_->Assign(singleParts_);
        d->usedCounter_ = usedCounter_;
        d->x_ = x_;
        d->y_ = y_;
    }
}

Currency TCSPartIn::X() const {
    return LengthToUser(x_);
}
Currency TCSPartIn::Y() const {
    return LengthToUser(y_);
}

int TCSPartIn::Count() const {
    int sum = 0;
    for (TDataComponent* item : singleParts_->Items())
        sum += static_cast<TCSSinglePartIn*>(item)->Count();
    return sum;
}

Currency TCSPartIn::Amount() const {
    return AreaToUser(Currency::fromRaw(SquareMetres(x_, y_).raw() * Count()));
}

// ---- TCSPartInList -------------------------------------------------------------------------------

int TCSPartInList::ComparePartTypes(const TDataComponent* a, const TDataComponent* b) {
    if (a == b)
        return 0;
    const auto* pa = static_cast<const TCSPartIn*>(a);
    const auto* pb = static_cast<const TCSPartIn*>(b);
    // Squared diagonals compare exactly where the roots might round alike.
    const __int128 da = __int128(pa->StoredX().raw()) * pa->StoredX().raw() +
                        __int128(pa->StoredY().raw()) * pa->StoredY().raw();
    const __int128 db = __int128(pb->StoredX().raw()) * pb->StoredX().raw() +
                        __int128(pb->StoredY().raw()) * pb->StoredY().raw();
    if (da != db)
        return da < db ? -1 : 1;
    const int ca = pa->Count();
    const int cb = pb->Count();
    if (ca != cb)
        return ca < cb ? -1 : 1;
    return pa->ID() < pb->ID() ? -1 : 1;
}

TCSPartInList::TCSPartInList(TComponent* owner) : TDataComponentList(owner) {
    TCSPartInList::InitDefaults();
}

void TCSPartInList::InitDefaults() {
    TDataComponentList::InitDefaults();
    SetSilent(true);
    SetCompareFunc(&ComparePartTypes);
    SetAutoSortingOff(true);
}

void TCSPartInList::AddPart(TPart* part) {
    if (!part || !part->IsValid())
        return;
    TCSPartInOrientation o = cspioNone;
    if (part->Orientation() == poX)
        o = cspioX;
    else if (part->Orientation() == poY)
        o = cspioY;
    TCSPartIn* type = GetPartInByParams(o, part->StoredX(), part->StoredY());
    if (!type) {
        type = new TCSPartIn(nullptr);
        type->SetStoredSize(part->StoredX(), part->StoredY());
        type->SetOrientation(o);
        ItemInsert(type);
    }
    auto* single = new TCSSinglePartIn(nullptr);
    single->SetCount(part->Count());
    single->SetPart(part);
    type->SingleParts()->ItemInsert(single);
}

TCSPartIn* TCSPartInList::GetPartInByParams(TCSPartInOrientation o, Currency x, Currency y) const {
    for (TDataComponent* item : Items()) {
        auto* p = static_cast<TCSPartIn*>(item);
        if (p->StoredX() == x && p->StoredY() == y && p->Orientation() == o)
            return p;
        const bool crossed =
            (p->Orientation() == cspioX && o == cspioY) || (p->Orientation() == cspioY && o == cspioX);
        if (p->StoredX() == y && p->StoredY() == x && crossed)
            return p;
    }
    return nullptr;
}

TCSSinglePartIn* TCSPartInList::FindSinglePartByPartID(int partID) const {
    for (TDataComponent* item : Items())
        if (TCSSinglePartIn* s = static_cast<TCSPartIn*>(item)->SingleParts()->FindByPartID(partID))
            return s;
    return nullptr;
}

Currency TCSPartInList::MaxPartInDim() const {
    Currency m;
    for (TDataComponent* item : Items()) {
        auto* p = static_cast<TCSPartIn*>(item);
        m = std::max({m, p->StoredX(), p->StoredY()});
    }
    return LengthToUser(m);
}

int TCSPartInList::PartsTotalCount() const {
    int sum = 0;
    for (TDataComponent* item : Items())
        sum += static_cast<TCSPartIn*>(item)->Count();
    return sum;
}

} // namespace lintaro
