#include "model/Setup.h"

#include "foundation/Files.h"
#include "foundation/Ini.h"
#include "foundation/NumberEntry.h"
#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "foundation/TextUtils.h"
#include "foundation/Units.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>

namespace lintaro {

namespace {

// The improvement stage's time: at least a second, at most ten minutes.
constexpr int kMinImproveTime = 1;
constexpr int kMaxImproveTime = 600;

// Stores a changed value and announces it, as every setter does.
template <class T> void changeField(TSetup& setup, T& field, const T& value, const char* propName) {
    if (field == value)
        return;
    field = value;
    setup.Announce(QString::fromLatin1(propName));
    setup.SetModified(true);
}

// The settings file holds scaled values as 32-bit integers; a value beyond that would not read back.
bool fitsSettingsFile(Currency value) {
    return value.raw() >= std::numeric_limits<int32_t>::min() &&
           value.raw() <= std::numeric_limits<int32_t>::max();
}

int clampToInt(long long value) {
    return static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString flagText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A decimal 32-bit integer (blanks around it allowed); anything else is not a number.
bool parseInt(const QString& text, int& value) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok)
        value = v;
    return ok;
}

// Replaces the key's line or appends it; unlike WriteValue an empty value is written, so that the
// file lists every setting.
void putLine(QStringList& lines, const QString& key, const QString& value) {
    QString line = key + u'=' + value;
    const int i = IndexOfKey(lines, key);
    if (i >= 0)
        lines[i] = std::move(line);
    else
        lines.append(std::move(line));
}

// The readers of the settings file, one per rule of a key that is missing or not a number.
class TSettingsReader {
public:
    explicit TSettingsReader(const TINI& storage) : storage_(storage) {}

    QString text(const char* section, const char* key) const {
        return storage_.ReadString(QString::fromLatin1(section), QString::fromLatin1(key));
    }
    // Keeps the field's value when missing or not a number.
    void integer(const char* section, const char* key, int& field) const {
        parseInt(text(section, key), field);
    }
    void scaled(const char* section, const char* key, Currency& field) const {
        bool ok = false;
        const Currency v = Currency::fromScaledText(text(section, key), &ok);
        if (ok)
            field = v;
    }
    // `fallback` when missing or not a number, then clamped to 0 … max.
    int ordinal(const char* section, const char* key, int fallback, int max) const {
        int v = fallback;
        parseInt(text(section, key), v);
        return std::clamp(v, 0, max);
    }
    // Read only when the value is not empty.
    void flagIfPresent(const char* section, const char* key, bool& field) const {
        const QString v = text(section, key);
        if (!v.isEmpty())
            field = v == QLatin1String("1");
    }
    bool flag(const char* section, const char* key) const { return text(section, key) == QLatin1String("1"); }

private:
    const TINI& storage_;
};

} // namespace

TSetup::TSetup(TComponent* owner) : TDataComponent(owner) {
    TSetup::InitDefaults();
}

void TSetup::InitDefaults() {
    TDataComponent::InitDefaults();
    vatZero_ = 0;
    vatLow_ = 5;
    vatHigh_ = 19;
    materialCutWidth_ = Currency();
    materialHasOrientation_ = false;
    materialMinRecyArea_ = Currency::fromRaw(5000);
    materialMinRecyDim_ = Currency::fromInteger(500);
    materialPrice_ = Currency();
    materialVATMode_ = vmWithVAT;
    materialVATRate_ = vrHigh;
    orderAddAutoPartsArea_ = true;
    orderAddAutoPartsCircuit_ = true;
    orderNote1_.clear();
    orderNote2_.clear();
    orderNumber_ = 1;
    orderPrefix_.clear();
    orderVATMode_ = vmWithVAT;
    partOrientation_ = poNone;
    sheetsAddExtractToOrder_ = false;
    sheetsErlangeFont_ = false;
    sheetsMaxCutLength_ = Currency::fromInteger(3200);
    reductionTimeMax_ = 12;
    reductionTimeMin_ = 4;
    sheetsImprove_ = true;
    sheetsImproveTime_ = 2;
    sheetsShowCaptionsOnParts_ = false;
    sheetsZoom_ = 200;
    supplierLogoFileName_.clear();
    // The address is reset in place rather than replaced, so that whoever shows the supplier keeps a
    // valid object.
    if (supplier_)
        supplier_->InitDefaults();
    else
        supplier_ = new TAddress(this);
}

