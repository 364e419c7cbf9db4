#include "model/Order.h"

#include "foundation/ConversionError.h"
#include "foundation/Ini.h"
#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "foundation/TextUtils.h"
#include "foundation/Units.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Material.h"
#include "model/OrderItem.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Locale.h"

#include <QFileInfo>
#include <QTime>

#include <cmath>
#include <limits>

namespace lintaro {

namespace {

const QString kSection = QStringLiteral("Order");
const QString kClass = QStringLiteral("TOrder");
const QString kAddAutoPartsArea = QStringLiteral("AddAutoPartsArea");
const QString kAddAutoPartsCircuit = QStringLiteral("AddAutoPartsCircuit");
const QString kVATMode = QStringLiteral("VATMode");

QString flagText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

bool supplierIsNotVATPayer() {
    const TAddress* supplier = TApplicationLinks::Setup()->Supplier();
    return supplier && supplier->IsNotVATPayer();
}

// An INI line holds one line: line breaks are stored as "¶". A NUL would end the text when the file
// is read back, cutting off everything after it, so it is dropped.

// A date in the user's short format, optionally followed by a time.
bool parseDateTime(const QString& text, QDateTime& result) {
    const QString t = text.trimmed();
    QDate date = Locale::parseDate(t);
    if (date.isValid()) {
        result = QDateTime(date, QTime(0, 0), Qt::UTC);
        return true;
    }
    const qsizetype blank = t.indexOf(u' ');
    if (blank < 0)
        return false;
    date = Locale::parseDate(t.first(blank));
    if (!date.isValid())
        return false;
    const QString timeText = t.sliced(blank + 1).trimmed();
    for (const char* format : {"H:mm:ss", "H:mm"}) {
        const QTime time = QTime::fromString(timeText, QString::fromLatin1(format));
        if (time.isValid()) {
            result = QDateTime(date, time, Qt::UTC);
            return true;
        }
    }
    return false;
}

// The order file holds the date in the short form of the locale it was saved under. Read under
// another locale that form would be lost, so the ISO form and the common "dd.MM.yyyy" are tried
// after the current one.
bool readStoredDate(const QString& text, QDateTime& result) {
    if (parseDateTime(text, result))
        return true;
    for (const char* format : {"yyyy-MM-dd", "dd.MM.yyyy"}) {
        const QDate date = QDate::fromString(text.trimmed().section(u' ', 0, 0), QString::fromLatin1(format));
        if (date.isValid()) {
            result = QDateTime(date, QTime(0, 0), Qt::UTC);
            return true;
        }
    }
    return false;
}

// Totals of amounts the setters do not limit: saturate rather than overflow.
Currency addSaturating(Currency a, Currency b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a.raw(), b.raw(), &sum))
        sum = b.raw() > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return Currency::fromRaw(sum);
}

// round1(value × factor): one decimal, ties to even.
Currency roundedQuantity(Currency value, long double factor) {
    return Currency::fromValue(std::nearbyint(value.toValue() * factor * 10.0L) / 10.0L);
}

// The file-name part of a stored path, which may come from a system that separates with "\".
QString fileNamePart(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.sliced(cut + 1);
}

} // namespace

TOrder::TOrder(TComponent* owner) : TDataComponent(owner) {
    TOrder::InitDefaults();
}

QString TOrder::GetDefaultCaption() const {
    return GetText(kClass, QStringLiteral("DefaultCaption"));
}

void TOrder::InitDefaults() {
    TDataComponent::InitDefaults();
    SetCaptionDirect(GetDefaultCaption());
    addAutoPartsArea_ = false;
    addAutoPartsCircuit_ = false;
    dateCreate_ = QDateTime();
    fileName_.clear();
    numberPending_ = false;
    note1_.clear();
    note2_.clear();
    vatMode_ = vmWithVAT;
    // The owned objects stay the same, so that references to them held elsewhere (the window's
    // bindings) stay valid; the parts list comes before the sheets, which look for it.
    if (!customer_) {
        customer_ = new TAddress(this);
        items_ = new TOrderItemList(this);
        parts_ = new TPartList(this);
        sheets_ = new TSheets(this);
    } else {
        customer_->InitDefaults();
        items_->InitDefaults();
        parts_->InitDefaults();
        sheets_->InitDefaults();
    }
}

