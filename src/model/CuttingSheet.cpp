#include "model/CuttingSheet.h"

#include "foundation/Ini.h"
#include "foundation/NumberFormat.h"
#include "foundation/Units.h"
#include "model/Dimension.h"

#include <algorithm>
#include <limits>

namespace lintaro {

namespace {
Currency percent(Currency part, Currency whole) {
    if (whole.raw() == 0)
        return {};
    return Currency::fromValue(part.toValue() / whole.toValue() * 100.0L);
}

__extension__ using Int128 = __int128;

Currency percentOf(Int128 part, Int128 whole) {
    if (whole == 0)
        return {};
    const auto value = [](Int128 raw) { return static_cast<long double>(raw) / Currency::Scale; };
    return Currency::fromValue(value(part) / value(whole) * 100.0L);
}

Currency saturated(Int128 raw) {
    if (raw > std::numeric_limits<int64_t>::max())
        return Currency::fromRaw(std::numeric_limits<int64_t>::max());
    if (raw < std::numeric_limits<int64_t>::min())
        return Currency::fromRaw(std::numeric_limits<int64_t>::min());
    return Currency::fromRaw(static_cast<int64_t>(raw));
}

QString percentText(Currency value) {
    return value.toText() + u'%';
}
} // namespace

TCuttingSheet::TCuttingSheet(TComponent* owner) : TDataComponent(owner) {
    TCuttingSheet::InitDefaults();
}

void TCuttingSheet::InitDefaults() {
    TDataComponent::InitDefaults();
    SetSilent(true);
    delete dimension_;
    delete parts_;
    delete partsIn_;
    delete rests_;
    dimension_ = new TDimension(this);
    minActualRest_ = {};
    multiIndex_ = 1;
    parts_ = new TCSPartOutList(this);
    partsIn_ = new TCSPartInList(this);
    rests_ = new TCSDimOutList(this);
}

void TCuttingSheet::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TCuttingSheet*>(dest)) {
        d->dimension_->Assign(dimension_);
        d->minActualRest_ = minActualRest_;
        d->multiIndex_ = multiIndex_;
        d->parts_->Assign(parts_);
        d->partsIn_->Assign(partsIn_);
        d->rests_->Assign(rests_);
    }
}

int TCuttingSheet::Count() const {
    return dimension_ ? dimension_->Count() : 0;
}

void TCuttingSheet::SetCount(int value) {
    if (dimension_)
        dimension_->SetCount(value);
}

Currency TCuttingSheet::StoredDimensionArea() const {
    return SquareMetres(dimension_->StoredX(), dimension_->StoredY());
}

Currency TCuttingSheet::StoredRecyclableArea() const {
    Currency sum;
    for (TDataComponent* item : rests_->Items()) {
        auto* r = static_cast<TCSDimOut*>(item);
        if (r->IsRecyable())
            sum += r->StoredArea();
    }
    return sum;
}

Currency TCuttingSheet::percentOfSheet(Currency area) const {
    return percent(area, StoredDimensionArea());
}

Currency TCuttingSheet::ExtractNetto() const {
    return percentOfSheet(parts_->StoredTotalArea());
}

Currency TCuttingSheet::ExtractBrutto() const {
    return percentOfSheet(parts_->StoredTotalArea() + StoredRecyclableArea());
}

Currency TCuttingSheet::StoredPartsLength() const {
    Currency m;
    for (TDataComponent* item : parts_->Items()) {
        auto* p = static_cast<TCSPartOut*>(item);
        m = std::max(m, p->OX() + p->X());
    }
    return m;
}

QString TCuttingSheet::GetPropAsString(const QString& name) const {
    if (name == QLatin1String("Count"))
        return QString::number(Count()) + u'x';
    if (name == QLatin1String("ExtractBrutto"))
        return percentText(ExtractBrutto());
    if (name == QLatin1String("ExtractNetto"))
        return percentText(ExtractNetto());
    if (name == QLatin1String("Index"))
        return QString::number(Index() + 1);
    if (name == QLatin1String("PartsLength"))
        return FormatWithUnit(LengthToUser(StoredPartsLength()), 2, DimUnit());
    if (name == QLatin1String("X") || name == QLatin1String("Y"))
        return dimension_->GetPropAsString(name);
    if (name.startsWith(QLatin1String("PartsOnSheet"))) {
        const QString key = name.mid(12);
        static const QStringList keys = {"Caption", "CaptionXY", "Count", "X", "Y"};
        if (keys.contains(key)) {
            TCSPartOutPrintList groups(nullptr);
            groups.AssignFromPartOutList(*parts_);
            QStringList lines;
            for (TDataComponent* item : groups.Items())
                lines << item->GetPropAsString(key);
            return lines.join(QLatin1String("\r\n"));
        }
    }
    return TDataComponent::GetPropAsString(name);
}

void TCuttingSheet::SaveToStrings(QStringList& lines) const {
    // The sheet's own record text is empty, so its key is never written.
    WriteValue(lines, QStringLiteral("Sheet"), QString());
    WriteValue(lines, QStringLiteral("Dim"), dimension_->GetPropAsString(QString()));
    WriteValue(lines, QStringLiteral("PartCount"), QString::number(parts_->ItemCount()));
    for (int i = 0; i < parts_->ItemCount(); ++i)
        WriteValue(lines, QStringLiteral("Part%1").arg(i + 1), parts_->PartOut(i)->EncodedRecord());
    rests_->SaveToStringsAsRest(lines);
}

