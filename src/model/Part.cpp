#include "model/Part.h"

#include "foundation/BarRecord.h"
#include "foundation/ConversionError.h"
#include "foundation/Ini.h"
#include "foundation/NumberEntry.h"
#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "foundation/TextFile.h"
#include "foundation/Units.h"
#include "model/ApplicationLinks.h"
#include "model/Setup.h"
#include "platform/Locale.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace lintaro {

namespace {

// A caption that another part holds already becomes its base (the caption without its trailing
// number) with the smallest number that no part holds, as the list does for an inserted item; a
// hash of the captions taken and the last number tried for each base keep it linear.
void makeCaptionsUnique(const std::vector<TPart*>& parts) {
    QSet<QString> taken;
    QHash<QString, int> nextNumber;
    for (TPart* part : parts) {
        QString caption = part->Caption();
        if (taken.contains(Locale::toUpper(caption))) {
            QString base = caption;
            while (!base.isEmpty() && QStringLiteral("0123456789,-").contains(base.back()))
                base.chop(1);
            if (base.isEmpty())
                base = part->DefaultCaption();
            const QString key = Locale::toUpper(base);
            int n = nextNumber.value(key, 0);
            QString candidate = n == 0 ? base : base + QString::number(n);
            while (taken.contains(Locale::toUpper(candidate)))
                candidate = base + QString::number(++n);
            nextNumber.insert(key, n + 1);
            part->SetSilent(true);
            part->SetCaption(candidate);
            part->SetSilent(false);
            caption = candidate;
        }
        taken.insert(Locale::toUpper(caption));
    }
}

const QString kArea = QStringLiteral("Area");
const QString kCircuit = QStringLiteral("Circuit");
const QString kCount = QStringLiteral("Count");
const QString kItems = QStringLiteral("Items");

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A record field that is not an integer reads as 0.
int recordInteger(const QString& field) {
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    return ok ? value : 0;
}

QString orientationText(TPartOrientation o) {
    switch (o) {
    case poX:
        return QStringLiteral("X");
    case poY:
        return QStringLiteral("Y");
    default:
        return QStringLiteral("N");
    }
}

// A text file holds no NUL (trailing NUL padding aside) and only the odd control character; a file
// that does is a picture, a UTF-16 text or some other binary, whose "lines" are no parts.
bool looksBinary(const QByteArray& bytes) {
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    const QByteArrayView text(bytes.constData(), end);
    if (text.contains('\0'))
        return true;
    qsizetype control = 0;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 0x7F)
            ++control;
    }
    return control * 2 > text.size();
}

// A caption may hold characters that have no place in a line of text: line breaks become the
// program's line-break mark and other control characters blanks, so that the file is read back as
// the same lines and is never taken for a binary file.
QString csvSafe(QString line) {
    line.replace(QLatin1String("\r\n"), QStringLiteral("\u00B6"));
    for (QChar& c : line) {
        if (c == u'\r' || c == u'\n')
            c = QChar(0x00B6);
        else if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            c = u' ';
    }
    return line;
}

QStringList splitLines(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text.split(u'\n');
}

} // namespace

// ---- TPart -----------------------------------------------------------------------------------

TPart::TPart(TComponent* owner) : TDataComponent(owner) {
    TPart::InitDefaults();
}

void TPart::InitDefaults() {
    TDataComponent::InitDefaults();
    SetCaptionDirect(GetDefaultCaption());
    x_ = Currency();
    y_ = Currency();
    count_ = 0;
    orientation_ = poNone;
}

QString TPart::GetDefaultCaption() const {
    // Without the shipped texts a part still gets a caption, so that it can become valid.
    const QString text = GetText(QStringLiteral("TPart"), QStringLiteral("DefaultCaption"));
    return text.isEmpty() ? TDataComponent::GetDefaultCaption() : text;
}

