#include "app/window/Bindings.h"

namespace lintaro {

namespace {

void add(std::vector<TBinding>& table, const char* prefix, TBoundObject object,
         std::initializer_list<const char*> properties, bool readBack) {
    for (const char* property : properties)
        table.push_back(
            {QLatin1String(prefix) + QLatin1String(property), object, QLatin1String(property), readBack});
}

std::vector<TBinding> makeTable() {
    std::vector<TBinding> t;
    t.push_back({QStringLiteral("EditOrderCaption"), boOrder, QStringLiteral("Caption"), false});
    t.push_back({QStringLiteral("EditOrderDateCreate"), boOrder, QStringLiteral("DateCreate"), true});
    t.push_back({QStringLiteral("MemoOrderNote1"), boOrder, QStringLiteral("Note1"), false});
    t.push_back({QStringLiteral("MemoOrderNote2"), boOrder, QStringLiteral("Note2"), false});
    t.push_back({QStringLiteral("EditOrderCustomerCaption"), boCustomer, QStringLiteral("Caption"), false});
    add(t, "EditOrderCustomer", boCustomer,
        {"Street", "ZIP", "Town", "INO", "TIN", "Person", "Phone", "Email", "Note"}, false);
    t.push_back({QStringLiteral("CBAddAutoPartsArea"), boOrder, QStringLiteral("AddAutoPartsArea"), false});
    t.push_back(
        {QStringLiteral("CBAddAutoPartsCircuit"), boOrder, QStringLiteral("AddAutoPartsCircuit"), false});
    add(t, "EditMaterial", boMaterial, {"Caption", "Note"}, false);
    add(t, "EditMaterial", boMaterial, {"Price", "VATRate", "CutWidth", "MinRecyArea", "MinRecyDim"}, true);
    add(t, "CBMaterial", boMaterial, {"HasOrientation"}, false);
    t.push_back(
        {QStringLiteral("CBSheetsAddExtractToOrder"), boSheets, QStringLiteral("AddExtractToOrder"), false});
    t.push_back({QStringLiteral("EditSetupSupplierCaption"), boSupplier, QStringLiteral("Caption"), false});
    add(t, "EditSetupSupplier", boSupplier,
        {"Street", "ZIP", "Town", "INO", "TIN", "Person", "Phone", "Email", "WWW"}, false);
    t.push_back({QStringLiteral("MemoSetupSupplierNote"), boSupplier, QStringLiteral("Note"), false});
    t.push_back({QStringLiteral("EditSetupSupplierLogoFileName"), boSetup,
                 QStringLiteral("SupplierLogoFileName"), false});
    t.push_back({QStringLiteral("EditSetupOrderPrefix"), boSetup, QStringLiteral("OrderPrefix"), false});
    t.push_back({QStringLiteral("EditSetupOrderNumber"), boSetup, QStringLiteral("OrderNumber"), true});
    t.push_back({QStringLiteral("EditSetupZeroVATValue"), boSetup, QStringLiteral("VATZeroValue"), true});
    t.push_back({QStringLiteral("EditSetupLowVATValue"), boSetup, QStringLiteral("VATLowValue"), true});
    t.push_back({QStringLiteral("EditSetupHighVATValue"), boSetup, QStringLiteral("VATHighValue"), true});
    t.push_back(
        {QStringLiteral("EditSetupSheetsMaxCutLength"), boSetup, QStringLiteral("SheetsMaxCutLength"), true});
    t.push_back(
        {QStringLiteral("CBSetupSheetsErlangeFont"), boSetup, QStringLiteral("SheetsErlangeFont"), false});
    t.push_back({QStringLiteral("CBSetupSheetsShowCaptionsOnParts"), boSetup,
                 QStringLiteral("SheetsShowCaptionsOnParts"), false});
    t.push_back({QStringLiteral("CBSetupSheetsImprove"), boSetup, QStringLiteral("SheetsImprove"), false});
    t.push_back(
        {QStringLiteral("EditSetupSheetsImproveTime"), boSetup, QStringLiteral("SheetsImproveTime"), true});
    add(t, "EditOrder", boOrder, {"PriceTotalwoVAT", "PriceTotalwVAT"}, false);
    add(t, "EditMaterial", boMaterial, {"Amount", "TotalPrice"}, false);
    t.push_back({QStringLiteral("EditPartsTotalArea"), boPartList, QStringLiteral("Area"), false});
    t.push_back({QStringLiteral("EditPartsTotalCircuit"), boPartList, QStringLiteral("Circuit"), false});
    t.push_back({QStringLiteral("EditPartsTotalCount"), boPartList, QStringLiteral("ValidItemCount"), false});
    add(t, "EditOrderItem", boOrderItem, {"Caption", "MU"}, false);
    add(t, "EditOrderItem", boOrderItem, {"Price", "VATRate", "Amount", "PriceTotal"}, true);
    t.push_back({QStringLiteral("EditPartsID"), boPart, QStringLiteral("ID"), false});
    add(t, "EditParts", boPart, {"Caption", "X", "Y", "Count"}, true);
    t.push_back({QStringLiteral("EditPartsOrient"), boPart, QStringLiteral("Orientation"), true});
    t.push_back({QStringLiteral("EditMaterialDimCaption"), boDim, QStringLiteral("Caption"), false});
    add(t, "EditMaterialDim", boDim, {"Y", "X", "Count", "Orientation"}, true);
    add(t, "CBMaterialDim", boDim, {"IsRest", "IsDefault", "IsPrefered", "IsStopped"}, false);
    return t;
}

} // namespace

const std::vector<TBinding>& WindowBindings() {
    static const std::vector<TBinding> table = makeTable();
    return table;
}

} // namespace lintaro
