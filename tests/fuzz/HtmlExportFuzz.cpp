// The HTML export with fuzzed templates and fuzzed values: the input up to its first NUL is the
// template store, the rest the order's caption, customer, item captions and parameter lines.
#include "FuzzSupport.h"
#include "foundation/Ini.h"
#include "model/Address.h"
#include "model/HtmlExport.h"
#include "model/Order.h"
#include "model/OrderItem.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    lintaro::fuzz::Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf('\0');
    lintaro::TINI templates;
    templates.LoadFromBytes(split < 0 ? input : input.left(split));
    const QStringList values =
        split < 0 ? QStringList() : QString::fromUtf8(input.mid(split + 1)).split(u'\n').mid(0, 16);

    lintaro::TOrder order;
    lintaro::THtmlExportSource source = lintaro::HtmlExportSourceOf(order);
    if (!values.isEmpty()) {
        order.SetCaption(values.value(0));
        order.Customer()->SetPropAsString(QStringLiteral("Name"), values.value(1));
        source.parameters = values.mid(2, 4);
    }
    lintaro::THtmlExport exporter(templates);
    QString page;
    for (const QString& set : {QStringLiteral("HTMLOrder"), QStringLiteral("HTMLOrderwVAT"),
                               lintaro::THtmlExport::TemplateSetName(source)})
        exporter.BuildPage(set, source, page);
    return 0;
}
