#pragma once
// The program's settings: VAT percentages, the defaults of new materials, orders and parts, the
// calculation and drawing parameters and the supplier. There is one setup in the program
// (TApplicationLinks::Setup), created and loaded from the settings file at start.
//
// Lengths and areas are stored in mm and m²; the getters and setters of MaterialCutWidth,
// MaterialMinRecyDim, SheetsMaxCutLength and MaterialMinRecyArea work in the user's units.
// LoadFromFile and SaveToFile never throw; SetPropAsString may throw ConversionError for a text
// that does not convert (the property keeps its value). A length, area or price that the settings
// file could not hold (its 32-bit scaled form) is refused by the setter: the value stays.
//
// The setup owns its supplier address, which lives as long as the setup (resetting the setup
// resets the address in place). Changes of the setup and its supplier are passed on to the
// application's order, material and window, but only by the setup that TApplicationLinks::Setup
// returns.
//
// The settings file lists every key, empty ones included; line breaks inside the default order
// notes and the supplier's note are stored as "¶".
#include "foundation/Currency.h"
#include "foundation/DataComponent.h"
#include "model/Orientation.h"
#include "model/VAT.h"

#include <QDate>

#include <functional>

namespace lintaro {

class TAddress;
class TINI;

class TSetup : public TDataComponent {
    LINTARO_COMPONENT(TSetup)
public:
    explicit TSetup(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    void InitDefaults() override;
    void AssignTo(TComponent* dest) const override;

    int GetVATValue(TVATRate rate) const;
    // The class of a typed percentage: the zero or low class when it equals theirs, else the high one
    // (also for a text that gives no integer).
    TVATRate VATRateOfText(const QString& text) const;

    // Reads the settings file; false (and nothing changed) when it cannot be read.
    bool LoadFromFile(const QString& fileName);
    // Writes the settings file; clears Modified on success. A failed write keeps the previous file
    // and Modified. Either failure leaves its reason in ErrorString.
    bool SaveToFile(const QString& fileName);
    const QString& ErrorString() const { return errorString_; }
    void SaveToINI(TINI& storage) const;
    void LoadFromINI(const TINI& storage);

    int VATZeroValue() const { return vatZero_; }
    void SetVATZeroValue(int value);
    int VATLowValue() const { return vatLow_; }
    void SetVATLowValue(int value);
    int VATHighValue() const { return vatHigh_; }
    void SetVATHighValue(int value);

    Currency MaterialCutWidth() const; // user's length unit
    void SetMaterialCutWidth(Currency value);
    bool MaterialHasOrientation() const { return materialHasOrientation_; }
    void SetMaterialHasOrientation(bool value);
    Currency MaterialMinRecyArea() const; // user's area unit
    void SetMaterialMinRecyArea(Currency value);
    Currency MaterialMinRecyDim() const; // user's length unit
    void SetMaterialMinRecyDim(Currency value);
    Currency MaterialPrice() const { return materialPrice_; }
    void SetMaterialPrice(Currency value);
    TVATMode MaterialVATMode() const { return materialVATMode_; }
    void SetMaterialVATMode(TVATMode value);
    TVATRate MaterialVATRate() const { return materialVATRate_; }
    void SetMaterialVATRate(TVATRate value);

    bool OrderAddAutoPartsArea() const { return orderAddAutoPartsArea_; }
    void SetOrderAddAutoPartsArea(bool value);
    bool OrderAddAutoPartsCircuit() const { return orderAddAutoPartsCircuit_; }
    void SetOrderAddAutoPartsCircuit(bool value);
    // The effective notes: the stored text, else "Note1" / "Note2" of section "Order" of the texts.
    QString OrderNote1() const;
    void SetOrderNote1(const QString& value);
    QString OrderNote2() const;
    void SetOrderNote2(const QString& value);
    int OrderNumber() const { return orderNumber_; }
    void SetOrderNumber(int value);
    // The effective prefix: the stored text, else "Caption" of section "Order", a blank, the year
    // and "01-".
    QString OrderPrefix() const;
    void SetOrderPrefix(const QString& value);
    TVATMode OrderVATMode() const { return orderVATMode_; }
    void SetOrderVATMode(TVATMode value);

    TPartOrientation PartOrientation() const { return partOrientation_; }
    void SetPartOrientation(TPartOrientation value);

    bool SheetsAddExtractToOrder() const { return sheetsAddExtractToOrder_; }
    void SetSheetsAddExtractToOrder(bool value);
    bool SheetsErlangeFont() const { return sheetsErlangeFont_; }
    void SetSheetsErlangeFont(bool value);
    Currency SheetsMaxCutLength() const; // user's length unit
    void SetSheetsMaxCutLength(Currency value);
    int SheetsReductionTimeMax() const { return reductionTimeMax_; }
    void SetSheetsReductionTimeMax(int value);
    int SheetsReductionTimeMin() const { return reductionTimeMin_; }
    void SetSheetsReductionTimeMin(int value);
    // The improvement stage after the sheet-by-sheet search, and its time in seconds (1 … 600).
    bool SheetsImprove() const { return sheetsImprove_; }
    void SetSheetsImprove(bool value);
    int SheetsImproveTime() const { return sheetsImproveTime_; }
    void SetSheetsImproveTime(int value);
    bool SheetsShowCaptionsOnParts() const { return sheetsShowCaptionsOnParts_; }
    void SetSheetsShowCaptionsOnParts(bool value);
    int SheetsZoom() const { return sheetsZoom_; }
    void SetSheetsZoom(int value);

    TAddress* Supplier() const { return supplier_; }
    QString SupplierLogoFileName() const { return supplierLogoFileName_; }
    void SetSupplierLogoFileName(const QString& value);

    // Where the computed order prefix takes its year from; none (the default): today's date.
    void SetDateSource(std::function<QDate()> source) { dateSource_ = std::move(source); }
    // The computed default prefix: "Caption" of section "Order", a blank, the year and "01-".
    QString DefaultOrderPrefix() const;

private:
    QString errorString_;
    void readFields(const TINI& storage);
    void copyFields(const TSetup& from);

    std::function<QDate()> dateSource_;
    int vatZero_ = 0;
    int vatLow_ = 5;
    int vatHigh_ = 19;
    Currency materialCutWidth_; // mm
    bool materialHasOrientation_ = false;
    Currency materialMinRecyArea_ = Currency::fromRaw(5000);   // m²
    Currency materialMinRecyDim_ = Currency::fromInteger(500); // mm
    Currency materialPrice_;
    TVATMode materialVATMode_ = vmWithVAT;
    TVATRate materialVATRate_ = vrHigh;
    bool orderAddAutoPartsArea_ = true;
    bool orderAddAutoPartsCircuit_ = true;
    QString orderNote1_;
    QString orderNote2_;
    int orderNumber_ = 1;
    QString orderPrefix_;
    TVATMode orderVATMode_ = vmWithVAT;
    TPartOrientation partOrientation_ = poNone;
    bool sheetsAddExtractToOrder_ = false;
    bool sheetsErlangeFont_ = false;
    Currency sheetsMaxCutLength_ = Currency::fromInteger(3200); // mm
    int reductionTimeMax_ = 12;
    int reductionTimeMin_ = 4;
    bool sheetsImprove_ = true;
    int sheetsImproveTime_ = 2;
    bool sheetsShowCaptionsOnParts_ = false;
    int sheetsZoom_ = 200;
    TAddress* supplier_ = nullptr; // owned
    QString supplierLogoFileName_;
};

// Start-up: creates the one setup, loads it from the settings file (IniFileName) and registers it
// with TApplicationLinks. The setup lives until the end of the program.
TSetup* InitProgramSetup();

} // namespace lintaro
