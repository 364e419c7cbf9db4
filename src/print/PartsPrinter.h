#pragma once
// The parts list of an order for the workshop: order, customer and supplier, the material, one row
// per part (parts with zero area are left out) and the list's totals. Template "ReportParts".
#include "print/DocumentPrinter.h"

namespace lintaro {

class TOrder;

class TPartsPrinter : public TDocumentPrinter {
public:
    TPartsPrinter();
    // Not owned.
    TOrder* Order = nullptr;

    QString SectionName() const override { return QStringLiteral("ReportParts"); }
    bool HasSubject() const override { return Order != nullptr; }
    QStringList Rows() const override;

protected:
    QList<TSource> Sources() const override;
};

} // namespace lintaro
