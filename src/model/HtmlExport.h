#pragma once
// The HTML export of an order: a page built from the HTML template store (LNTR.HTS) by filling in the
// tags "<%=lntr." name "%>" that name the order's, the customer's, the supplier's, the items' and the
// program's values, repeating the item block once per exported item and including further template
// sections. The program holds no HTML of its own; the page comes entirely from the templates.
//
// Values taken from the data (order, customer, supplier, items, parameter lines) are HTML-escaped,
// so that a customer named "A<B & Co" shows as it is, and they are not scanned for tags again: a
// value can never turn into a tag. Included sections and item blocks are template text and are
// scanned, so they may hold tags and further includes, up to MaxIncludeDepth levels.
//
// Ownership: THtmlExport and THtmlExportSource refer to the templates and the data objects without
// owning them; they must outlive the export.
//
// Failure: nothing here throws. A missing ".Page" or ".Item" section, a "Parameter" number outside
// the parameter lines, includes nested too deeply, a page grown beyond MaxPageLength, an empty page
// or a file that cannot be written make the export return false with ErrorString set; no file is
// written then, and an existing file stays as it was.
#include <QString>
#include <QStringList>

#include <vector>

namespace lintaro {

class TDataComponent;
class TINI;
class TOrder;

// What one export reads, every value through GetPropAsString. None of it is owned.
struct THtmlExportSource {
    const TDataComponent* order = nullptr;    // "Order." + property name
    const TDataComponent* customer = nullptr; // "Order.Customer" + property name
    const TDataComponent* supplier = nullptr; // "Order.Supplier" + property name
    // The exported items in list order, filled one per "OrderItem" block ("Order.Item" + name).
    std::vector<const TDataComponent*> items;
    // "Parameter" + n: line n, 0-based.
    QStringList parameters;
};

class THtmlExport {
public:
    // Deeper includes (a section including itself, directly or in a ring) fail the export.
    static constexpr int MaxIncludeDepth = 16;
    // In characters; a page growing beyond it (includes multiplying each other) fails the export.
    static constexpr qsizetype MaxPageLength = qsizetype(16) * 1024 * 1024;

    explicit THtmlExport(const TINI& templates) : templates_(templates) {}

    // The base name of the template set: "HTMLOrder" when the supplier is no VAT payer (its
    // "ISNOTVATPAYER" reads "1"), else "HTMLOrderwoVAT" when the order's "VATMODE" reads "1" (prices
    // without VAT), else "HTMLOrderwVAT".
    static QString TemplateSetName(const THtmlExportSource& source);

    // Fills the set's B ".Page" section with B ".Item" as the item block. False, with ErrorString
    // and page untouched, on any failure named above except the file ones; an empty page is true.
    bool BuildPage(const QString& baseName, const THtmlExportSource& source, QString& page);
    // Chooses the set, builds the page and writes it as UTF-8 (through a file beside the target,
    // renamed when complete). An empty page writes nothing and gives false.
    bool SaveToFile(const THtmlExportSource& source, const QString& fileName);

    // Why the last BuildPage or SaveToFile failed; empty after success.
    const QString& ErrorString() const { return errorString_; }

private:
    const TINI& templates_;
    QString errorString_;
};

// The text with "&", "<", ">", '"' and "'" written as character references.
QString HtmlEscape(const QString& text);

// The report parameter lines: the product name and the version "Major.Minor.Release.Build".
QStringList HtmlExportParameters();

// The order's part of the export: the order, its customer, the registered setup's supplier, the
// order's items without those whose total is 0 and whose caption is empty, and the parameter lines.
THtmlExportSource HtmlExportSourceOf(const TOrder& order);
// The export of the order from the program's HtmlTemplates into fileName; see THtmlExport.
bool SaveOrderToHTML(const TOrder& order, const QString& fileName, QString* errorString = nullptr);

} // namespace lintaro
