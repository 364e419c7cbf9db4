#include "cli/CutFigures.h"

#include "model/CuttingSheet.h"
#include "model/Dimension.h"

#include <algorithm>
#include <vector>

namespace lintaro::cli {

namespace {

struct TBox {
    int64_t l, t, r, b;
    bool operator==(const TBox&) const = default;
};

// Coordinates of one direction: x (left, right) or y (top, bottom).
int64_t lo(const TBox& box, bool acrossX) {
    return acrossX ? box.l : box.t;
}
int64_t hi(const TBox& box, bool acrossX) {
    return acrossX ? box.r : box.b;
}

class TCutter {
public:
    explicit TCutter(int64_t kerf) : kerf_(kerf) {}

    void Split(const TBox& region, const std::vector<TBox>& items) {
        if (items.empty() || (items.size() == 1 && items.front() == region))
            return;
        for (bool acrossX : {true, false})
            if (trySplit(region, items, acrossX))
                return;
    }

    TCutFigures figures;

private:
    bool trySplit(const TBox& region, const std::vector<TBox>& items, bool acrossX) {
        const int64_t from = lo(region, acrossX), to = hi(region, acrossX);
        std::vector<int64_t> lines;
        for (const TBox& item : items)
            for (int64_t c : {hi(item, acrossX), lo(item, acrossX)})
                if (c > from && c < to)
                    lines.push_back(c);
        std::sort(lines.begin(), lines.end());
        for (int64_t c : lines) {
            const bool crosses = std::any_of(items.begin(), items.end(), [&](const TBox& item) {
                return lo(item, acrossX) < c && c < hi(item, acrossX);
            });
            if (crosses)
                continue;
            std::vector<TBox> before, after;
            int64_t afterStart = to;
            for (const TBox& item : items) {
                if (hi(item, acrossX) <= c) {
                    before.push_back(item);
                } else {
                    after.push_back(item);
                    afterStart = std::min(afterStart, lo(item, acrossX));
                }
            }
            // The saw takes the kerf behind the line; a wider gap is trimmed by a cut of its own.
            afterStart = std::min(afterStart, std::min(c + kerf_, to));
            ++figures.Count;
            figures.Length =
                figures.Length + Currency::fromRaw(acrossX ? region.b - region.t : region.r - region.l);
            TBox first = region, second = region;
            (acrossX ? first.r : first.b) = c;
            (acrossX ? second.l : second.t) = afterStart;
            Split(first, before);
            Split(second, after);
            return true;
        }
        return false;
    }

    int64_t kerf_;
};

} // namespace

TCutFigures CountCuts(const TCuttingSheet& sheet, Currency cutWidth) {
    std::vector<TBox> items;
    for (int i = 0; i < sheet.Parts()->ItemCount(); ++i) {
        const TCSPartOut* p = sheet.Parts()->PartOut(i);
        items.push_back({p->OX().raw(), p->OY().raw(), (p->OX() + p->X()).raw(), (p->OY() + p->Y()).raw()});
    }
    for (int i = 0; i < sheet.Rests()->ItemCount(); ++i) {
        const auto* rest = static_cast<const TCSDimOut*>(sheet.Rests()->Item(i));
        if (rest->IsRecyable())
            items.push_back({rest->OX().raw(), rest->OY().raw(), (rest->OX() + rest->X()).raw(),
                             (rest->OY() + rest->Y()).raw()});
    }
    TCutter cutter(cutWidth.raw());
    cutter.Split({0, 0, sheet.Dimension()->StoredX().raw(), sheet.Dimension()->StoredY().raw()}, items);
    return cutter.figures;
}

} // namespace lintaro::cli