void TSetup::copyFields(const TSetup& from) {
    vatZero_ = from.vatZero_;
    vatLow_ = from.vatLow_;
    vatHigh_ = from.vatHigh_;
    materialCutWidth_ = from.materialCutWidth_;
    materialHasOrientation_ = from.materialHasOrientation_;
    materialMinRecyArea_ = from.materialMinRecyArea_;
    materialMinRecyDim_ = from.materialMinRecyDim_;
    materialPrice_ = from.materialPrice_;
    materialVATMode_ = from.materialVATMode_;
    materialVATRate_ = from.materialVATRate_;
    orderAddAutoPartsArea_ = from.orderAddAutoPartsArea_;
    orderAddAutoPartsCircuit_ = from.orderAddAutoPartsCircuit_;
    orderNote1_ = from.orderNote1_;
    orderNote2_ = from.orderNote2_;
    orderNumber_ = from.orderNumber_;
    orderPrefix_ = from.orderPrefix_;
    orderVATMode_ = from.orderVATMode_;
    partOrientation_ = from.partOrientation_;
    sheetsAddExtractToOrder_ = from.sheetsAddExtractToOrder_;
    sheetsErlangeFont_ = from.sheetsErlangeFont_;
    sheetsMaxCutLength_ = from.sheetsMaxCutLength_;
    reductionTimeMax_ = from.reductionTimeMax_;
    reductionTimeMin_ = from.reductionTimeMin_;
    sheetsImprove_ = from.sheetsImprove_;
    sheetsImproveTime_ = from.sheetsImproveTime_;
    sheetsShowCaptionsOnParts_ = from.sheetsShowCaptionsOnParts_;
    sheetsZoom_ = from.sheetsZoom_;
    supplierLogoFileName_ = from.supplierLogoFileName_;
    supplier_->Assign(from.supplier_);
}

void TSetup::AssignTo(TComponent* dest) const {
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TSetup*>(dest); d && d != this)
        d->copyFields(*this);
}

bool TSetup::DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) {
    const bool result = TDataComponent::DataChangeStep(source, sender, phase, propName);
    if (phase == 1) {
        const bool own = source == this && sender == this;
        const bool fromChild = sender && sender != this && Owns(sender);
        // A setup that is not the program's one (a copy, a file being read) concerns nobody else.
        if ((own || fromChild) && TApplicationLinks::Setup() == this)
            TApplicationLinks::Forward(this, source, propName, /*toOrder*/ true, /*toMaterial*/ true,
                                       /*toSetup*/ false);
    }
    return result;
}

TVATRate TSetup::VATRateOfText(const QString& text) const {
    int percent = vatHigh_;
    if (!parseInt(CleanNumber(text, vatHigh_), percent))
        percent = vatHigh_;
    return percent == vatZero_ ? vrZero : percent == vatLow_ ? vrLow : vrHigh;
}

int TSetup::GetVATValue(TVATRate rate) const {
    switch (rate) {
    case vrZero:
        return vatZero_;
    case vrLow:
        return vatLow_;
    default:
        return vatHigh_;
    }
}

// ---- Setters ------------------------------------------------------------------------------------

void TSetup::SetVATZeroValue(int value) {
    changeField(*this, vatZero_, value, "VATZeroValue");
}
void TSetup::SetVATLowValue(int value) {
    changeField(*this, vatLow_, value, "VATLowValue");
}
void TSetup::SetVATHighValue(int value) {
    changeField(*this, vatHigh_, value, "VATHighValue");
}

Currency TSetup::MaterialCutWidth() const {
    return LengthToUser(materialCutWidth_);
}
void TSetup::SetMaterialCutWidth(Currency value) {
    const Currency mm = LengthFromUser(value);
    if (fitsSettingsFile(mm))
        changeField(*this, materialCutWidth_, mm, "MaterialCutWidth");
}

void TSetup::SetMaterialHasOrientation(bool value) {
    changeField(*this, materialHasOrientation_, value, "MaterialHasOrientation");
}

