#include "model/Dimension.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/NumberEntry.h"
#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "foundation/Units.h"
#include "model/Material.h"
#include "platform/Locale.h"

#include <algorithm>
#include <map>

namespace lintaro {

namespace {

const QString kArea = QStringLiteral("Area");
const QString kCircuit = QStringLiteral("Circuit");
const QString kCount = QStringLiteral("Count");
const QString kIsDefault = QStringLiteral("IsDefault");
const QString kIsRest = QStringLiteral("IsRest");
const QString kItems = QStringLiteral("Items");
const QString kOrientation = QStringLiteral("Orientation");

// A text that is not a decimal integer within the 32-bit range reads as 0, as files and records
// hold 32-bit integers.
int integerOrZero(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

QString flagText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

TDimensionOrientation orientationFromInt(int value) {
    return value == doX ? doX : value == doY ? doY : doNone;
}

// Restores the list's bulk-loading mark also when reading stops on an exception.
class TBulkLoadingGuard {
public:
    explicit TBulkLoadingGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~TBulkLoadingGuard() { flag_ = false; }
    TBulkLoadingGuard(const TBulkLoadingGuard&) = delete;
    TBulkLoadingGuard& operator=(const TBulkLoadingGuard&) = delete;

private:
    bool& flag_;
};

} // namespace

// ---- TDimension ------------------------------------------------------------------------------

TDimension::TDimension(TComponent* owner) : TDataComponent(owner) {
    TDimension::InitDefaults();
}

void TDimension::InitDefaults() {
    TDataComponent::InitDefaults();
    SetCaptionDirect(GetDefaultCaption());
    x_ = Currency();
    y_ = Currency();
    count_ = 0;
    orientation_ = doNone;
    isDefault_ = false;
    isPrefered_ = false;
    isRest_ = false;
    isStopped_ = false;
    isUnUseable_ = false;
}

QString TDimension::GetDefaultCaption() const {
    return QStringLiteral("M0");
}

void TDimension::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TDimension*>(dest)) {
        d->count_ = count_;
        d->isDefault_ = isDefault_;
        d->isPrefered_ = isPrefered_;
        d->isRest_ = isRest_;
        d->isStopped_ = isStopped_;
        d->isUnUseable_ = isUnUseable_;
        d->orientation_ = orientation_;
        d->x_ = x_;
        d->y_ = y_;
    }
}

Currency TDimension::X() const {
    return LengthToUser(x_);
}

Currency TDimension::Y() const {
    return LengthToUser(y_);
}

void TDimension::SetSize(Currency& field, Currency value, const QString& propName) {
    if (!SizeFromUser(value, value))
        return;
    if (value == field)
        return;
    field = value;
    Announce(propName);
    SetModified(true);
}

void TDimension::SetX(Currency value) {
    SetSize(x_, value, QStringLiteral("X"));
}

void TDimension::SetY(Currency value) {
    SetSize(y_, value, QStringLiteral("Y"));
}

void TDimension::SetCount(int value) {
    value = std::max(value, 0);
    if (value == count_)
        return;
    count_ = value;
    Announce(kCount);
    SetModified(true);
}

void TDimension::SetFlag(bool& field, bool value, const QString& propName) {
    if (value == field)
        return;
    field = value;
    Announce(propName);
    SetModified(true);
}

void TDimension::SetIsDefault(bool value) {
    SetFlag(isDefault_, value && !isRest_, kIsDefault);
}

void TDimension::SetIsPrefered(bool value) {
    if (value == isPrefered_)
        return;
    isPrefered_ = value;
    // Cleared before the announcement, so that no listener sees both flags set.
    if (value)
        SetIsStopped(false);
    Announce(QStringLiteral("IsPrefered"));
    SetModified(true);
}

void TDimension::SetIsRest(bool value) {
    SetFlag(isRest_, value, kIsRest);
}

void TDimension::SetIsStopped(bool value) {
    if (value == isStopped_)
        return;
    isStopped_ = value;
    if (value)
        SetIsPrefered(false);
    Announce(QStringLiteral("IsStopped"));
    SetModified(true);
}

