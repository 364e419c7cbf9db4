#include "cli/SheetPdf.h"

#include "calc/SheetDrawing.h"
#include "foundation/TextFile.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace lintaro::cli {

namespace {
QPageLayout::Orientation orientationOf(const QRect& bounds) {
    return bounds.width() >= bounds.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
}
} // namespace

bool WriteSheetsPdf(const QList<QPicture>& pictures, const QString& path, const QString& title,
                    QString* error) {
    if (pictures.isEmpty()) {
        *error = QStringLiteral("nothing to draw");
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("lintaro-cli"));
        // The drawing's own resolution, so its fonts keep the sizes they were measured with.
        pdf.setResolution(DrawingResolution());
        const QPageLayout layout(QPageSize(QPageSize::A4), orientationOf(pictures.first().boundingRect()),
                                 QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        pdf.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&pdf)) {
            *error = QStringLiteral("cannot start the PDF");
            return false;
        }
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            const QRect bounds = pictures[i].boundingRect();
            if (i > 0) {
                pdf.setPageOrientation(orientationOf(bounds));
                pdf.newPage();
            }
            const QRect page = painter.viewport();
            const double scale =
                std::min(double(page.width()) / bounds.width(), double(page.height()) / bounds.height());
            painter.save();
            painter.scale(scale, scale);
            painter.drawPicture(-bounds.topLeft(), pictures[i]);
            painter.restore();
        }
        painter.end();
    }
    buffer.close();
    QString reason;
    if (!WriteFileAtomically(path, bytes, &reason)) {
        *error = reason.isEmpty() ? QStringLiteral("cannot write %1").arg(path) : reason;
        return false;
    }
    return true;
}

} // namespace lintaro::cli
