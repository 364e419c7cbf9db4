#include "model/DimOut.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/Units.h"
#include "model/Dimension.h"
#include "platform/Locale.h"

#include <algorithm>

namespace lintaro {

namespace {
Currency rawField(const QString& record, int index) {
    return Currency::fromRaw(GetBarFieldInt(record, index));
}
QString raw(Currency c) {
    return QString::number(c.raw());
}
} // namespace

TCSDimOut::TCSDimOut(TComponent* owner) : TDataComponent(owner) {
    TCSDimOut::InitDefaults();
}

void TCSDimOut::InitDefaults() {
    TDataComponent::InitDefaults();
    SetSilent(true);
    dimensionID_ = 0;
    recyable_ = tooSmall_ = false;
    orientation_ = csdooNone;
    ox_ = oy_ = x_ = y_ = {};
}

void TCSDimOut::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TCSDimOut*>(dest)) {
        d->dimensionID_ = dimensionID_;
        d->recyable_ = recyable_;
        d->tooSmall_ = tooSmall_;
        d->orientation_ = orientation_;
        d->ox_ = ox_;
        d->oy_ = oy_;
        d->x_ = x_;
        d->y_ = y_;
    }
}

Currency TCSDimOut::StoredArea() const {
    return SquareMetres(x_, y_);
}

void TCSDimOut::AssignFromDimension(const TDimension& dimension) {
    SetCaption(dimension.Caption());
    dimensionID_ = dimension.ID();
    ox_ = oy_ = {};
    x_ = dimension.StoredX();
    y_ = dimension.StoredY();
    switch (dimension.Orientation()) {
    case doX:
        orientation_ = csdooX;
        break;
    case doY:
        orientation_ = csdooY;
        break;
    default:
        orientation_ = csdooNone;
    }
}

void TCSDimOut::AssignToDimension(TDimension& dimension, int count) {
    dimension.SetIsRest(true);
    dimension.SetCount(dimension.Count() + count);
    dimension.SetX(LengthToUser(x_));
    dimension.SetY(LengthToUser(y_));
    dimension.SetOrientation(orientation_ == csdooX ? doX : orientation_ == csdooY ? doY : doNone);
    SetCaption(dimension.Caption());
    dimensionID_ = dimension.ID();
}

QString TCSDimOut::RecordLine() const {
    const QStringList fields = {QString::number(ID()),
                                Caption(),
                                QString::number(dimensionID_),
                                raw(ox_),
                                raw(oy_),
                                raw(x_),
                                raw(y_),
                                QString::number(int(orientation_)),
                                recyable_ ? "1" : "0"};
    return u'|' + fields.join(u'|') + u'|';
}

void TCSDimOut::ReadRecordLine(const QString& line) {
    const QString r = NormalizeBarList(line);
    SetIDDirect(GetBarFieldInt(r, 0));
    SetCaptionDirect(GetBarField(r, 1));
    dimensionID_ = GetBarFieldInt(r, 2);
    ox_ = rawField(r, 3);
    oy_ = rawField(r, 4);
    x_ = rawField(r, 5);
    y_ = rawField(r, 6);
    const int o = GetBarFieldInt(r, 7);
    orientation_ = o == 1 ? csdooX : o == 2 ? csdooY : csdooNone;
    recyable_ = GetBarField(r, 8) == QLatin1String("1");
}

QString TCSDimOut::GetPropAsString(const QString& name) const {
    if (name.isEmpty())
        return RecordLine();
    return TDataComponent::GetPropAsString(name);
}

void TCSDimOut::SetPropAsString(const QString& name, const QString& value) {
    if (name.isEmpty()) {
        ReadRecordLine(value);
        return;
    }
    TDataComponent::SetPropAsString(name, value);
}

// ---- TCSDimOutList -------------------------------------------------------------------------------

int TCSDimOutList::CompareRests(const TDataComponent* a, const TDataComponent* b) {
    const auto* ra = static_cast<const TCSDimOut*>(a);
    const auto* rb = static_cast<const TCSDimOut*>(b);
    const Currency pa = ra->X() * ra->Y();
    const Currency pb = rb->X() * rb->Y();
    return pa < pb ? -1 : (pb < pa ? 1 : 0);
}

TCSDimOutList::TCSDimOutList(TComponent* owner) : TDataComponentList(owner) {
    TCSDimOutList::InitDefaults();
}

void TCSDimOutList::InitDefaults() {
    TDataComponentList::InitDefaults();
    SetSilent(true);
    SetCompareFunc(&CompareRests);
    SetAutoSortingOff(true);
}

Currency TCSDimOutList::StoredMaxArea() const {
    Currency m;
    for (TDataComponent* item : Items())
        m = std::max(m, static_cast<TCSDimOut*>(item)->StoredArea());
    return m;
}

Currency TCSDimOutList::GetTotalSqrRecyArea(Currency minRecyDim, Currency minRecyArea) const {
    Currency sum;
    for (TDataComponent* item : Items()) {
        auto* r = static_cast<TCSDimOut*>(item);
        const Currency area = r->StoredArea();
        if (r->X() >= minRecyDim && r->Y() >= minRecyDim && area >= minRecyArea)
            sum += area * area;
    }
    return sum;
}

void TCSDimOutList::SaveToStringsAsRest(QStringList& lines) const {
    WriteValue(lines, QStringLiteral("RestCount"), QString::number(ItemCount()));
    for (int i = 0; i < ItemCount(); ++i)
        WriteValue(lines, QStringLiteral("Rest%1").arg(i + 1), Rest(i)->RecordLine());
}

void TCSDimOutList::LoadFromStringsAsRest(const QStringList& lines) {
    Clear();
    bool ok = false;
    const int count = ReadValue(lines, QStringLiteral("RestCount")).toInt(&ok);
    if (!ok)
        return;
    // Only the rests present: a damaged count must not make up millions of empty ones.
    for (const auto& [k, line] : ReadNumberedValues(lines, QStringLiteral("Rest"), count)) {
        if (line.isEmpty())
            continue;
        auto* rest = new TCSDimOut(nullptr);
        rest->ReadRecordLine(line);
        ItemInsert(rest);
    }
}

} // namespace lintaro
