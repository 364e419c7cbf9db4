#include "model/HtmlExport.h"

#include "foundation/DataComponent.h"
#include "foundation/Ini.h"
#include "foundation/Program.h"
#include "foundation/TextFile.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Order.h"
#include "model/OrderItem.h"
#include "model/Setup.h"

#include <algorithm>

namespace lintaro {

namespace {

const QString kOpening = QStringLiteral("<%=lntr.");
const QString kClosing = QStringLiteral("%>");

// A section's text: its lines, each followed by CR LF. None when the section is missing.
bool SectionText(const TINI& templates, const QString& name, QString& text) {
    const QStringList* lines = templates.FindSection(name);
    if (!lines)
        return false;
    text.clear();
    for (const QString& line : *lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return true;
}

QString PropOf(const TDataComponent* object, const QString& name) {
    return object ? object->GetPropAsString(name) : QString();
}

// One run of the tag scan over a page.
//
// The text is split into the finished output (left) and the text still to scan (right, from pos_).
// Every tag is met at the first opening of the text still to scan. A data value goes to the output,
// where it is never scanned again; template text (an include, an item block) goes in front of the
// text still to scan, so that it is scanned next. When a tag is deleted or replaced by template
// text, the few characters of the output that could begin an opening together with what follows are
// taken back for scanning, as the text around the tag now joins up; a data value's characters are
// never taken back.
//
// The include depth of the text still to scan is kept as a stack of regions, each the text of one
// include, its end counted from the end of the text still to scan (which changes only at its front,
// so that count stays valid).
class TTagScanner {
public:
    TTagScanner(const TINI& templates, const THtmlExportSource& source, const QString& itemBlock)
        : templates_(templates), source_(source), itemBlock_(itemBlock) {}

    bool Run(const QString& page, QString& result, QString& error) {
        rest_ = page;
        while (true) {
            const qsizetype p = rest_.indexOf(kOpening, pos_);
            if (p < 0) {
                out_.append(QStringView(rest_).sliced(pos_));
                break;
            }
            out_.append(QStringView(rest_).sliced(pos_, p - pos_));
            if (!Tag(p, error))
                return false;
            if (out_.size() + rest_.size() - pos_ > THtmlExport::MaxPageLength) {
                error = QStringLiteral("The HTML page grows beyond %1 characters; the templates include "
                                       "too much.")
                            .arg(THtmlExport::MaxPageLength);
                return false;
            }
        }
        result = out_;
        return true;
    }

private:
    struct TRegion {
        qsizetype remainingAfter; // characters of the text still to scan after the region's end
        int depth;                // include depth of the text inside the region
    };

    bool Tag(qsizetype p, QString& error) {
        while (!regions_.empty() && rest_.size() - regions_.back().remainingAfter <= p)
            regions_.pop_back();
        const int depth = regions_.empty() ? 0 : regions_.back().depth;

        const qsizetype nameStart = p + kOpening.size();
        const qsizetype close = rest_.indexOf(kClosing, nameStart);
        if (close < 0) {
            // Without a closing only the opening goes; the rest stays as literal text.
            Replace(nameStart, QString(), -1);
            return true;
        }
        const qsizetype tagEnd = close + kClosing.size();
        const QString name = rest_.sliced(nameStart, close - nameStart);
        const QString key = name.toUpper();

        if (key == QLatin1String("ORDERITEM")) {
            if (nextItem_ < source_.items.size()) {
                current_ = source_.items[nextItem_++];
                // The block goes in front of the tag, which stays and is met again after the block.
                Replace(p, itemBlock_, -1);
            } else {
                current_ = nullptr;
                Replace(tagEnd, QString(), -1);
            }
        } else if (current_ && key.startsWith(QLatin1String("ORDER.ITEM"))) {
            Value(PropOf(current_, key.sliced(10)), tagEnd);
        } else if (key.startsWith(QLatin1String("ORDER.CUSTOMER"))) {
            Value(PropOf(source_.customer, key.sliced(14)), tagEnd);
        } else if (key.startsWith(QLatin1String("ORDER.SUPPLIER"))) {
            Value(PropOf(source_.supplier, key.sliced(14)), tagEnd);
        } else if (key.startsWith(QLatin1String("ORDER."))) {
            Value(PropOf(source_.order, key.sliced(6)), tagEnd);
        } else if (key.startsWith(QLatin1String("PARAMETER"))) {
            bool ok = false;
            int n = key.sliced(9).toInt(&ok);
            if (!ok)
                n = 0;
            const QStringList& lines = source_.parameters;
            if (n < 0 || n >= lines.size()) {
                error = lines.isEmpty()
                            ? QStringLiteral("The HTML template asks for parameter line %1, but there are "
                                             "no parameter lines.")
                                  .arg(n)
                            : QStringLiteral("The HTML template asks for parameter line %1, but there are "
                                             "only the lines 0 to %2.")
                                  .arg(n)
                                  .arg(lines.size() - 1);
                return false;
            }
            Value(lines[n], tagEnd);
        } else if (key.size() >= 7 && key.startsWith(QLatin1String("HTMLS[")) &&
                   key.endsWith(QLatin1Char(']'))) {
            const QString sectionName = name.sliced(6, name.size() - 7);
            QString text;
            if (!SectionText(templates_, sectionName, text)) {
                Replace(tagEnd, QString(), -1);
            } else if (depth >= THtmlExport::MaxIncludeDepth) {
                error = QStringLiteral("The HTML template section \"%1\" is included more than %2 levels "
                                       "deep; a section probably includes itself.")
                            .arg(sectionName)
                            .arg(THtmlExport::MaxIncludeDepth);
                return false;
            } else {
                Replace(tagEnd, text, depth + 1);
            }
        } else {
            // Unknown names, the empty name among them.
            Replace(tagEnd, QString(), -1);
        }
        return true;
    }

    // A data value replaces the tag in the output, escaped; it is not scanned.
    void Value(const QString& value, qsizetype tagEnd) {
        out_ += HtmlEscape(value);
        protectedEnd_ = out_.size();
        pos_ = tagEnd;
    }

    // The text still to scan from the tag's opening to `to` is replaced by template text (or removed). A
    // region of include depth regionDepth is opened for the inserted text unless regionDepth is negative.
    void Replace(qsizetype to, const QString& text, int regionDepth) {
        const qsizetype takeBack = PendingOpeningLength();
        if (text.isEmpty() && takeBack == 0) {
            pos_ = to;
            return;
        }
        const qsizetype remainingAfter = rest_.size() - to;
        QString next;
        next.reserve(takeBack + text.size() + remainingAfter);
        next += QStringView(out_).right(takeBack);
        next += text;
        next += QStringView(rest_).sliced(to);
        out_.chop(takeBack);
        rest_ = std::move(next);
        pos_ = 0;
        if (regionDepth >= 0) {
            // Regions that ended inside the replaced tag are over.
            while (!regions_.empty() && regions_.back().remainingAfter >= remainingAfter)
                regions_.pop_back();
            regions_.push_back({remainingAfter, regionDepth});
        }
    }

    // How many characters at the end of the output (after the last data value) are the beginning
    // of an opening.
    qsizetype PendingOpeningLength() const {
        const qsizetype most = std::min<qsizetype>(out_.size() - protectedEnd_, kOpening.size() - 1);
        for (qsizetype k = most; k > 0; --k)
            if (QStringView(out_).right(k) == QStringView(kOpening).left(k))
                return k;
        return 0;
    }

    const TINI& templates_;
    const THtmlExportSource& source_;
    const QString& itemBlock_;

    QString out_;
    qsizetype protectedEnd_ = 0;
    QString rest_;
    qsizetype pos_ = 0;
    std::vector<TRegion> regions_;
    std::size_t nextItem_ = 0;
    const TDataComponent* current_ = nullptr;
};

} // namespace

QString HtmlEscape(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            result += QLatin1String("&amp;");
            break;
        case u'<':
            result += QLatin1String("&lt;");
            break;
        case u'>':
            result += QLatin1String("&gt;");
            break;
        case u'"':
            result += QLatin1String("&quot;");
            break;
        case u'\'':
            result += QLatin1String("&#39;");
            break;
        default:
            result += c;
        }
    }
    return result;
}

