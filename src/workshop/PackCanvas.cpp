#include "workshop/PackCanvas.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace lintaro::workshop {

QFont TPackCanvas::Font(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // Pixel sizes are whole units; round up so nothing falls under the size asked for.
    font.setPixelSize(std::max(1, int(std::ceil(points * kUnitsPerPoint))));
    font.setBold(bold);
    font.setKerning(false);
    return font;
}

QSizeF TPackCanvas::Measure(const QString& text, double points, bool bold) {
    const QFontMetricsF metrics(Font(points, bold));
    return {metrics.horizontalAdvance(text), metrics.height()};
}

QRectF TPackCanvas::Text(const QPointF& at, const QString& text, double points, bool bold,
                         const QColor& color, bool upwards) {
    const QFont font = Font(points, bold);
    const QFontMetricsF metrics(font);
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    painter_.save();
    painter_.setFont(font);
    painter_.setPen(color);
    QRectF box;
    if (upwards) {
        painter_.translate(at);
        painter_.rotate(-90);
        painter_.drawText(QPointF(0, -metrics.descent()), text);
        box = QRectF(at.x() - size.height(), at.y() - size.width(), size.height(), size.width());
    } else {
        painter_.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
        box = QRectF(at, size);
    }
    painter_.restore();
    if (log_)
        log_->append({text, box, font.pixelSize() / kUnitsPerPoint, group_});
    return box;
}

QRectF TPackCanvas::TextIn(const QRectF& box, int align, const QString& text, double points, bool bold,
                           const QColor& color) {
    const QFontMetricsF metrics(Font(points, bold));
    const QString shown = metrics.elidedText(text, Qt::ElideRight, box.width());
    const QSizeF size(metrics.horizontalAdvance(shown), metrics.height());
    double x = box.left();
    if (align & Qt::AlignRight)
        x = box.right() - size.width();
    else if (align & Qt::AlignHCenter)
        x = box.center().x() - size.width() / 2;
    double y = box.top();
    if (align & Qt::AlignBottom)
        y = box.bottom() - size.height();
    else if (align & Qt::AlignVCenter)
        y = box.center().y() - size.height() / 2;
    return Text(QPointF(x, y), shown, points, bold, color);
}

} // namespace lintaro::workshop
