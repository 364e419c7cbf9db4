#include "workshop/CutSequence.h"

#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Sheets.h"

#include <algorithm>
#include <deque>

namespace lintaro::workshop {

namespace {

int64_t lo(const TCutBox& box, bool alongY) {
    return alongY ? box.l : box.t;
}
int64_t hi(const TCutBox& box, bool alongY) {
    return alongY ? box.r : box.b;
}
// The part of region between a and b along the cut direction.
TCutBox slice(const TCutBox& region, bool alongY, int64_t a, int64_t b) {
    TCutBox box = region;
    (alongY ? box.l : box.t) = a;
    (alongY ? box.r : box.b) = b;
    return box;
}

struct TRegion {
    TCutBox Box;
    std::vector<TCutPiece> Pieces;
    int Stage = 1;
};

class TSequencer {
public:
    TSequencer(int64_t kerf, TCutSequence& result) : kerf_(kerf), result_(result) {}

    void Run(const TRegion& root) {
        std::deque<TRegion> queue{root};
        while (!queue.empty()) {
            const TRegion region = std::move(queue.front());
            queue.pop_front();
            if (region.Pieces.empty() ||
                (region.Pieces.size() == 1 && region.Pieces.front().Box == region.Box))
                continue;
            bool split = false;
            for (bool alongY : {true, false}) {
                std::vector<TRegion> children;
                if (splitRegion(region, alongY, children)) {
                    for (TRegion& child : children)
                        queue.push_back(std::move(child));
                    split = true;
                    break;
                }
            }
            // A lone piece within less than a kerf of its region's edges needs no cut.
            if (!split && region.Pieces.size() > 1)
                result_.Guillotine = false;
        }
    }

private:
    // Emits the cuts of one region along one direction and its child strips; false when no line
    // along that direction crosses the region clear of every piece.
    bool splitRegion(const TRegion& region, bool alongY, std::vector<TRegion>& children) {
        std::vector<TCutPiece> pieces = region.Pieces;
        std::sort(pieces.begin(), pieces.end(), [alongY](const TCutPiece& a, const TCutPiece& b) {
            return lo(a.Box, alongY) < lo(b.Box, alongY);
        });
        const int64_t from = lo(region.Box, alongY), to = hi(region.Box, alongY);
        // Groups of pieces that overlap along the direction, each with its extent.
        struct TGroup {
            int64_t Lo, Hi;
            std::vector<TCutPiece> Pieces;
        };
        std::vector<TGroup> groups;
        for (const TCutPiece& piece : pieces) {
            if (groups.empty() || lo(piece.Box, alongY) >= groups.back().Hi)
                groups.push_back({lo(piece.Box, alongY), hi(piece.Box, alongY), {}});
            groups.back().Hi = std::max(groups.back().Hi, hi(piece.Box, alongY));
            groups.back().Pieces.push_back(piece);
        }
        const bool leadingTrim = groups.front().Lo - kerf_ > from;
        const bool trailingCut = groups.back().Hi < to;
        if (groups.size() == 1 && !leadingTrim && !trailingCut)
            return false;

        QList<TCut> cuts;
        int64_t start = from; // where the part still to be freed begins
        auto cut = [&](int64_t position, const std::vector<TCutPiece>* freed) {
            TCut c;
            c.Stage = region.Stage;
            c.AlongY = alongY;
            c.Position = position;
            c.Fence = position - from;
            c.Length = alongY ? region.Box.Height() : region.Box.Width();
            c.Region = region.Box;
            c.Freed = slice(region.Box, alongY, start, position);
            if (!freed || freed->empty()) {
                c.FreedKind = fkWaste;
            } else if (freed->size() == 1 && freed->front().Box == c.Freed) {
                c.FreedKind = freed->front().Kind == cpkPart ? fkPart : fkRest;
                c.FreedIndex = freed->front().Index;
            } else {
                c.FreedKind = fkStrip;
            }
            cuts << c;
            start = std::min(position + kerf_, to);
        };
        for (size_t g = 0; g < groups.size(); ++g) {
            TGroup& group = groups[g];
            // A gap wider than the kerf before the group is trimmed off by a cut of its own.
            if (group.Lo - kerf_ > start)
                cut(group.Lo - kerf_, nullptr);
            const int64_t stripStart = start;
            const bool last = g + 1 == groups.size();
            if (!last || group.Hi < to)
                cut(group.Hi, &group.Pieces);
            const int64_t stripEnd = last && group.Hi >= to ? to : group.Hi;
            children.push_back(
                {slice(region.Box, alongY, stripStart, stripEnd), std::move(group.Pieces), region.Stage + 1});
        }
        for (TCut& c : cuts) {
            c.Number = int(result_.Cuts.size()) + 1;
            result_.Cuts << c;
            if (region.Stage == 1)
                result_.FirstStageLines << c.Position;
        }
        if (region.Stage == 1)
            result_.FirstStageAlongY = alongY;
        return true;
    }

    int64_t kerf_;
    TCutSequence& result_;
};

} // namespace

TCutSequence MakeCutSequence(int64_t sheetX, int64_t sheetY, const std::vector<TCutPiece>& pieces,
                             int64_t kerf) {
    TCutSequence result;
    TSequencer(std::max<int64_t>(kerf, 0), result).Run({{0, 0, sheetX, sheetY}, pieces, 1});
    return result;
}

TCutSequence MakeCutSequence(const TCuttingSheet& sheet, int64_t kerf) {
    std::vector<TCutPiece> pieces;
    for (int i = 0; i < sheet.Parts()->ItemCount(); ++i) {
        const TCSPartOut* p = sheet.Parts()->PartOut(i);
        pieces.push_back(
            {{p->OX().raw(), p->OY().raw(), (p->OX() + p->X()).raw(), (p->OY() + p->Y()).raw()}, cpkPart, i});
    }
    for (int i = 0; i < sheet.Rests()->ItemCount(); ++i) {
        const TCSDimOut* r = sheet.Rests()->Rest(i);
        if (r->IsRecyable())
            pieces.push_back(
                {{r->OX().raw(), r->OY().raw(), (r->OX() + r->X()).raw(), (r->OY() + r->Y()).raw()},
                 cpkRest,
                 i});
    }
    return MakeCutSequence(sheet.Dimension()->StoredX().raw(), sheet.Dimension()->StoredY().raw(), pieces,
                           kerf);
}

const TMaterial* ResultMaterial(const TOrder& order) {
    return order.Sheets()->Material() ? order.Sheets()->Material() : order.Material();
}

int64_t ResultKerf(const TOrder& order) {
    const TMaterial* material = ResultMaterial(order);
    return material ? material->StoredCutWidth().raw() : 0;
}

} // namespace lintaro::workshop
