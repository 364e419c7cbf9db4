#include "calc/SheetBands.h"

#include "calc/IntegerRounding.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

namespace lintaro {

namespace {

// Sums of band lengths kept while the fullest choice is sought: enough for the few sheets a move
// trades between, and a bound on its work.
constexpr size_t kMaxSums = 4096;
// Bands a choice is made from: one bit each.
constexpr size_t kMaxBands = 64;

// Whether pieces can be cut out of a region by cuts along their far edges, each piece flush with
// the near corner of what is left, as the search lays them out: a band taken from a sheet whose
// first cut ran the other way may start with waste that no cut of its own reaches.
class TCornerCuts {
public:
    TCornerCuts(std::vector<TSearchPiece> pieces, int64_t kerf) : pieces_(std::move(pieces)), kerf_(kerf) {}

    bool Cuttable(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        const std::array<int64_t, 4> key{x0, y0, x1, y1};
        const auto known = memo_.find(key);
        if (known != memo_.end())
            return known->second;
        const bool ok = decide(x0, y0, x1, y1);
        memo_[key] = ok;
        return ok;
    }

private:
    bool decide(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
        std::vector<const TSearchPiece*> inside;
        for (const TSearchPiece& p : pieces_)
            if (p.ox >= x0 && p.oy >= y0 && p.ox + p.w <= x1 && p.oy + p.h <= y1)
                inside.push_back(&p);
        if (inside.empty())
            return true;
        if (inside.size() == 1 && inside[0]->ox == x0 && inside[0]->oy == y0 &&
            inside[0]->ox + inside[0]->w == x1 && inside[0]->oy + inside[0]->h == y1)
            return true;
        for (const TSearchPiece* p : inside) {
            const int64_t c = p->ox + p->w;
            if (c < x1 && separates(inside, c, true) && Cuttable(x0, y0, c, y1) &&
                (c + kerf_ >= x1 || Cuttable(c + kerf_, y0, x1, y1)))
                return true;
            const int64_t d = p->oy + p->h;
            if (d < y1 && separates(inside, d, false) && Cuttable(x0, y0, x1, d) &&
                (d + kerf_ >= y1 || Cuttable(x0, d + kerf_, x1, y1)))
                return true;
        }
        return false;
    }

    bool separates(const std::vector<const TSearchPiece*>& pieces, int64_t at, bool alongX) const {
        for (const TSearchPiece* p : pieces) {
            const int64_t lo = alongX ? p->ox : p->oy;
            const int64_t hi = lo + (alongX ? p->w : p->h);
            if (hi > at && lo < at + kerf_)
                return false;
        }
        return true;
    }

