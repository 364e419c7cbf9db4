#include "model/PartOut.h"

#include "foundation/BarRecord.h"
#include "foundation/ConversionError.h"
#include "foundation/TextUtils.h"
#include "foundation/Units.h"

#include <QStringList>

namespace lintaro {

namespace {
// The key offset of the placed-part scrambling; stored orders depend on it.
constexpr int kScrambleKey = 7;

// Each byte at 1-based position i is XORed with K + i, except a byte equal to that key, which would
// become a NUL. Applying it twice gives the bytes back.
QByteArray scramble(QByteArray bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int k = kScrambleKey + int(i) + 1;
        const int code = static_cast<unsigned char>(bytes[i]);
        if (code != k)
            bytes[i] = static_cast<char>((code ^ k) & 0xFF);
    }
    return bytes;
}

Currency rawField(const QString& record, int index) {
    return Currency::fromRaw(GetBarFieldInt(record, index));
}

QString raw(Currency c) {
    return QString::number(c.raw());
}

} // namespace

// ---- TCSPartOut ----------------------------------------------------------------------------------

TCSPartOut::TCSPartOut(TComponent* owner) : TDataComponent(owner) {
    TCSPartOut::InitDefaults();
}

void TCSPartOut::InitDefaults() {
    TDataComponent::InitDefaults();
    SetSilent(true);
    rotated_ = false;
    originalX_ = originalY_ = ox_ = oy_ = x_ = y_ = {};
    partID_ = 0;
}

void TCSPartOut::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TCSPartOut*>(dest)) {
        d->rotated_ = rotated_;
        d->originalX_ = originalX_;
        d->originalY_ = originalY_;
        d->ox_ = ox_;
        d->oy_ = oy_;
        d->partID_ = partID_;
        d->x_ = x_;
        d->y_ = y_;
    }
}

Currency TCSPartOut::StoredArea() const {
    return SquareMetres(x_, y_);
}

QString TCSPartOut::RecordLine() const {
    const QStringList fields = {QString::number(ID()),
                                Caption(),
                                QString::number(partID_),
                                raw(ox_),
                                raw(oy_),
                                raw(x_),
                                raw(y_),
                                raw(originalX_),
                                raw(originalY_),
                                rotated_ ? "1" : "0"};
    return u'|' + fields.join(u'|') + u'|';
}

void TCSPartOut::ReadRecordLine(const QString& line) {
    const QString r = NormalizeBarList(line);
    SetIDDirect(GetBarFieldInt(r, 0));
    SetCaptionDirect(GetBarField(r, 1));
    partID_ = GetBarFieldInt(r, 2);
    ox_ = rawField(r, 3);
    oy_ = rawField(r, 4);
    x_ = rawField(r, 5);
    y_ = rawField(r, 6);
    originalX_ = rawField(r, 7);
    originalY_ = rawField(r, 8);
    rotated_ = GetBarField(r, 9) == QLatin1String("1");
}

QString TCSPartOut::EncodedRecord() const {
    return QString::fromLatin1(scramble(RecordLine().toUtf8()).toHex().toUpper());
}

void TCSPartOut::ReadEncodedRecord(const QString& hex) {
    // Throws on a pair that is not hexadecimal; a trailing odd digit is ignored.
    ReadRecordLine(QString::fromUtf8(scramble(HexToBytes(hex, QString()))));
}

QString TCSPartOut::GetPropAsString(const QString& name) const {
    if (name.isEmpty())
        return RecordLine();
    return TDataComponent::GetPropAsString(name);
}

void TCSPartOut::SetPropAsString(const QString& name, const QString& value) {
    if (name.isEmpty()) {
        ReadRecordLine(value);
        return;
    }
    TDataComponent::SetPropAsString(name, value);
}

TCSPartOutList::TCSPartOutList(TComponent* owner) : TDataComponentList(owner) {
    TCSPartOutList::InitDefaults();
}

void TCSPartOutList::InitDefaults() {
    TDataComponentList::InitDefaults();
    SetSilent(true);
    SetCompareFunc(nullptr);
}

Currency TCSPartOutList::StoredTotalArea() const {
    Currency sum;
    for (TDataComponent* item : Items())
        sum += static_cast<TCSPartOut*>(item)->StoredArea();
    return sum;
}

// ---- TCSPartOutPrint -----------------------------------------------------------------------------

TCSPartOutPrint::TCSPartOutPrint(TComponent* owner) : TDataComponent(owner) {
    TCSPartOutPrint::InitDefaults();
}

void TCSPartOutPrint::InitDefaults() {
    TDataComponent::InitDefaults();
    SetSilent(true);
    count_ = partID_ = 0;
    x_ = y_ = {};
}

void TCSPartOutPrint::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TCSPartOutPrint*>(dest)) {
        d->count_ = count_;
        d->partID_ = partID_;
        d->x_ = x_;
        d->y_ = y_;
    }
}

QString TCSPartOutPrint::GetPropAsString(const QString& name) const {
    const QString unit = DimUnit();
    if (name == QLatin1String("CaptionXY"))
        return Caption() + QStringLiteral(", ") + LengthToUser(x_).toText() + u'x' +
               LengthToUser(y_).toText() + u' ' + unit;
    if (name == QLatin1String("Count"))
        return QString::number(count_);
    if (name == QLatin1String("PartID"))
        return QString::number(partID_);
    if (name == QLatin1String("X"))
        return LengthToUser(x_).toText() + u' ' + unit;
    if (name == QLatin1String("Y"))
        return LengthToUser(y_).toText() + u' ' + unit;
    return TDataComponent::GetPropAsString(name);
}

TCSPartOutPrintList::TCSPartOutPrintList(TComponent* owner) : TDataComponentList(owner) {
    TCSPartOutPrintList::InitDefaults();
}

void TCSPartOutPrintList::InitDefaults() {
    TDataComponentList::InitDefaults();
    SetSilent(true);
    SetCompareFunc(nullptr);
}

void TCSPartOutPrintList::AssignFromPartOutList(const TCSPartOutList& list) {
    Clear();
    for (TDataComponent* item : list.Items()) {
        auto* part = static_cast<TCSPartOut*>(item);
        TCSPartOutPrint* group = FindByPartID(part->PartID());
        if (!group) {
            group = new TCSPartOutPrint(nullptr);
            group->SetCaption(part->Caption());
            group->SetPartID(part->PartID());
            group->SetSize(part->OriginalX(), part->OriginalY());
            ItemInsert(group);
        }
        group->SetCount(group->Count() + 1);
    }
}

TCSPartOutPrint* TCSPartOutPrintList::FindByPartID(int partID) const {
    for (TDataComponent* item : Items())
        if (static_cast<TCSPartOutPrint*>(item)->PartID() == partID)
            return static_cast<TCSPartOutPrint*>(item);
    return nullptr;
}

} // namespace lintaro
