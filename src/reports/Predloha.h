#pragma once
// A report template: the ordered text lines that describe the page set-up, sections, groups, user
// functions and elements, and the field rules of one line.
#include <QString>
#include <QStringList>

namespace lintaro {

class TPredloha {
public:
    TPredloha() = default;
    explicit TPredloha(QStringList lines) : lines_(std::move(lines)) {}

    const QStringList& Lines() const { return lines_; }
    void SetLines(const QStringList& lines) { lines_ = lines; }
    bool IsEmpty() const { return lines_.isEmpty(); }
    void Clear() { lines_.clear(); }

    // The lines of a text; CR LF, LF and CR all end a line, and a final line break adds no line.
    static TPredloha FromText(const QString& text);
    // The lines joined with CR LF, the last one ended too.
    QString Text() const;

    bool operator==(const TPredloha&) const = default;

private:
    QStringList lines_;
};

// The fields of one template line. A field that begins with a double quote is quoted: a doubled
// quote inside stands for one quote, a single one ends the quoting, and what follows up to the next
// comma still belongs to the field.
QStringList SplitTemplateLine(const QString& line);
// text in quotes with every quote doubled; line breaks become "¶" so the text stays on one line.
QString QuoteTemplateText(const QString& text);
// Field index as an integer; missing, empty or not a number gives def.
int TemplateInt(const QStringList& fields, int index, int def = 0);
// The largest length a template may give, in hundredths of an inch: 200 inches, the largest page a
// PDF can hold. Positions and sizes within it add up without overflow.
constexpr int kMaxTemplateLength = 20000;
// TemplateInt brought into min..max (a number beyond them becomes the nearer end).
int TemplateIntIn(const QStringList& fields, int index, int def, int min, int max);
// A position or size: TemplateIntIn bounded by kMaxTemplateLength on both sides.
int TemplateLength(const QStringList& fields, int index, int def = 0);
// Field index as text ("¶" back to line breaks); missing gives an empty text.
QString TemplateText(const QStringList& fields, int index);

} // namespace lintaro