Currency TSetup::MaterialMinRecyArea() const {
    return AreaToUser(materialMinRecyArea_);
}
void TSetup::SetMaterialMinRecyArea(Currency value) {
    const Currency m2 = AreaFromUser(value);
    if (fitsSettingsFile(m2))
        changeField(*this, materialMinRecyArea_, m2, "MaterialMinRecyArea");
}

Currency TSetup::MaterialMinRecyDim() const {
    return LengthToUser(materialMinRecyDim_);
}
void TSetup::SetMaterialMinRecyDim(Currency value) {
    const Currency mm = LengthFromUser(value);
    if (fitsSettingsFile(mm))
        changeField(*this, materialMinRecyDim_, mm, "MaterialMinRecyDim");
}

void TSetup::SetMaterialPrice(Currency value) {
    if (fitsSettingsFile(value))
        changeField(*this, materialPrice_, value, "MaterialPrice");
}

void TSetup::SetMaterialVATMode(TVATMode value) {
    changeField(*this, materialVATMode_, value, "MaterialVATMode");
}
void TSetup::SetMaterialVATRate(TVATRate value) {
    changeField(*this, materialVATRate_, value, "MaterialVATRate");
}

void TSetup::SetOrderAddAutoPartsArea(bool value) {
    changeField(*this, orderAddAutoPartsArea_, value, "OrderAddAutoPartsArea");
}
void TSetup::SetOrderAddAutoPartsCircuit(bool value) {
    changeField(*this, orderAddAutoPartsCircuit_, value, "OrderAddAutoPartsCircuit");
}

// An empty stored note means the shipped default text, which thus follows a change of the texts.
QString TSetup::OrderNote1() const {
    return orderNote1_.isEmpty() ? GetText(QStringLiteral("Order"), QStringLiteral("Note1")) : orderNote1_;
}
void TSetup::SetOrderNote1(const QString& value) {
    const bool isDefault = value == GetText(QStringLiteral("Order"), QStringLiteral("Note1"));
    changeField(*this, orderNote1_, isDefault ? QString() : value, "OrderNote1");
}
QString TSetup::OrderNote2() const {
    return orderNote2_.isEmpty() ? GetText(QStringLiteral("Order"), QStringLiteral("Note2")) : orderNote2_;
}
void TSetup::SetOrderNote2(const QString& value) {
    const bool isDefault = value == GetText(QStringLiteral("Order"), QStringLiteral("Note2"));
    changeField(*this, orderNote2_, isDefault ? QString() : value, "OrderNote2");
}

void TSetup::SetOrderNumber(int value) {
    changeField(*this, orderNumber_, value, "OrderNumber");
}

QString TSetup::DefaultOrderPrefix() const {
    const QDate today = dateSource_ ? dateSource_() : QDate::currentDate();
    return GetText(QStringLiteral("Order"), QStringLiteral("Caption")) + u' ' +
           QStringLiteral("%1").arg(today.year(), 4, 10, QLatin1Char('0')) + QStringLiteral("01-");
}

// An empty stored prefix follows the year.
QString TSetup::OrderPrefix() const {
    return orderPrefix_.isEmpty() ? DefaultOrderPrefix() : orderPrefix_;
}
void TSetup::SetOrderPrefix(const QString& value) {
    changeField(*this, orderPrefix_, value == DefaultOrderPrefix() ? QString() : value, "OrderPrefix");
}

void TSetup::SetOrderVATMode(TVATMode value) {
    changeField(*this, orderVATMode_, value, "OrderVATMode");
}
void TSetup::SetPartOrientation(TPartOrientation value) {
    changeField(*this, partOrientation_, value, "PartOrientation");
}

void TSetup::SetSheetsAddExtractToOrder(bool value) {
    changeField(*this, sheetsAddExtractToOrder_, value, "SheetsAddExtractToOrder");
}
void TSetup::SetSheetsErlangeFont(bool value) {
    changeField(*this, sheetsErlangeFont_, value, "SheetsErlangeFont");
}

Currency TSetup::SheetsMaxCutLength() const {
    return LengthToUser(sheetsMaxCutLength_);
}
void TSetup::SetSheetsMaxCutLength(Currency value) {
    const Currency mm = LengthFromUser(value);
    if (fitsSettingsFile(mm))
        changeField(*this, sheetsMaxCutLength_, mm, "SheetsMaxCutLength");
}