    std::vector<TSearchPiece> pieces_;
    int64_t kerf_;
    std::map<std::array<int64_t, 4>, bool> memo_;
};

} // namespace

std::vector<TSheetBand> SheetBandsOf(const TImproveSheet& sheet, int sheetIndex, bool across, int64_t kerf,
                                     int64_t side) {
    std::vector<std::pair<int64_t, int64_t>> spans;
    spans.reserve(sheet.pieces.size());
    for (const TSearchPiece& p : sheet.pieces) {
        const int64_t lo = across ? p.ox : p.oy;
        spans.push_back({lo, lo + (across ? p.w : p.h) + kerf});
    }
    std::sort(spans.begin(), spans.end());
    std::vector<TSheetBand> bands;
    for (const auto& [lo, hi] : spans) {
        // A cut fits between two pieces only where the kerf after the one ends before the other.
        if (!bands.empty() && lo < bands.back().start + bands.back().length)
            bands.back().length = std::max(bands.back().start + bands.back().length, hi) - bands.back().start;
        else
            bands.push_back({sheetIndex, lo, hi - lo});
    }
    // Every band must be cut out on its own, wherever it goes; else the sheet is not taken apart.
    for (const TSheetBand& b : bands) {
        std::vector<TSearchPiece> inBand;
        for (const TSearchPiece& p : sheet.pieces) {
            const int64_t lo = across ? p.ox : p.oy;
            if (lo >= b.start && lo < b.start + b.length)
                inBand.push_back(p);
        }
        TCornerCuts cuts(std::move(inBand), kerf);
        const int64_t end = b.start + b.length - kerf;
        if (!(across ? cuts.Cuttable(b.start, 0, end, side) : cuts.Cuttable(0, b.start, side, end)))
            return {};
    }
    return bands;
}

bool StackBands(const std::vector<const TImproveSheet*>& from, const std::vector<TSheetBand>& bands,
                int64_t x, int64_t y, TCSDimOutOrientation grain, bool across, int64_t kerf,
                TImproveSheet& out) {
    const int64_t along = across ? x : y;
    int64_t at = 0;
    for (const TSheetBand& b : bands)
        at += b.length;
    // The last band needs no cut after it at the sheet's edge. The rests inside the bands are not
    // kept: one may depend on a piece of another band, so that it would no longer be cut off flush.
    if (at > along + kerf)
        return false;
    out.pieces.clear();
    out.rests.clear();
    out.partsArea = 0;
    at = 0;
    for (const TSheetBand& b : bands) {
        const TImproveSheet& s = *from[size_t(b.sheet)];
        const int64_t shift = at - b.start;
        const int64_t end = b.start + b.length;
        for (TSearchPiece p : s.pieces) {
            int32_t& lo = across ? p.ox : p.oy;
            if (lo < b.start || lo >= end)
                continue;
            lo = int32_t(lo + shift);
            out.partsArea += RestAreaKey(p.w, p.h);
            out.pieces.push_back(p);
        }
        at += b.length;
    }
    if (at < along) {
        TSearchRest r;
        r.ox = int32_t(across ? at : 0);
        r.oy = int32_t(across ? 0 : at);
        r.x = int32_t(across ? along - at : x);
        r.y = int32_t(across ? y : along - at);
        r.area = RestAreaKey(r.x, r.y);
        r.orientation = grain;
        out.rests.push_back(r);
    }
    return true;
}

bool StackPieces(const std::vector<TSearchPartType>& types, std::vector<int> pieces, int64_t x, int64_t y,
                 TCSDimOutOrientation grain, bool across, int64_t kerf, TImproveSheet& out) {
    std::vector<std::vector<int>> rows;
    for (int t : pieces)
        rows.push_back({t});
    return StackRows(types, std::move(rows), x, y, grain, across, kerf, out);
}

bool StackRows(const std::vector<TSearchPartType>& types, std::vector<std::vector<int>> rows, int64_t x,
               int64_t y, TCSDimOutOrientation grain, bool across, int64_t kerf, TImproveSheet& out) {
    // u runs along the stack, v across it.
    const auto du = [&](int t) { return across ? types[size_t(t)].x : types[size_t(t)].y; };
    const auto dv = [&](int t) { return across ? types[size_t(t)].y : types[size_t(t)].x; };
    const auto rowLength = [&](const std::vector<int>& row) {
        int64_t l = 0;
        for (int t : row)
            l = std::max(l, du(t));
        return l;
    };
    const auto rowWidth = [&](const std::vector<int>& row) {
        int64_t w = 0;
        for (int t : row)
            w += dv(t) + kerf;
        return w - kerf;
    };
    const int64_t along = across ? x : y, side = across ? y : x;
    for (std::vector<int>& row : rows)
        std::sort(row.begin(), row.end(),
                  [&](int a, int b) { return std::make_pair(du(a), a) > std::make_pair(du(b), b); });
    std::sort(rows.begin(), rows.end(), [&](const std::vector<int>& a, const std::vector<int>& b) {
        return std::make_pair(rowWidth(a), a) > std::make_pair(rowWidth(b), b);
    });
    int64_t length = 0;
    for (const std::vector<int>& row : rows) {
        length += rowLength(row) + kerf;
        if (rowWidth(row) > side)
            return false;
    }
    if (length > along + kerf)
        return false; // the last row needs no cut after it at the sheet's edge
    out.pieces.clear();
    out.rests.clear();
    out.partsArea = 0;
    const auto rest = [&](int64_t u, int64_t v, int64_t lu, int64_t lv) {
        if (lu <= 0 || lv <= 0)
            return;
        TSearchRest r;
        r.ox = int32_t(across ? u : v);
        r.oy = int32_t(across ? v : u);
        r.x = int32_t(across ? lu : lv);
        r.y = int32_t(across ? lv : lu);
        r.area = RestAreaKey(r.x, r.y);
        r.orientation = grain;
        out.rests.push_back(r);
    };
    int64_t at = 0;
    for (const std::vector<int>& row : rows) {
        const int64_t rl = rowLength(row);
        int64_t v = 0;
        for (int t : row) {
            TSearchPiece p;
            p.type = t;
            p.ox = int32_t(across ? at : v);
            p.oy = int32_t(across ? v : at);
            p.w = int32_t(types[size_t(t)].x);
            p.h = int32_t(types[size_t(t)].y);
            out.pieces.push_back(p);
            out.partsArea += RestAreaKey(p.w, p.h);
            // Above a piece shorter than its row, within the piece's own width.
            rest(at + du(t) + kerf, v, rl - du(t) - kerf, std::min(dv(t), side - v));
            v += dv(t) + kerf;
        }
        rest(at, v, rl, side - v);
        at += rl + kerf;
    }
    if (at < along)
        rest(at, 0, along - at, side);
    return true;
}

std::vector<int> FullestBands(const std::vector<TSheetBand>& bands, int64_t capacity, int64_t& work) {
    // Every sum of lengths reachable, with the bands that make it: a subset sum over few bands.
    std::map<int64_t, uint64_t> sums{{0, 0}};
    const size_t count = std::min(bands.size(), kMaxBands);
    std::vector<std::pair<int64_t, uint64_t>> added;
    for (size_t i = 0; i < count; ++i) {
        added.clear();
        for (const auto& [sum, mask] : sums) {
            ++work;
            const int64_t next = sum + bands[i].length;
            if (next > capacity)
                break; // the sums come in order
            if (!sums.count(next))
                added.push_back({next, mask | (uint64_t(1) << i)});
        }
        for (const auto& a : added) {
            if (sums.size() >= kMaxSums)
                break;
            sums.insert(a);
        }
    }
    std::vector<int> chosen;
    const uint64_t mask = sums.rbegin()->second;
    for (size_t i = 0; i < count; ++i)
        if (mask & (uint64_t(1) << i))
            chosen.push_back(int(i));
    return chosen;
}

} // namespace lintaro
