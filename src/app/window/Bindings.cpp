#include "app/window/Bindings.h"

#include "model/Address.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "model/Sheets.h"

namespace lintaro {

namespace {

void add(std::vector<TBinding>& table, const char* prefix, TBoundObject object,
         std::initializer_list<const char*> properties, bool readBack) {
    for (const char* property : properties)
        table.push_back({QLatin1String(prefix) + QLatin1String(property),
                         object,
                         QLatin1String(property),
                         readBack,
                         {},
                         {}});
}

// A check box row: the setter and getter of one Boolean of objects of class T.
template <class T>
TBinding box(const char* control, TBoundObject object, const char* property, void (T::*setter)(bool),
             bool (T::*getter)() const) {
    TBinding binding{QLatin1String(control), object, QLatin1String(property), false, {}, {}};
    binding.setFlag = [setter](TDataComponent& data, bool value) {
        if (auto* typed = dynamic_cast<T*>(&data))
            (typed->*setter)(value);
    };
    binding.flag = [getter](const TDataComponent& data) {
        const auto* typed = dynamic_cast<const T*>(&data);
        return typed && (typed->*getter)();
    };
    return binding;
}

std::vector<TBinding> makeTable() {
    std::vector<TBinding> t;
    t.push_back({QStringLiteral("EditOrderCaption"), boOrder, QStringLiteral("Caption"), false, {}, {}});
    t.push_back({QStringLiteral("EditOrderDateCreate"), boOrder, QStringLiteral("DateCreate"), true, {}, {}});
    t.push_back({QStringLiteral("MemoOrderNote1"), boOrder, QStringLiteral("Note1"), false, {}, {}});
    t.push_back({QStringLiteral("MemoOrderNote2"), boOrder, QStringLiteral("Note2"), false, {}, {}});
    t.push_back(
        {QStringLiteral("EditOrderCustomerCaption"), boCustomer, QStringLiteral("Caption"), false, {}, {}});
    add(t, "EditOrderCustomer", boCustomer,
        {"Street", "ZIP", "Town", "INO", "TIN", "Person", "Phone", "Email", "Note"}, false);
    add(t, "EditMaterial", boMaterial, {"Caption", "Note"}, false);
    add(t, "EditMaterial", boMaterial, {"Price", "VATRate", "CutWidth", "MinRecyArea", "MinRecyDim"}, true);
    t.push_back(
        {QStringLiteral("EditSetupSupplierCaption"), boSupplier, QStringLiteral("Caption"), false, {}, {}});
    add(t, "EditSetupSupplier", boSupplier,
        {"Street", "ZIP", "Town", "INO", "TIN", "Person", "Phone", "Email", "WWW"}, false);
    t.push_back({QStringLiteral("MemoSetupSupplierNote"), boSupplier, QStringLiteral("Note"), false, {}, {}});
    t.push_back({QStringLiteral("EditSetupSupplierLogoFileName"),
                 boSetup,
                 QStringLiteral("SupplierLogoFileName"),
                 false,
                 {},
                 {}});
    t.push_back(
        {QStringLiteral("EditSetupOrderPrefix"), boSetup, QStringLiteral("OrderPrefix"), false, {}, {}});
    t.push_back(
        {QStringLiteral("EditSetupOrderNumber"), boSetup, QStringLiteral("OrderNumber"), true, {}, {}});
    t.push_back(
        {QStringLiteral("EditSetupZeroVATValue"), boSetup, QStringLiteral("VATZeroValue"), true, {}, {}});
    t.push_back(
        {QStringLiteral("EditSetupLowVATValue"), boSetup, QStringLiteral("VATLowValue"), true, {}, {}});
    t.push_back(
        {QStringLiteral("EditSetupHighVATValue"), boSetup, QStringLiteral("VATHighValue"), true, {}, {}});
    t.push_back({QStringLiteral("EditSetupSheetsMaxCutLength"),
                 boSetup,
                 QStringLiteral("SheetsMaxCutLength"),
                 true,
                 {},
                 {}});
    t.push_back({QStringLiteral("EditSetupSheetsImproveTime"),
                 boSetup,
                 QStringLiteral("SheetsImproveTime"),
                 true,
                 {},
                 {}});
    add(t, "EditOrder", boOrder, {"PriceTotalwoVAT", "PriceTotalwVAT"}, false);
    add(t, "EditMaterial", boMaterial, {"Amount", "TotalPrice"}, false);
    t.push_back({QStringLiteral("EditPartsTotalArea"), boPartList, QStringLiteral("Area"), false, {}, {}});
    t.push_back(
        {QStringLiteral("EditPartsTotalCircuit"), boPartList, QStringLiteral("Circuit"), false, {}, {}});
    t.push_back(
        {QStringLiteral("EditPartsTotalCount"), boPartList, QStringLiteral("ValidItemCount"), false, {}, {}});
    add(t, "EditOrderItem", boOrderItem, {"Caption", "MU"}, false);
    add(t, "EditOrderItem", boOrderItem, {"Price", "VATRate", "Amount", "PriceTotal"}, true);
    t.push_back({QStringLiteral("EditPartsID"), boPart, QStringLiteral("ID"), false, {}, {}});
    add(t, "EditParts", boPart, {"Caption", "X", "Y", "Count"}, true);
    t.push_back({QStringLiteral("EditPartsOrient"), boPart, QStringLiteral("Orientation"), true, {}, {}});
    t.push_back({QStringLiteral("EditMaterialDimCaption"), boDim, QStringLiteral("Caption"), false, {}, {}});
    add(t, "EditMaterialDim", boDim, {"Y", "X", "Count", "Orientation"}, true);
    t.push_back(box("CBAddAutoPartsArea", boOrder, "AddAutoPartsArea", &TOrder::SetAddAutoPartsArea,
                    &TOrder::AddAutoPartsArea));
    t.push_back(box("CBAddAutoPartsCircuit", boOrder, "AddAutoPartsCircuit", &TOrder::SetAddAutoPartsCircuit,
                    &TOrder::AddAutoPartsCircuit));
    t.push_back(box("CBMaterialHasOrientation", boMaterial, "HasOrientation", &TMaterial::SetHasOrientation,
                    &TMaterial::HasOrientation));
    t.push_back(box("CBSheetsAddExtractToOrder", boSheets, "AddExtractToOrder",
                    &TSheets::SetAddExtractToOrder, &TSheets::AddExtractToOrder));
    t.push_back(box("CBSetupSheetsErlangeFont", boSetup, "SheetsErlangeFont", &TSetup::SetSheetsErlangeFont,
                    &TSetup::SheetsErlangeFont));
    t.push_back(box("CBSetupSheetsShowCaptionsOnParts", boSetup, "SheetsShowCaptionsOnParts",
                    &TSetup::SetSheetsShowCaptionsOnParts, &TSetup::SheetsShowCaptionsOnParts));
    t.push_back(box("CBSetupSheetsImprove", boSetup, "SheetsImprove", &TSetup::SetSheetsImprove,
                    &TSetup::SheetsImprove));
    t.push_back(box("CBMaterialDimIsRest", boDim, "IsRest", &TDimension::SetIsRest, &TDimension::IsRest));
    t.push_back(
        box("CBMaterialDimIsDefault", boDim, "IsDefault", &TDimension::SetIsDefault, &TDimension::IsDefault));
    t.push_back(box("CBMaterialDimIsPrefered", boDim, "IsPrefered", &TDimension::SetIsPrefered,
                    &TDimension::IsPrefered));
    t.push_back(
        box("CBMaterialDimIsStopped", boDim, "IsStopped", &TDimension::SetIsStopped, &TDimension::IsStopped));
    t.push_back(box("CBSetupSupplierIsNotVATPayer", boSupplier, "IsNotVATPayer", &TAddress::SetIsNotVATPayer,
                    &TAddress::IsNotVATPayer));
    // The VAT boxes change a mode: the order converts its prices, the material keeps its price.
    TBinding orderVAT{QStringLiteral("CBOrderVATMode"), boOrder, QStringLiteral("VATMode"), false, {}, {}};
    orderVAT.setFlag = [](TDataComponent& data, bool checked) {
        if (auto* order = dynamic_cast<TOrder*>(&data))
            order->ChangeVATMode(checked ? vmWithOutVAT : vmWithVAT);
    };
    orderVAT.flag = [](const TDataComponent& data) {
        const auto* order = dynamic_cast<const TOrder*>(&data);
        return order && order->VATMode() == vmWithOutVAT;
    };
    t.push_back(orderVAT);
    TBinding materialVAT{
        QStringLiteral("CBMaterialPriceIsWithVAT"), boMaterial, QStringLiteral("VATMode"), false, {}, {}};
    materialVAT.setFlag = [](TDataComponent& data, bool checked) {
        if (auto* material = dynamic_cast<TMaterial*>(&data))
            material->SetVATMode(checked ? vmWithVAT : vmWithOutVAT);
    };
    materialVAT.flag = [](const TDataComponent& data) {
        const auto* material = dynamic_cast<const TMaterial*>(&data);
        return material && material->VATMode() == vmWithVAT;
    };
    t.push_back(materialVAT);
    return t;
}

} // namespace

const std::vector<TBinding>& WindowBindings() {
    static const std::vector<TBinding> table = makeTable();
    return table;
}

bool IsNumberBinding(const TBinding& binding) {
    if (!binding.readBack || binding.IsFlag())
        return false;
    for (const char* text : {"DateCreate", "VATRate", "Orientation"})
        if (binding.property == QLatin1String(text))
            return false;
    return true;
}

} // namespace lintaro
