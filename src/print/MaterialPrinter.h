#pragma once
// The material with its stock dimensions: the material's data, one row per dimension (dimensions
// whose area is not above zero are left out) and the supplier. Template "ReportMaterial".
#include "print/DocumentPrinter.h"

namespace lintaro {

class TMaterial;

class TMaterialPrinter : public TDocumentPrinter {
public:
    TMaterialPrinter();
    // Not owned.
    TMaterial* Material = nullptr;

    QString SectionName() const override { return QStringLiteral("ReportMaterial"); }
    bool HasSubject() const override { return Material != nullptr; }
    QStringList Rows() const override;

protected:
    QList<TSource> Sources() const override;
};

} // namespace lintaro
