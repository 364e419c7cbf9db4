#pragma once
// The drawing surface of the workshop pack's pages. A page is drawn in tenths of a millimetre from
// its top left corner, whatever the device: the PDF writer, a printer or a picture scale the
// painter to that unit. Fonts are sized in those units too, so a text measures the same on every
// device. Every text goes through Text(), which keeps a log of what was drawn and how large, so
// the layout rules (no text under 6 pt, no overlap) can be checked on the pages themselves.
#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace lintaro::workshop {

// Units of the page: 0.1 mm.
constexpr double kUnitsPerMm = 10.0;
constexpr double kUnitsPerPoint = 254.0 / 72.0;
// The smallest text the pack draws, in points at 100 % print scale.
constexpr double kMinTextPoints = 6.0;

struct TDrawnText {
    QString Text;
    QRectF Box; // the text's own extent on the page, page units (upright box of a turned text)
    double Points = 0;
    int Group = 0; // texts of one group (a drawing, a table) must not overlap each other
};

class TPackCanvas {
public:
    TPackCanvas(QPainter& painter, QList<TDrawnText>* log) : painter_(painter), log_(log) {}
    QPainter& Painter() { return painter_; }
    void SetGroup(int group) { group_ = group; }

    static QFont Font(double points, bool bold = false);
    // The text's width and height at that size, page units.
    static QSizeF Measure(const QString& text, double points, bool bold = false);
    // Draws text with its top left at `at` (or, turned, reading upwards from its bottom left);
    // returns its box.
    QRectF Text(const QPointF& at, const QString& text, double points, bool bold = false,
                const QColor& color = Qt::black, bool upwards = false);
    // Aligned in box (Qt alignment flags), one line, elided at the right when it does not fit.
    QRectF TextIn(const QRectF& box, int align, const QString& text, double points, bool bold = false,
                  const QColor& color = Qt::black);

private:
    QPainter& painter_;
    QList<TDrawnText>* log_;
    int group_ = 0;
};

} // namespace lintaro::workshop
