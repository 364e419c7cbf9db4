#include "workshop/DiagramPainter.h"

#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Order.h"
#include "model/Part.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace lintaro::workshop {

namespace {

constexpr double kChainPoints = 7;
constexpr double kCutPoints = 6.5;
constexpr double kMaxPiecePoints = 14;
// Room for the dimension chains: two rows of text outside the sheet on the top and left, one on
// the bottom and right.
constexpr double kChainRow = 40;
constexpr double kNearSide = 2 * kChainRow + 10;
constexpr double kFarSide = kChainRow + 10;

const QColor kWaste(215, 215, 215);
const QColor kRestFill(222, 240, 214);
const QColor kRestHatch(60, 140, 60);
const QColor kCutColour(20, 80, 200);

bool overlapsAny(const QRectF& box, const QList<QRectF>& placed) {
    for (const QRectF& other : placed)
        if (box.intersects(other))
            return true;
    return false;
}

struct TLabelChoice {
    QStringList Lines;
    QList<bool> Bold;
    double Points = 0;
    bool Upwards = false;
    QSizeF Size; // along the text × across
};

// The block of lines at that size: the widest line × the lines' heights.
QSizeF blockSize(const QStringList& lines, const QList<bool>& bold, double points) {
    QSizeF size;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QSizeF line = TPackCanvas::Measure(lines[i], points, bold.value(i));
        size.setWidth(std::max(size.width(), line.width()));
        size.setHeight(size.height() + line.height());
    }
    return size;
}

// The best text a piece's box holds: the largest size first, the caption when it fits at that size.
std::optional<TLabelChoice> chooseLabel(const QRectF& box, const QString& number, const QString& size,
                                        const QString& caption) {
    const QSizeF room(box.width() - 12, box.height() - 12);
    QList<QPair<QStringList, QList<bool>>> layouts;
    if (!caption.isEmpty())
        layouts.append({{number, size, caption}, {true, false, false}});
    layouts.append({{number, size}, {true, false}});
    layouts.append({{number + QStringLiteral("  ") + size}, {true}});
    for (double points = kMaxPiecePoints; points >= kMinTextPoints; points -= 1)
        for (const auto& [lines, bold] : layouts)
            for (bool upwards : {false, true}) {
                if (upwards && box.height() <= box.width())
                    continue;
                const QSizeF s = blockSize(lines, bold, points);
                const bool fits = upwards ? s.width() <= room.height() && s.height() <= room.width()
                                          : s.width() <= room.width() && s.height() <= room.height();
                if (fits)
                    return TLabelChoice{lines, bold, points, upwards, s};
            }
    for (bool upwards : {false, true}) {
        const QSizeF s = TPackCanvas::Measure(number, kMinTextPoints, true);
        if (upwards ? s.width() <= room.height() && s.height() <= room.width()
                    : s.width() <= room.width() && s.height() <= room.height())
            return TLabelChoice{{number}, {true}, kMinTextPoints, upwards, s};
    }
    return std::nullopt;
}

void paintLabel(TPackCanvas& canvas, const QRectF& box, const TLabelChoice& label, const QColor& colour,
                QList<QRectF>& placed) {
    if (!label.Upwards) {
        double y = box.center().y() - label.Size.height() / 2;
        for (qsizetype i = 0; i < label.Lines.size(); ++i) {
            const QSizeF s = TPackCanvas::Measure(label.Lines[i], label.Points, label.Bold.value(i));
            placed << canvas.Text(QPointF(box.center().x() - s.width() / 2, y), label.Lines[i], label.Points,
                                  label.Bold.value(i), colour);
            y += s.height();
        }
        return;
    }
    // Reading upwards, the first line lies leftmost.
    double x = box.center().x() - label.Size.height() / 2;
    for (qsizetype i = 0; i < label.Lines.size(); ++i) {
        const QSizeF s = TPackCanvas::Measure(label.Lines[i], label.Points, label.Bold.value(i));
        x += s.height();
        placed << canvas.Text(QPointF(x, box.center().y() + s.width() / 2), label.Lines[i], label.Points,
                              label.Bold.value(i), colour, true);
    }
}

void drawArrow(QPainter& p, const QPointF& from, const QPointF& to, double head) {
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    if (len <= 0)
        return;
    const QPointF u = d / len, n(-u.y(), u.x());
    p.drawLine(to, to - u * head + n * head * 0.5);
    p.drawLine(to, to - u * head - n * head * 0.5);
    p.drawLine(from, from + u * head + n * head * 0.5);
    p.drawLine(from, from + u * head - n * head * 0.5);
}

} // namespace

