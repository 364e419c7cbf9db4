#pragma once
// How the document printers reach what shows a report: the print preview (from which the user
// prints) and the template designer. Both are widgets, so the printers only know this interface; the
// window registers its preview and designer, the batch tool a writer that prints straight to a PDF
// file, a text file or a printer.
#include <QStringList>

namespace lintaro {

class TSestava;

class TPrintHost {
public:
    virtual ~TPrintHost() = default;
    // Shows the report, modally, with its template loaded and its data open. printerIndex is the
    // chosen printer (an index of PrinterNames()); the host may change it and the report's
    // PrintCopies, and the printer keeps both for the next time.
    virtual void Preview(TSestava& report, int& printerIndex) = 0;
    // Opens the template designer on the report; saving goes through the report's UlozPredlohu.
    virtual void Design(TSestava& report) = 0;
    // The report's parameter lines; by default ReportParameterLines().
    virtual void FillParameters(QStringList& lines);
};

// The host the printers use; none registered: previews and designs do nothing. Not owned.
void RegisterPrintHost(TPrintHost* host);
TPrintHost* PrintHost();

// Registers a host for its lifetime and restores the previous one (tests, the batch tool).
class TScopedPrintHost {
public:
    explicit TScopedPrintHost(TPrintHost* host);
    ~TScopedPrintHost();
    TScopedPrintHost(const TScopedPrintHost&) = delete;
    TScopedPrintHost& operator=(const TScopedPrintHost&) = delete;

private:
    TPrintHost* previous_;
};

// The lines every printed report gets as its parameters: the product name, then the version as
// Major.Minor.Release.Build. The list is cleared first.
void ReportParameterLines(QStringList& lines);

} // namespace lintaro