void TPart::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TPart*>(dest)) {
        d->count_ = count_;
        d->orientation_ = orientation_;
        d->x_ = x_;
        d->y_ = y_;
    }
}

Currency TPart::X() const {
    return LengthToUser(x_);
}

Currency TPart::Y() const {
    return LengthToUser(y_);
}

void TPart::SetSize(Currency& field, Currency value, const QString& propName) {
    if (!SizeFromUser(value, value))
        return;
    if (value == field)
        return;
    field = value;
    Announce(propName);
    SetModified(true);
}

void TPart::SetX(Currency value) {
    SetSize(x_, value, QStringLiteral("X"));
}

void TPart::SetY(Currency value) {
    SetSize(y_, value, QStringLiteral("Y"));
}

void TPart::SetCount(int value) {
    if (value <= 0)
        value = 1;
    if (value == count_)
        return;
    count_ = value;
    Announce(kCount);
    SetModified(true);
}

void TPart::SetOrientation(TPartOrientation value) {
    if (value == orientation_)
        return;
    orientation_ = value;
    Announce(QStringLiteral("Orientation"));
    SetModified(true);
}

Currency TPart::Area() const {
    return AreaToUser(Currency::fromValue(x_.toValue() * y_.toValue() / 1000000.0L));
}

Currency TPart::Circuit() const {
    return CircuitToUser(Currency::fromValue((x_ + y_).toValue() * 2.0L / 1000.0L));
}

bool TPart::IsValid() const {
    return !Caption().isEmpty() && Area().raw() > 0 && count_ > 0;
}

bool TPart::DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) {
    const bool result = TDataComponent::DataChangeStep(source, sender, phase, propName);
    if (phase == 1 && source == this) {
        if (propName == QLatin1String("X") || propName == QLatin1String("Y")) {
            Announce(kArea);
            Announce(kCircuit);
        } else if (propName == kArea || propName == kCount || propName == QLatin1String("Caption")) {
            Announce(QStringLiteral("IsValid"));
        }
    }
    return result;
}

QString TPart::RecordText() const {
    QString text;
    text += u'|' + QString::number(ID());
    text += u'|' + Caption();
    text += u'|' + x_.toScaledText();
    text += u'|' + y_.toScaledText();
    text += u'|' + QString::number(static_cast<int>(orientation_));
    text += u'|' + QString::number(count_);
    text += u'|';
    return text;
}

void TPart::ReadRecord(const QString& record) {
    // Fields go straight into place, without setters or announcements. A size or count below 0
    // (only a hand-edited file holds one) reads as 0 like an unreadable field, so that two negative
    // sizes cannot make a valid part with a positive area; an unknown rule reads as none.
    SetIDDirect(recordInteger(GetBarField(record, 0)));
    SetCaptionDirect(GetBarField(record, 1));
    const Currency x = Currency::fromScaledText(GetBarField(record, 2));
    const Currency y = Currency::fromScaledText(GetBarField(record, 3));
    x_ = x.raw() > 0 ? x : Currency();
    y_ = y.raw() > 0 ? y : Currency();
    const int orientation = recordInteger(GetBarField(record, 4));
    orientation_ = orientation == poX ? poX : orientation == poY ? poY : poNone;
    count_ = std::max(0, recordInteger(GetBarField(record, 5)));
}

QString TPart::CSVLine() const {
    return Caption() + u';' + X().toText() + u';' + Y().toText() + u';' + orientationText(orientation_) +
           u';' + QString::number(count_);
}

bool TPart::ReadCSVLine(const QString& line, QStringList* notes) {
    static const QString names[] = {QStringLiteral("Caption"), QStringLiteral("X"), QStringLiteral("Y"),
                                    QStringLiteral("Orientation"), QStringLiteral("Count")};
    // Both bars are added here rather than by the record normalization, which would take the ";" of
    // an empty caption for the record's leading bar and shift every field into the one before it.
    QString record = line;
    record.replace(u';', u'|');
    record = u'|' + record + u'|';
    bool allConverted = true;
    for (int i = 0; i < 5; ++i) {
        try {
            SetPropAsString(names[i], GetBarField(record, i));
        } catch (const ConversionError& e) {
            allConverted = false;
            if (notes)
                notes->append(names[i] + QLatin1String(": ") + e.message());
            // A new part's count is still 0, which the setter never leaves; the count it keeps is 1.
            if (i == 4)
                SetCount(count_);
        }
    }
    return allConverted;
}