TMaterial* TDimension::Material() const {
    if (auto* list = dynamic_cast<TDataComponentList*>(Owner()))
        return dynamic_cast<TMaterial*>(list->Owner());
    return nullptr;
}

TDimensionOrientation TDimension::Orientation() const {
    const TMaterial* material = Material();
    if (!material)
        return orientation_;
    if (!material->HasOrientation())
        return doNone;
    return orientation_ == doNone ? doX : orientation_;
}

void TDimension::SetOrientation(TDimensionOrientation value) {
    value = orientationFromInt(value);
    if (const TMaterial* material = Material()) {
        if (!material->HasOrientation())
            value = doNone;
        else if (value == doNone)
            value = doX;
    }
    if (value == orientation_)
        return;
    orientation_ = value;
    Announce(kOrientation);
    SetModified(true);
}

Currency TDimension::Area() const {
    return AreaToUser(Currency::fromValue(x_.toValue() * y_.toValue() / 1000000.0L));
}

Currency TDimension::Circuit() const {
    return CircuitToUser(Currency::fromValue((x_ + y_).toValue() * 2.0L / 1000.0L));
}

void TDimension::UpdateCaption() {
    SetCaption((isRest_ ? QStringLiteral("R") : QStringLiteral("M")) + QString::number(ID()));
}

bool TDimension::DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) {
    const bool result = TDataComponent::DataChangeStep(source, sender, phase, propName);
    if (phase != 1)
        return result;
    if (source == this) {
        if (propName == QLatin1String("ID") || propName == kIsRest) {
            UpdateCaption();
        } else if (propName == QLatin1String("X") || propName == QLatin1String("Y")) {
            Announce(kArea);
            Announce(kCircuit);
        } else if (propName == kArea || propName == kCount) {
            Announce(QStringLiteral("IsValid"));
        }
    } else if (auto* other = dynamic_cast<TDimension*>(source)) {
        // At most one default dimension per list: the one set last.
        if (propName == kIsDefault && other->IsDefault() && Owner() && other->Owner() == Owner())
            SetIsDefault(false);
    } else if (source && source == Material()) {
        // The getter's value follows the material's grain direction.
        if (propName.isEmpty() || propName == QLatin1String("HasOrientation"))
            Announce(kOrientation);
    }
    return result;
}

QString TDimension::RecordText() const {
    // Nine fields, each preceded by "|", without a closing bar.
    QString text;
    text += u'|' + QString::number(ID());
    text += u'|' + x_.toScaledText();
    text += u'|' + y_.toScaledText();
    text += u'|' + QString::number(static_cast<int>(orientation_));
    text += u'|' + QString::number(count_);
    text += u'|' + flagText(isRest_);
    text += u'|' + flagText(isDefault_);
    text += u'|' + flagText(isPrefered_);
    text += u'|' + flagText(isStopped_);
    return text;
}

void TDimension::ReadRecord(const QString& record) {
    // Fields go straight into place, without setters or announcements. A negative size or count
    // (only a damaged file holds one) reads as 0 like an unreadable field, so that two negative
    // sizes cannot make a valid dimension; an unknown orientation reads as none.
    const QString text = NormalizeBarList(record);
    SetIDDirect(integerOrZero(GetBarField(text, 0)));
    const Currency x = Currency::fromScaledText(GetBarField(text, 1));
    const Currency y = Currency::fromScaledText(GetBarField(text, 2));
    x_ = x.raw() > 0 ? x : Currency();
    y_ = y.raw() > 0 ? y : Currency();
    orientation_ = orientationFromInt(integerOrZero(GetBarField(text, 3)));
    count_ = std::max(0, integerOrZero(GetBarField(text, 4)));
    isRest_ = GetBarField(text, 5) == QLatin1String("1");
    isDefault_ = GetBarField(text, 6) == QLatin1String("1");
    isPrefered_ = GetBarField(text, 7) == QLatin1String("1");
    isStopped_ = GetBarField(text, 8) == QLatin1String("1");
    SetCaptionDirect((isRest_ ? QStringLiteral("R") : QStringLiteral("M")) + QString::number(ID()));
}

