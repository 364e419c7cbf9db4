#include "cli/ResultSummary.h"

#include "calc/LowerBound.h"
#include "cli/CutFigures.h"
#include "cli/CutList.h"
#include "foundation/NumberFormat.h"
#include "foundation/Units.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "platform/Locale.h"

#include <QDateTime>
#include <QJsonArray>

#include <cmath>

namespace lintaro::cli {

namespace {

double value(Currency c) {
    return double(c.toValue());
}

Currency times(Currency c, int count) {
    return Currency::fromRaw(c.raw() * count);
}

// The date and time at the end of a report line ("Calculation started 08.12.2026 11:20:03"),
// in the user's short date form or one of the forms older files were written in.
std::optional<QDateTime> reportTime(const QString& line) {
    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2)
        return std::nullopt;
    const QTime time = QTime::fromString(words.last(), QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        return std::nullopt;
    // The date itself may hold blanks ("8 Dec 2026").
    for (qsizetype n = 1; n <= std::min<qsizetype>(3, words.size() - 1); ++n) {
        const QString dateText = words.sliced(words.size() - 1 - n, n).join(u' ');
        for (const QString& format : {Locale::current().shortDateFormat, QStringLiteral("yyyy-MM-dd"),
                                      QStringLiteral("dd.MM.yyyy")}) {
            const QDate date = QDate::fromString(dateText, format);
            if (date.isValid())
                return QDateTime(date, time, Qt::UTC);
        }
    }
    return std::nullopt;
}

QString sizeText(Currency x, Currency y) {
    return LengthToUser(x).toText() + QLatin1String(" x ") + LengthToUser(y).toText() + u' ' + DimUnit();
}

QString areaText(Currency area) {
    return FormatWithUnit(area, 3, AreaUnit());
}

} // namespace

QString StateName(TSheetsState state) {
    switch (state) {
    case ssNone:
        return QStringLiteral("ssNone");
    case ssCalculating:
        return QStringLiteral("ssCalculating");
    case ssCalculatedOK:
        return QStringLiteral("ssCalculatedOK");
    case ssCalculatedError:
        return QStringLiteral("ssCalculatedError");
    case ssPartsChanged:
        return QStringLiteral("ssPartsChanged");
    }
    return QStringLiteral("ssNone");
}

TResultSummary SummariseResult(const TOrder& order) {
    TResultSummary s;
    const TSheets* sheets = order.Sheets();
    const TCuttingSheetList* list = sheets->CuttingSheets();
    s.State = sheets->State();
    const QStringList& report = sheets->CalculationReport();
    // The stop is recorded as error -1 in the report; the state alone says only "with errors".
    for (const QString& line : report)
        if (line.startsWith(QLatin1String("ERROR #-1")))
            s.Stopped = true;
    if (report.size() >= 2) {
        const auto start = reportTime(report.first());
        const auto end = reportTime(report.last());
        if (start && end && *start <= *end)
            s.Seconds = start->secsTo(*end);
    }
    s.Plans = list->ItemCount();
    s.ExtractBrutto = list->ExtractBrutto();
    s.ExtractNetto = list->ExtractNetto();
    s.PiecesPlaced = list->PartsCount();
    s.PiecesUnplaced = sheets->PartsUnusedCount();
    s.PartsArea = list->PartsArea();
    const Currency cutWidth = sheets->Material()->StoredCutWidth();
    Currency sheetArea, restArea, cutLength;
    for (int i = 0; i < list->ItemCount(); ++i) {
        const TCuttingSheet* sheet = list->Sheet(i);
        const int count = sheet->Count();
        s.Sheets += count;
        sheetArea += times(sheet->StoredDimensionArea(), count);
        restArea += times(sheet->StoredRecyclableArea(), count);
        for (int k = 0; k < sheet->Rests()->ItemCount(); ++k)
            if (sheet->Rests()->Rest(k)->IsRecyable())
                s.Rests += count;
        const TCutFigures cuts = CountCuts(*sheet, cutWidth);
        s.Cuts += cuts.Count * count;
        cutLength += times(cuts.Length, count);

        const TDimension* d = sheet->Dimension();
        const QString size = sizeText(d->StoredX(), d->StoredY());
        auto use = std::find_if(s.Stock.begin(), s.Stock.end(), [&](const TStockUse& u) {
            return u.Size == size && u.IsRest == d->IsRest();
        });
        if (use == s.Stock.end()) {
            s.Stock.append({size, LengthToUser(d->StoredX()), LengthToUser(d->StoredY()), d->IsRest(), 0});
            use = s.Stock.end() - 1;
        }
        use->Sheets += count;
    }
    s.SheetArea = AreaToUser(sheetArea);
    s.RestArea = AreaToUser(restArea);
    s.WasteArea = s.SheetArea - s.PartsArea - s.RestArea;
    s.CutLength = CircuitToUser(Currency::fromValue(cutLength.toValue() / 1000));

    // The bound the calculation reported (a saved result keeps no stock list); without one, the
    // bound of the order on the stock it has.
    TLowerBound bound = BoundFromReport(report);
    if (!bound.valid)
        bound = LowerBoundOf(*sheets);
    if (bound.valid && bound.oneSize && bound.stockArea == 0 && s.Sheets > 0)
        bound.stockArea = double(sheetArea.toValue()) / s.Sheets * bound.sheets;
    if (bound.valid) {
        s.BoundKnown = true;
        s.BoundInSheets = bound.oneSize;
        s.BoundSheets = bound.sheets;
        s.BoundArea = bound.stockArea;
        if (s.State == ssCalculatedOK && s.PiecesUnplaced == 0 && s.Sheets > 0) {
            const TBoundGap gap = GapOf(bound, s.Sheets, double(sheetArea.toValue()));
            s.GapKnown = true;
            s.Optimal = gap.optimal;
            s.GapSheets = gap.sheets;
            s.GapPercent = gap.percent;
        }
    }
    return s;
}

void WriteSummary(const TResultSummary& s, QTextStream& out) {
    out << "State: " << StateName(s.State) << " (" << TSheets::StateText(s.State) << ')';
    if (s.Stopped)
        out << ", stopped";
    out << '\n';
    out << "Sheets: " << s.Sheets << " (" << s.Plans << (s.Plans == 1 ? " plan" : " plans") << ")\n";
    for (const TStockUse& u : s.Stock)
        out << "  " << u.Size << (u.IsRest ? " (rest)" : "") << ": " << u.Sheets << '\n';
    out << "Gross yield: " << FormatThousands(s.ExtractBrutto, 2) << " %\n";
    out << "Net yield: " << FormatThousands(s.ExtractNetto, 2) << " %\n";
    out << "Sheet area: " << areaText(s.SheetArea) << '\n';
    out << "Area used: " << areaText(s.PartsArea) << '\n';
    out << "Area wasted: " << areaText(s.WasteArea) << '\n';
    out << "Reusable rests: " << s.Rests << " (" << areaText(s.RestArea) << ")\n";
    out << "Placed pieces: " << s.PiecesPlaced << '\n';
    out << "Unplaced pieces: " << s.PiecesUnplaced << '\n';
    out << "Cuts: " << s.Cuts << " (" << FormatWithUnit(s.CutLength, 2, LengthUnit()) << ")\n";
    if (s.BoundKnown) {
        out << "Lower bound: "
            << (s.BoundInSheets ? QString::number(s.BoundSheets) + (s.BoundSheets == 1 ? " sheet" : " sheets")
                                : areaText(AreaToUser(Currency::fromValue(s.BoundArea))) + " of stock")
            << '\n';
        if (s.GapKnown) {
            out << "Gap: ";
            if (s.Optimal)
                out << "none, the plan is the best possible\n";
            else if (s.BoundInSheets)
                out << "at most " << s.GapSheets << (s.GapSheets == 1 ? " sheet" : " sheets")
                    << " above the best possible ("
                    << FormatThousands(Currency::fromValue(std::ceil(s.GapPercent * 10) / 10), 1) << " %)\n";
            else
                out << "within " << FormatThousands(Currency::fromValue(std::ceil(s.GapPercent * 10) / 10), 1)
                    << " % of the best possible\n";
        }
    }
    out << "Time: "
        << (s.Seconds ? QString::number(*s.Seconds) + QLatin1String(" s") : QStringLiteral("unknown"))
        << '\n';
}

void AddSummaryJson(const TResultSummary& s, QJsonObject& o) {
    o["state"] = StateName(s.State);
    o["stateText"] = TSheets::StateText(s.State);
    o["stopped"] = s.Stopped;
    o["plans"] = s.Plans;
    o["sheetCount"] = s.Sheets;
    QJsonArray stock;
    for (const TStockUse& u : s.Stock) {
        QJsonObject j;
        j["width"] = value(u.Width);
        j["length"] = value(u.Length);
        j["rest"] = u.IsRest;
        j["sheets"] = u.Sheets;
        stock.append(j);
    }
    o["stock"] = stock;
    o["extractBrutto"] = value(s.ExtractBrutto);
    o["extractNetto"] = value(s.ExtractNetto);
    o["sheetArea"] = value(s.SheetArea);
    o["areaUsed"] = value(s.PartsArea);
    o["areaWasted"] = value(s.WasteArea);
    o["rests"] = s.Rests;
    o["restArea"] = value(s.RestArea);
    o["piecesPlaced"] = s.PiecesPlaced;
    o["piecesUnplaced"] = s.PiecesUnplaced;
    o["partsUnused"] = s.PiecesUnplaced;
    o["cuts"] = s.Cuts;
    o["cutLength"] = value(s.CutLength);
    o["lengthUnit"] = DimUnit();
    o["areaUnit"] = AreaUnit();
    o["cutLengthUnit"] = LengthUnit();
    if (s.Seconds)
        o["seconds"] = double(*s.Seconds);
    if (s.BoundKnown) {
        if (s.BoundInSheets)
            o["lowerBoundSheets"] = s.BoundSheets;
        o["lowerBoundArea"] = value(AreaToUser(Currency::fromValue(s.BoundArea)));
    }
    if (s.GapKnown) {
        if (s.BoundInSheets)
            o["gapSheets"] = s.GapSheets;
        o["gapPercent"] = std::round(s.GapPercent * 100) / 100;
        o["optimal"] = s.Optimal;
    }
}

QJsonArray SheetsJson(const TOrder& order) {
    const TCuttingSheetList* list = order.Sheets()->CuttingSheets();
    const QList<TCutListRow> rows = CutListRows(order);
    const Currency cutWidth = order.Sheets()->Material()->StoredCutWidth();
    QJsonArray sheets;
    for (int i = 0; i < list->ItemCount(); ++i) {
        const TCuttingSheet* sheet = list->Sheet(i);
        QJsonObject j;
        j["index"] = i + 1;
        j["x"] = value(LengthToUser(sheet->Dimension()->StoredX()));
        j["y"] = value(LengthToUser(sheet->Dimension()->StoredY()));
        j["rest"] = sheet->Dimension()->IsRest();
        j["count"] = sheet->Count();
        j["parts"] = sheet->Parts()->ItemCount();
        j["extractBrutto"] = value(sheet->ExtractBrutto());
        j["extractNetto"] = value(sheet->ExtractNetto());
        const TCutFigures cuts = CountCuts(*sheet, cutWidth);
        j["cuts"] = cuts.Count;
        j["cutLength"] = value(CircuitToUser(Currency::fromValue(cuts.Length.toValue() / 1000)));
        QJsonArray pieces;
        for (const TCutListRow& r : rows) {
            if (r.Sheet != i + 1)
                continue;
            QJsonObject p;
            p["part"] = r.PartID;
            p["caption"] = r.Caption;
            p["x"] = value(r.X);
            p["y"] = value(r.Y);
            p["width"] = value(r.Width);
            p["length"] = value(r.Length);
            p["turned"] = r.Turned;
            pieces.append(p);
        }
        j["pieces"] = pieces;
        QJsonArray rests;
        for (int k = 0; k < sheet->Rests()->ItemCount(); ++k) {
            const TCSDimOut* rest = sheet->Rests()->Rest(k);
            QJsonObject r;
            r["x"] = value(LengthToUser(rest->OX()));
            r["y"] = value(LengthToUser(rest->OY()));
            r["width"] = value(LengthToUser(rest->X()));
            r["length"] = value(LengthToUser(rest->Y()));
            r["reusable"] = rest->IsRecyable();
            rests.append(r);
        }
        j["rests"] = rests;
        sheets.append(j);
    }
    return sheets;
}

} // namespace lintaro::cli