// The maximum stays above the minimum; a loaded file may hold any pair, hence the wide arithmetic.
void TSetup::SetSheetsReductionTimeMax(int value) {
    long long v = std::min(value, 100);
    if (v <= reductionTimeMin_)
        v = static_cast<long long>(reductionTimeMin_) + 1;
    changeField(*this, reductionTimeMax_, clampToInt(v), "SheetsReductionTimeMax");
}

void TSetup::SetSheetsReductionTimeMin(int value) {
    long long v = std::max(value, 0);
    if (v >= reductionTimeMax_)
        v = static_cast<long long>(reductionTimeMax_) - 1;
    changeField(*this, reductionTimeMin_, clampToInt(v), "SheetsReductionTimeMin");
}

void TSetup::SetSheetsImprove(bool value) {
    changeField(*this, sheetsImprove_, value, "SheetsImprove");
}
void TSetup::SetSheetsImproveTime(int value) {
    changeField(*this, sheetsImproveTime_, std::clamp(value, kMinImproveTime, kMaxImproveTime),
                "SheetsImproveTime");
}
void TSetup::SetSheetsShowCaptionsOnParts(bool value) {
    changeField(*this, sheetsShowCaptionsOnParts_, value, "SheetsShowCaptionsOnParts");
}
void TSetup::SetSheetsZoom(int value) {
    changeField(*this, sheetsZoom_, value, "SheetsZoom");
}

void TSetup::SetSupplierLogoFileName(const QString& value) {
    changeField(*this, supplierLogoFileName_, value, "SupplierLogoFileName");
}

// ---- Text access by name --------------------------------------------------------------------------

QString TSetup::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    const bool imperial = IsImperial();
    if (key == QLatin1String("MATERIALCUTWIDTH"))
        return FormatWithUnit(MaterialCutWidth(), imperial ? 3 : 2, DimUnit());
    if (key == QLatin1String("MATERIALMINRECYDIM"))
        return FormatWithUnit(MaterialMinRecyDim(), imperial ? 3 : 2, DimUnit());
    if (key == QLatin1String("MATERIALMINRECYAREA"))
        return FormatWithUnit(MaterialMinRecyArea(), imperial ? 2 : 3, AreaUnit());
    if (key == QLatin1String("SHEETSMAXCUTLENGTH"))
        return FormatWithUnit(SheetsMaxCutLength(), imperial ? 1 : 0, DimUnit());
    if (key == QLatin1String("MATERIALPRICE"))
        return FormatMoney(materialPrice_);
    if (key == QLatin1String("MATERIALHASORIENTATION"))
        return flagText(materialHasOrientation_);
    if (key == QLatin1String("MATERIALVATMODE"))
        return QString::number(int(materialVATMode_));
    if (key == QLatin1String("ORDERVATMODE"))
        return QString::number(int(orderVATMode_));
    if (key == QLatin1String("PARTORIENTATION"))
        return QString::number(int(partOrientation_));
    if (key == QLatin1String("MATERIALVATRATE"))
        return QString::number(GetVATValue(materialVATRate_)) + u'%';
    if (key == QLatin1String("ORDERADDAUTOPARTSAREA"))
        return flagText(orderAddAutoPartsArea_);
    if (key == QLatin1String("ORDERADDAUTOPARTSCIRCUIT"))
        return flagText(orderAddAutoPartsCircuit_);
    if (key == QLatin1String("SHEETSADDEXTRACTTOORDER"))
        return flagText(sheetsAddExtractToOrder_);
    if (key == QLatin1String("SHEETSERLANGEFONT"))
        return flagText(sheetsErlangeFont_);
    if (key == QLatin1String("SHEETSSHOWCAPTIONSONPARTS"))
        return flagText(sheetsShowCaptionsOnParts_);
    if (key == QLatin1String("ORDERNOTE1"))
        return OrderNote1();
    if (key == QLatin1String("ORDERNOTE2"))
        return OrderNote2();
    if (key == QLatin1String("ORDERPREFIX"))
        return OrderPrefix();
    if (key == QLatin1String("ORDERNUMBER"))
        return QString::number(orderNumber_);
    if (key == QLatin1String("SHEETSREDUCTIONTIMEMAX"))
        return QString::number(reductionTimeMax_);
    if (key == QLatin1String("SHEETSREDUCTIONTIMEMIN"))
        return QString::number(reductionTimeMin_);
    if (key == QLatin1String("SHEETSIMPROVE"))
        return flagText(sheetsImprove_);
    if (key == QLatin1String("SHEETSIMPROVETIME"))
        return QString::number(sheetsImproveTime_);
    if (key == QLatin1String("SHEETSZOOM"))
        return QString::number(sheetsZoom_);
    if (key == QLatin1String("SUPPLIERLOGOFILENAME"))
        return supplierLogoFileName_;
    if (key == QLatin1String("VATZEROVALUE"))
        return QString::number(vatZero_) + u'%';
    if (key == QLatin1String("VATLOWVALUE"))
        return QString::number(vatLow_) + u'%';
    if (key == QLatin1String("VATHIGHVALUE"))
        return QString::number(vatHigh_) + u'%';
    return TDataComponent::GetPropAsString(name);
}

