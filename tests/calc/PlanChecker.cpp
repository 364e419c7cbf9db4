#include "PlanChecker.h"

#include <map>
#include <sstream>
#include <tuple>

namespace lintaro::test {

namespace {

struct Rect {
    int64_t x0, y0, x1, y1; // [x0, x1) × [y0, y1)
    bool operator<(const Rect& o) const {
        return std::tie(x0, y0, x1, y1) < std::tie(o.x0, o.y0, o.x1, o.y1);
    }
};

class GuillotineCheck {
public:
    GuillotineCheck(const CheckSheet& s) : s_(s) {}

    // Whether the pieces inside r can be cut out of r by full-length straight cuts.
    bool cuttable(const Rect& r) {
        auto it = memo_.find(r);
        if (it != memo_.end())
            return it->second;
        const bool ok = decide(r);
        memo_[r] = ok;
        return ok;
    }

private:
    bool decide(const Rect& r) {
        std::vector<const CheckPiece*> inside;
        for (const CheckPiece& p : s_.pieces)
            if (p.ox >= r.x0 && p.oy >= r.y0 && p.ox + p.w <= r.x1 && p.oy + p.h <= r.y1)
                inside.push_back(&p);
        if (inside.empty())
            return true; // waste or a rest: no cut needed
        if (inside.size() == 1) {
            const CheckPiece& p = *inside[0];
            if (p.ox == r.x0 && p.oy == r.y0 && p.ox + p.w == r.x1 && p.oy + p.h == r.y1)
                return true;
        }
        // Cuts run along a piece's far edge, with the kerf behind it.
        for (const CheckPiece* p : inside) {
            const int64_t c = p->ox + p->w;
            if (c < r.x1 && r.y1 - r.y0 <= s_.maxCut && separatesX(inside, c) &&
                cuttable({r.x0, r.y0, c, r.y1}) &&
                (c + s_.kerf >= r.x1 || cuttable({c + s_.kerf, r.y0, r.x1, r.y1})))
                return true;
            const int64_t d = p->oy + p->h;
            if (d < r.y1 && r.x1 - r.x0 <= s_.maxCut && separatesY(inside, d) &&
                cuttable({r.x0, r.y0, r.x1, d}) &&
                (d + s_.kerf >= r.y1 || cuttable({r.x0, d + s_.kerf, r.x1, r.y1})))
                return true;
        }
        return false;
    }

    bool separatesX(const std::vector<const CheckPiece*>& pieces, int64_t c) const {
        for (const CheckPiece* p : pieces)
            if (!(p->ox + p->w <= c || p->ox >= c + s_.kerf))
                return false;
        return true;
    }
    bool separatesY(const std::vector<const CheckPiece*>& pieces, int64_t d) const {
        for (const CheckPiece* p : pieces)
            if (!(p->oy + p->h <= d || p->oy >= d + s_.kerf))
                return false;
        return true;
    }

    const CheckSheet& s_;
    std::map<Rect, bool> memo_;
};

} // namespace

std::string CheckSheetPlan(const CheckSheet& s) {
    std::ostringstream err;
    for (size_t i = 0; i < s.pieces.size(); ++i) {
        const CheckPiece& p = s.pieces[i];
        if (p.w <= 0 || p.h <= 0 || p.ox < 0 || p.oy < 0 || p.ox + p.w > s.x || p.oy + p.h > s.y)
            err << "piece " << i << " lies outside the sheet; ";
        for (size_t j = i + 1; j < s.pieces.size(); ++j) {
            const CheckPiece& q = s.pieces[j];
            if (p.ox < q.ox + q.w && q.ox < p.ox + p.w && p.oy < q.oy + q.h && q.oy < p.oy + p.h)
                err << "pieces " << i << " and " << j << " overlap; ";
        }
        if (s.grain != 0 && p.grainRule != 0) {
            // Along the grain: a part ruled like the stock lies straight, a crossed rule turned.
            const bool straight = p.grainRule == s.grain;
            if (p.partX > 0) {
                const int64_t ruled = p.grainRule == 1 ? p.partX : p.partY; // the side that follows the grain
                const int64_t along = s.grain == 1 ? p.w : p.h;
                if (along != ruled)
                    err << "piece " << i << " lies across the grain; ";
            } else if (p.rotated == straight) {
                err << "piece " << i << " lies across the grain; ";
            }
        }
    }
    if (!err.str().empty())
        return err.str();
    GuillotineCheck g(s);
    // The first cut may also leave the sheet's far edges as waste.
    if (!g.cuttable({0, 0, s.x, s.y}))
        return "the plan cannot be cut with guillotine cuts within MaxCut";
    return {};
}

} // namespace lintaro::test
