#include "reports/MarginTest.h"

#include "reports/ReportPrinter.h"
#include "reports/Sestava.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>

namespace lintaro {

TUnprintableMargins PrinterUnprintableMargins(const QPrinter& printer) {
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Inch);
    const QMarginsF m = layout.minimumMargins();
    // A hair of rounding noise must not ask for a whole unit more.
    auto units = [](double inches) {
        return std::max(0, static_cast<int>(std::ceil(inches * 100.0 - 1e-6)));
    };
    return {units(m.left()), units(m.top()), units(m.right()), units(m.bottom())};
}

bool MarginsFit(const TPageSetup& page, const TUnprintableMargins& minimum) {
    return page.Left >= minimum.Left && page.Top >= minimum.Top && page.Right >= minimum.Right &&
           page.Bottom >= minimum.Bottom;
}

void RaiseMargins(TPageSetup& page, const TUnprintableMargins& minimum) {
    page.Left = std::max(page.Left, minimum.Left);
    page.Top = std::max(page.Top, minimum.Top);
    page.Right = std::max(page.Right, minimum.Right);
    page.Bottom = std::max(page.Bottom, minimum.Bottom);
}

TMarginTestResult TestMargins(TSestava& report, const TUnprintableMargins& minimum) {
    if (MarginsFit(report.PageSetup, minimum))
        return mtFits;
    if (report.AskYesNo && !report.AskYesNo(MarginMessages::RaiseQuestion()))
        return mtKept;
    RaiseMargins(report.PageSetup, minimum);
    return mtRaised;
}

TMarginTestResult TestMargins(TSestava& report, int printerIndex) {
    const QPrinterInfo info = PrinterAt(printerIndex);
    if (info.isNull())
        return mtNoPrinter;
    QPrinter printer(info, QPrinter::HighResolution);
    const TPageSetup& page = report.PageSetup;
    printer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(page.Width / 100.0, page.Height / 100.0), QPageSize::Inch),
                    page.Orientation > 0 ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    return TestMargins(report, PrinterUnprintableMargins(printer));
}

} // namespace lintaro
