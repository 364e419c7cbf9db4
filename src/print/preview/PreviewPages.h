#pragma once
// Pages the print preview shows that are not a report's: a document that lays out and paints its
// own pages (the workshop pack) hands the preview these callbacks. Page numbers are 0-based here;
// the printer index is the preview's (0 the default printer, then the printer list).
#include <QImage>
#include <QSizeF>
#include <QString>

#include <functional>

namespace lintaro {

struct TPreviewPages {
    QString Title;
    int Count = 0;
    std::function<QSizeF(int page)> SizeMm;
    std::function<QImage(int page, double dotsPerInch)> Render;
    // Prints pages from … to (0-based, inclusive); false with the reason in error.
    std::function<bool(int printerIndex, int from, int to, int copies, QString& error)> Print;
    std::function<bool(const QString& file, int from, int to, QString& error)> SavePdf;
};

} // namespace lintaro
