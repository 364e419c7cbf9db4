#include "print/OrderPrinter.h"

#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Order.h"
#include "model/OrderItem.h"
#include "model/Setup.h"

namespace lintaro {

TOrderPrinter::TOrderPrinter() : TDocumentPrinter(QStringLiteral("Order")) {
    AddField(QStringLiteral("Caption"), 40);
    AddField(QStringLiteral("DateCreate"), 15);
    AddField(QStringLiteral("Note1"), 1024);
    AddField(QStringLiteral("Note2"), 1024);
    AddField(QStringLiteral("PriceTotalwoVAT"), 20);
    AddField(QStringLiteral("PriceTotalwVAT"), 20);
    AddAddressFields(QStringLiteral("Customer"), false);
    AddAddressFields(QStringLiteral("Supplier"), false);
    AddField(QStringLiteral("ItemCaption"), 40);
    AddField(QStringLiteral("ItemAmount"), 12);
    AddField(QStringLiteral("ItemMU"), 10);
    AddField(QStringLiteral("ItemPrice"), 20);
    AddField(QStringLiteral("ItemPriceTotal"), 20);
    AddField(QStringLiteral("ItemVATRate"), 5);
}

QString TOrderPrinter::SectionName() const {
    if (TApplicationLinks::Setup()->Supplier()->IsNotVATPayer())
        return QStringLiteral("ReportOrder");
    if (Order && Order->VATMode() == vmWithOutVAT)
        return QStringLiteral("ReportOrderwoVAT");
    return QStringLiteral("ReportOrderwVAT");
}

QStringList TOrderPrinter::Rows() const {
    QStringList rows;
    if (!Order)
        return rows;
    const TOrderItemList* items = Order->OrderItems();
    for (int i = 0; i < items->ItemCount(); ++i) {
        const auto* item = static_cast<const TOrderItem*>(items->Item(i));
        if (item->Caption().isEmpty() && item->PriceTotal().raw() == 0)
            continue;
        rows << QString::number(item->ID());
    }
    return rows;
}

QList<TDocumentPrinter::TSource> TOrderPrinter::Sources() const {
    return {
        {QStringLiteral("DBOrderItem"), [this] { return RowItem(Order ? Order->OrderItems() : nullptr); }},
        {QStringLiteral("DBOrderCustomer"),
         [this]() -> const TDataComponent* { return Order ? Order->Customer() : nullptr; }},
        {QStringLiteral("DBOrderSupplier"),
         []() -> const TDataComponent* { return TApplicationLinks::Setup()->Supplier(); }},
        {QStringLiteral("DBOrder"), [this]() -> const TDataComponent* { return Order; }},
    };
}

} // namespace lintaro
