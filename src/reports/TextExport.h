#pragma once
// Text output of built pages, for the text export and for text-only printers: each page becomes a
// grid of character rows (the template's character and line pitch) holding the text elements; graphic
// elements are left out. The text is encoded in the export code page by iconv, or, for plain ASCII,
// by taking the accents off through Unicode decomposition.
#include "reports/SestVystup.h"
#include "reports/Sestava.h"

#include <QByteArray>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QIODevice;
QT_END_NAMESPACE

namespace lintaro {

class TReportProgress;

// Characters per inch (10, 12, 17) and rows per inch (6, 4, 3) of the grid's pitch codes.
int CharsPerInch(int charPitch);
int RowsPerInch(int linePitch);

// The rows of one page, blanks at their ends taken off and empty rows at the end left out.
QStringList PageAsTextRows(const TStranaPrvku& page, const TPageSetup& setup, const TDesignGrid& grid);

// text in the code page; false with the reason when the code page is not available (Kamenický,
// CP867, has no converter on this system) or the conversion fails. slUndefined gives UTF-8.
bool EncodeExportText(const QString& text, TExportLanguage language, QByteArray& bytes, QString& error);

// Characters a text output holds at most: a page of the widest grid holds 4 million (1 200 rows of
// 3 400), so a few hundred pages of text reaching the far edge would otherwise take gigabytes; three
// thousand full pages of 80 columns stay inside.
constexpr qsizetype kMaxTextChars = 16 * 1024 * 1024;

// Pages StartPage..EndPage (clamped) PrintCopies times, each page's rows ended by lineEnd and the page
// by a form feed, encoded in the export code page. Result 0; 3 when progress is cancelled (it is asked
// between elements); 6 with the reason when encoding fails or the text would exceed maxChars.
int PagesAsText(const TSestava& report, const TSestVystup& output, TReportProgress* progress,
                const QByteArray& lineEnd, QByteArray& bytes, QString& error,
                qsizetype maxChars = kMaxTextChars);

// Writes PagesAsText with line feeds to device. Result 0, 3 when cancelled (nothing is written), or 6
// with the reason when encoding or writing fails.
int ExportText(const TSestava& report, const TSestVystup& output, QIODevice& device, QString& error,
               TReportProgress* progress = nullptr);

} // namespace lintaro
