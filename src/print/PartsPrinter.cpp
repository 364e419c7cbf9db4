#include "print/PartsPrinter.h"

#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"

namespace lintaro {

TPartsPrinter::TPartsPrinter() : TDocumentPrinter(QStringLiteral("Parts")) {
    AddField(QStringLiteral("Caption"), 40);
    AddField(QStringLiteral("DateCreate"), 15);
    AddAddressFields(QStringLiteral("Customer"), false);
    AddAddressFields(QStringLiteral("Supplier"), false);
    AddField(QStringLiteral("PartsArea"), 20);
    AddField(QStringLiteral("PartsCircuit"), 20);
    AddField(QStringLiteral("PartsValidItemCount"), 10);
    AddField(QStringLiteral("PartCaption"), 40);
    AddField(QStringLiteral("PartX"), 20);
    AddField(QStringLiteral("PartY"), 20);
    AddField(QStringLiteral("PartOrientation"), 5);
    AddField(QStringLiteral("PartCount"), 10);
    AddField(QStringLiteral("PartArea"), 20);
    AddField(QStringLiteral("PartCircuit"), 20);
    AddField(QStringLiteral("MaterialCaption"), 40);
    AddField(QStringLiteral("MaterialCutWidth"), 20);
    AddField(QStringLiteral("MaterialPricewoVAT"), 20);
    AddField(QStringLiteral("MaterialPricewVAT"), 20);
    AddField(QStringLiteral("MaterialVATRate"), 10);
    AddAreaUnitField();
}

QStringList TPartsPrinter::Rows() const {
    QStringList rows;
    if (!Order)
        return rows;
    const TPartList* parts = Order->Parts();
    for (int i = 0; i < parts->ItemCount(); ++i) {
        const auto* part = static_cast<const TPart*>(parts->Item(i));
        if (part->Area().raw() != 0)
            rows << QString::number(part->ID());
    }
    return rows;
}

QList<TDocumentPrinter::TSource> TPartsPrinter::Sources() const {
    using Object = const TDataComponent*;
    return {
        {QStringLiteral("DBPartsParts"), [this]() -> Object { return Order ? Order->Parts() : nullptr; }},
        {QStringLiteral("DBPartsPart"), [this] { return RowItem(Order ? Order->Parts() : nullptr); }},
        {QStringLiteral("DBPartsCustomer"),
         [this]() -> Object { return Order ? Order->Customer() : nullptr; }},
        {QStringLiteral("DBPartsSupplier"),
         []() -> Object { return TApplicationLinks::Setup()->Supplier(); }},
        {QStringLiteral("DBPartsMaterial"),
         [this]() -> Object { return Order ? Order->Material() : nullptr; }},
        {QStringLiteral("DBParts"), [this]() -> Object { return Order; }},
    };
}

} // namespace lintaro
