#pragma once
// Printing a prepared report without a window: the report runs once and its pages go straight to a
// PDF file, a text file (the engine's text export) or a printer. The batch tool prints this way;
// TBatchPrintHost offers the same as the printers' host, so Preview prints instead of showing.
#include "print/PrintHost.h"

#include <QString>
#include <functional>

namespace lintaro {

class TReportProgress;

enum TBatchTarget { btPdf, btText, btPrinter };

struct TBatchPrintOptions {
    TBatchTarget Target = btPdf;
    QString Output;      // the file, or the printer's name (empty: the default printer)
    int FirstPage = 1;   // 1-based
    int LastPage = 9999; // clamped to the report's pages
    int Copies = 1;
    // Told of every page as it is handed on: 1-based page number and the pages to go out, and which
    // copy it belongs to. A text file holds every copy, so it is told each page of each copy; a
    // printer makes the copies itself (copies > 1, copy 0); a PDF file holds one copy.
    std::function<void(int page, int pages, int copy, int copies)> OnPage;
    TReportProgress* Progress = nullptr;
};

struct TBatchPrintResult {
    int Code = 0;    // the engine's result code: 0, 2 no printer, 3 cancelled, 6 output, 7 nothing
    QString Message; // why, when Code is not 0
    int PageCount = 0;
    bool RangeOutside = false; // the first page asked for lies past the document's end
};

// Runs the report (template loaded, data open) and writes the chosen pages. Nothing is written
// when the run fails or the range lies outside the document.
TBatchPrintResult PrintReportDirectly(TSestava& report, const TBatchPrintOptions& options);

class TBatchPrintHost : public TPrintHost {
public:
    explicit TBatchPrintHost(TBatchPrintOptions options) : options_(std::move(options)) {}
    // Prints as the options say; printerIndex is not used (the options name the printer).
    void Preview(TSestava& report, int& printerIndex) override;
    // There is no designer without a window: result 7.
    void Design(TSestava& report) override;
    const TBatchPrintResult& Result() const { return result_; }

private:
    TBatchPrintOptions options_;
    TBatchPrintResult result_;
};

} // namespace lintaro
