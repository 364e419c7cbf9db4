#pragma once
// The figures of an order's calculation result as the batch tool reports them after a calculation
// and in `summary`: the sheets used per stock size, the yields, the areas used and wasted, the
// reusable rests, the pieces placed and unplaced, the cuts and the time. Areas and lengths are in
// the user's units.
#include "foundation/Currency.h"
#include "model/Sheets.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QTextStream>

#include <optional>

namespace lintaro {
class TOrder;
}

namespace lintaro::cli {

struct TStockUse {
    QString Size; // "2800 x 2070 mm"
    Currency Width, Length;
    bool IsRest = false;
    int Sheets = 0;
};

struct TResultSummary {
    TSheetsState State = ssNone;
    bool Stopped = false; // the run was stopped before it ended by itself
    int Plans = 0;        // result sheets (distinct plans)
    int Sheets = 0;       // sheets to cut: every plan times its count
    QList<TStockUse> Stock;
    Currency ExtractBrutto, ExtractNetto; // percent
    Currency SheetArea, PartsArea, RestArea, WasteArea;
    int Rests = 0;
    int PiecesPlaced = 0, PiecesUnplaced = 0;
    int Cuts = 0;
    Currency CutLength; // the user's perimeter unit (m or ft)
    std::optional<long long> Seconds;
    // The fewest sheets (one stock size) or the least stock area (m², several sizes) of any plan,
    // and how far this result is from it; the gap only for a result that places every piece.
    bool BoundKnown = false, BoundInSheets = false;
    int BoundSheets = 0;
    double BoundArea = 0;
    bool GapKnown = false, Optimal = false;
    int GapSheets = 0;
    double GapPercent = 0;
};

TResultSummary SummariseResult(const TOrder& order);
// The closing "Key: value" lines.
void WriteSummary(const TResultSummary& summary, QTextStream& out);
// The same figures as JSON keys (added to `o`).
void AddSummaryJson(const TResultSummary& summary, QJsonObject& o);
// Every result sheet with its placed pieces and rests, for programs that use the plan.
QJsonArray SheetsJson(const TOrder& order);
// The state's name in code form: "ssCalculatedOK".
QString StateName(TSheetsState state);

} // namespace lintaro::cli
