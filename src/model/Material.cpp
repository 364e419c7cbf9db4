#include "model/Material.h"

#include "foundation/Ini.h"
#include "foundation/NumberEntry.h"
#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "foundation/TextUtils.h"
#include "foundation/Units.h"
#include "model/ApplicationLinks.h"
#include "model/Setup.h"
#include "platform/Locale.h"

namespace lintaro {

namespace {

const QString kSection = QStringLiteral("Material");
const QString kDimsSection = QStringLiteral("Dims");
const QString kPrice = QStringLiteral("Price");
const QString kVATMode = QStringLiteral("VATMode");
const QString kVATRate = QStringLiteral("VATRate");

QString flagText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// An INI line holds one line: line breaks are stored as "¶". A NUL would end the text when the file
// is read back, cutting off everything after it, so it is dropped.

// A file value that is not a decimal integer within the 32-bit range gives false.
bool readInteger(const TINI& storage, const QString& key, int& value) {
    bool ok = false;
    const int v = storage.ReadString(kSection, key).trimmed().toInt(&ok);
    if (ok)
        value = v;
    return ok;
}

// The scaled integer of a file value, or the fallback when it is none.
Currency readScaled(const TINI& storage, const QString& key, Currency fallback) {
    bool ok = false;
    const Currency value = Currency::fromScaledText(storage.ReadString(kSection, key), &ok);
    return ok ? value : fallback;
}

bool fitsFile(Currency value) {
    const Currency limit = Currency::fromInteger(TMaterial::ValueLimit);
    return value < limit && value > -limit;
}

long double vatFactor(TVATRate rate) {
    return 1.0L + TApplicationLinks::Setup()->GetVATValue(rate) / 100.0L;
}

} // namespace

TMaterial::TMaterial(TComponent* owner) : TDataComponent(owner) {
    TMaterial::InitDefaults();
}

void TMaterial::InitDefaults() {
    TDataComponent::InitDefaults();
    SetCaptionDirect(GetDefaultCaption());
    cutWidth_ = Currency();
    fileName_.clear();
    hasOrientation_ = true;
    minRecyArea_ = Currency::fromRaw(5000); // 0.5 m²
    minRecyDim_ = Currency::fromInteger(500);
    note_.clear();
    price_ = Currency();
    vatMode_ = vmWithVAT;
    vatRate_ = vrZero;
    version_ = FormatVersion;
    // The list stays the same object, so that references to it held elsewhere stay valid.
    if (dims_)
        dims_->InitDefaults();
    else
        dims_ = new TDimensionList(this);
}

QString TMaterial::GetDefaultCaption() const {
    return GetText(QStringLiteral("TMaterial"), QStringLiteral("DefaultCaption"));
}

void TMaterial::AssignTo(TComponent* dest) const {
    if (dest == this)
        return; // the list copy would free the items it is about to copy
    TDataComponent::AssignTo(dest);
    if (auto* d = dynamic_cast<TMaterial*>(dest)) {
        d->cutWidth_ = cutWidth_;
        d->fileName_ = fileName_;
        d->hasOrientation_ = hasOrientation_;
        d->minRecyArea_ = minRecyArea_;
        d->minRecyDim_ = minRecyDim_;
        d->note_ = note_;
        d->price_ = price_;
        d->vatMode_ = vatMode_;
        d->vatRate_ = vatRate_;
        d->version_ = version_;
        d->dims_->Assign(dims_);
    }
}

// ---- Properties ------------------------------------------------------------------------------

Currency TMaterial::CutWidth() const {
    return LengthToUser(cutWidth_);
}

Currency TMaterial::MinRecyDim() const {
    return LengthToUser(minRecyDim_);
}

Currency TMaterial::MinRecyArea() const {
    return AreaToUser(minRecyArea_);
}

void TMaterial::SetLength(Currency& field, Currency value, const QString& propName) {
    value = LengthFromUser(value);
    if (!fitsFile(value) || value == field)
        return;
    field = value;
    Announce(propName);
    SetModified(true);
}

void TMaterial::SetCutWidth(Currency value) {
    SetLength(cutWidth_, value, QStringLiteral("CutWidth"));
}

void TMaterial::SetMinRecyDim(Currency value) {
    SetLength(minRecyDim_, value, QStringLiteral("MinRecyDim"));
}

void TMaterial::SetMinRecyArea(Currency value) {
    value = AreaFromUser(value);
    if (!fitsFile(value) || value == minRecyArea_)
        return;
    minRecyArea_ = value;
    Announce(QStringLiteral("MinRecyArea"));
    SetModified(true);
}

void TMaterial::SetFileName(const QString& value) {
    if (Locale::sameText(value, fileName_))
        return;
    fileName_ = value;
    Announce(QStringLiteral("FileName"));
}

void TMaterial::SetHasOrientation(bool value) {
    if (value == hasOrientation_)
        return;
    hasOrientation_ = value;
    Announce(QStringLiteral("HasOrientation"));
    SetModified(true);
}

void TMaterial::SetNote(const QString& value) {
    if (value == note_)
        return;
    note_ = value;
    Announce(QStringLiteral("Note"));
    SetModified(true);
}

void TMaterial::SetPrice(Currency value) {
    if (value.raw() < 0 || value >= Currency::fromInteger(ValueLimit) || value == price_)
        return;
    price_ = value;
    Announce(kPrice);
    SetModified(true);
}

void TMaterial::SetVATMode(TVATMode value) {
    if (value == vatMode_)
        return;
    vatMode_ = value;
    Announce(kPrice);
    Announce(kVATMode);
    SetModified(true);
}

void TMaterial::SetVATRate(TVATRate value) {
    if (value == vatRate_)
        return;
    Currency price = price_;
    if (vatMode_ == vmWithVAT) {
        // The price without VAT stays. A rate of -100 % has no price without VAT; the price then
        // stays as it is.
        const long double oldFactor = vatFactor(vatRate_);
        if (oldFactor != 0) {
            price = (price / oldFactor) * vatFactor(value);
            if (price.raw() < 0 || price >= Currency::fromInteger(ValueLimit))
                return;
        }
    }
    price_ = price;
    vatRate_ = value;
    Announce(kPrice);
    Announce(kVATRate);
    SetModified(true);
}

Currency TMaterial::Amount() const {
    return dims_->Area();
}

Currency TMaterial::PricewoVAT() const {
    if (vatMode_ == vmWithOutVAT)
        return price_;
    const long double factor = vatFactor(vatRate_);
    return factor == 0 ? Currency() : price_ / factor;
}

Currency TMaterial::PricewVAT() const {
    if (vatMode_ == vmWithVAT)
        return price_;
    return price_ * vatFactor(vatRate_);
}

Currency TMaterial::TotalPrice() const {
    return Amount() * price_;
}

// ---- Text access by name ---------------------------------------------------------------------

QString TMaterial::GetPropAsString(const QString& name) const {
    const QString key = KeyOf(name);
    const bool imperial = IsImperial();
    if (key == QLatin1String("AMOUNT"))
        return FormatWithUnit(Amount(), imperial ? 2 : 3, AreaUnit());
    if (key == QLatin1String("CUTWIDTH"))
        return FormatWithUnit(CutWidth(), imperial ? 3 : 2, DimUnit());
    if (key == QLatin1String("FILENAME"))
        return fileName_;
    if (key == QLatin1String("HASORIENTATION"))
        return flagText(hasOrientation_);
    if (key == QLatin1String("MINRECYAREA"))
        return FormatWithUnit(MinRecyArea(), imperial ? 2 : 3, AreaUnit());
    if (key == QLatin1String("MINRECYDIM"))
        return FormatWithUnit(MinRecyDim(), imperial ? 3 : 2, DimUnit());
    if (key == QLatin1String("NOTE"))
        return note_;
    if (key == QLatin1String("PRICE"))
        return FormatMoney(price_);
    if (key == QLatin1String("PRICEISWITHVAT"))
        return flagText(vatMode_ == vmWithVAT);
    if (key == QLatin1String("PRICEWOVAT"))
        return FormatMoney(PricewoVAT());
    if (key == QLatin1String("PRICEWVAT"))
        return FormatMoney(PricewVAT());
    if (key == QLatin1String("TOTALPRICE"))
        return FormatMoney(TotalPrice());
    if (key == QLatin1String("VATMODE"))
        return GetText(QStringLiteral("Common"),
                       vatMode_ == vmWithVAT ? QStringLiteral("vmWithVAT") : QStringLiteral("vmWithOutVAT"));
    if (key == QLatin1String("VATRATE"))
        return QString::number(TApplicationLinks::Setup()->GetVATValue(vatRate_)) + u'%';
    return TDataComponent::GetPropAsString(name);
}

void TMaterial::SetPropAsString(const QString& name, const QString& value) {
    const QString key = KeyOf(name);
    if (key == QLatin1String("CUTWIDTH")) {
        SetCutWidth(EntryToCurrency(value, CutWidth()));
    } else if (key == QLatin1String("FILENAME")) {
        SetFileName(value);
    } else if (key == QLatin1String("MINRECYAREA")) {
        SetMinRecyArea(EntryToCurrency(value, MinRecyArea()));
    } else if (key == QLatin1String("MINRECYDIM")) {
        SetMinRecyDim(EntryToCurrency(value, MinRecyDim()));
    } else if (key == QLatin1String("NOTE")) {
        SetNote(value);
    } else if (key == QLatin1String("PRICE")) {
        SetPrice(EntryToCurrency(value, price_));
    } else if (key == QLatin1String("VATRATE")) {
        SetVATRate(TApplicationLinks::Setup()->VATRateOfText(value));
    } else if (key == QLatin1String("AMOUNT") || key == QLatin1String("HASORIENTATION") ||
               key == QLatin1String("PRICEISWITHVAT") || key == QLatin1String("PRICEWOVAT") ||
               key == QLatin1String("PRICEWVAT") || key == QLatin1String("TOTALPRICE") ||
               key == QLatin1String("VATMODE")) {
        // computed or set through their setters only
    } else {
        TDataComponent::SetPropAsString(name, value);
    }
}

// ---- Reactions -------------------------------------------------------------------------------

bool TMaterial::DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) {
    const bool result = TDataComponent::DataChangeStep(source, sender, phase, propName);
    if (phase != 1)
        return result;
    if (source == this) {
        if (propName == kPrice || propName == kVATMode || propName == kVATRate) {
            Announce(QStringLiteral("PricewoVAT"));
            Announce(QStringLiteral("PricewVAT"));
        }
        if (propName == kPrice || propName == QLatin1String("Amount"))
            Announce(QStringLiteral("TotalPrice"));
    } else if (source == dims_ && propName == QLatin1String("Area")) {
        Announce(QStringLiteral("Amount"));
    }
    // The material is not owned by the order, so its changes and those of its dimensions reach the
    // order, the setup and the window this way.
    if (source == this || (dims_ && sender == dims_))
        TApplicationLinks::Forward(this, source, propName, /*toOrder*/ true, /*toMaterial*/ false,
                                   /*toSetup*/ true);
    return result;
}

