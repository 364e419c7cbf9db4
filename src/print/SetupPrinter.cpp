#include "print/SetupPrinter.h"

#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Setup.h"

namespace lintaro {

TSetupPrinter::TSetupPrinter() : TDocumentPrinter(QStringLiteral("Setup")) {
    AddAddressFields(QStringLiteral("Supplier"), true);
    AddField(QStringLiteral("SupplierLogoFileName"), 80);
    const struct {
        const char* name;
        int size;
    } fields[] = {{"MaterialCutWidth", 20},
                  {"MaterialHasOrientation", 10},
                  {"MaterialMinRecyArea", 20},
                  {"MaterialMinRecyDim", 20},
                  {"MaterialPrice", 20},
                  {"MaterialVATMode", 10},
                  {"MaterialVATRate", 10},
                  {"OrderAddAutoPartsArea", 10},
                  {"OrderAddAutoPartsCircuit", 10},
                  {"OrderNote1", 255},
                  {"OrderNote2", 255},
                  {"OrderNumber", 10},
                  {"OrderPrefix", 40},
                  {"OrderVATMode", 10},
                  {"PartOrientation", 10},
                  {"VATZeroValue", 10},
                  {"VATLowValue", 10},
                  {"VATHighValue", 10},
                  {"SheetsAddExtractToOrder", 10},
                  {"SheetsZoom", 10},
                  {"SheetsErlangeFont", 10},
                  {"SheetsShowCaptionsOnParts", 10}};
    for (const auto& f : fields)
        AddField(QString::fromLatin1(f.name), f.size);
    AddAreaUnitField();
}

QList<TDocumentPrinter::TSource> TSetupPrinter::Sources() const {
    using Object = const TDataComponent*;
    // The logo's file is a property of the settings, not of the supplier's address.
    return {
        {QStringLiteral("DBSetupSupplierLogoFileName"), []() -> Object { return TApplicationLinks::Setup(); },
         QStringLiteral("SupplierLogoFileName")},
        {QStringLiteral("DBSetupSupplier"),
         []() -> Object { return TApplicationLinks::Setup()->Supplier(); }},
        {QStringLiteral("DBSetup"), []() -> Object { return TApplicationLinks::Setup(); }},
    };
}

} // namespace lintaro
