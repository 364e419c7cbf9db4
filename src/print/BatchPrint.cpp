#include "print/BatchPrint.h"

#include "foundation/TextFile.h"
#include "reports/OrvelCanvas.h"
#include "reports/ReportMessages.h"
#include "reports/ReportPrinter.h"
#include "reports/ReportRun.h"
#include "reports/Sestava.h"
#include "reports/TextExport.h"

#include <QBuffer>

#include <algorithm>

namespace lintaro {

namespace {

QString resultText(int code) {
    switch (code) {
    case ReportMessages::rrCancelled:
        return QStringLiteral("printing was cancelled");
    case ReportMessages::rrNotLoaded:
        return QStringLiteral("the report template could not be loaded");
    case ReportMessages::rrOutputError:
        return QStringLiteral("the output could not be written");
    default:
        return QStringLiteral("there is nothing to print");
    }
}

TBatchPrintResult failed(int code, const QString& message, int pages = 0) {
    TBatchPrintResult result;
    result.Code = code;
    result.Message = message;
    result.PageCount = pages;
    return result;
}

} // namespace

TBatchPrintResult PrintReportDirectly(TSestava& report, const TBatchPrintOptions& options) {
    TSestVystup output;
    TReportRun run(report, output, options.Progress);
    if (const int code = run.Run(); code != ReportMessages::rrOK)
        return failed(code, run.Message().isEmpty() ? resultText(code) : run.Message());
    const int pages = output.PageCount();
    const int first = std::max(1, options.FirstPage);
    const int last = std::min(pages, options.LastPage);
    if (first > last) {
        TBatchPrintResult result = failed(ReportMessages::rrNothingDone, QString(), pages);
        result.RangeOutside = true;
        return result;
    }
    report.StartPage = first;
    report.EndPage = last;
    report.PrintCopies = std::max(1, options.Copies);
    if (options.OnPage) {
        const int copies = options.Target == btPdf ? 1 : report.PrintCopies;
        const int written = options.Target == btText ? copies : 1;
        for (int copy = 1; copy <= written; ++copy)
            for (int page = first; page <= last; ++page)
                options.OnPage(page, pages, options.Target == btText ? copy : 0, copies);
    }

    TBatchPrintResult result;
    result.PageCount = pages;
    QString error;
    switch (options.Target) {
    case btPdf:
        if (!ExportPdf(output, report.PageSetup, options.Output, report.Popis, error, first, last))
            return failed(ReportMessages::rrOutputError, error, pages);
        break;
    case btText: {
        // Whole in memory first, then the same safe write as every save: the old file stays on failure.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (const int code = ExportText(report, output, buffer, error); code != ReportMessages::rrOK)
            return failed(code, error, pages);
        if (!WriteFileAtomically(options.Output, bytes, &error))
            return failed(ReportMessages::rrOutputError, error, pages);
        break;
    }
    case btPrinter: {
        const int index =
            options.Output.isEmpty() ? -1 : static_cast<int>(PrinterNames().indexOf(options.Output));
        if (!options.Output.isEmpty() && index < 0)
            return failed(ReportMessages::rrNoPrinter, PrinterMessages::NoPrinter(), pages);
        if (const int code = PrintPages(report, output, index, options.Progress, error);
            code != ReportMessages::rrOK)
            return failed(code, error, pages);
        break;
    }
    }
    return result;
}

void TBatchPrintHost::Preview(TSestava& report, int& /*printerIndex*/) {
    result_ = PrintReportDirectly(report, options_);
}

void TBatchPrintHost::Design(TSestava&) {
    result_ =
        failed(ReportMessages::rrNothingDone, QStringLiteral("there is no report designer without a window"));
}

} // namespace lintaro
