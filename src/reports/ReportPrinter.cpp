#include "reports/ReportPrinter.h"

#include "reports/OrvelCanvas.h"
#include "reports/PaperFormat.h"
#include "reports/ReportMessages.h"
#include "reports/ReportProgress.h"
#include "reports/Sestava.h"
#include "reports/TextExport.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
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

// Draws the page as rows of a fixed-pitch font on the template's character grid.
void drawTextPage(QPainter& painter, const TStranaPrvku& page, const TSestava& report) {
    const int cpi = CharsPerInch(report.Grid.CharPitch);
    const int rpi = RowsPerInch(report.Grid.LinePitch);
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    // A character of the mono font is 0.6 of its size wide.
    font.setPixelSize(std::max(1, qRound(100.0 / cpi / 0.6 * TOrvelCanvas::kFontScale)));
    painter.save();
    painter.setFont(font);
    painter.scale(1.0 / TOrvelCanvas::kFontScale, 1.0 / TOrvelCanvas::kFontScale);
    const QStringList rows = PageAsTextRows(page, report.PageSetup, report.Grid);
    const double rowHeight = 100.0 / rpi * TOrvelCanvas::kFontScale;
    for (qsizetype r = 0; r < rows.size(); ++r)
        painter.drawText(QPointF(0, (r + 0.8) * rowHeight), rows[r]);
    painter.restore();
}

} // namespace

int PrintPages(TSestava& report, const TSestVystup& output, int printerIndex, TReportProgress* progress,
               QString& message) {
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    QPrinterInfo info = printerIndex == -1                                    ? QPrinterInfo::defaultPrinter()
                        : printerIndex >= 0 && printerIndex < printers.size() ? printers[printerIndex]
                                                                              : QPrinterInfo();
    if (printerIndex == -1 && info.isNull() && !printers.isEmpty())
        info = printers.first();
    if (info.isNull()) {
        message = PrinterMessages::NoPrinter();
        if (report.OnError)
            report.OnError(report, ReportMessages::rrNoPrinter, message);
        return ReportMessages::rrNoPrinter;
    }
    const TPageSetup& setup = report.PageSetup;
    const bool textOnly = IsTextOnlyDriver(info.makeAndModel());
    const int first = std::max(1, report.StartPage);
    const int last = std::min(report.EndPage, output.PageCount());
    const int copies = std::max(1, report.PrintCopies);

    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(report.Popis);
    printer.setFullPage(true);
    printer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(setup.Width / 100.0, setup.Height / 100.0), QPageSize::Inch),
                    setup.Orientation > 0 ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    printer.setCopyCount(copies);
    // Repeat the job when the driver does not make the copies itself.
    const int jobs = printer.copyCount() == copies && printer.supportsMultipleCopies() ? 1 : copies;
    if (jobs > 1)
        printer.setCopyCount(1);
    for (int job = 0; job < jobs; ++job) {
        QPainter painter;
        if (!painter.begin(&printer)) {
            message = QStringLiteral("Tiskárnu %1 nelze otevřít.").arg(info.printerName());
            return ReportMessages::rrOutputError;
        }
        TOrvelCanvas canvas(painter, printer);
        painter.translate(setup.Left, setup.Top);
        for (int p = first; p <= last; ++p) {
            if (progress) {
                progress->Show(ProgressMessages::Sending(), false);
                if (progress->Cancelled()) {
                    printer.abort();
                    return ReportMessages::rrCancelled;
                }
            }
            if (p > first)
                printer.newPage();
            if (textOnly)
                drawTextPage(painter, output.Page(p - 1), report);
            else
                canvas.DrawPage(output.Page(p - 1));
        }
        if (!painter.end()) {
            message = QStringLiteral("Tisk na tiskárnu %1 se nepodařil.").arg(info.printerName());
            return ReportMessages::rrOutputError;
        }
    }
    if (progress)
        progress->Hide();
    return ReportMessages::rrOK;
}

} // namespace lintaro
