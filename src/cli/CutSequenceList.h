#pragma once
// The cut sequence of an order's result for a saw's own software: one row per cut, sheet by sheet in
// the order the saw makes them, with the stage, the direction of the line, the fence (the line's
// distance from the reference edge, kerf of earlier cuts included), the cut's length and what it
// frees. Sizes are in the user's length unit.
#include "foundation/Currency.h"

#include <QJsonArray>
#include <QList>
#include <QString>

namespace lintaro {
class TOrder;
}

namespace lintaro::cli {

struct TCutSequenceRow {
    int Sheet = 0; // 1-based index of the result sheet
    int Count = 0; // identical sheets cut to this plan
    int Cut = 0;   // 1-based, in saw order
    int Stage = 0; // 1: across the whole sheet
    bool AlongY = true;
    Currency Fence, Length;
    QString Frees; // "part", "rest", "waste" or "strip"
    int PartID = 0;
    Currency FreedX, FreedY; // the size of what the cut frees
};

// The rows of every sheet; throws InputError naming the first sheet whose pieces no guillotine cut
// can take apart (a result edited by hand or by another program), since half a sequence would send
// the saw wrong.
QList<TCutSequenceRow> CutSequenceRows(const TOrder& order, const QString& source);

// A header line, then one row per cut; ";" between fields, the locale's decimal separator, CR LF.
QString CutSequenceCsv(const QList<TCutSequenceRow>& rows);
// One JSON object per row: sheet, count, cut, stage, along, fence, length, frees, part, freedX,
// freedY.
QJsonArray CutSequenceJson(const QList<TCutSequenceRow>& rows);

} // namespace lintaro::cli