// ---- New, load and save ----------------------------------------------------------------------

void TMaterial::ApplyNewDefaults() {
    InitDefaults();
    SetSilent(true);
    const TSetup* setup = TApplicationLinks::Setup();
    SetVATMode(setup->MaterialVATMode());
    SetVATRate(setup->MaterialVATRate());
    SetPrice(setup->MaterialPrice());
    SetCutWidth(setup->MaterialCutWidth());
    SetHasOrientation(setup->MaterialHasOrientation());
    SetMinRecyArea(setup->MaterialMinRecyArea());
    SetMinRecyDim(setup->MaterialMinRecyDim());
    dims_->SetSilent(true);
    dims_->CheckEmptyDim();
    SetModified(false);
}

void TMaterial::CreateNew() {
    ApplyNewDefaults();
    dims_->SetSilent(false);
    SetSilent(false);
    Announce(QString());
    dims_->Announce(QString());
}

void TMaterial::ReadAccepted(const TINI& storage) {
    // Values missing from the file keep the setup's defaults. This runs on a throwaway material that
    // stays silent, so nothing reaches the application before the whole file is read.
    ApplyNewDefaults();
    SetCaptionDirect(DecodeLineBreaks(storage.ReadString(kSection, QStringLiteral("Name"))));
    note_ = DecodeLineBreaks(storage.ReadString(kSection, QStringLiteral("Note")));
    cutWidth_ = readScaled(storage, QStringLiteral("CutWidth"), cutWidth_);
    minRecyArea_ = readScaled(storage, QStringLiteral("MinRecyArea"), minRecyArea_);
    minRecyDim_ = readScaled(storage, QStringLiteral("MinRecyDim"), minRecyDim_);
    // A price the setter would refuse (only a damaged file holds one) keeps the default as well.
    const Currency price = readScaled(storage, kPrice, price_);
    if (price.raw() >= 0 && price < Currency::fromInteger(ValueLimit))
        price_ = price;
    hasOrientation_ = storage.ReadString(kSection, QStringLiteral("HasOrientation")) == QLatin1String("1");
    // Numbers that name no mode or rate keep the default, as the enumerations hold no other value.
    if (int mode = 0; readInteger(storage, kVATMode, mode) && mode >= vmWithVAT && mode <= vmWithOutVAT)
        vatMode_ = static_cast<TVATMode>(mode);
    if (int rate = 0; readInteger(storage, kVATRate, rate) && rate >= vrZero && rate <= vrHigh)
        vatRate_ = static_cast<TVATRate>(rate);
    dims_->LoadFromStrings(storage.FindSection(kDimsSection));
}