QString TPart::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key.isEmpty())
        return RecordText();
    if (key == QLatin1String("AREA"))
        return FormatWithUnit(Area(), 2, AreaUnit());
    if (key == QLatin1String("CIRCUIT"))
        return FormatWithUnit(Circuit(), 2, LengthUnit());
    if (key == QLatin1String("COUNT"))
        return QString::number(count_);
    if (key == QLatin1String("CSV"))
        return CSVLine();
    if (key == QLatin1String("ORIENTATION"))
        return orientationText(orientation_);
    if (key == QLatin1String("X"))
        return FormatWithUnit(X(), 2, DimUnit());
    if (key == QLatin1String("Y"))
        return FormatWithUnit(Y(), 2, DimUnit());
    return TDataComponent::GetPropAsString(name);
}

void TPart::SetPropAsString(const QString& name, const QString& value) {
    const QString key = KeyOf(name);
    if (key.isEmpty()) {
        ReadRecord(value);
    } else if (key == QLatin1String("AREA") || key == QLatin1String("CIRCUIT")) {
        // computed values: nothing to set
    } else if (key == QLatin1String("COUNT")) {
        SetCount(EntryToInteger(value, count_));
    } else if (key == QLatin1String("CSV")) {
        // Every field that converts is taken; the first failure is then reported to the caller.
        QStringList notes;
        if (!ReadCSVLine(value, &notes))
            throw ConversionError(notes.first());
    } else if (key == QLatin1String("ORIENTATION")) {
        const QString upper = value.toUpper();
        SetOrientation(upper == QLatin1String("X") ? poX : upper == QLatin1String("Y") ? poY : poNone);
    } else if (key == QLatin1String("X")) {
        SetX(EntryToCurrency(value, X()));
    } else if (key == QLatin1String("Y")) {
        SetY(EntryToCurrency(value, Y()));
    } else {
        TDataComponent::SetPropAsString(name, value);
    }
}

// ---- TPartList -------------------------------------------------------------------------------

TPartList::TPartList(TComponent* owner) : TDataComponentList(owner) {
    TPartList::InitDefaults();
}

void TPartList::InitDefaults() {
    TDataComponentList::InitDefaults();
    SetCaptionDirect(GetDefaultCaption());
    SetExclusiveCaption(true);
    SetAutoSortingOff(true);
    SetCompareFunc(&ComparePartOrder);
}

QString TPartList::GetDefaultCaption() const {
    const QString text = GetText(QStringLiteral("TPartList"), QStringLiteral("DefaultCaption"));
    return text.isEmpty() ? TDataComponentList::GetDefaultCaption() : text;
}

int TPartList::ComparePartOrder(const TDataComponent* a, const TDataComponent* b) {
    const auto* pa = dynamic_cast<const TPart*>(a);
    const auto* pb = dynamic_cast<const TPart*>(b);
    const bool va = pa && pa->IsValid();
    const bool vb = pb && pb->IsValid();
    if (va && vb)
        return Locale::compareText(pa->Caption(), pb->Caption());
    if (va)
        return -1;
    if (vb)
        return 1;
    return 0;
}

