#pragma once
// Rich-text elements: the text is RTF (it starts with "{\rtf") or else Qt's rich-text HTML, laid out by
// Qt's rich-text document in the element's font, colour and alignment inside the element's width.
// A text taller than the room left on a page is cut between two lines and continues on the next.
#include <QRect>
#include <QString>
#include <QStringList>
#include <memory>

QT_BEGIN_NAMESPACE
class QPainter;
class QTextDocument;
QT_END_NAMESPACE

namespace lintaro {

struct TSiReportElement;

bool IsRtf(const QString& text);

// The RTF reader for the common formatting: paragraphs (\par, \line, \pard with \ql, \qr, \qc, \qj),
// \b, \i, \ul (\ulnone), \strike, \plain, font size \fs, colour \cf from the \colortbl, \tab, \'hh in the
// document's ANSI code page (\ansicpg, Windows-1252 unless given), \uN with \uc, the escaped \\ \{ \} and
// the typographic quotes and dashes. Font tables, style sheets, pictures, fields' instructions and every
// other destination are skipped; font faces and tables are not read. pixelsPerPoint sizes \fs.
QString RtfToHtml(const QString& rtf, double pixelsPerPoint);

class TRichText {
public:
    // Laid out for width hundredths of an inch.
    TRichText(const TSiReportElement& element, const QString& text, int width);
    ~TRichText();
    // The same layout, kept for the few texts laid out last: a text cut across many pages, measured
    // and drawn piece by piece, is laid out once rather than once for every piece.
    static std::shared_ptr<const TRichText> Shared(const TSiReportElement& element, const QString& text,
                                                   int width);

    // The height of the whole text, hundredths of an inch.
    int Height() const;
    // The lowest line end at or above limit (from the text's top), where a page may cut the text; 0
    // when not even the first line ends above it.
    int CutAt(int limit) const;
    // The lines that begin within [offset, offset + height), as plain text (for the character grid).
    QStringList PlainLines(int offset, int height) const;
    // Draws the part of the text from offset down into box; painter in hundredths of an inch.
    void Draw(QPainter& painter, const QRect& box, int offset, int colour) const;

private:
    std::unique_ptr<QTextDocument> doc_;
};

} // namespace lintaro
