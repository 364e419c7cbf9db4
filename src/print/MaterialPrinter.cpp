#include "print/MaterialPrinter.h"

#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Setup.h"

namespace lintaro {

TMaterialPrinter::TMaterialPrinter() : TDocumentPrinter(QStringLiteral("Material")) {
    for (const char* name : {"Caption", "Amount", "CutWidth", "FileName", "HasOrientation", "MinRecyArea",
                             "MinRecyDim", "Note", "Price", "PriceIsWithVAT", "PricewoVAT", "PricewVAT",
                             "TotalPrice", "VATMode", "VATRate", "Version"}) {
        const QString field = QString::fromLatin1(name);
        const bool long255 = field == QLatin1String("FileName") || field == QLatin1String("Note");
        const bool flag =
            field == QLatin1String("HasOrientation") || field == QLatin1String("PriceIsWithVAT");
        AddField(field, long255 ? 255 : flag ? 10 : field == QLatin1String("Caption") ? 40 : 20);
    }
    const struct {
        const char* name;
        int size;
    } dims[] = {
        {"DimCaption", 20},   {"DimArea", 20},       {"DimCircuit", 20},     {"DimCount", 10},
        {"DimIsDefault", 10}, {"DimIsPrefered", 10}, {"DimIsRest", 10},      {"DimIsStopped", 10},
        {"DimIsRDPS", 40},    {"DimIsValid", 10},    {"DimOrientation", 10}, {"DimRestrictAreasItems", 255},
        {"DimX", 20},         {"DimY", 20}};
    for (const auto& d : dims)
        AddField(QString::fromLatin1(d.name), d.size);
    // The supplier heads the document as on the others; its VAT status decides the price columns.
    AddAddressFields(QStringLiteral("Supplier"), true);
    AddAreaUnitField();
}

QStringList TMaterialPrinter::Rows() const {
    QStringList rows;
    if (!Material)
        return rows;
    const TDimensionList* dims = Material->Dims();
    for (int i = 0; i < dims->ItemCount(); ++i) {
        const auto* dim = static_cast<const TDimension*>(dims->Item(i));
        if (dim->Area().raw() > 0)
            rows << QString::number(dim->ID());
    }
    return rows;
}

QList<TDocumentPrinter::TSource> TMaterialPrinter::Sources() const {
    using Object = const TDataComponent*;
    return {
        {QStringLiteral("DBMaterialDim"), [this] { return RowItem(Material ? Material->Dims() : nullptr); }},
        {QStringLiteral("DBMaterialSupplier"),
         []() -> Object { return TApplicationLinks::Setup()->Supplier(); }},
        {QStringLiteral("DBMaterial"), [this]() -> Object { return Material; }},
    };
}

} // namespace lintaro