void TSetup::SetPropAsString(const QString& name, const QString& value) {
    const QString key = KeyOf(name);
    const bool isOne = value == QLatin1String("1");
    if (key == QLatin1String("MATERIALCUTWIDTH"))
        SetMaterialCutWidth(EntryToCurrency(value, MaterialCutWidth()));
    else if (key == QLatin1String("MATERIALMINRECYDIM"))
        SetMaterialMinRecyDim(EntryToCurrency(value, MaterialMinRecyDim()));
    else if (key == QLatin1String("MATERIALMINRECYAREA"))
        SetMaterialMinRecyArea(EntryToCurrency(value, MaterialMinRecyArea()));
    else if (key == QLatin1String("SHEETSMAXCUTLENGTH"))
        SetSheetsMaxCutLength(EntryToCurrency(value, SheetsMaxCutLength()));
    else if (key == QLatin1String("MATERIALPRICE"))
        SetMaterialPrice(EntryToCurrency(value, materialPrice_));
    else if (key == QLatin1String("MATERIALHASORIENTATION"))
        return; // shown only; the check box sets it through its setter
    else if (key == QLatin1String("MATERIALVATMODE"))
        SetMaterialVATMode(TVATMode(std::clamp(EntryToInteger(value, materialVATMode_), 0, 1)));
    else if (key == QLatin1String("ORDERVATMODE"))
        SetOrderVATMode(TVATMode(std::clamp(EntryToInteger(value, orderVATMode_), 0, 1)));
    else if (key == QLatin1String("PARTORIENTATION"))
        SetPartOrientation(TPartOrientation(std::clamp(EntryToInteger(value, partOrientation_), 0, 2)));
    else if (key == QLatin1String("MATERIALVATRATE")) {
        SetMaterialVATRate(VATRateOfText(value));
    } else if (key == QLatin1String("ORDERADDAUTOPARTSAREA"))
        SetOrderAddAutoPartsArea(isOne);
    else if (key == QLatin1String("ORDERADDAUTOPARTSCIRCUIT"))
        SetOrderAddAutoPartsCircuit(isOne);
    else if (key == QLatin1String("SHEETSADDEXTRACTTOORDER"))
        SetSheetsAddExtractToOrder(isOne);
    else if (key == QLatin1String("SHEETSERLANGEFONT"))
        SetSheetsErlangeFont(isOne);
    else if (key == QLatin1String("SHEETSSHOWCAPTIONSONPARTS"))
        SetSheetsShowCaptionsOnParts(isOne);
    else if (key == QLatin1String("ORDERNOTE1"))
        SetOrderNote1(value);
    else if (key == QLatin1String("ORDERNOTE2"))
        SetOrderNote2(value);
    else if (key == QLatin1String("ORDERPREFIX"))
        SetOrderPrefix(value);
    else if (key == QLatin1String("ORDERNUMBER"))
        SetOrderNumber(CleanedEntryToInteger(value, orderNumber_));
    else if (key == QLatin1String("SHEETSREDUCTIONTIMEMAX"))
        SetSheetsReductionTimeMax(CleanedEntryToInteger(value, reductionTimeMax_));
    else if (key == QLatin1String("SHEETSREDUCTIONTIMEMIN"))
        SetSheetsReductionTimeMin(CleanedEntryToInteger(value, reductionTimeMin_));
    else if (key == QLatin1String("SHEETSIMPROVE"))
        SetSheetsImprove(isOne);
    else if (key == QLatin1String("SHEETSIMPROVETIME"))
        SetSheetsImproveTime(CleanedEntryToInteger(value, sheetsImproveTime_));
    else if (key == QLatin1String("SHEETSZOOM"))
        SetSheetsZoom(CleanedEntryToInteger(value, sheetsZoom_));
    else if (key == QLatin1String("SUPPLIERLOGOFILENAME"))
        SetSupplierLogoFileName(value);
    else if (key == QLatin1String("VATZEROVALUE"))
        SetVATZeroValue(CleanedEntryToInteger(value, vatZero_));
    else if (key == QLatin1String("VATLOWVALUE"))
        SetVATLowValue(CleanedEntryToInteger(value, vatLow_));
    else if (key == QLatin1String("VATHIGHVALUE"))
        SetVATHighValue(CleanedEntryToInteger(value, vatHigh_));
    else
        TDataComponent::SetPropAsString(name, value);
}

