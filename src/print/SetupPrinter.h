#pragma once
// The program's settings as a document: the supplier with its logo file and every default of
// materials, orders, parts and sheets. The dataset has no rows; the template prints header data
// only. Template "ReportSetup".
#include "print/DocumentPrinter.h"

namespace lintaro {

class TSetupPrinter : public TDocumentPrinter {
public:
    TSetupPrinter();

    QString SectionName() const override { return QStringLiteral("ReportSetup"); }
    bool HasSubject() const override { return true; }
    QStringList Rows() const override { return {}; }

protected:
    QList<TSource> Sources() const override;
};

} // namespace lintaro
