#include "workshop/PackLabels.h"

#include "foundation/Units.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Order.h"
#include "model/Part.h"
#include "reports/Barcode.h"

#include <QMap>
#include <QPainter>

#include <memory>

namespace lintaro::workshop {

namespace {

QString tx(const char* key) {
    return PackText(QLatin1String(key));
}

// Code 128 B: 11 modules a character, start and check character, 13 for the stop.
int code128Modules(const QString& text) {
    return 11 * (int(text.size()) + 2) + 13;
}

// Draws the barcode as wide as box allows with the widest bars up to 0.38 mm; false when even the
// narrowest bars do not fit.
bool drawFittingBarcode(QPainter& p, const QRectF& box, const QString& text) {
    constexpr double kUnitsPerHundredthInch = 2.54;
    for (int step = 4; step >= 0; --step) {
        const double module = (step + 2) / 4.0 * kUnitsPerHundredthInch;
        if (code128Modules(text) * module > box.width())
            continue;
        TBarcodeOptions options;
        options.Type = bcCode128B;
        options.Step = step;
        p.save();
        p.scale(kUnitsPerHundredthInch, kUnitsPerHundredthInch);
        const bool ok = DrawBarcode(
            p, QRectF(box.topLeft() / kUnitsPerHundredthInch, box.size() / kUnitsPerHundredthInch), text,
            options);
        p.restore();
        return ok;
    }
    return false;
}

void drawGrainArrow(QPainter& p, const QRectF& box) {
    p.save();
    p.setPen(QPen(QColor(150, 110, 60), 4));
    const double y = box.center().y();
    p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
    p.drawLine(QPointF(box.right(), y), QPointF(box.right() - 15, y - 8));
    p.drawLine(QPointF(box.right(), y), QPointF(box.right() - 15, y + 8));
    p.drawLine(QPointF(box.left(), y), QPointF(box.left() + 15, y - 8));
    p.drawLine(QPointF(box.left(), y), QPointF(box.left() + 15, y + 8));
    p.restore();
}

void paintLabel(TPackCanvas& c, const QRectF& label, const TPackLabel& l, const TPackData& data,
                const QDate& date) {
    QPainter& p = c.Painter();
    const double pad = 25;
    const QRectF inner = label.adjusted(pad, pad, -pad, -pad);
    const bool big = label.height() >= 450;
    const double small = big ? 9 : 6.5, large = big ? 13 : 9;
    const double line = TPackCanvas::Measure(QStringLiteral("Xg"), small).height();
    double y = inner.top();
    if (l.Rest) {
        y += c.TextIn(QRectF(inner.left(), y, inner.width(), line * 2), Qt::AlignLeft, tx("RestLabel"), large,
                      true)
                 .height();
        y +=
            c.TextIn(QRectF(inner.left(), y, inner.width(), line), Qt::AlignLeft, data.MaterialCaption, small)
                .height();
        y += c.TextIn(QRectF(inner.left(), y, inner.width(), line * 2), Qt::AlignLeft,
                      SizeTextWithUnit(l.X, l.Y), large, true)
                 .height();
        y += c.TextIn(QRectF(inner.left(), y, inner.width(), line), Qt::AlignLeft,
                      tx("LabelSheetDate").arg(l.Sheet).arg(date.toString(QStringLiteral("yyyy-MM-dd"))),
                      small)
                 .height();
        c.TextIn(QRectF(inner.left(), y, inner.width(), line), Qt::AlignLeft,
                 tx("LabelOrder").arg(data.OrderNumber), small);
        return;
    }
    y += c.TextIn(QRectF(inner.left(), y, inner.width(), line * 2), Qt::AlignLeft,
                  QStringLiteral("%1  %2").arg(l.PartID).arg(l.Caption), large, true)
             .height();
    // Finished length × width, the part's own sizes.
    const QRectF sizeBox = c.TextIn(QRectF(inner.left(), y, inner.width(), line * 2), Qt::AlignLeft,
                                    SizeTextWithUnit(l.Y, l.X), large, true);
    if (l.Grain) {
        // The arrow, and which of the two sizes it runs along.
        const QString along = l.GrainAlongLength ? tx("GrainLength") : tx("GrainWidth");
        const double arrow = std::min(120.0, inner.right() - sizeBox.right() - 40);
        const double textWidth = TPackCanvas::Measure(along, small).width();
        if (arrow >= 40 && sizeBox.right() + 30 + arrow + 15 + textWidth <= inner.right()) {
            drawGrainArrow(p, QRectF(sizeBox.right() + 30, sizeBox.top(), arrow, sizeBox.height()));
            c.TextIn(QRectF(sizeBox.right() + 45 + arrow, sizeBox.top(), textWidth + 2, sizeBox.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, along, small);
        }
    }
    y += sizeBox.height();
    y += c.TextIn(QRectF(inner.left(), y, inner.width(), line), Qt::AlignLeft,
                  tx("LabelOrderCustomer").arg(data.OrderNumber, data.Customer), small)
             .height();
    y += c.TextIn(QRectF(inner.left(), y, inner.width(), line), Qt::AlignLeft,
                  tx("LabelSheetPiece").arg(l.Sheet).arg(l.Piece), small)
             .height();
    const QRectF bars(inner.left(), y + 10, inner.width(), inner.bottom() - y - 10);
    if (bars.height() >= 40)
        drawFittingBarcode(p, bars, l.Barcode);
}

} // namespace

TLabelGeometry LabelGeometry(TLabelStock stock) {
    switch (stock) {
    case lsA4_2x7:
        return {{210, 297}, {99.1, 38.1}, {4.65, 15.15}, {101.6, 38.1}, 2, 7};
    case lsRoll62x29:
        return {{62, 29}, {62, 29}, {0, 0}, {62, 29}, 1, 1};
    case lsRoll100x50:
        return {{100, 50}, {100, 50}, {0, 0}, {100, 50}, 1, 1};
    case lsA4_3x8:
    case lsNone:
        break;
    }
    return {{210, 297}, {70, 37}, {0, 0.5}, {70, 37}, 3, 8};
}

QList<TPackLabel> PackLabels(const TPackData& data) {
    QList<TPackLabel> labels;
    QMap<int, int> pieces; // per part, the pieces labelled so far
    // Sheets in their physical order, so a stack of labels follows the saw.
    QList<QPair<int, const TPackPlan*>> sheets;
    for (const TPackPlan& plan : data.Plans)
        for (int n : plan.SheetNumbers)
            sheets.append({n, &plan});
    std::sort(sheets.begin(), sheets.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [number, plan] : sheets) {
        const TCuttingSheet& sheet = *plan->Sheet;
        const bool sheetGrain = sheet.Dimension()->Orientation() != doNone;
        for (int i = 0; i < sheet.Parts()->ItemCount(); ++i) {
            const TCSPartOut* p = sheet.Parts()->PartOut(i);
            const TPart* part =
                data.Order ? static_cast<const TPart*>(data.Order->Parts()->FindItem(-p->PartID())) : nullptr;
            TPackLabel l;
            l.PartID = p->PartID();
            l.Piece = ++pieces[p->PartID()];
            l.Sheet = number;
            l.X = p->OriginalX().raw();
            l.Y = p->OriginalY().raw();
            l.Caption = part ? part->Caption() : QString();
            l.Grain = sheetGrain && part && part->Orientation() != poNone;
            l.GrainAlongLength = part && part->Orientation() == poY;
            l.Barcode = PieceBarcodeText(data.OrderNumber, l.PartID, l.Piece);
            labels << l;
        }
    }
    for (const auto& [number, plan] : sheets)
        for (int i = 0; i < plan->Sheet->Rests()->ItemCount(); ++i) {
            const TCSDimOut* r = plan->Sheet->Rests()->Rest(i);
            TPackLabel l;
            l.Rest = true;
            l.Sheet = number;
            l.X = r->X().raw();
            l.Y = r->Y().raw();
            labels << l;
        }
    return labels;
}

std::vector<TPackPage> MakeLabelPages(const TPackData& data, const TPackOptions& options) {
    std::vector<TPackPage> pages;
    auto labels = std::make_shared<QList<TPackLabel>>(PackLabels(data));
    if (labels->isEmpty())
        return pages;
    const TLabelGeometry g = LabelGeometry(options.Labels);
    const int perPage = g.Columns * g.Rows;
    const TPackData* d = &data;
    const QDate date = options.Date;
    for (qsizetype first = 0; first < labels->size(); first += perPage) {
        TPackPage page;
        page.SizeMm = g.Page;
        page.Title = tx("LabelsTitle");
        page.InContents = first == 0;
        page.Paint = [labels, g, first, perPage, d, date](TPackCanvas& c) {
            for (int k = 0; k < perPage && first + k < labels->size(); ++k) {
                const int col = k % g.Columns, row = k / g.Columns;
                const QRectF box(
                    QPointF(g.First.x() + col * g.Pitch.width(), g.First.y() + row * g.Pitch.height()) *
                        kUnitsPerMm,
                    g.Label * kUnitsPerMm);
                c.SetGroup(10 + k);
                if (perPage > 1) {
                    // Faint outlines show the label edges on plain paper.
                    c.Painter().setPen(QPen(QColor(220, 220, 220), 1));
                    c.Painter().setBrush(Qt::NoBrush);
                    c.Painter().drawRect(box);
                }
                paintLabel(c, box, labels->at(first + k), *d, date);
            }
        };
        pages.push_back(page);
    }
    return pages;
}

} // namespace lintaro::workshop