QStringList HtmlExportParameters() {
    const TVersionInfo& v = Version();
    return {v.ProductName,
            QStringLiteral("%1.%2.%3.%4").arg(v.Major).arg(v.Minor).arg(v.Release).arg(v.Build)};
}

QString THtmlExport::TemplateSetName(const THtmlExportSource& source) {
    if (PropOf(source.supplier, QStringLiteral("ISNOTVATPAYER")) == QLatin1String("1"))
        return QStringLiteral("HTMLOrder");
    if (PropOf(source.order, QStringLiteral("VATMODE")) == QLatin1String("1"))
        return QStringLiteral("HTMLOrderwoVAT");
    return QStringLiteral("HTMLOrderwVAT");
}

bool THtmlExport::BuildPage(const QString& baseName, const THtmlExportSource& source, QString& page) {
    errorString_.clear();
    QString pageText;
    QString itemBlock;
    for (const auto& [name, text] :
         {std::pair<QString, QString*>{baseName + QStringLiteral(".Page"), &pageText},
          std::pair<QString, QString*>{baseName + QStringLiteral(".Item"), &itemBlock}}) {
        if (!SectionText(templates_, name, *text)) {
            errorString_ = QStringLiteral("The HTML templates have no section \"%1\".").arg(name);
            return false;
        }
    }
    TTagScanner scanner(templates_, source, itemBlock);
    return scanner.Run(pageText, page, errorString_);
}

bool THtmlExport::SaveToFile(const THtmlExportSource& source, const QString& fileName) {
    QString page;
    if (!BuildPage(TemplateSetName(source), source, page))
        return false;
    if (page.isEmpty()) {
        errorString_ = QStringLiteral("The HTML page is empty; nothing was written.");
        return false;
    }
    QString error;
    if (!WriteFileAtomically(fileName, page.toUtf8(), &error)) {
        errorString_ = QStringLiteral("Cannot write the file \"%1\": %2").arg(fileName, error);
        return false;
    }
    return true;
}

THtmlExportSource HtmlExportSourceOf(const TOrder& order) {
    THtmlExportSource source;
    source.order = &order;
    source.customer = order.Customer();
    source.supplier = TApplicationLinks::Setup()->Supplier();
    const TOrderItemList* list = order.OrderItems();
    for (int i = 0; i < list->ItemCount(); ++i) {
        const TOrderItem* item = list->OrderItem(i);
        // The empty lines every order keeps for typing are left out.
        if (!item || (item->PriceTotal() == Currency() && item->Caption().isEmpty()))
            continue;
        source.items.push_back(item);
    }
    source.parameters = HtmlExportParameters();
    return source;
}

bool SaveOrderToHTML(const TOrder& order, const QString& fileName, QString* errorString) {
    THtmlExport exporter(HtmlTemplates());
    const bool ok = exporter.SaveToFile(HtmlExportSourceOf(order), fileName);
    if (errorString)
        *errorString = exporter.ErrorString();
    return ok;
}

} // namespace lintaro