QString TPartList::NextCaption(const QString& caption) {
    qsizetype start = caption.size();
    while (start > 0 && isAsciiDigit(caption[start - 1]))
        --start;
    if (start == caption.size())
        return caption;
    // Counted on as decimal text, so that a run of any length works; leading zeros go.
    QString digits = caption.sliced(start);
    qsizetype firstNonZero = 0;
    while (firstNonZero < digits.size() - 1 && digits[firstNonZero] == u'0')
        ++firstNonZero;
    digits = digits.sliced(firstNonZero);
    qsizetype i = digits.size() - 1;
    while (i >= 0 && digits[i] == u'9') {
        digits[i] = u'0';
        --i;
    }
    if (i < 0)
        digits.prepend(u'1');
    else
        digits[i] = QChar(digits[i].unicode() + 1);
    return caption.first(start) + digits;
}

TPart* TPartList::Part(int index) const {
    return dynamic_cast<TPart*>(Item(index));
}

Currency TPartList::Area() const {
    Currency total;
    for (TDataComponent* item : Items())
        if (const auto* p = dynamic_cast<const TPart*>(item))
            total = Currency::fromValue(total.toValue() + p->Area().toValue() * p->Count());
    return total;
}

Currency TPartList::Circuit() const {
    Currency total;
    for (TDataComponent* item : Items())
        if (const auto* p = dynamic_cast<const TPart*>(item); p && p->Area().raw() > 0)
            total = Currency::fromValue(total.toValue() + p->Circuit().toValue() * p->Count());
    return total;
}

int TPartList::PartsCount() const {
    int64_t total = 0;
    for (TDataComponent* item : Items())
        if (const auto* p = dynamic_cast<const TPart*>(item); p && p->Area().raw() > 0)
            total += p->Count();
    return static_cast<int>(
        std::clamp<int64_t>(total, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int TPartList::ValidItemCount() const {
    int count = 0;
    for (TDataComponent* item : Items())
        if (const auto* p = dynamic_cast<const TPart*>(item); p && p->Area().raw() > 0)
            ++count;
    return count;
}

QString TPartList::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key == QLatin1String("AREA"))
        return FormatWithUnit(Area(), IsImperial() ? 2 : 3, AreaUnit());
    if (key == QLatin1String("CIRCUIT"))
        return FormatWithUnit(Circuit(), 2, LengthUnit());
    if (key == QLatin1String("PARTSCOUNT"))
        return QString::number(PartsCount());
    if (key == QLatin1String("VALIDITEMCOUNT"))
        return QString::number(ValidItemCount());
    return TDataComponentList::GetPropAsString(name);
}

bool TPartList::DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) {
    const bool result = TDataComponentList::DataChangeStep(source, sender, phase, propName);
    if (phase != 1)
        return result;
    if (source == this) {
        if (propName == QLatin1String("ItemFocused")) {
            const auto* focused = dynamic_cast<const TPart*>(ItemFocused());
            if (ItemFocused() && !(focused && focused->IsValid()))
                Sort();
        } else if (propName == kCircuit) {
            CheckEmptyPart();
        } else if (propName == kArea) {
            Announce(QStringLiteral("ValidItemCount"));
        } else if (propName == kItems) {
            Announce(kArea);
            Announce(kCircuit);
            Announce(QStringLiteral("PartsCount"));
        } else if (propName == QLatin1String("ItemCount")) {
            Announce(QStringLiteral("ValidItemCount"));
        }
    } else if (auto* part = dynamic_cast<TPart*>(source); part && Owns(part)) {
        if (propName == QLatin1String("Caption") && part->IsValid())
            Sort();
        if (propName == kArea || propName == kCount)
            Announce(kArea);
        if (propName == kCircuit || propName == kCount)
            Announce(kCircuit);
    }
    return result;
}

void TPartList::CheckEmptyPart() {
    if (bulkLoading_)
        return;
    for (TDataComponent* item : Items()) {
        const auto* p = dynamic_cast<const TPart*>(item);
        if (!p || !p->IsValid())
            return;
    }
    auto* part = new TPart(this);
    part->count_ = 1;
    part->orientation_ = TApplicationLinks::Setup()->PartOrientation();
    if (TDataComponent* focused = ItemFocused())
        part->SetCaptionDirect(NextCaption(focused->Caption()));
    ItemInsert(part);
    if (!ItemFocused())
        SetItemFocused(part);
}