void TOrder::AssignTo(TComponent* dest) const {
    if (dest == this)
        return; // the list copies would free the items they are about to copy
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TOrder*>(dest)) {
        d->addAutoPartsArea_ = addAutoPartsArea_;
        d->addAutoPartsCircuit_ = addAutoPartsCircuit_;
        d->dateCreate_ = dateCreate_;
        d->fileName_ = fileName_;
        d->note1_ = note1_;
        d->note2_ = note2_;
        d->vatMode_ = vatMode_;
        d->customer_->Assign(customer_);
        d->items_->Assign(items_);
        d->parts_->Assign(parts_);
        d->sheets_->Assign(sheets_);
    }
}

// ---- Properties ---------------------------------------------------------------------------------

#define LINTARO_ORDER_SETTER(Name, field, Type)                                                              \
    void TOrder::Set##Name(Type value) {                                                                     \
        if (field == value)                                                                                  \
            return;                                                                                          \
        field = value;                                                                                       \
        Announce(QStringLiteral(#Name));                                                                     \
        SetModified(true);                                                                                   \
    }

LINTARO_ORDER_SETTER(AddAutoPartsArea, addAutoPartsArea_, bool)
LINTARO_ORDER_SETTER(AddAutoPartsCircuit, addAutoPartsCircuit_, bool)
LINTARO_ORDER_SETTER(DateCreate, dateCreate_, const QDateTime&)
LINTARO_ORDER_SETTER(Note1, note1_, const QString&)
LINTARO_ORDER_SETTER(Note2, note2_, const QString&)
LINTARO_ORDER_SETTER(VATMode, vatMode_, TVATMode)

#undef LINTARO_ORDER_SETTER

void TOrder::SetFileName(const QString& value) {
    if (Locale::sameText(value, fileName_))
        return;
    fileName_ = value;
    Announce(QStringLiteral("FileName"));
}

TVATMode TOrder::VATMode() const {
    return supplierIsNotVATPayer() ? vmWithVAT : vatMode_;
}

bool TOrder::IsApplicationOrder() const {
    const TSimpleComponent* registered = TApplicationLinks::Order();
    return !registered || registered == this;
}

TMaterial* TOrder::Material() const {
    if (TComponent* owner = Owner())
        for (TComponent* c : owner->Components())
            if (auto* material = dynamic_cast<TMaterial*>(c))
                return material;
    return IsApplicationOrder() ? TApplicationLinks::Material() : nullptr;
}

Currency TOrder::PriceTotalwoVAT() const {
    const bool withoutVAT = VATMode() == vmWithOutVAT;
    Currency sum;
    for (int i = 0; i < items_->ItemCount(); ++i) {
        const TOrderItem* item = items_->OrderItem(i);
        if (!item)
            continue;
        if (withoutVAT) {
            sum = addSaturating(sum, item->PriceTotal());
        } else {
            // A rate of -100 % has no price without VAT; such a line adds nothing.
            const long double factor = item->VATFactor();
            if (factor != 0)
                sum = addSaturating(sum, item->PriceTotal() / factor);
        }
    }
    return sum;
}

Currency TOrder::PriceTotalwVAT() const {
    const bool withoutVAT = VATMode() == vmWithOutVAT;
    Currency sum;
    for (int i = 0; i < items_->ItemCount(); ++i) {
        const TOrderItem* item = items_->OrderItem(i);
        if (!item)
            continue;
        sum = addSaturating(sum, withoutVAT ? item->PriceTotal() * item->VATFactor() : item->PriceTotal());
    }
    return sum;
}

// ---- Text access by name ------------------------------------------------------------------------

QString TOrder::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    if (key == QLatin1String("ADDAUTOPARTSAREA"))
        return flagText(addAutoPartsArea_);
    if (key == QLatin1String("ADDAUTOPARTSCIRCUIT"))
        return flagText(addAutoPartsCircuit_);
    if (key == QLatin1String("DATECREATE"))
        return dateCreate_.isNull() ? QString() : Locale::formatDate(dateCreate_.date());
    if (key == QLatin1String("FILENAME"))
        return fileName_;
    if (key == QLatin1String("NOTE1"))
        return note1_;
    if (key == QLatin1String("NOTE2"))
        return note2_;
    if (key == QLatin1String("PRICETOTALWVAT"))
        return FormatMoney(PriceTotalwVAT());
    if (key == QLatin1String("PRICETOTALWOVAT"))
        return FormatMoney(PriceTotalwoVAT());
    if (key == QLatin1String("VATMODE"))
        return QString::number(static_cast<int>(VATMode()));
    return TDataComponent::GetPropAsString(name);
}