QString TDimension::FlagsText() const {
    const QString section = ClassName();
    QStringList names;
    if (isRest_)
        names << GetText(section, QStringLiteral("IsRest"));
    if (isDefault_)
        names << GetText(section, QStringLiteral("IsDefault"));
    if (isPrefered_)
        names << GetText(section, QStringLiteral("IsPrefered"));
    if (isStopped_)
        names << GetText(section, QStringLiteral("IsStopped"));
    if (names.isEmpty())
        return QString();
    return names.join(QLatin1String(", ")) + u' ' + GetText(section, QStringLiteral("Dimension"));
}

QString TDimension::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key.isEmpty())
        return RecordText();
    if (key == QLatin1String("COUNT"))
        return QString::number(count_);
    if (key == QLatin1String("ISDEFAULT"))
        return flagText(isDefault_);
    if (key == QLatin1String("ISPREFERED"))
        return flagText(isPrefered_);
    if (key == QLatin1String("ISREST"))
        return flagText(isRest_);
    if (key == QLatin1String("ISSTOPPED"))
        return flagText(isStopped_);
    if (key == QLatin1String("ISRDPS"))
        return FlagsText();
    if (key == QLatin1String("ORIENTATION")) {
        switch (Orientation()) {
        case doX:
            return QStringLiteral("X");
        case doY:
            return QStringLiteral("Y");
        default:
            return QStringLiteral("N");
        }
    }
    if (key == QLatin1String("X"))
        return FormatWithUnit(X(), 2, DimUnit());
    if (key == QLatin1String("Y"))
        return FormatWithUnit(Y(), 2, DimUnit());
    return TDataComponent::GetPropAsString(name);
}

void TDimension::SetPropAsString(const QString& name, const QString& value) {
    const QString key = KeyOf(name);
    if (key.isEmpty()) {
        ReadRecord(value);
    } else if (key == QLatin1String("COUNT")) {
        SetCount(integerOrZero(value));
    } else if (key == QLatin1String("ISDEFAULT") || key == QLatin1String("ISPREFERED") ||
               key == QLatin1String("ISREST") || key == QLatin1String("ISSTOPPED") ||
               key == QLatin1String("ISRDPS")) {
        // read-only by name: the window sets the flags through their setters
    } else if (key == QLatin1String("ORIENTATION")) {
        const QString upper = value.toUpper();
        SetOrientation(upper == QLatin1String("X") ? doX : upper == QLatin1String("Y") ? doY : doNone);
    } else if (key == QLatin1String("X")) {
        SetX(EntryToCurrency(value, X()));
    } else if (key == QLatin1String("Y")) {
        SetY(EntryToCurrency(value, Y()));
    } else {
        TDataComponent::SetPropAsString(name, value);
    }
}

// ---- TDimensionList --------------------------------------------------------------------------

TDimensionList::TDimensionList(TComponent* owner) : TDataComponentList(owner) {
    TDimensionList::InitDefaults();
}

void TDimensionList::InitDefaults() {
    TDataComponentList::InitDefaults();
    SetCompareFunc(&CompareDimensions);
    SetAutoSortingOff(true);
}

int TDimensionList::CompareDimensions(const TDataComponent* a, const TDataComponent* b) {
    const auto* da = dynamic_cast<const TDimension*>(a);
    const auto* db = dynamic_cast<const TDimension*>(b);
    const Currency areaA = da ? da->Area() : Currency();
    const Currency areaB = db ? db->Area() : Currency();
    const bool validA = areaA.raw() > 0;
    const bool validB = areaB.raw() > 0;
    if (!validA || !validB)
        return validA == validB ? 0 : validA ? -1 : 1;
    if (da->IsPrefered() != db->IsPrefered())
        return da->IsPrefered() ? 1 : -1;
    if (da->IsStopped() != db->IsStopped())
        return da->IsStopped() ? -1 : 1;
    if (da->IsRest() != db->IsRest())
        return da->IsRest() ? 1 : -1;
    if (areaA != areaB)
        return areaA > areaB ? -1 : 1;
    if (da->Count() != db->Count())
        return da->Count() > db->Count() ? -1 : 1;
    return 0;
}

