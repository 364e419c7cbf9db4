#include "workshop/PackTable.h"

#include <QPainter>

#include <cmath>

namespace lintaro::workshop {

double TPackTable::RowHeight() {
    return std::ceil(TPackCanvas::Measure(QStringLiteral("Xg"), kPoints).height() * 1.25);
}

double TPackTable::Height(int rows) {
    return RowHeight() * (rows + 2) + 10;
}

int TPackTable::RowsFitting(double height) {
    return std::max(0, int((height - 10) / RowHeight()) - 2);
}

int TPackTable::Paint(TPackCanvas& canvas, const QRectF& box, int first) const {
    QPainter& p = canvas.Painter();
    const double row = RowHeight();
    double total = 0;
    for (double w : Widths)
        total += w;
    QList<QRectF> cells;
    double x = box.left();
    for (double w : Widths) {
        const double width = box.width() * w / total;
        cells << QRectF(x + 8, 0, width - 16, row);
        x += width;
    }
    double y = box.top();
    canvas.TextIn(QRectF(box.left(), y, box.width(), row), Qt::AlignLeft | Qt::AlignVCenter,
                  first > 0 ? Title + QStringLiteral(" (…)") : Title, kPoints + 1, true);
    y += row + 5;
    p.fillRect(QRectF(box.left(), y, box.width(), row), QColor(225, 225, 225));
    for (qsizetype c = 0; c < cells.size() && c < Header.size(); ++c)
        canvas.TextIn(cells[c].translated(0, y),
                      (Right.value(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, Header[c],
                      kPoints, true);
    y += row;
    int r = first;
    p.setPen(QPen(QColor(190, 190, 190), 2));
    for (; r < Rows.size() && y + row <= box.bottom() + 0.5; ++r) {
        const QStringList& cellsText = Rows[r];
        for (qsizetype c = 0; c < cells.size() && c < cellsText.size(); ++c)
            canvas.TextIn(cells[c].translated(0, y),
                          (Right.value(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, cellsText[c],
                          kPoints, Emphasis.value(r));
        y += row;
        p.setPen(QPen(QColor(190, 190, 190), 2));
        p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
    }
    return r;
}

} // namespace lintaro::workshop
