#pragma once
// The placed pieces of an order's result, one row per piece: which sheet, how many identical sheets
// are cut to that plan, which part, where it lies and whether it is turned. Sizes and places are
// in the user's length unit. The cut list, the JSON summary and their tests share these rows.
#include "foundation/Currency.h"

#include <QJsonArray>
#include <QList>
#include <QString>

namespace lintaro {
class TOrder;
}

namespace lintaro::cli {

struct TCutListRow {
    int Sheet = 0; // 1-based index of the result sheet
    int Count = 0; // identical sheets cut to this plan
    int PartID = 0;
    QString Caption; // of the order's part; empty when the part is gone from the order
    Currency X, Y, Width, Length;
    bool Turned = false;
};

QList<TCutListRow> CutListRows(const TOrder& order);

// The CSV form: a header line, then one row per piece; ";" between fields, the locale's decimal
// separator, CR LF line ends.
QString CutListCsv(const QList<TCutListRow>& rows);
// One JSON object per row: sheet, count, part, caption, x, y, width, length, turned.
QJsonArray CutListJson(const QList<TCutListRow>& rows);

} // namespace lintaro::cli