void TCuttingSheet::LoadFromStrings(const QStringList& lines) {
    dimension_->SetPropAsString(QString(), ReadValue(lines, QStringLiteral("Dim")));
    parts_->Clear();
    bool ok = false;
    const int count = ReadValue(lines, QStringLiteral("PartCount")).toInt(&ok);
    // Only the parts present: a damaged count must not make up millions of empty ones.
    const std::map<int, QString> values =
        ok ? ReadNumberedValues(lines, QStringLiteral("Part"), count) : std::map<int, QString>();
    for (const auto& [k, value] : values) {
        if (value.isEmpty())
            continue;
        auto* part = new TCSPartOut(nullptr);
        try {
            part->ReadEncodedRecord(value);
        } catch (...) {
            delete part;
            throw;
        }
        parts_->ItemInsert(part);
    }
    rests_->LoadFromStringsAsRest(lines);
}

// ---- TCuttingSheetList ---------------------------------------------------------------------------

int TCuttingSheetList::CompareSheets(const TDataComponent* a, const TDataComponent* b) {
    const Currency ma = static_cast<const TCuttingSheet*>(a)->MinActualRest();
    const Currency mb = static_cast<const TCuttingSheet*>(b)->MinActualRest();
    return ma < mb ? -1 : (mb < ma ? 1 : 0);
}

TCuttingSheetList::TCuttingSheetList(TComponent* owner) : TDataComponentList(owner) {
    TCuttingSheetList::InitDefaults();
}

void TCuttingSheetList::InitDefaults() {
    TDataComponentList::InitDefaults();
    SetCompareFunc(&CompareSheets);
    SetAutoSortingOff(true);
}

// Totals over sheets multiply areas by sheet counts; a damaged order may hold huge sheets with
// huge counts, so they are summed in 128 bits (exact, no overflow) and only the quotient is narrowed.
Currency TCuttingSheetList::ExtractBrutto() const {
    Int128 used = 0, whole = 0;
    for (TDataComponent* item : Items()) {
        auto* s = static_cast<TCuttingSheet*>(item);
        used += static_cast<Int128>((s->Parts()->StoredTotalArea() + s->StoredRecyclableArea()).raw()) *
                s->Count();
        whole += static_cast<Int128>(s->StoredDimensionArea().raw()) * s->Count();
    }
    return percentOf(used, whole);
}

Currency TCuttingSheetList::ExtractNetto() const {
    Int128 used = 0, whole = 0;
    for (TDataComponent* item : Items()) {
        auto* s = static_cast<TCuttingSheet*>(item);
        used += static_cast<Int128>(s->Parts()->StoredTotalArea().raw()) * s->Count();
        whole += static_cast<Int128>(s->StoredDimensionArea().raw()) * s->Count();
    }
    return percentOf(used, whole);
}

Currency TCuttingSheetList::PartsArea() const {
    // Each part's area in the user's unit, then summed, as the part list totals its area: a result
    // that placed every piece then leaves exactly nothing unused, in square feet too.
    Int128 sum = 0;
    for (TDataComponent* item : Items()) {
        auto* s = static_cast<TCuttingSheet*>(item);
        Currency sheetArea;
        for (TDataComponent* part : s->Parts()->Items())
            sheetArea += AreaToUser(static_cast<TCSPartOut*>(part)->StoredArea());
        sum += static_cast<Int128>(sheetArea.raw()) * s->Count();
    }
    return saturated(sum);
}

int TCuttingSheetList::PartsCount() const {
    int64_t sum = 0;
    for (TDataComponent* item : Items()) {
        auto* s = static_cast<TCuttingSheet*>(item);
        sum += static_cast<int64_t>(s->Parts()->ItemCount()) * s->Count();
        if (sum >= std::numeric_limits<int>::max())
            return std::numeric_limits<int>::max();
    }
    return static_cast<int>(sum);
}

void TCuttingSheetList::SaveToINI(TINI& ini) const {
    ini.EraseSections(QStringLiteral("SHEET"));
    for (int i = 0; i < ItemCount(); ++i) {
        QStringList& lines = ini.Section(QStringLiteral("SHEET%1").arg(i + 1));
        lines.clear();
        Sheet(i)->SaveToStrings(lines);
    }
}

void TCuttingSheetList::LoadFromINI(const TINI& ini) {
    Clear();
    for (int i = 1;; ++i) {
        const QStringList* lines = ini.FindSection(QStringLiteral("SHEET%1").arg(i));
        if (!lines)
            break;
        auto* sheet = new TCuttingSheet(nullptr);
        try {
            sheet->LoadFromStrings(*lines);
        } catch (...) {
            delete sheet;
            throw;
        }
        ItemInsert(sheet);
    }
    if (!ItemFocused() && ItemCount() > 0)
        SetItemFocused(Item(0));
}

} // namespace lintaro
