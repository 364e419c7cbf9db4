#include "workshop/PackOutput.h"

#include "foundation/TextFile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace lintaro::workshop {

namespace {

QPageLayout layoutOf(const QSizeF& sizeMm) {
    const bool landscape = sizeMm.width() > sizeMm.height();
    const QSizeF portrait = landscape ? sizeMm.transposed() : sizeMm;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

// Paints the chosen pages on a paged device that has begun; newPage moves to the next page after
// setting its layout.
bool paintPages(const TWorkshopPack& pack, QPagedPaintDevice& device, QPainter& painter,
                const TPackOutputOptions& options, int first, int last) {
    const int pages = last - first + 1;
    int done = 0;
    for (int copy = 0; copy < std::max(1, options.Copies); ++copy)
        for (int i = first; i <= last; ++i) {
            if (done > 0) {
                device.setPageLayout(layoutOf(pack.Page(i).SizeMm));
                if (!device.newPage())
                    return false;
            }
            painter.save();
            // The device's pixels per 0.1 mm.
            const double scale = device.logicalDpiX() / 254.0;
            painter.scale(scale, scale);
            pack.PaintPage(i, painter);
            painter.restore();
            ++done;
            if (options.OnPage && copy == 0)
                options.OnPage(i - first + 1, pages);
        }
    return true;
}

bool range(const TWorkshopPack& pack, const TPackOutputOptions& options, int& first, int& last,
           QString* error) {
    first = std::max(1, options.FirstPage) - 1;
    last = std::min(pack.PageCount(), options.LastPage) - 1;
    if (pack.PageCount() == 0 || first > last) {
        if (error)
            *error = QStringLiteral("no pages to print");
        return false;
    }
    return true;
}

} // namespace

bool WritePackPdf(const TWorkshopPack& pack, const QString& path, const TPackOutputOptions& options,
                  QString* error) {
    int first = 0, last = 0;
    if (!range(pack, options, first, last, error))
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(pack.Data().OrderNumber);
        pdf.setCreator(QStringLiteral("Lintaro"));
        pdf.setResolution(254);
        pdf.setPageLayout(layoutOf(pack.Page(first).SizeMm));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            if (error)
                *error = QStringLiteral("cannot start the PDF");
            return false;
        }
        TPackOutputOptions once = options;
        once.Copies = 1;
        paintPages(pack, pdf, painter, once, first, last);
        painter.end();
    }
    buffer.close();
    QString reason;
    if (!WriteFileAtomically(path, bytes, &reason)) {
        if (error)
            *error = reason.isEmpty() ? QStringLiteral("cannot write %1").arg(path) : reason;
        return false;
    }
    return true;
}

bool PrintPack(const TWorkshopPack& pack, const QString& printerName, const TPackOutputOptions& options,
               QString* error) {
    int first = 0, last = 0;
    if (!range(pack, options, first, last, error))
        return false;
    const QPrinterInfo info =
        printerName.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
        if (error)
            *error = printerName.isEmpty() ? QStringLiteral("no printer is installed")
                                           : QStringLiteral("no such printer: %1").arg(printerName);
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(pack.Data().OrderNumber);
    printer.setFullPage(true);
    printer.setPageLayout(layoutOf(pack.Page(first).SizeMm));
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error)
            *error = QStringLiteral("the printer %1 cannot start the job").arg(info.printerName());
        return false;
    }
    const bool ok = paintPages(pack, printer, painter, options, first, last);
    painter.end();
    if (!ok || printer.printerState() == QPrinter::Error) {
        if (error)
            *error = QStringLiteral("the printer %1 reported an error").arg(info.printerName());
        return false;
    }
    return true;
}

QImage RenderPackPage(const TWorkshopPack& pack, int index, double dotsPerInch) {
    const QSizeF mm = pack.Page(index).SizeMm;
    const QSize pixels(qRound(mm.width() / 25.4 * dotsPerInch), qRound(mm.height() / 25.4 * dotsPerInch));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    image.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = dotsPerInch / 254.0;
    painter.scale(scale, scale);
    pack.PaintPage(index, painter);
    return image;
}

} // namespace lintaro::workshop
