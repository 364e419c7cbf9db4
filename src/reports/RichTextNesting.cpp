#include "reports/RichTextNesting.h"

#include <algorithm>
#include <vector>

namespace lintaro {

namespace {

// Elements that never hold others: they do not open a level.
bool isVoid(const QString& name) {
    static const char* const names[] = {"br",   "img",  "hr",    "meta",   "link", "input", "col",
                                        "area", "base", "param", "source", "wbr",  "embed", "track"};
    for (const char* n : names)
        if (name == QLatin1String(n))
            return true;
    return false;
}

bool isCell(const QString& name) {
    return name == QLatin1String("td") || name == QLatin1String("th");
}

struct TOpen {
    QString name;
    bool kept = true;
};

class TNestingBound {
public:
    explicit TNestingBound(const QString& html) : html_(html) { out_.reserve(html.size()); }

    QString Result() {
        qsizetype i = 0;
        const qsizetype n = html_.size();
        while (i < n) {
            const qsizetype lt = html_.indexOf(u'<', i);
            if (lt < 0) {
                out_ += QStringView(html_).mid(i);
                break;
            }
            out_ += QStringView(html_).mid(i, lt - i);
            if (html_.mid(lt, 4) == QLatin1String("<!--")) {
                const qsizetype end = html_.indexOf(QLatin1String("-->"), lt + 4);
                const qsizetype stop = end < 0 ? n : end + 3;
                out_ += QStringView(html_).mid(lt, stop - lt);
                i = stop;
                continue;
            }
            const qsizetype gt = html_.indexOf(u'>', lt + 1);
            if (gt < 0) {
                out_ += QStringView(html_).mid(lt);
                break;
            }
            tag(QStringView(html_).mid(lt, gt - lt + 1));
            i = gt + 1;
        }
        return changed_ ? out_ : html_;
    }

private:
    // One tag, "<" to ">" included.
    void tag(QStringView text) {
        qsizetype p = 1;
        const bool closing = p < text.size() && text[p] == u'/';
        if (closing)
            ++p;
        qsizetype e = p;
        while (e < text.size() && (text[e].isLetterOrNumber() || text[e] == u'-' || text[e] == u':'))
            ++e;
        const QString name = text.mid(p, e - p).toString().toLower();
        const bool selfClosing = text.size() >= 2 && text[text.size() - 2] == u'/';
        if (name.isEmpty() || (!closing && (isVoid(name) || selfClosing))) {
            out_ += text;
            return;
        }
        if (closing)
            close(name, text);
        else
            open(name, text);
    }

    void open(const QString& name, QStringView text) {
        // Cells, rows, list items and paragraphs end the one before them without a closing tag.
        if (isCell(name) || name == QLatin1String("tr"))
            while (!stack_.empty() &&
                   (isCell(stack_.back().name) ||
                    (name == QLatin1String("tr") && stack_.back().name == QLatin1String("tr"))))
                pop();
        else if ((name == QLatin1String("li") || name == QLatin1String("p")) && !stack_.empty() &&
                 stack_.back().name == name)
            pop();
        const bool table = name == QLatin1String("table");
        const bool tooDeep = static_cast<int>(stack_.size()) >= kMaxRichTextDepth ||
                             (table && tables_ >= kMaxRichTextTables) ||
                             ((isCell(name) || name == QLatin1String("tr")) && droppedTables_ > 0);
        TOpen entry{name, !tooDeep};
        if (table && tooDeep)
            ++droppedTables_;
        else if (table)
            ++tables_;
        if (entry.kept)
            out_ += text;
        else
            changed_ = true;
        stack_.push_back(std::move(entry));
    }

    void close(const QString& name, QStringView text) {
        // The nearest open element of that name, looked for a few levels down only: a stray closing
        // tag costs no walk through the whole stack.
        constexpr size_t kLookDown = 8;
        size_t found = stack_.size();
        for (size_t k = 0; k < std::min(kLookDown, stack_.size()); ++k)
            if (stack_[stack_.size() - 1 - k].name == name) {
                found = stack_.size() - 1 - k;
                break;
            }
        if (found == stack_.size()) {
            // Not open (or too far down): passed on unless we are leaving tags out here.
            if (static_cast<int>(stack_.size()) < kMaxRichTextDepth && droppedTables_ == 0)
                out_ += text;
            else
                changed_ = true;
            return;
        }
        while (stack_.size() > found + 1)
            pop();
        pop(&text);
    }

    // Ends the innermost open element: with its own closing tag when given and kept, else with what
    // the layout would make of it; a left-out cell or row still separates its text from the next.
    void pop(const QStringView* text = nullptr) {
        const TOpen top = std::move(stack_.back());
        stack_.pop_back();
        if (top.name == QLatin1String("table"))
            --(top.kept ? tables_ : droppedTables_);
        if (top.kept) {
            if (text)
                out_ += *text;
            return;
        }
        // One separator where several left-out levels end together.
        const bool afterBreak = out_.endsWith(QLatin1String("<br>"));
        if (isCell(top.name) && !afterBreak && !out_.endsWith(u' '))
            out_ += u' ';
        else if ((top.name == QLatin1String("tr") || top.name == QLatin1String("table")) && !afterBreak)
            out_ += QLatin1String("<br>");
    }

    const QString& html_;
    QString out_;
    std::vector<TOpen> stack_;
    int tables_ = 0;
    int droppedTables_ = 0;
    bool changed_ = false;
};

} // namespace

QString BoundRichTextNesting(const QString& html) {
    return TNestingBound(html).Result();
}

} // namespace lintaro