void TOrder::SetPropAsString(const QString& name, const QString& value) {
    const QString key = KeyOf(name);
    if (key == QLatin1String("ADDAUTOPARTSAREA")) {
        SetAddAutoPartsArea(value == QLatin1String("1"));
    } else if (key == QLatin1String("ADDAUTOPARTSCIRCUIT")) {
        SetAddAutoPartsCircuit(value == QLatin1String("1"));
    } else if (key == QLatin1String("DATECREATE")) {
        if (QDateTime date; parseDateTime(value, date))
            SetDateCreate(date);
    } else if (key == QLatin1String("FILENAME")) {
        SetFileName(value);
    } else if (key == QLatin1String("NOTE1")) {
        SetNote1(value);
    } else if (key == QLatin1String("NOTE2")) {
        SetNote2(value);
    } else if (key == QLatin1String("VATMODE")) {
        bool ok = false;
        const int mode = value.trimmed().toInt(&ok);
        SetVATMode(!ok || mode <= 0 ? vmWithVAT : vmWithOutVAT);
    } else if (key == QLatin1String("PRICETOTALWVAT") || key == QLatin1String("PRICETOTALWOVAT")) {
        // computed
    } else {
        TDataComponent::SetPropAsString(name, value);
    }
}

// ---- Reactions ----------------------------------------------------------------------------------

void TOrder::AnnounceTotals() {
    Announce(QStringLiteral("PriceTotalwoVAT"));
    Announce(QStringLiteral("PriceTotalwVAT"));
}

bool TOrder::DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) {
    const bool result = TDataComponent::DataChangeStep(source, sender, phase, propName);
    if (phase != 1)
        return result;

    // The material and the setup are not owned by the order, so the changes inside the order reach
    // them (and the window) this way.
    const bool own = source == this && sender == this;
    const bool fromChild = sender && sender != this && Owns(sender);
    if ((own || fromChild) && IsApplicationOrder())
        TApplicationLinks::Forward(this, source, propName, /*toOrder*/ false, /*toMaterial*/ true,
                                   /*toSetup*/ true);

    const bool all = propName.isEmpty();
    bool update = false;
    bool totals = false;
    TMaterial* material = Material();
    if (source == this) {
        update = all || propName == kAddAutoPartsArea || propName == kAddAutoPartsCircuit;
        totals = propName == kVATMode;
    } else if (material && source == material) {
        update = all || propName == QLatin1String("Price") || propName == kVATMode ||
                 propName == QLatin1String("VATRate");
        // The order file stores the material's file name.
        if (all || propName == QLatin1String("FileName"))
            SetModified(true);
    } else if (source == parts_) {
        update = all || propName == QLatin1String("Area") || propName == QLatin1String("Circuit");
    } else if (source == sheets_) {
        update = all || propName == QLatin1String("AddExtractToOrder") ||
                 propName == QLatin1String("State") || propName == QLatin1String("ExtractBrutto");
    } else if (source == items_) {
        // Inserting or deleting an item changes the totals as well.
        totals = all || propName == QLatin1String("Items");
    } else if (auto* item = dynamic_cast<TOrderItem*>(source); item && item->Owner() == items_) {
        totals = propName != QLatin1String("Modified");
    } else {
        // The percentages of the rates and the supplier's VAT status decide the totals too.
        const TSetup* setup = TApplicationLinks::Setup();
        if (source == setup)
            totals = propName == QLatin1String("VATZeroValue") || propName == QLatin1String("VATLowValue") ||
                     propName == QLatin1String("VATHighValue");
        else if (source == setup->Supplier())
            totals = propName == QLatin1String("IsNotVATPayer");
    }
    if (update)
        UpdateAutoItems();
    if (totals)
        AnnounceTotals();
    return result;
}

// ---- Operations ---------------------------------------------------------------------------------

void TOrder::ChangeVATMode(TVATMode newMode) {
    if (VATMode() == newMode)
        return;
    for (int i = 0; i < items_->ItemCount(); ++i) {
        TOrderItem* item = items_->OrderItem(i);
        if (!item)
            continue;
        const long double factor = item->VATFactor();
        if (factor == 0)
            continue; // a rate of -100 % has no price without VAT
        if (newMode == vmWithOutVAT) {
            item->price_ = item->price_ / factor;
            item->priceTotal_ = item->priceTotal_ / factor;
        } else {
            item->price_ = item->price_ * factor;
            item->priceTotal_ = item->priceTotal_ * factor;
        }
    }
    items_->Announce(QString());
    SetVATMode(newMode);
}