void TPartList::SaveToStrings(QStringList& lines) const {
    lines.clear();
    lines.append(QLatin1String("Count=") + QString::number(ItemCount()));
    for (int i = 0; i < ItemCount(); ++i)
        if (const TPart* p = Part(i); p && p->Area().raw() > 0)
            lines.append(QLatin1String("Item") + QString::number(i + 1) + u'=' +
                         p->GetPropAsString(QString()));
}

void TPartList::LoadFromStrings(const QStringList* lines) {
    bulkLoading_ = true;
    Clear();
    if (!lines) {
        bulkLoading_ = false;
        return;
    }
    bool ok = false;
    int count = ReadValue(*lines, QStringLiteral("Count")).trimmed().toInt(&ok);
    if (!ok)
        count = 0;

    // One pass over the lines, so that a huge count in a damaged file costs nothing.
    const std::map<int, QString> records = ReadNumberedValues(*lines, QStringLiteral("Item"), count);
    std::vector<TPart*> parts;
    for (const auto& [k, record] : records) {
        if (record.isEmpty())
            continue;
        // Read outside the list: a part's announcements while it is filled in would sort the list
        // and total its areas once per part.
        auto* part = new TPart(nullptr);
        part->SetPropAsString(QString(), record);
        parts.push_back(part);
    }
    // The calculator tells parts apart by ID. A damaged file may repeat an ID, or give a part ID 0
    // ahead of a part that holds the ID it would get: such parts get the smallest IDs that no part of
    // the section holds, before they are listed.
    std::set<int> used;
    std::vector<TPart*> needID;
    for (TPart* part : parts)
        if (part->ID() == 0 || !used.insert(part->ID()).second)
            needID.push_back(part);
    int next = 1;
    for (TPart* part : needID) {
        while (used.count(next))
            ++next;
        part->SetIDDirect(next);
        used.insert(next);
    }
    // Listed as ItemInsert would list them, in one pass: the captions made unique and every part
    // appended without a walk through the list, the announcements once at the end.
    makeCaptionsUnique(parts);
    for (TPart* part : parts)
        AppendDirect(part);

    bulkLoading_ = false;
    if (!ItemFocused() && ItemCount() > 0)
        SetItemFocused(Item(0));
    SetModified(false);
    Announce(QString());
}

bool TPartList::LoadAsCSV(const QString& fileName) {
    QByteArray bytes;
    if (!ReadFileBytes(fileName, bytes, &errorString_))
        return false;
    if (looksBinary(bytes)) {
        errorString_ = QStringLiteral("Not a text file: %1").arg(fileName);
        return false;
    }
    QString text = DecodeTextBytes(bytes);
    // A file saved twice with a byte-order mark carries more than one; none belongs to a caption.
    while (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = splitLines(text);

    errorString_.clear();
    importNotes_.clear();
    bulkLoading_ = true;
    Clear();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            continue;
        auto part = std::make_unique<TPart>(nullptr);
        QStringList notes;
        part->ReadCSVLine(lines[i], &notes);
        for (const QString& note : notes)
            importNotes_.append(QStringLiteral("Line %1, %2").arg(i + 1).arg(note));
        ItemInsert(part.release());
    }
    if (ItemCount() > 0)
        SetItemFocused(Item(0));
    bulkLoading_ = false;
    Announce(kItems);
    return true;
}

bool TPartList::SaveAsCSV(const QString& fileName) const {
    QString text;
    for (int i = 0; i < ItemCount(); ++i)
        if (const TPart* p = Part(i))
            text += csvSafe(p->CSVLine()) + QLatin1String("\r\n");
    errorString_.clear();
    return WriteFileAtomically(fileName, text.toUtf8(), &errorString_);
}

} // namespace lintaro
