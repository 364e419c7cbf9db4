#pragma once
// TOrder: the document the user works on: a customer, the required parts, the calculation container
// with its result, two free notes and the priced order items with the totals with and without VAT.
// Two items can follow the parts, the material's price and the last calculation's waste
// automatically. The whole order, result included, is one order file (".LNO").
//
// Ownership: the order owns Customer, OrderItems, Parts and Sheets for its whole life (InitDefaults
// resets them in place, so references to them stay valid). It refers to the application's material
// without owning it. The application's order is owned by the main window.
//
// Changes: every change the order announces itself or receives from one of its parts is passed on
// to the application's material and setup and to the window's control refresh (TApplicationLinks),
// unless another order is the registered one.
//
// Failure: SetPropAsString may throw ConversionError for a number text that does not convert; the
// property keeps its value. LoadFromFile either takes a whole accepted file or leaves the order as it
// was (Modified included); a damaged result sheet in an otherwise readable file is a failure too.
// SaveToFile leaves the previous file and Modified as they were when writing fails. ErrorString
// gives the reason of the last failure. Nothing else throws.
#include "foundation/Currency.h"
#include "foundation/DataComponent.h"
#include "model/VAT.h"

#include <QDateTime>
#include <QString>

namespace lintaro {

class TAddress;
class TINI;
class TMaterial;
class TOrderItemList;
class TPartList;
class TSheets;

class TOrder : public TDataComponent {
    LINTARO_COMPONENT(TOrder)
public:
    // The order-file version written, and the highest "MinVersion" accepted.
    static constexpr int FormatVersion = 1;

    explicit TOrder(TComponent* owner = nullptr);

    QString GetPropAsString(const QString& name) const override;
    void SetPropAsString(const QString& name, const QString& value) override;
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& propName) override;
    // The defaults of an empty order; the owned objects are reset in place.
    void InitDefaults() override;
    // Copies the flags, DateCreate, FileName, the notes and the stored VAT mode, and assigns the
    // customer, items, parts and sheets into the destination's own objects; not NumberPending.
    void AssignTo(TComponent* dest) const override;
    // The text "DefaultCaption" of section "TOrder".
    QString GetDefaultCaption() const override;

    TAddress* Customer() const { return customer_; }
    TOrderItemList* OrderItems() const { return items_; }
    TPartList* Parts() const { return parts_; }
    TSheets* Sheets() const { return sheets_; }

    bool AddAutoPartsArea() const { return addAutoPartsArea_; }
    void SetAddAutoPartsArea(bool value);
    bool AddAutoPartsCircuit() const { return addAutoPartsCircuit_; }
    void SetAddAutoPartsCircuit(bool value);
    // Null for "no date".
    QDateTime DateCreate() const { return dateCreate_; }
    void SetDateCreate(const QDateTime& value);
    // Compared without regard to case; a change is announced but does not set Modified.
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& value);
    // The notes may hold line breaks.
    QString Note1() const { return note1_; }
    void SetNote1(const QString& value);
    QString Note2() const { return note2_; }
    void SetNote2(const QString& value);
    // The effective mode: with VAT whenever the setup's supplier is not a VAT payer, else the stored
    // one. The setter stores the mode only; ChangeVATMode converts the prices.
    TVATMode VATMode() const;
    TVATMode StoredVATMode() const { return vatMode_; }
    void SetVATMode(TVATMode value);
    int Version() const { return FormatVersion; }
    // Set by CreateNew; the next save attempt advances the setup's order number.
    bool NumberPending() const { return numberPending_; }

    // The material the order is priced from, not owned: the first material held by the order's
    // owner, else the application's material when this is the application's order (or none is
    // registered); none otherwise.
    TMaterial* Material() const;

    // The totals over all items, in the order of the list, each step rounded to four decimals.
    Currency PriceTotalwoVAT() const;
    Currency PriceTotalwVAT() const;

    // A fresh order from the setup's defaults, with the next order number; not Modified.
    void CreateNew();
    // Reads an order file. False, with the order as it was, when the file cannot be read, its
    // "MinVersion" is not accepted, or a result sheet is damaged. On success FileName is the file
    // read and the material named in it is loaded, from the order's folder first. NumberPending is
    // cleared in every case.
    bool LoadFromFile(const QString& fileName);
    // Writes the order file; Modified is cleared when writing succeeded. The setup's order number is
    // advanced when NumberPending was set, whether or not writing succeeded. FileName is not changed.
    bool SaveToFile(const QString& fileName);
    // The whole order file: sections "Order", "Customer", "OrderItems", "Parts" and the container's
    // sections ("CALCRESULT", "SHEET1" …, "Material", "SHEETS").
    void SaveToINI(TINI& ini) const;
    // Why the last LoadFromFile or SaveToFile failed; empty after success.
    const QString& ErrorString() const { return errorString_; }
    // Why the material the last loaded order names could not be read ("the material file NAME cannot
    // be read: reason"); empty when it was read or the order names none. The order itself loaded.
    const QString& MaterialProblem() const { return materialProblem_; }

    // Converts every item's price and total to the new mode (when it differs from the effective
    // one), then stores the mode.
    void ChangeVATMode(TVATMode newMode);
    // Brings the automatic area item (position 0) and circuit item (position 1) in step with the
    // parts, the material and the last calculation's waste.
    void UpdateAutoItems();

private:
    bool IsApplicationOrder() const;
    // Reads an accepted file into this (fresh, silent) order. Throws ConversionError on a damaged
    // result sheet.
    void ReadAccepted(const TINI& ini, const QString& fileName);
    void AnnounceTotals();
    // The items as stored, one record each: whether loading the material changed them.
    QStringList itemRecords() const;

    TAddress* customer_ = nullptr;    // owned
    TOrderItemList* items_ = nullptr; // owned
    TPartList* parts_ = nullptr;      // owned
    TSheets* sheets_ = nullptr;       // owned
    bool addAutoPartsArea_ = false;
    bool addAutoPartsCircuit_ = false;
    QDateTime dateCreate_;
    QString fileName_;
    bool numberPending_ = false;
    QString note1_;
    QString note2_;
    TVATMode vatMode_ = vmWithVAT;
    QString errorString_; // a diagnostic beside the results, not part of the order's data
    QString materialProblem_;
};

} // namespace lintaro