bool TMaterial::LoadFromINI(const TINI& storage) {
    errorString_.clear();
    int minVersion = 0;
    if (!readInteger(storage, QStringLiteral("MinVersion"), minVersion))
        minVersion = 0;
    if (minVersion <= 0 || minVersion > version_) {
        // Refused as a whole; Modified stays as well, so that unsaved changes keep their mark.
        errorString_ = minVersion <= 0
                           ? QStringLiteral("Not a material file: no valid MinVersion in section [Material].")
                           : QStringLiteral("The material file needs format version %1; this program reads "
                                            "version %2.")
                                 .arg(minVersion)
                                 .arg(version_);
        return false;
    }
    // Read completely into a separate material first: whatever happens while reading, this one is
    // either replaced as a whole or left as it was.
    TMaterial loaded(nullptr);
    loaded.ReadAccepted(storage);
    Assign(&loaded);
    // Cleared before the reload is announced, so that the owner of a material snapshot does not
    // take the copied marks for a change.
    SetModified(false);
    dims_->Announce(QString());
    Announce(QString());
    return true;
}

bool TMaterial::LoadFromFile(const QString& fileName) {
    errorString_.clear();
    TINI storage;
    if (!storage.LoadFromFile(fileName)) {
        errorString_ = storage.ErrorString();
        return false;
    }
    if (!LoadFromINI(storage))
        return false;
    fileName_ = fileName;
    return true;
}