double DiagramScale(const TPackPlan& plan, const QRectF& area) {
    const double sx = double(plan.Sheet->Dimension()->StoredX().raw());
    const double sy = double(plan.Sheet->Dimension()->StoredY().raw());
    if (sx <= 0 || sy <= 0)
        return 0;
    return std::max(0.0, std::min((area.width() - kNearSide - kFarSide) / sx,
                                  (area.height() - kNearSide - kFarSide) / sy));
}

TDiagramResult PaintDiagram(TPackCanvas& canvas, const QRectF& area, const TPackData& data,
                            const TPackPlan& plan, bool sequence) {
    TDiagramResult result;
    const TCuttingSheet& sheet = *plan.Sheet;
    const TDimension& dim = *sheet.Dimension();
    const double scale = DiagramScale(plan, area);
    if (scale <= 0)
        return result;
    const int64_t sheetX = dim.StoredX().raw(), sheetY = dim.StoredY().raw();
    const QSizeF drawn(sheetX * scale, sheetY * scale);
    // Centred in what is left after the chains' room.
    const QPointF origin(area.left() + kNearSide + (area.width() - kNearSide - kFarSide - drawn.width()) / 2,
                         area.top() + kNearSide +
                             (area.height() - kNearSide - kFarSide - drawn.height()) / 2);
    auto toPage = [&](const TCutBox& b) {
        return QRectF(origin.x() + b.l * scale, origin.y() + b.t * scale, (b.r - b.l) * scale,
                      (b.b - b.t) * scale);
    };
    QPainter& p = canvas.Painter();
    QList<QRectF> placed;

    const QRectF sheetRect(origin, drawn);
    p.fillRect(sheetRect, kWaste);
    const bool grainX = dim.Orientation() == doX, grainY = dim.Orientation() == doY;

    // Rests first, so the pieces' outlines lie on top.
    for (int i = 0; i < sheet.Rests()->ItemCount(); ++i) {
        const TCSDimOut* r = sheet.Rests()->Rest(i);
        const QRectF box =
            toPage({r->OX().raw(), r->OY().raw(), (r->OX() + r->X()).raw(), (r->OY() + r->Y()).raw()});
        p.fillRect(box, kRestFill);
        p.fillRect(box, QBrush(kRestHatch, Qt::BDiagPattern));
        p.setPen(QPen(kRestHatch, 4));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        const QString label = PackText(QStringLiteral("Rest"));
        if (auto choice = chooseLabel(box, label, SizeText(r->X().raw(), r->Y().raw()), QString())) {
            const QRectF back(
                box.center() -
                    QPointF(choice->Upwards ? choice->Size.height() / 2 + 6 : choice->Size.width() / 2 + 6,
                            choice->Upwards ? choice->Size.width() / 2 + 6 : choice->Size.height() / 2 + 6),
                choice->Upwards ? QSizeF(choice->Size.height() + 12, choice->Size.width() + 12)
                                : QSizeF(choice->Size.width() + 12, choice->Size.height() + 12));
            p.fillRect(back, kRestFill);
            paintLabel(canvas, box, *choice, kRestHatch.darker(150), placed);
        }
    }
    for (int i = 0; i < sheet.Parts()->ItemCount(); ++i) {
        const TCSPartOut* piece = sheet.Parts()->PartOut(i);
        const QRectF box = toPage({piece->OX().raw(), piece->OY().raw(), (piece->OX() + piece->X()).raw(),
                                   (piece->OY() + piece->Y()).raw()});
        p.setPen(QPen(Qt::black, 4));
        p.setBrush(Qt::white);
        p.drawRect(box);
        const TPart* part =
            data.Order ? static_cast<const TPart*>(data.Order->Parts()->FindItem(-piece->PartID())) : nullptr;
        const bool grain = part && part->Orientation() != poNone && (grainX || grainY);
        if (grain && box.width() > 60 && box.height() > 60) {
            // The grain along the sheet's grain, near the piece's bottom or right edge.
            p.setPen(QPen(QColor(150, 110, 60), 3));
            if (grainX)
                drawArrow(p, QPointF(box.left() + 15, box.bottom() - 12),
                          QPointF(box.left() + std::min(box.width() - 15, 150.0), box.bottom() - 12), 10);
            else
                drawArrow(p, QPointF(box.right() - 12, box.bottom() - 15),
                          QPointF(box.right() - 12, box.bottom() - std::min(box.height() - 15, 150.0)), 10);
        }
        const QString number =
            QString::number(piece->PartID()) + (piece->IsRotated() ? QStringLiteral(" ↻") : QString());
        const QString caption = part ? part->Caption() : QString();
        if (auto choice = chooseLabel(box, number, SizeText(piece->X().raw(), piece->Y().raw()), caption))
            paintLabel(canvas, box, *choice, Qt::black, placed);
        else
            result.Unnumbered << i;
    }
    p.setPen(QPen(Qt::black, 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(sheetRect);

    // Dimension chains of the first-stage cuts: the strips' widths along the edge the cuts cross,
    // in the row next to the sheet; labels that do not fit their strip go to the outer row.
    const TCutSequence& seq = plan.Sequence;
    const bool chainAlongX = seq.FirstStageAlongY; // lines along Y are measured along X
    QList<int64_t> bounds{0};
    for (int64_t line : seq.FirstStageLines) {
        bounds << line << std::min(line + data.Kerf, chainAlongX ? sheetX : sheetY);
    }
    bounds << (chainAlongX ? sheetX : sheetY);
    p.setPen(QPen(Qt::darkGray, 2));
    auto chainText = [&](int64_t a, int64_t b, int rowIndex, bool alongX, bool nearSide) {
        const QString text = LengthText(b - a);
        const QSizeF s = TPackCanvas::Measure(text, kChainPoints);
        const double from = (alongX ? origin.x() : origin.y()) + a * scale;
        const double to = (alongX ? origin.x() : origin.y()) + b * scale;
        const double mid = (from + to) / 2;
        for (int row = rowIndex; row < 2; ++row) {
            QRectF box;
            if (alongX) {
                const double y =
                    nearSide ? origin.y() - (row + 1) * kChainRow : origin.y() + drawn.height() + 8;
                box = QRectF(mid - s.width() / 2, y + (kChainRow - s.height()) / 2, s.width(), s.height());
            } else {
                const double x =
                    nearSide ? origin.x() - (row + 1) * kChainRow : origin.x() + drawn.width() + 8;
                box = QRectF(x + (kChainRow - s.height()) / 2, mid - s.width() / 2, s.height(), s.width());
            }
            const bool inStrip = s.width() + 6 <= to - from;
            if ((inStrip || row == 1) && !overlapsAny(box, placed) &&
                (alongX ? box.left() >= area.left() && box.right() <= area.right()
                        : box.top() >= area.top() && box.bottom() <= area.bottom())) {
                if (alongX)
                    placed << canvas.Text(box.topLeft(), text, kChainPoints);
                else
                    placed << canvas.Text(QPointF(box.right(), box.bottom()), text, kChainPoints, false,
                                          Qt::black, true);
                const double edge = alongX ? box.center().y() : box.center().x();
                if (alongX) {
                    p.drawLine(QPointF(from, edge - 10), QPointF(from, edge + 10));
                    p.drawLine(QPointF(to, edge - 10), QPointF(to, edge + 10));
                } else {
                    p.drawLine(QPointF(edge - 10, from), QPointF(edge + 10, from));
                    p.drawLine(QPointF(edge - 10, to), QPointF(edge + 10, to));
                }
                return;
            }
            if (!nearSide)
                return;
        }
    };
    if (bounds.size() > 2)
        for (qsizetype i = 0; i + 1 < bounds.size(); i += 2)
            if (bounds[i + 1] > bounds[i])
                chainText(bounds[i], bounds[i + 1], 0, chainAlongX, true);
    // The sheet's own size on the far sides.
    chainText(0, sheetX, 0, true, false);
    chainText(0, sheetY, 0, false, false);

    if (sequence && seq.Guillotine) {
        for (const TCut& cut : seq.Cuts) {
            const double line =
                (cut.AlongY ? origin.x() : origin.y()) + (cut.Position + data.Kerf / 2.0) * scale;
            const double a =
                (cut.AlongY ? origin.y() + cut.Region.t * scale : origin.x() + cut.Region.l * scale);
            const double b =
                (cut.AlongY ? origin.y() + cut.Region.b * scale : origin.x() + cut.Region.r * scale);
            p.setPen(QPen(kCutColour, 3, Qt::DashLine));
            if (cut.AlongY)
                p.drawLine(QPointF(line, a), QPointF(line, b));
            else
                p.drawLine(QPointF(a, line), QPointF(b, line));
            const QString text = QString::number(cut.Number);
            const QSizeF s = TPackCanvas::Measure(text, kCutPoints, true) + QSizeF(8, 0);
            for (double f : {0.5, 0.25, 0.75, 0.1, 0.9, 0.4, 0.6, 0.33, 0.67, 0.05, 0.95}) {
                const double along = a + (b - a) * f;
                const QRectF box =
                    cut.AlongY ? QRectF(line - s.width() / 2, along - s.height() / 2, s.width(), s.height())
                               : QRectF(along - s.width() / 2, line - s.height() / 2, s.width(), s.height());
                if (overlapsAny(box, placed))
                    continue;
                p.setPen(QPen(kCutColour, 3));
                p.setBrush(Qt::white);
                p.drawRoundedRect(box, 8, 8);
                canvas.Text(box.topLeft() + QPointF(4, 0), text, kCutPoints, true, kCutColour);
                placed << box;
                break;
            }
        }
    }
    return result;
}

} // namespace lintaro::workshop