TDimension* TDimensionList::Dimension(int index) const {
    return dynamic_cast<TDimension*>(Item(index));
}

Currency TDimensionList::Area() const {
    Currency total;
    for (TDataComponent* item : Items())
        if (const auto* d = dynamic_cast<const TDimension*>(item))
            total = Currency::fromValue(total.toValue() + d->Area().toValue() * d->Count());
    return total;
}

Currency TDimensionList::Circuit() const {
    Currency total;
    for (TDataComponent* item : Items())
        if (const auto* d = dynamic_cast<const TDimension*>(item))
            total = Currency::fromValue(total.toValue() + d->Circuit().toValue() * d->Count());
    return total;
}

TDimension* TDimensionList::DefaultDim() const {
    for (TDataComponent* item : Items())
        if (auto* d = dynamic_cast<TDimension*>(item); d && d->IsDefault())
            return d;
    return nullptr;
}

void TDimensionList::CheckEmptyDim() {
    if (bulkLoading_)
        return;
    for (TDataComponent* item : Items()) {
        const auto* d = dynamic_cast<const TDimension*>(item);
        if (!d || !d->IsValid())
            return;
    }
    auto* dim = new TDimension(this); // owned by the list from here on
    dim->count_ = 1;
    dim->orientation_ = doY;
    ItemInsert(dim);
    if (!ItemFocused())
        SetItemFocused(dim);
}

bool TDimensionList::DataChangeStep(TComponent* source, TComponent* sender, int phase,
                                    const QString& propName) {
    const bool result = TDataComponentList::DataChangeStep(source, sender, phase, propName);
    if (phase != 1)
        return result;
    if (source == this) {
        if (propName == QLatin1String("ItemFocused")) {
            const auto* focused = dynamic_cast<const TDimension*>(ItemFocused());
            if (ItemFocused() && !(focused && focused->IsValid()))
                Sort();
        } else if (propName == kCircuit) {
            CheckEmptyDim();
        } else if (propName == kItems) {
            Announce(kArea);
            Announce(kCircuit);
        } else if (propName == QLatin1String("ItemCount")) {
            Announce(QStringLiteral("ValidItemCount"));
        }
    } else if (auto* dim = dynamic_cast<TDimension*>(source); dim && Owns(dim)) {
        if (propName == kArea || propName == kCount)
            Announce(kArea);
        if (propName == kCircuit || propName == kCount)
            Announce(kCircuit);
    }
    return result;
}

void TDimensionList::SaveToStrings(QStringList& lines) const {
    lines.clear();
    lines.append(QStringLiteral("Count=") + QString::number(ItemCount()));
    for (int i = 0; i < ItemCount(); ++i)
        if (const TDimension* d = Dimension(i); d && d->Area().raw() > 0)
            lines.append(QStringLiteral("Item") + QString::number(i + 1) + u'=' + d->RecordText());
}

void TDimensionList::LoadFromStrings(const QStringList* lines) {
    {
        TBulkLoadingGuard bulk(bulkLoading_);
        Clear();
        if (!lines)
            return;
        const int count = integerOrZero(ReadValue(*lines, kCount));
        // One pass over the lines, so that a damaged count costs no more than the lines present.
        const std::map<int, QString> records = ReadNumberedValues(*lines, QStringLiteral("Item"), count);
        for (const auto& [k, record] : records) {
            if (record.isEmpty())
                continue;
            auto* dim = new TDimension(this); // owned by the list from here on
            dim->SetPropAsString(QString(), record);
            ItemInsert(dim);
        }
    }
    CheckEmptyDim();
    Sort();
    SetItemFocused(FindItem(0));
}

} // namespace lintaro
