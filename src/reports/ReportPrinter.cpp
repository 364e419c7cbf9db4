#include "reports/ReportPrinter.h"

#include "reports/MarginTest.h"
#include "reports/OrvelCanvas.h"
#include "reports/PaperFormat.h"
#include "reports/ReportMessages.h"
#include "reports/ReportPictures.h"
#include "reports/ReportProgress.h"
#include "reports/ReportRun.h"
#include "reports/Sestava.h"
#include "reports/TextExport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

namespace lintaro {

QStringList PrinterNames() {
    return QPrinterInfo::availablePrinterNames();
}

bool IsTextOnlyDriver(const QString& makeAndModel) {
    const QString m = makeAndModel.simplified();
    return m.contains(QStringLiteral("Generic / Text Only"), Qt::CaseInsensitive) ||
           m.contains(QStringLiteral("Generic Text-Only"), Qt::CaseInsensitive) ||
           m.contains(QStringLiteral("Obecná nebo jen textová"), Qt::CaseInsensitive) ||
           m.compare(QStringLiteral("Local Raw Printer"), Qt::CaseInsensitive) == 0 ||
           m.compare(QStringLiteral("Raw Queue"), Qt::CaseInsensitive) == 0;
}

namespace {

QString jobTitle(const TSestava& report) {
    return report.Popis.isEmpty() ? QStringLiteral("Lintaro") : report.Popis;
}

// Hands a finished job to the CUPS queue through lp: the file, or data on its standard input.
int submitJob(const QString& queue, const QStringList& options, const QString& file, const QByteArray& data,
              QString& message) {
    QProcess lp;
    lp.start(QStringLiteral("lp"), QStringList{QStringLiteral("-d"), queue} + options +
                                       QStringList{file.isEmpty() ? QStringLiteral("-") : file});
    if (!lp.waitForStarted()) {
        message = QStringLiteral("Tiskový příkaz lp nelze spustit.");
        return ReportMessages::rrOutputError;
    }
    if (file.isEmpty())
        lp.write(data);
    lp.closeWriteChannel();
    if (!lp.waitForFinished(120000) || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        message = QStringLiteral("Tisk na tiskárnu %1 se nepodařil: %2")
                      .arg(queue, QString::fromLocal8Bit(lp.readAllStandardError()).trimmed());
        return ReportMessages::rrOutputError;
    }
    return ReportMessages::rrOK;
}

// A text-only printer gets the pages as characters in the export code page, lines ended by CR LF and
// pages by form feeds, as a raw job that no filter converts. The copies are in the data itself.
int sendText(TSestava& report, const TSestVystup& output, const QString& queue, TReportProgress* progress,
             QString& message) {
    QByteArray bytes;
    if (const int result = PagesAsText(report, output, progress, "\r\n", bytes, message);
        result != ReportMessages::rrOK)
        return result;
    if (progress)
        progress->Show(ProgressMessages::Sending(), false);
    const int result = submitJob(
        queue, {QStringLiteral("-t"), jobTitle(report), QStringLiteral("-o"), QStringLiteral("raw")}, {},
        bytes, message);
    if (progress)
        progress->Hide();
    return result;
}

} // namespace

QPrinterInfo PrinterAt(int printerIndex) {
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    QPrinterInfo info = printerIndex == -1                                    ? QPrinterInfo::defaultPrinter()
                        : printerIndex >= 0 && printerIndex < printers.size() ? printers[printerIndex]
                                                                              : QPrinterInfo();
    // Without a default, the first printer stands in for it.
    if (printerIndex == -1 && info.isNull() && !printers.isEmpty())
        info = printers.first();
    return info;
}

int PrintPages(TSestava& report, const TSestVystup& output, int printerIndex, TReportProgress* progress,
               QString& message) {
    const QPrinterInfo info = PrinterAt(printerIndex);
    if (info.isNull()) {
        message = PrinterMessages::NoPrinter();
        if (report.OnError)
            report.OnError(report, ReportMessages::rrNoPrinter, message);
        return ReportMessages::rrNoPrinter;
    }
    const TPageSetup& setup = report.PageSetup;
    if (IsTextOnlyDriver(info.makeAndModel()))
        return sendText(report, output, info.printerName(), progress, message);
    const int first = std::max(1, report.StartPage);
    const int last = std::min(report.EndPage, output.PageCount());
    if (last < first)
        return ReportMessages::rrOK; // no page in the range: no blank sheet either
    const int copies = std::max(1, report.PrintCopies);
    const TPageBackground background = ResolveBackground(report);

    QPrinter printer(info, QPrinter::HighResolution);
    // The pages are drawn into a file first and the queue gets it only when all are drawn, so that a
    // cancelled job never reaches the printer (the CUPS print engine cannot abort a job).
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("job.pdf"));
    printer.setOutputFileName(file);
    printer.setDocName(report.Popis);
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(setup.Width / 100.0, setup.Height / 100.0), QPageSize::Inch),
                    setup.Orientation > 0 ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!folder.isValid() || !painter.begin(&printer)) {
        message = QStringLiteral("Tiskárnu %1 nelze otevřít.").arg(info.printerName());
        return ReportMessages::rrOutputError;
    }
    TOrvelCanvas canvas(painter, printer);
    // The job holds every copy itself: many CUPS drivers (cups-pdf among them) take the copy count
    // and ignore it, and whether one does cannot be asked.
    for (int n = 0; n < copies * (last - first + 1); ++n) {
        const int p = first + n % (last - first + 1);
        if (progress) {
            progress->Show(ProgressMessages::Sending(), false);
            if (progress->Cancelled()) {
                painter.end();
                progress->Hide();
                return ReportMessages::rrCancelled;
            }
        }
        if (n > 0)
            printer.newPage();
        if (background.Print)
            DrawBackground(painter, background);
        painter.save();
        painter.translate(setup.Left, setup.Top);
        canvas.DrawPage(output.Page(p - 1));
        painter.restore();
        if (progress)
            progress->Yield();
    }
    if (!painter.end()) {
        message = QStringLiteral("Tisk na tiskárnu %1 se nepodařil.").arg(info.printerName());
        return ReportMessages::rrOutputError;
    }
    const int result =
        submitJob(info.printerName(), {QStringLiteral("-t"), jobTitle(report)}, file, {}, message);
    if (progress)
        progress->Hide();
    return result;
}

} // namespace lintaro

namespace lintaro {

int PrintReport(TSestava& report, int printerIndex, TReportProgress* progress, QString& message) {
    if (TestMargins(report, printerIndex) == mtNoPrinter) {
        message = PrinterMessages::NoPrinter();
        if (report.OnError)
            report.OnError(report, ReportMessages::rrNoPrinter, message);
        return ReportMessages::rrNoPrinter;
    }
    TSestVystup output;
    TReportRun run(report, output, progress);
    if (const int result = run.Run(); result != ReportMessages::rrOK) {
        message = run.Message();
        return result;
    }
    return PrintPages(report, output, printerIndex, progress, message);
}

} // namespace lintaro