void TMaterial::SaveToINI(TINI& storage, bool withDims) const {
    storage.WriteString(kSection, QStringLiteral("Version"), QString::number(version_));
    storage.WriteString(kSection, QStringLiteral("MinVersion"), QString::number(FormatVersion));
    storage.WriteString(kSection, QStringLiteral("Name"), EncodeLineBreaks(Caption()));
    storage.WriteString(kSection, QStringLiteral("Note"), EncodeLineBreaks(note_));
    storage.WriteString(kSection, QStringLiteral("CutWidth"), cutWidth_.toScaledText());
    storage.WriteString(kSection, QStringLiteral("HasOrientation"), flagText(hasOrientation_));
    storage.WriteString(kSection, QStringLiteral("MinRecyArea"), minRecyArea_.toScaledText());
    storage.WriteString(kSection, QStringLiteral("MinRecyDim"), minRecyDim_.toScaledText());
    storage.WriteString(kSection, kPrice, price_.toScaledText());
    storage.WriteString(kSection, kVATMode, QString::number(static_cast<int>(vatMode_)));
    storage.WriteString(kSection, kVATRate, QString::number(static_cast<int>(vatRate_)));
    if (withDims)
        dims_->SaveToStrings(storage.Section(kDimsSection));
}

bool TMaterial::SaveToFile(const QString& fileName) {
    errorString_.clear();
    TINI storage;
    SaveToINI(storage, true);
    if (!storage.SaveToFile(fileName)) {
        errorString_ = storage.ErrorString();
        return false;
    }
    SetModified(false);
    return true;
}

} // namespace lintaro