void TOrder::UpdateAutoItems() {
    long double factor = 1.0L;
    const Currency extract = sheets_->ExtractBrutto();
    if (sheets_->AddExtractToOrder() && sheets_->State() == ssCalculatedOK && extract.raw() != 0)
        factor = round4(2.0L - extract.toValue() / 100.0L);

    const TMaterial* material = Material();
    const QString materialCaption =
        material ? material->Caption()
                 : GetText(QStringLiteral("TMaterial"), QStringLiteral("DefaultCaption"));
    // Positions that do not exist yet are filled with new lines, so that each automatic item lands
    // at its own position.
    auto itemAt = [this](int index) -> TOrderItem* {
        while (items_->ItemCount() <= index) {
            auto* item = new TOrderItem(nullptr);
            item->vatRate_ = vrHigh;
            items_->ItemInsert(item);
        }
        return items_->OrderItem(index);
    };

    if (addAutoPartsArea_) {
        if (TOrderItem* item = itemAt(0)) {
            if (material) {
                item->SetCaption(material->Caption());
                item->SetVATRate(material->VATRate());
                item->SetPrice(VATMode() == vmWithOutVAT ? material->PricewoVAT() : material->PricewVAT());
            } else {
                item->SetCaption(materialCaption);
                item->SetPrice(Currency());
            }
            item->SetAmount(roundedQuantity(parts_->Area(), factor));
            item->SetMU(AreaUnit());
        }
    }
    if (addAutoPartsCircuit_) {
        if (TOrderItem* item = itemAt(1)) {
            item->SetCaption(materialCaption + QStringLiteral(", ") +
                             GetText(kClass, QStringLiteral("CircuitCapt")));
            item->SetAmount(roundedQuantity(parts_->Circuit(), factor));
            item->SetMU(LengthUnit());
        }
    }
}

void TOrder::CreateNew() {
    InitDefaults();
    SetSilent(true);
    TSetup* setup = TApplicationLinks::Setup();
    SetCaption(setup->OrderPrefix() + PadLeft(QString::number(setup->OrderNumber()), u'0', 5));
    SetDateCreate(QDateTime(QDate::currentDate(), QTime(0, 0), Qt::UTC));
    numberPending_ = true;
    SetNote1(setup->OrderNote1());
    SetNote2(setup->OrderNote2());
    SetVATMode(setup->OrderVATMode());
    SetAddAutoPartsArea(setup->OrderAddAutoPartsArea());
    SetAddAutoPartsCircuit(setup->OrderAddAutoPartsCircuit());
    sheets_->SetAddExtractToOrder(setup->SheetsAddExtractToOrder());
    items_->CheckEmptyItems();
    UpdateAutoItems();
    parts_->CheckEmptyPart();
    SetModified(false);
    SetSilent(false);
    parts_->Announce(QString());
    items_->Announce(QString());
    customer_->Announce(QString());
    sheets_->Announce(QString());
    Announce(QString());
}

void TOrder::SaveToINI(TINI& ini) const {
    ini.WriteString(kSection, QStringLiteral("Version"), QString::number(FormatVersion));
    ini.WriteString(kSection, QStringLiteral("MinVersion"), QString::number(FormatVersion));
    ini.WriteString(kSection, QStringLiteral("Caption"), EncodeLineBreaks(Caption()));
    ini.WriteString(kSection, QStringLiteral("DateCreate"), GetPropAsString(QStringLiteral("DateCreate")));
    ini.WriteString(kSection, QStringLiteral("Note1"), EncodeLineBreaks(note1_));
    ini.WriteString(kSection, QStringLiteral("Note2"), EncodeLineBreaks(note2_));
    ini.WriteString(kSection, kVATMode, QString::number(static_cast<int>(VATMode())));
    ini.WriteString(kSection, kAddAutoPartsArea, flagText(addAutoPartsArea_));
    ini.WriteString(kSection, kAddAutoPartsCircuit, flagText(addAutoPartsCircuit_));
    if (const TMaterial* material = Material())
        ini.WriteString(kSection, QStringLiteral("Material"), EncodeLineBreaks(material->FileName()));
    customer_->SaveToStrings(ini.Section(QStringLiteral("Customer")));
    items_->SaveToStrings(ini.Section(QStringLiteral("OrderItems")));
    parts_->SaveToStrings(ini.Section(QStringLiteral("Parts")));
    sheets_->SaveToINI(&ini);
}

bool TOrder::SaveToFile(const QString& fileName) {
    errorString_.clear();
    TINI ini;
    SaveToINI(ini);
    const bool ok = ini.SaveToFile(fileName);
    if (ok)
        SetModified(false);
    else
        errorString_ = ini.ErrorString();
    if (numberPending_) {
        numberPending_ = false;
        TSetup* setup = TApplicationLinks::Setup();
        if (setup->OrderNumber() < std::numeric_limits<int>::max())
            setup->SetOrderNumber(setup->OrderNumber() + 1);
    }
    return ok;
}