// ---- Settings file ------------------------------------------------------------------------------

void TSetup::SaveToINI(TINI& storage) const {
    auto section = [&storage](const char* name) -> QStringList& {
        return storage.Section(QString::fromLatin1(name));
    };
    auto put = [](QStringList& lines, const char* key, const QString& value) {
        putLine(lines, QString::fromLatin1(key), value);
    };

    QStringList& common = section("Common");
    put(common, "VATZeroValue", QString::number(vatZero_));
    put(common, "VATLowValue", QString::number(vatLow_));
    put(common, "VATHighValue", QString::number(vatHigh_));

    QStringList& material = section("Material");
    put(material, "CutWidth", materialCutWidth_.toScaledText());
    put(material, "HasOrientation", flagText(materialHasOrientation_));
    put(material, "MinRecyArea", materialMinRecyArea_.toScaledText());
    put(material, "MinRecyDim", materialMinRecyDim_.toScaledText());
    put(material, "Price", materialPrice_.toScaledText());
    put(material, "VATMode", QString::number(int(materialVATMode_)));
    put(material, "VATRate", QString::number(int(materialVATRate_)));

    // Notes may span lines (an order's notes saved as the default); "¶" keeps each on its line.
    QStringList& order = section("Order");
    put(order, "AddAutoPartsArea", flagText(orderAddAutoPartsArea_));
    put(order, "AddAutoPartsCircuit", flagText(orderAddAutoPartsCircuit_));
    put(order, "Note1", EncodeLineBreaks(orderNote1_));
    put(order, "Note2", EncodeLineBreaks(orderNote2_));
    put(order, "Number", QString::number(orderNumber_));
    put(order, "Prefix", orderPrefix_);
    put(order, "VATMode", QString::number(int(orderVATMode_)));

    QStringList& parts = section("Parts");
    put(parts, "PartOrientation", QString::number(int(partOrientation_)));

    QStringList& sheets = section("Sheets");
    put(sheets, "AddExtractToOrder", flagText(sheetsAddExtractToOrder_));
    put(sheets, "ErlangeFont", flagText(sheetsErlangeFont_));
    put(sheets, "Improve", flagText(sheetsImprove_));
    put(sheets, "ImproveTime", QString::number(sheetsImproveTime_));
    put(sheets, "MaxCutLength", sheetsMaxCutLength_.toScaledText());
    put(sheets, "ReductionTimeMax", QString::number(reductionTimeMax_));
    put(sheets, "ReductionTimeMin", QString::number(reductionTimeMin_));
    put(sheets, "ShowCaptionsOnParts", flagText(sheetsShowCaptionsOnParts_));
    put(sheets, "Zoom", QString::number(sheetsZoom_));

    QStringList& supplier = section("Supplier");
    supplier_->SaveToStrings(supplier);
    put(supplier, "LogoFileName", supplierLogoFileName_);
}

