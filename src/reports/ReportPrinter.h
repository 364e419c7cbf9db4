#pragma once
// Printing built pages on the system's printers (the CUPS queues through QPrinterInfo). A queue is
// text-only when its CUPS driver is a raw queue or the "Generic Text-Only" driver — the printer's
// make and model stands in for the driver name the desktop registry would give; such a queue gets
// the pages as rows of characters on the template's grid, sent as a raw job through the CUPS lp
// command; other queues get the pages drawn, over the background picture when it is to be printed.
#include "reports/ReportMessages.h"
#include "reports/SestVystup.h"

#include <QString>
#include <QStringList>

QT_BEGIN_NAMESPACE
class QPrinterInfo;
QT_END_NAMESPACE

namespace lintaro {

class TSestava;
class TReportProgress;

// The installed printers' names; index −1 in PrintPages is the default printer.
QStringList PrinterNames();
// The printer of that index of PrinterNames(), −1 the default one; a null info when there is none.
QPrinterInfo PrinterAt(int printerIndex);
// Whether a CUPS make-and-model (the driver) describes a text-only printer.
bool IsTextOnlyDriver(const QString& makeAndModel);

namespace PrinterMessages {
inline QString NoPrinter() {
    return ReportMessages::EngineText("PrinterNoPrinter",
                                      QStringLiteral("V systému není nainstalovaná žádná tiskárna."));
}
inline QString WarningTitle() {
    return ReportMessages::EngineText("PrinterWarningTitle", QStringLiteral("Varování"));
}
} // namespace PrinterMessages

// Sends pages StartPage..EndPage (clamped) of output to the printer, PrintCopies times (the job itself
// repeats the pages, as drivers may ignore a copy count), titled with the report's Popis. Result 0; 2 with
// the warning when no printer is installed or the index is out of range; 3 when cancelled (nothing reaches
// the queue); 6 when the job cannot be drawn or the queue does not take it (the reason in message).
int PrintPages(TSestava& report, const TSestVystup& output, int printerIndex, TReportProgress* progress,
               QString& message);

// The print operation: the margin test against the printer (its question through the report's
// AskYesNo), the run that builds the pages, then PrintPages. Result as PrintPages, or the run's.
int PrintReport(TSestava& report, int printerIndex, TReportProgress* progress, QString& message);

} // namespace lintaro