void TOrder::ReadAccepted(const TINI& ini, const QString& fileName) {
    SetFileName(fileName);
    SetCaption(ini.ReadString(kSection, QStringLiteral("Caption")));
    if (QDateTime date; readStoredDate(ini.ReadString(kSection, QStringLiteral("DateCreate")), date))
        SetDateCreate(date);
    SetPropAsString(QStringLiteral("Note1"),
                    DecodeLineBreaks(ini.ReadString(kSection, QStringLiteral("Note1"))));
    SetPropAsString(QStringLiteral("Note2"),
                    DecodeLineBreaks(ini.ReadString(kSection, QStringLiteral("Note2"))));
    SetPropAsString(kVATMode, ini.ReadString(kSection, kVATMode));
    SetPropAsString(kAddAutoPartsArea, ini.ReadString(kSection, kAddAutoPartsArea));
    SetPropAsString(kAddAutoPartsCircuit, ini.ReadString(kSection, kAddAutoPartsCircuit));
    customer_->LoadFromStrings(ini.FindSection(QStringLiteral("Customer")));
    items_->LoadFromStrings(ini.FindSection(QStringLiteral("OrderItems")));
    items_->CheckEmptyItems();
    parts_->LoadFromStrings(ini.FindSection(QStringLiteral("Parts")));
    parts_->CheckEmptyPart();
    sheets_->LoadFromINI(&ini);
}

QStringList TOrder::itemRecords() const {
    QStringList records;
    for (int i = 0; i < items_->ItemCount(); ++i)
        if (const TOrderItem* item = items_->OrderItem(i))
            records << item->RecordText();
    return records;
}

bool TOrder::LoadFromFile(const QString& fileName) {
    errorString_.clear();
    bool result = false;
    QStringList storedItems; // the items as the file has them
    TINI ini;
    if (!ini.LoadFromFile(fileName)) {
        errorString_ = ini.ErrorString();
    } else {
        bool ok = false;
        int minVersion = ini.ReadString(kSection, QStringLiteral("MinVersion")).trimmed().toInt(&ok);
        if (!ok)
            minVersion = 0;
        if (minVersion <= 0) {
            errorString_ = QStringLiteral("Not an order file: no valid MinVersion in section [Order].");
        } else if (minVersion > FormatVersion) {
            errorString_ =
                QStringLiteral("The order file needs format version %1; this program reads version %2.")
                    .arg(minVersion)
                    .arg(FormatVersion);
        } else {
            // Read completely into a separate, silent order first: a damaged result sheet then leaves
            // this order exactly as it was, and nothing reaches the application before the whole file
            // is read.
            TOrder loaded(nullptr);
            loaded.SetSilent(true);
            try {
                loaded.ReadAccepted(ini, fileName);
                result = true;
            } catch (const ConversionError& e) {
                errorString_ = QStringLiteral("The order file is damaged: %1").arg(e.message());
            }
            if (result) {
                loaded.SetModified(false);
                storedItems = loaded.itemRecords();
                Assign(&loaded);
                parts_->Announce(QString());
                items_->Announce(QString());
                customer_->Announce(QString());
                sheets_->Announce(QString());
                Announce(QString());
                SetModified(false);
            }
        }
    }
    materialProblem_.clear();
    if (result) {
        // The material moves along with its orders: its folder is tried first.
        const QString stored = ini.ReadString(kSection, QStringLiteral("Material"));
        TMaterial* material = Material();
        if (!stored.isEmpty() && material) {
            const QString beside = QFileInfo(fileName).absolutePath() + u'/' + fileNamePart(stored);
            if (!material->LoadFromFile(beside)) {
                const QString besideReason = material->ErrorString();
                if (!material->LoadFromFile(stored)) {
                    // The file there is, else the one looked for first, beside the order.
                    const bool useBeside = QFileInfo::exists(beside) || !QFileInfo::exists(stored);
                    const QString path = useBeside ? beside : stored;
                    const QString reason = useBeside ? besideReason : material->ErrorString();
                    materialProblem_ =
                        reason.contains(path)
                            ? QStringLiteral("the material file cannot be read: %1").arg(reason)
                            : QStringLiteral("the material file %1 cannot be read: %2").arg(path, reason);
                }
            }
            // The order's own material coming along is no change of the order; a price that changed
            // in the material since the order was saved is, through the order's items.
            if (itemRecords() == storedItems)
                SetModified(false);
        }
    }
    numberPending_ = false;
    return result;
}

} // namespace lintaro
