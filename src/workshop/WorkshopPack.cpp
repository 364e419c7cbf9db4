#include "workshop/WorkshopPack.h"

#include "foundation/Units.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Sheets.h"
#include "workshop/DiagramPainter.h"
#include "workshop/PackLabels.h"
#include "workshop/PackTable.h"

#include <QLocale>
#include <QMap>
#include <QPainter>

namespace lintaro::workshop {

namespace {

constexpr double kMargin = 100; // 10 mm
constexpr double kTitlePoints = 14;
constexpr double kLinePoints = 9;

QString tx(const char* key) {
    return PackText(QLatin1String(key));
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString freedText(const TCut& cut, const TCuttingSheet& sheet) {
    const QString size = SizeText(cut.Freed.Width(), cut.Freed.Height());
    switch (cut.FreedKind) {
    case fkPart:
        return tx("FreesPart").arg(sheet.Parts()->PartOut(cut.FreedIndex)->PartID()).arg(size);
    case fkRest:
        return tx("FreesRest").arg(size);
    case fkWaste:
        return tx("FreesWaste").arg(size);
    case fkStrip:
        break;
    }
    return tx("FreesStrip").arg(size);
}

TPackTable cutListTable(const TPackData& data, const TPackPlan& plan) {
    TPackTable table;
    table.Title = tx("CutListTitle");
    table.Header = {tx("ColNumber"), tx("ColCaption"), tx("ColLength"),
                    tx("ColWidth"),  tx("ColCount"),   tx("ColTurned")};
    table.Widths = {0.9, 2.6, 1.3, 1.3, 1.2, 1.4};
    table.Right = {true, false, true, true, true, false};
    struct TGroup {
        int PartID;
        bool Turned;
        int64_t X, Y;
        int Count;
    };
    QList<TGroup> groups;
    int pieces = 0;
    for (int i = 0; i < plan.Sheet->Parts()->ItemCount(); ++i) {
        const TCSPartOut* p = plan.Sheet->Parts()->PartOut(i);
        ++pieces;
        bool found = false;
        for (TGroup& g : groups)
            if (g.PartID == p->PartID() && g.Turned == p->IsRotated()) {
                ++g.Count;
                found = true;
                break;
            }
        if (!found)
            groups.append({p->PartID(), p->IsRotated(), p->OriginalX().raw(), p->OriginalY().raw(), 1});
    }
    for (const TGroup& g : groups) {
        const TDataComponent* part = data.Order ? data.Order->Parts()->FindItem(-g.PartID) : nullptr;
        table.Rows << QStringList{QString::number(g.PartID), part ? part->Caption() : QString(),
                                  LengthText(g.Y),           LengthText(g.X),
                                  QString::number(g.Count),  g.Turned ? tx("Yes") : QString()};
    }
    table.Rows << QStringList{QString(), tx("TotalPerSheet"),     QString(),
                              QString(), QString::number(pieces), QString()};
    table.Emphasis.resize(table.Rows.size());
    table.Emphasis.back() = true;
    if (plan.Count() > 1) {
        table.Rows << QStringList{QString(), tx("TotalAllSheets").arg(plan.Count()), QString(),
                                  QString(), QString::number(pieces * plan.Count()), QString()};
        table.Emphasis << true;
    }
    return table;
}

TPackTable sequenceTable(const TPackPlan& plan) {
    TPackTable table;
    table.Title = tx("SequenceTitle");
    table.Header = {tx("ColCut"),   tx("ColStage"),     tx("ColDirection"),
                    tx("ColFence"), tx("ColCutLength"), tx("ColFrees")};
    table.Widths = {0.9, 1.1, 1.7, 1.2, 1.3, 2.8};
    table.Right = {true, true, false, true, true, false};
    for (const TCut& cut : plan.Sequence.Cuts)
        table.Rows << QStringList{
            QString::number(cut.Number), QString::number(cut.Stage), cut.AlongY ? tx("AlongY") : tx("AlongX"),
            LengthText(cut.Fence),       LengthText(cut.Length),     freedText(cut, *plan.Sheet)};
    return table;
}

void paintFooter(TPackCanvas& c, const QSizeF& size, const QString& orderNumber) {
    c.TextIn(QRectF(kMargin, size.height() - kMargin + 20, size.width() - 2 * kMargin, 40),
             Qt::AlignLeft | Qt::AlignTop, tx("Footer").arg(orderNumber), 7, false, Qt::darkGray);
}

} // namespace

QSizeF PaperSizeMm(TPackPaper paper) {
    switch (paper) {
    case ppA3:
        return {297, 420};
    case ppLetter:
        return {215.9, 279.4};
    case ppA4:
        break;
    }
    return {210, 297};
}

QString PieceBarcodeText(const QString& orderNumber, int partID, int piece) {
    return QStringLiteral("%1/%2/%3").arg(orderNumber).arg(partID).arg(piece);
}

TWorkshopPack::TWorkshopPack(const TOrder& order, const TPackOptions& options)
    : data_(CollectPackData(order)), options_(options) {
    if (!options_.Date.isValid())
        options_.Date = QDate::currentDate();
    if (data_.Plans.isEmpty())
        return;
    addCover();
    addDiagrams();
    addOffcuts();
    addLabels();
}

QString TWorkshopPack::Problem() const {
    if (!pages_.empty())
        return QString();
    if (data_.AskedSheets > kMaxPackSheets)
        return tx("TooManySheets").arg(data_.AskedSheets).arg(kMaxPackSheets);
    return tx("NothingCalculated");
}

void TWorkshopPack::PaintPage(int index, QPainter& painter, QList<TDrawnText>* log) const {
    TPackCanvas canvas(painter, log);
    const TPackPage& page = Page(index);
    painter.fillRect(QRectF(0, 0, page.SizeMm.width() * kUnitsPerMm, page.SizeMm.height() * kUnitsPerMm),
                     Qt::white);
    page.Paint(canvas);
}

void TWorkshopPack::addCover() {
    const QSizeF size = PaperSizeMm(options_.Paper);
    TPackPage page;
    page.SizeMm = size;
    page.Title = tx("CoverTitle");
    page.Paint = [this, size](TPackCanvas& c) {
        const TOrder& order = *data_.Order;
        const QSizeF units = size * kUnitsPerMm;
        double y = kMargin;
        const double width = units.width() - 2 * kMargin;
        c.SetGroup(1);
        y += c.TextIn(QRectF(kMargin, y, width, 80), Qt::AlignLeft, tx("CoverTitle"), 20, true).height() + 30;
        auto row = [&](const QString& label, const QString& value) {
            c.TextIn(QRectF(kMargin, y, 500, 50), Qt::AlignLeft, label, 10, true);
            y += c.TextIn(QRectF(kMargin + 520, y, width - 520, 50), Qt::AlignLeft, value, 10).height() + 10;
        };
        row(tx("Order"), data_.OrderNumber);
        row(tx("Customer"), data_.Customer);
        row(tx("Date"), dateText(options_.Date));
        QString material = data_.MaterialCaption;
        if (data_.Material)
            material +=
                QStringLiteral(", ") + (data_.Material->HasOrientation() ? tx("WithGrain") : tx("NoGrain"));
        row(tx("Material"), material);
        row(tx("Kerf"), LengthText(data_.Kerf) + u' ' + DimUnit());
        // The stock used: each size and source with its sheet count.
        QMap<QString, int> stock;
        QStringList stockOrder;
        for (const TPackPlan& plan : data_.Plans) {
            const TDimension& d = *plan.Sheet->Dimension();
            const QString key = SizeTextWithUnit(d.StoredX().raw(), d.StoredY().raw()) +
                                (d.IsRest() ? QStringLiteral(" (") + tx("FromRest") + u')' : QString());
            if (!stock.contains(key))
                stockOrder << key;
            stock[key] += plan.Count();
        }
        QStringList stockLines;
        for (const QString& key : stockOrder)
            stockLines << QStringLiteral("%1 × %2").arg(stock[key]).arg(key);
        for (qsizetype i = 0; i < std::max<qsizetype>(1, stockLines.size()); ++i)
            row(i == 0 ? tx("StockUsed") : QString(), stockLines.value(i));
        row(tx("Sheets"), QString::number(data_.TotalSheets));
        const TSheets& sheets = *order.Sheets();
        row(tx("Yield"),
            tx("YieldValue").arg(PercentText(sheets.ExtractBrutto()), PercentText(sheets.ExtractNetto())));
        // Placed and unplaced pieces per part.
        QMap<int, int> placed;
        int placedTotal = 0;
        for (const TPackPlan& plan : data_.Plans)
            for (int i = 0; i < plan.Sheet->Parts()->ItemCount(); ++i) {
                placed[plan.Sheet->Parts()->PartOut(i)->PartID()] += plan.Count();
                placedTotal += plan.Count();
            }
        QStringList unplaced;
        int unplacedTotal = 0;
        for (int i = 0; i < order.Parts()->ItemCount(); ++i) {
            const TPart* part = order.Parts()->Part(i);
            if (!part->IsValid())
                continue;
            const int missing = part->Count() - placed.value(part->ID());
            if (missing > 0) {
                unplacedTotal += missing;
                unplaced << tx("UnplacedLine")
                                .arg(part->ID())
                                .arg(part->Caption())
                                .arg(missing)
                                .arg(SizeTextWithUnit(part->StoredX().raw(), part->StoredY().raw()));
            }
        }
        row(tx("PiecesPlaced"), QString::number(placedTotal));
        row(tx("PiecesNotPlaced"), QString::number(unplacedTotal));
        if (!unplaced.isEmpty()) {
            y += 20;
            const double line = TPackCanvas::Measure(QStringLiteral("Xg"), 9).height() + 4;
            const int shown = int(std::min<qsizetype>(unplaced.size(), 12));
            const QRectF box(kMargin, y, width, line * (shown + 1 + (unplaced.size() > shown ? 1 : 0)) + 30);
            c.Painter().setPen(QPen(Qt::red, 6));
            c.Painter().setBrush(QColor(255, 235, 235));
            c.Painter().drawRect(box);
            double ly = y + 15;
            c.TextIn(QRectF(kMargin + 20, ly, width - 40, line), Qt::AlignLeft, tx("UnplacedTitle"), 9, true,
                     Qt::red);
            ly += line;
            for (int i = 0; i < shown; ++i, ly += line)
                c.TextIn(QRectF(kMargin + 20, ly, width - 40, line), Qt::AlignLeft, unplaced[i], 9);
            if (unplaced.size() > shown)
                c.TextIn(QRectF(kMargin + 20, ly, width - 40, line), Qt::AlignLeft,
                         tx("UnplacedMore").arg(unplaced.size() - shown), 9);
            y = box.bottom() + 20;
        }
        // The table of contents.
        y += 30;
        y += c.TextIn(QRectF(kMargin, y, width, 60), Qt::AlignLeft, tx("Contents"), 12, true).height() + 10;
        const double line = TPackCanvas::Measure(QStringLiteral("Xg"), 9).height() + 4;
        int column = 0;
        const double columnWidth = width / 2;
        const double top = y;
        for (size_t i = 0; i < pages_.size(); ++i) {
            if (!pages_[i].InContents)
                continue;
            if (y + line > units.height() - kMargin) {
                if (++column > 1)
                    break;
                y = top;
            }
            const double x = kMargin + column * columnWidth;
            c.TextIn(QRectF(x, y, columnWidth - 140, line), Qt::AlignLeft, pages_[i].Title, 9);
            c.TextIn(QRectF(x + columnWidth - 130, y, 100, line), Qt::AlignRight, QString::number(i + 1), 9);
            y += line;
        }
        paintFooter(c, units, data_.OrderNumber);
    };
    pages_.push_back(page);
}

void TWorkshopPack::addDiagrams() {
    const QSizeF paper = PaperSizeMm(options_.Paper);
    for (qsizetype k = 0; k < data_.Plans.size(); ++k) {
        const TPackPlan* plan = &data_.Plans[k];
        const TDimension& dim = *plan->Sheet->Dimension();
        const bool landscape = dim.StoredX() > dim.StoredY();
        const QSizeF size = landscape ? paper.transposed() : paper;
        const QSizeF units = size * kUnitsPerMm;
        auto cutList = std::make_shared<TPackTable>(cutListTable(data_, *plan));
        auto sequence = std::make_shared<TPackTable>(sequenceTable(*plan));
        const bool withSequence = options_.Sequence && plan->Sequence.Guillotine && !sequence->Rows.isEmpty();
        const double headerHeight = 150;
        const double usable = units.height() - 2 * kMargin - headerHeight;
        const int rowsNeeded = int(std::max(cutList->Rows.size(), withSequence ? sequence->Rows.size() : 0));
        const double tableHeight = std::min(TPackTable::Height(rowsNeeded), usable * 0.3);
        const int firstRows = TPackTable::RowsFitting(tableHeight);
        const QString numbers = SheetNumbersText(plan->SheetNumbers, data_.TotalSheets);
        const QString title =
            plan->Count() > 1 ? numbers + QStringLiteral("  × %1").arg(plan->Count()) : numbers;

        auto header = [plan, title, units](TPackCanvas& c, bool continued) {
            const TDimension& d = *plan->Sheet->Dimension();
            const double width = units.width() - 2 * kMargin;
            c.SetGroup(1);
            c.TextIn(QRectF(kMargin, kMargin, width, 60), Qt::AlignLeft,
                     continued ? title + QStringLiteral(" — ") + tx("Continued") : title, kTitlePoints, true);
            QString stock = tx("StockLine")
                                .arg(SizeTextWithUnit(d.StoredX().raw(), d.StoredY().raw()),
                                     d.IsRest() ? tx("FromRest") : tx("FromStock").arg(d.Caption()));
            if (d.Orientation() != doNone)
                stock +=
                    QStringLiteral(" · ") + (d.Orientation() == doX ? tx("GrainAlongX") : tx("GrainAlongY"));
            c.TextIn(QRectF(kMargin, kMargin + 60, width, 40), Qt::AlignLeft, stock, kLinePoints);
            c.TextIn(
                QRectF(kMargin, kMargin + 100, width, 40), Qt::AlignLeft,
                tx("PlanLine")
                    .arg(plan->Sheet->Parts()->ItemCount())
                    .arg(PercentText(plan->Sheet->ExtractBrutto()), PercentText(plan->Sheet->ExtractNetto())),
                kLinePoints);
            if (!plan->Sequence.Guillotine)
                c.TextIn(QRectF(kMargin + width / 2, kMargin + 100, width / 2, 40), Qt::AlignRight,
                         tx("NotGuillotine"), kLinePoints, true, Qt::red);
        };

        TPackPage page;
        page.SizeMm = size;
        page.Title = title;
        page.Paint = [this, plan, units, header, cutList, sequence, withSequence,
                      tableHeight](TPackCanvas& c) {
            header(c, false);
            const double width = units.width() - 2 * kMargin;
            const QRectF area(kMargin, kMargin + 150, width,
                              units.height() - 2 * kMargin - 150 - tableHeight);
            c.SetGroup(2);
            const TDiagramResult drawn = PaintDiagram(c, area, data_, *plan, withSequence);
            if (!drawn.Unnumbered.isEmpty()) {
                // Pieces too small for any text: their number and place, beside the title.
                QStringList places;
                for (int i : drawn.Unnumbered) {
                    const TCSPartOut* p = plan->Sheet->Parts()->PartOut(i);
                    places << tx("UnnumberedPiece")
                                  .arg(p->PartID())
                                  .arg(LengthText(p->OX().raw()), LengthText(p->OY().raw()));
                }
                c.SetGroup(1);
                c.TextIn(QRectF(kMargin + width / 2, kMargin + 60, width / 2, 40), Qt::AlignRight,
                         tx("Unnumbered").arg(places.join(QStringLiteral(", "))), kLinePoints, true, Qt::red);
            }
            c.SetGroup(3);
            const double top = area.bottom();
            const double split = withSequence ? width * 0.45 : width;
            cutList->Paint(c, QRectF(kMargin, top, split - 30, tableHeight), 0);
            if (withSequence) {
                c.SetGroup(4);
                sequence->Paint(c, QRectF(kMargin + split, top, width - split, tableHeight), 0);
            }
            paintFooter(c, units, data_.OrderNumber);
        };
        pages_.push_back(page);
        // What does not fit under the diagram continues on pages of their own.
        const int fullRows = TPackTable::RowsFitting(usable + headerHeight - 160);
        for (int first = firstRows; first < rowsNeeded; first += fullRows) {
            TPackPage more;
            more.SizeMm = size;
            more.Title = title + QStringLiteral(" — ") + tx("Continued");
            more.InContents = false;
            more.Paint = [this, units, header, cutList, sequence, withSequence, first](TPackCanvas& c) {
                header(c, true);
                const double width = units.width() - 2 * kMargin;
                const double top = kMargin + 160;
                const double height = units.height() - kMargin - top;
                const double split = withSequence ? width * 0.45 : width;
                c.SetGroup(3);
                if (first < cutList->Rows.size())
                    cutList->Paint(c, QRectF(kMargin, top, split - 30, height), first);
                if (withSequence && first < sequence->Rows.size()) {
                    c.SetGroup(4);
                    sequence->Paint(c, QRectF(kMargin + split, top, width - split, height), first);
                }
                paintFooter(c, units, data_.OrderNumber);
            };
            pages_.push_back(more);
        }
    }
}

void TWorkshopPack::addOffcuts() {
    auto table = std::make_shared<TPackTable>();
    table->Title = tx("OffcutTitle");
    table->Header = {tx("ColNumber"), tx("ColSize"), tx("ColSheets"), tx("ColCount"), tx("ColArea")};
    table->Widths = {0.8, 2, 2.5, 1, 1.3};
    table->Right = {true, false, false, true, true};
    int n = 0;
    for (const TPackPlan& plan : data_.Plans)
        for (int i = 0; i < plan.Sheet->Rests()->ItemCount(); ++i) {
            const TCSDimOut* r = plan.Sheet->Rests()->Rest(i);
            table->Rows << QStringList{QStringLiteral("R%1").arg(++n),
                                       SizeTextWithUnit(r->X().raw(), r->Y().raw()),
                                       NumberRanges(plan.SheetNumbers), QString::number(plan.Count()),
                                       AreaToUser(r->StoredArea()).toText() + u' ' + AreaUnit()};
        }
    if (table->Rows.isEmpty())
        return;
    const QSizeF size = PaperSizeMm(options_.Paper);
    const QSizeF units = size * kUnitsPerMm;
    const int perPage = TPackTable::RowsFitting(units.height() - 2 * kMargin);
    for (int first = 0; first < table->Rows.size(); first += perPage) {
        TPackPage page;
        page.SizeMm = size;
        page.Title = tx("OffcutTitle");
        page.InContents = first == 0;
        page.Paint = [this, table, units, first](TPackCanvas& c) {
            c.SetGroup(1);
            table->Paint(c,
                         QRectF(kMargin, kMargin, units.width() - 2 * kMargin, units.height() - 2 * kMargin),
                         first);
            paintFooter(c, units, data_.OrderNumber);
        };
        pages_.push_back(page);
    }
}

void TWorkshopPack::addLabels() {
    if (options_.Labels == lsNone)
        return;
    for (TPackPage& page : MakeLabelPages(data_, options_))
        pages_.push_back(std::move(page));
}

} // namespace lintaro::workshop
