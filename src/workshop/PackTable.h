#pragma once
// A plain table of the pack's pages: a title, a header row and rows of text, painted from a given
// row into a box as far as the box holds, so long tables continue on the next page.
#include "workshop/PackCanvas.h"

#include <QList>
#include <QStringList>

namespace lintaro::workshop {

struct TPackTable {
    QString Title;
    QStringList Header;
    QList<double> Widths; // relative column widths
    QList<bool> Right;    // right-aligned columns (numbers)
    QList<QStringList> Rows;
    QList<bool> Emphasis; // bold rows (totals), by row; missing means plain

    static constexpr double kPoints = 8;
    static double RowHeight();
    // Rows that fit in a box of that height below the title and header.
    static int RowsFitting(double height);
    // The height the title, header and `rows` rows take.
    static double Height(int rows);
    // Paints rows first … first + n − 1 (n as many as fit); returns the next row to paint.
    int Paint(TPackCanvas& canvas, const QRectF& box, int first) const;
};

} // namespace lintaro::workshop
