#pragma once
// The order as a document for the customer: supplier and customer, one row per priced order item
// (items without a caption and with a zero total are left out), the totals and the notes. The
// template depends on VAT: "ReportOrder" for a supplier who is not a VAT payer, else
// "ReportOrderwoVAT" or "ReportOrderwVAT" by the order's VAT mode.
#include "print/DocumentPrinter.h"

namespace lintaro {

class TOrder;

class TOrderPrinter : public TDocumentPrinter {
public:
    TOrderPrinter();
    // Not owned.
    TOrder* Order = nullptr;

    QString SectionName() const override;
    bool HasSubject() const override { return Order != nullptr; }
    QStringList Rows() const override;

protected:
    QList<TSource> Sources() const override;
};

} // namespace lintaro
