#pragma once
// What the workshop pack is made from: the order's result sheets gathered into distinct plans (two
// result sheets with the same stock size, pieces and rests are one plan, drawn once with their
// count), the physical sheet numbers each plan is cut on, its cut sequence, and the texts and
// number forms the pages share. Sizes are shown in the user's length unit.
#include "foundation/Currency.h"
#include "workshop/CutSequence.h"

#include <QDate>
#include <QList>
#include <QString>

namespace lintaro {
class TCuttingSheet;
class TMaterial;
class TOrder;
} // namespace lintaro

namespace lintaro::workshop {

struct TPackPlan {
    const TCuttingSheet* Sheet = nullptr;
    QList<int> SheetNumbers; // 1-based numbers of the physical sheets cut to this plan
    TCutSequence Sequence;
    int Count() const { return int(SheetNumbers.size()); }
};

// The most physical sheets a pack is made for: every sheet has its number and its pieces their
// labels, so a damaged count must not make millions of them.
constexpr int64_t kMaxPackSheets = 10000;

struct TPackData {
    const TOrder* Order = nullptr;
    const TMaterial* Material = nullptr; // the calculation's material; may be absent
    QList<TPackPlan> Plans;
    int TotalSheets = 0;
    int64_t AskedSheets =
        0;            // the sum of the result sheets' counts; above kMaxPackSheets no plan is collected
    int64_t Kerf = 0; // raw stored mm
    QString OrderNumber, Customer, MaterialCaption;
};

TPackData CollectPackData(const TOrder& order);

// A text of the pack from the texts file, section "Workshop"; the key itself when it is missing.
QString PackText(const QString& key);
// A raw stored length in the user's unit, without the unit: "600", "18.5".
QString LengthText(int64_t raw);
// "600 × 400"
QString SizeText(int64_t rawX, int64_t rawY);
// "600 × 400 mm"
QString SizeTextWithUnit(int64_t rawX, int64_t rawY);
// "Sheet 4 of 21", "Sheets 3–5 of 21", "Sheets 1, 4–6 of 21"
QString SheetNumbersText(const QList<int>& numbers, int total);
// "3–5", "1, 4–6"
QString NumberRanges(const QList<int>& numbers);
// A percentage with at most one decimal and "%".
QString PercentText(Currency percent);

} // namespace lintaro::workshop