void TSetup::readFields(const TINI& storage) {
    const TSettingsReader r(storage);
    r.integer("Common", "VATZeroValue", vatZero_);
    r.integer("Common", "VATLowValue", vatLow_);
    r.integer("Common", "VATHighValue", vatHigh_);

    r.scaled("Material", "CutWidth", materialCutWidth_);
    r.flagIfPresent("Material", "HasOrientation", materialHasOrientation_);
    r.scaled("Material", "MinRecyArea", materialMinRecyArea_);
    r.scaled("Material", "MinRecyDim", materialMinRecyDim_);
    r.scaled("Material", "Price", materialPrice_);
    materialVATMode_ = TVATMode(r.ordinal("Material", "VATMode", 0, 1));
    materialVATRate_ = TVATRate(r.ordinal("Material", "VATRate", 2, 2));

    r.flagIfPresent("Order", "AddAutoPartsArea", orderAddAutoPartsArea_);
    r.flagIfPresent("Order", "AddAutoPartsCircuit", orderAddAutoPartsCircuit_);
    orderNote1_ = DecodeLineBreaks(r.text("Order", "Note1"));
    orderNote2_ = DecodeLineBreaks(r.text("Order", "Note2"));
    r.integer("Order", "Number", orderNumber_);
    orderPrefix_ = r.text("Order", "Prefix");
    orderVATMode_ = TVATMode(r.ordinal("Order", "VATMode", 0, 1));

    partOrientation_ = TPartOrientation(r.ordinal("Parts", "PartOrientation", 0, 2));

    sheetsAddExtractToOrder_ = r.flag("Sheets", "AddExtractToOrder");
    sheetsErlangeFont_ = r.flag("Sheets", "ErlangeFont");
    r.scaled("Sheets", "MaxCutLength", sheetsMaxCutLength_);
    // Taken as they stand: the setters' bounds do not apply to a file.
    r.integer("Sheets", "ReductionTimeMax", reductionTimeMax_);
    r.integer("Sheets", "ReductionTimeMin", reductionTimeMin_);
    // Settings written before the stage was on by default have no key: they get the stage, 2 s.
    sheetsImprove_ = true;
    r.flagIfPresent("Sheets", "Improve", sheetsImprove_);
    sheetsImproveTime_ = 2;
    r.integer("Sheets", "ImproveTime", sheetsImproveTime_);
    sheetsImproveTime_ = std::clamp(sheetsImproveTime_, kMinImproveTime, kMaxImproveTime);
    sheetsShowCaptionsOnParts_ = r.flag("Sheets", "ShowCaptionsOnParts");
    r.integer("Sheets", "Zoom", sheetsZoom_);

    supplier_->LoadFromStrings(storage.FindSection(QStringLiteral("Supplier")));
    supplierLogoFileName_ = r.text("Supplier", "LogoFileName");
}

void TSetup::LoadFromINI(const TINI& storage) {
    // Everything is read into a silent copy first and applied at once, so that the setup never
    // holds half a file and nobody hears the single values.
    TSetup parsed(nullptr);
    parsed.SetSilent(true);
    parsed.copyFields(*this);
    parsed.readFields(storage);
    copyFields(parsed);
    SetModified(false);
    Announce(QString());
}

bool TSetup::LoadFromFile(const QString& fileName) {
    TINI storage;
    if (!storage.LoadFromFile(fileName)) {
        errorString_ = storage.ErrorString();
        return false;
    }
    LoadFromINI(storage);
    errorString_.clear();
    return true;
}

bool TSetup::SaveToFile(const QString& fileName) {
    if (fileName.isEmpty()) {
        errorString_ = QStringLiteral("No file name given.");
        return false;
    }
    // The settings may live in a config folder that does not exist yet.
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QFileInfo(folder).isDir())
        ForceDirectories(folder);
    TINI storage;
    SaveToINI(storage);
    if (!storage.SaveToFile(fileName)) {
        errorString_ = storage.ErrorString();
        return false;
    }
    errorString_.clear();
    SetModified(false);
    return true;
}

TSetup* InitProgramSetup() {
    // Freed at exit; the program's objects are gone by then.
    static std::unique_ptr<TSetup> setup;
    if (!setup) {
        setup = std::make_unique<TSetup>(nullptr);
        setup->LoadFromFile(IniFileName()); // a missing or unreadable file leaves the defaults
    }
    TApplicationLinks::SetSetup(setup.get());
    return setup.get();
}

} // namespace lintaro
