#pragma once
// TMaterial: the stock the parts are cut from: its name, the width lost at every cut, the smallest
// rest worth keeping, whether it has a grain direction, its price with its VAT treatment, and its
// stock dimensions. The material owns its dimension list (Dims) for its whole life; InitDefaults
// empties it. It lives in its own material file (".LNM"); the application's current material is
// owned by the main window, and the calculation container owns a copy of the one it used.
//
// Lengths are stored in millimetres and areas in square metres; the getters and setters of
// CutWidth, MinRecyDim and MinRecyArea work in the user's units. Every change the material announces
// itself or receives from its dimension list is forwarded to the application's order, setup and
// control refresh (TApplicationLinks), as the material is not owned by the order.
//
// Failure: nothing here throws except SetPropAsString, with ConversionError for a number text that
// does not convert (the property keeps its value). Values that the file's 32-bit form cannot hold
// are refused by the setters without a message. LoadFromFile and LoadFromINI either take a whole
// accepted file or change nothing; SaveToFile leaves the previous file and Modified as they were when
// writing fails. ErrorString gives the reason of the last failure.
#include "foundation/Currency.h"
#include "foundation/DataComponent.h"
#include "model/Dimension.h"
#include "model/VAT.h"

#include <QString>

namespace lintaro {

class TINI;

class TMaterial : public TDataComponent {
    LINTARO_COMPONENT(TMaterial)
public:
    // The version of the material format written and accepted.
    static constexpr int FormatVersion = 1;
    // Stored lengths (mm), areas (m²) and prices stay below this so that the file's value × 10 000
    // fits a signed 32-bit integer.
    static constexpr int64_t ValueLimit = 214748;

    explicit TMaterial(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    // The defaults of an empty material; Dims is emptied (the object stays the same).
    void InitDefaults() override;
    // Copies every stored field and assigns Dims into the destination's own list.
    void AssignTo(TComponent* dest) const override;
    // The text "DefaultCaption" of section "TMaterial".
    QString GetDefaultCaption() const override;

    TDimensionList* Dims() const { return dims_; }

    // Width lost at every cut, in the user's length unit. A value whose millimetres would reach
    // ±214 748 is ignored.
    Currency CutWidth() const;
    void SetCutWidth(Currency value);
    Currency StoredCutWidth() const { return cutWidth_; }
    // The material file last loaded; compared without regard to case; not part of Modified.
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& value);
    bool HasOrientation() const { return hasOrientation_; }
    void SetHasOrientation(bool value);
    // Smallest rest area worth keeping, in the user's area unit; limited like CutWidth in m².
    Currency MinRecyArea() const;
    void SetMinRecyArea(Currency value);
    Currency StoredMinRecyArea() const { return minRecyArea_; }
    // Smallest rest side worth keeping, in the user's length unit; limited like CutWidth.
    Currency MinRecyDim() const;
    void SetMinRecyDim(Currency value);
    Currency StoredMinRecyDim() const { return minRecyDim_; }
    QString Note() const { return note_; }
    void SetNote(const QString& value);
    // Price per area unit, with or without VAT by VATMode; values < 0 or ≥ 214 748 are ignored.
    Currency Price() const { return price_; }
    void SetPrice(Currency value);
    // Announces "Price" and "VATMode"; the price is not converted.
    TVATMode VATMode() const { return vatMode_; }
    void SetVATMode(TVATMode value);
    // With VAT included the price is converted so that the price without VAT stays. A change whose
    // converted price would fall outside the price range is refused.
    TVATRate VATRate() const { return vatRate_; }
    void SetVATRate(TVATRate value);
    int Version() const { return version_; }

    // Total stock area (user's area unit), the price both ways and the stock's total price.
    Currency Amount() const;
    Currency PricewoVAT() const;
    Currency PricewVAT() const;
    Currency TotalPrice() const;

    // A new material from the setup's defaults, with one empty dimension; not Modified.
    void CreateNew();
    // Reads a material file. False when it cannot be read or is refused; the material is then
    // unchanged, Modified included. On success FileName is the file read.
    bool LoadFromFile(const QString& fileName);
    // Takes the material from a storage whose "MinVersion" is supported, values missing from it
    // keeping the setup's defaults; Modified is then cleared. False, with nothing changed, when the
    // storage is refused.
    bool LoadFromINI(const TINI& storage);
    // Writes the material file; Modified is cleared when writing succeeded. FileName is not changed.
    bool SaveToFile(const QString& fileName);
    // Writes section "Material" and, with withDims, section "Dims".
    void SaveToINI(TINI& storage, bool withDims) const;
    // Why the last LoadFromFile, LoadFromINI or SaveToFile failed; empty after success.
    const QString& ErrorString() const { return errorString_; }

private:
    void SetLength(Currency& field, Currency value, const QString& propName);
    // CreateNew's values without any announcement; leaves the material and Dims silent.
    void ApplyNewDefaults();
    void ReadAccepted(const TINI& storage);

    TDimensionList* dims_ = nullptr; // owned as a component
    Currency cutWidth_;              // mm
    QString fileName_;
    bool hasOrientation_ = true;
    Currency minRecyArea_; // m²
    Currency minRecyDim_;  // mm
    QString note_;
    Currency price_;
    TVATMode vatMode_ = vmWithVAT;
    TVATRate vatRate_ = vrZero;
    int version_ = FormatVersion;
    QString errorString_; // a diagnostic beside the results, not part of the material's data
};

} // namespace lintaro
