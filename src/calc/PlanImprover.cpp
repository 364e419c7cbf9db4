#include "calc/PlanImprover.h"

#include "calc/IntegerRounding.h"
#include "calc/SheetBands.h"
#include "calc/StripLayout.h"

#include "platform/Clock.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <tuple>

namespace lintaro {

int64_t ImproveAreaKey(int64_t x, int64_t y) {
    return RestAreaKey(x, y);
}

namespace {

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// How hard one layout is searched: the pace of the search's own virtual clock (expansions per
// virtual second: a low pace narrows the beam to one child after a few expansions) and the virtual
// seconds over which the block shapes tried fall to the largest one.
struct TEffort {
    double pace;
    double shapesTime;
};

// The orders in which a layout tries the part types, besides the search's own (by diagonal).
enum TTypeOrder { toDiagonal, toArea, toLongSide, toAlongX, toAlongY, toPerimeter, toRandom, toCount };

constexpr TEffort kSheetEfforts[] = {{0.5, 1}, {2, 2}, {6, 3}, {20, 4}};
constexpr TEffort kRestEfforts[] = {{0.5, 1}, {3, 2}};
// Layouts tried for every new sheet (the fullest is kept), sheets taken out besides the emptiest
// one, and part types whose blocks compete for a rest: the search's own rule is one.
constexpr int kSheetAttempts = 2;
// The chase for one sheet fewer lays each sheet out once, with one of the quickest efforts: it gains
// more from many changes than from fuller single sheets.
constexpr int kChaseEfforts = 2;
constexpr int kMaxExtra = 4;
constexpr int kTypesPerRest = 3;
// The highest effort level: the layouts' pace grows twofold a level.
constexpr int kMaxLevel = 5;
// Rounds without progress before the effort goes up a level.
constexpr int kRoundsPerLevel = 3;
// The changes back to which the chase for one sheet fewer compares a change (late acceptance).
constexpr size_t kLateLength = 20;
// The strip layout's knapsack cells counted as one expansion of the search: about the same time.
constexpr int64_t kCellsPerExpansion = 500;
// Pieces of the mean area a sheet must hold for the strip layout to be tried.
constexpr double kStripPiecesPerSheet = 8;
// Tries of the strip layout for one sheet, and strips laid out again in each.
constexpr int kStripTries = 4;
constexpr int kStripRebuilds = 20;
// A chase for a result of one sheet gives each layout of that sheet this many times the tries and
// rebuilds.
constexpr int kLoneSheetStripFactor = 5;
// Once a chase has gone this many moves without less waiting, one move in kBandMoveOdds trades
// bands between sheets instead of laying sheets out again.
constexpr int64_t kBandStallMoves = 200;
constexpr int kBandMoveOdds = 4;
// The share of the pieces wider than half the sheet from which a stalled chase also stacks them
// afresh, and the odds of such a move.
constexpr double kWideShare = 0.65;
constexpr int kWideMoveOdds = 2;
// Results of at most so many sheets are chased by every worker.
constexpr size_t kFewSheets = 4;
// The sums of band lengths tried counted as one expansion of the search.
constexpr int64_t kSumsPerExpansion = 200;
// How often the calling thread asks its caller to go on while the workers search.
constexpr std::chrono::milliseconds kTickInterval{10};
// The search's queue in the stage: its layouts are short, and a small queue keeps both workers'
// memory low.
constexpr size_t kQueueLimit = 4000;

void sortPieces(TImproveSheet& sheet) {
    std::sort(sheet.pieces.begin(), sheet.pieces.end(), [](const TSearchPiece& a, const TSearchPiece& b) {
        return std::tie(a.oy, a.ox, a.type) < std::tie(b.oy, b.ox, b.type);
    });
}

} // namespace

class TPlanImprover::TWorker {
public:
    TWorker(const TPlanImprover& owner, uint64_t seed, const std::atomic<bool>& stop)
        : o_(owner), random_(seed), stop_(stop) {}

    // Works from `current` until the round's expansions are spent; `best` keeps the best result seen.
    void Round(TImproveResult& current, TImproveResult& best, TImproveScore& bestScore, int64_t budget,
               double deadline) {
        deadline_ = deadline;
        const int64_t start = expansions;
        TImproveScore currentScore = o_.ScoreOf(current);
        double currentGuide = Guide(current);
        const TImproveScore startScore = currentScore;
        const double startGuide = currentGuide;
        while (expansions - start < budget && !stopped()) {
            const int64_t before = expansions;
            TImproveResult candidate = current;
            const bool made = move(candidate);
            if (expansions == before)
                ++expansions; // a move that searched nothing still counts, so every round ends
            if (!made || stopped())
                continue;
            const TImproveScore score = o_.ScoreOf(candidate);
            const double g = Guide(candidate);
            if (!Accept(score, g, currentScore, currentGuide))
                continue;
            current = std::move(candidate);
            currentScore = score;
            currentGuide = g;
            if (Better(currentScore, bestScore)) {
                best = current;
                bestScore = currentScore;
            }
        }
        // A round that got nowhere doubles the effort of the layouts, up to a bound; progress
        // brings the quick layouts back.
        if (Ahead(currentScore, currentGuide, startScore, startGuide))
            stagnant_ = 0;
        else if (!stopped())
            ++stagnant_;
        level_ = std::min(stagnant_ / kRoundsPerLevel, kMaxLevel);
    }

    // Chases a result of one sheet fewer than `from`: the least filled sheet goes, its pieces wait
    // outside, and sheets are taken apart and laid out again with the waiting pieces until none
    // waits. A change is kept while the area waiting is no larger than now or some changes ago. A
    // result that places every piece goes to `best`, and the chase goes on one sheet lower. False
    // when no chase is possible: one sheet fewer cannot hold the pieces' area, or would leave a
    // preferred size or a rest unused before a later size.
    bool Chase(const TImproveResult& from, TImproveResult& best, TImproveScore& bestScore, int64_t budget,
               double deadline) {
        deadline_ = deadline;
        if (!chasing_ || from.sheets.size() <= partial_.sheets.size())
            chasing_ = startChase(from);
        if (!chasing_)
            return false;
        const int64_t start = expansions;
        while (chasing_ && expansions - start < budget && !stopped()) {
            const int64_t before = expansions;
            TImproveResult candidate = partial_;
            std::vector<int> pool = waiting_;
            inChaseMove_ = true;
            loneSheet_ = partial_.sheets.size() == 1;
            const bool made = chaseMove(candidate, pool);
            inChaseMove_ = false;
            loneSheet_ = false;
            if (expansions == before)
                ++expansions;
            if (!made || stopped())
                continue;
            // Late acceptance: a change may also leave as much waiting as a few changes ago, so that
            // the chase walks out of a result no single change improves.
            const int64_t area = poolArea(pool);
            int64_t& late = lateAreas_[size_t(chaseMoves_++ % lateAreas_.size())];
            const bool accept = area <= waitingArea_ || area <= late;
            chaseStall_ = area < waitingArea_ ? 0 : chaseStall_ + 1;
            late = waitingArea_;
            if (!accept)
                continue;
            partial_ = std::move(candidate);
            waiting_ = std::move(pool);
            waitingArea_ = area;
            if (area > 0 || !poolEmpty(waiting_))
                continue;
            if (o_.KeepsPriorities(partial_)) {
                const TImproveScore score = o_.ScoreOf(partial_);
                if (Better(score, bestScore)) {
                    best = partial_;
                    bestScore = score;
                }
            }
            chasing_ = startChase(TImproveResult(partial_));
        }
        return true;
    }

    int64_t expansions = 0;

private:
    bool stopped() {
        if (stop_.load(std::memory_order_relaxed))
            return true;
        if (++checks_ % 64 != 0)
            return false;
        return deadline_ > 0 && steadySeconds() >= deadline_;
    }

public:
    // Among results of equal stock area the search drifts towards those whose free area gathers on
    // few sheets: that is how a sheet empties at last.
    double Guide(const TImproveResult& r) const {
        double sum = 0;
        for (const TImproveSheet& s : r.sheets) {
            const TImproveStock& stock = o_.stocks_[size_t(s.stock)];
            const double free = double(RestAreaKey(stock.x, stock.y) - s.partsArea);
            sum += free * free;
        }
        return sum;
    }

    // A result the worker moves to: not worse than the current one in pieces placed and stock area,
    // and its free area at least as concentrated.
    static bool Accept(const TImproveScore& s, double g, const TImproveScore& current, double currentGuide) {
        if (s.placed != current.placed)
            return s.placed > current.placed;
        if (s.stockArea != current.stockArea)
            return s.stockArea < current.stockArea;
        return g >= currentGuide;
    }
    // Strictly ahead by the same rule.
    static bool Ahead(const TImproveScore& s, double g, const TImproveScore& other, double otherGuide) {
        return Accept(s, g, other, otherGuide) && !Accept(other, otherGuide, s, g);
    }

private:
    bool startChase(const TImproveResult& from) {
        const int n = int(from.sheets.size());
        if (n < 2)
            return false;
        std::vector<int> used(o_.stocks_.size(), 0);
        int64_t parts = 0, stock = 0;
        for (const TImproveSheet& s : from.sheets) {
            ++used[size_t(s.stock)];
            parts += s.partsArea;
            stock += stockArea(s);
        }
        int drop = -1;
        for (int i = 0; i < n; ++i) {
            const TImproveSheet& s = from.sheets[size_t(i)];
            --used[size_t(s.stock)];
            const bool keeps = o_.KeepsPriorities(used) && parts <= stock - stockArea(s);
            ++used[size_t(s.stock)];
            if (keeps && (drop < 0 || fillRatio(s) < fillRatio(from.sheets[size_t(drop)])))
                drop = i;
        }
        if (drop < 0)
            return false;
        partial_ = from;
        wideStacks_ = false;
        std::vector<bool> seen(o_.stocks_.size(), false);
        for (const TImproveSheet& s : from.sheets) {
            if (seen[size_t(s.stock)])
                continue;
            seen[size_t(s.stock)] = true;
            for (bool across : {false, true})
                wideStacks_ = wideStacks_ || wideShare(o_.stocks_[size_t(s.stock)], across) >= kWideShare;
        }
        waiting_.assign(o_.types_.size(), 0);
        for (const TSearchPiece& p : partial_.sheets[size_t(drop)].pieces)
            ++waiting_[size_t(p.type)];
        partial_.sheets.erase(partial_.sheets.begin() + drop);
        waitingArea_ = poolArea(waiting_);
        lateAreas_.assign(kLateLength, waitingArea_);
        chaseStall_ = 0;
        return true;
    }

    // Marks the sheets a move takes apart: the emptiest, and up to kMaxExtra more chosen one way
    // for the whole move (the emptiest ones, any, or those like the first). The number of extra
    // sheets drawn, −1 when none is free.
    int takeSheets(const TImproveResult& r, std::vector<bool>& taken) {
        const int n = int(r.sheets.size());
        const int first = pickEmptySheet(r, taken);
        if (first < 0)
            return -1;
        taken[size_t(first)] = true;
        const int extra = randomBelow(std::min(kMaxExtra, n));
        const int way = randomBelow(3);
        for (int i = 0; i < extra; ++i) {
            const int k = way == 0   ? pickEmptySheet(r, taken)
                          : way == 1 ? randomBelow(n)
                                     : pickRelated(r, first, taken);
            if (k >= 0)
                taken[size_t(k)] = true;
        }
        return extra;
    }

    // Takes some sheets of a partial result apart and lays them out again, with the waiting pieces,
    // on sheets of the same stock; what does not fit waits on.
    bool chaseMove(TImproveResult& r, std::vector<int>& pool) {
        const int n = int(r.sheets.size());
        if (n == 0)
            return false;
        // Where most pieces are wider than half the sheet, half the moves of a stalled chase stack
        // them afresh.
        if (wideStacks_ && chaseStall_ >= kBandStallMoves && randomBelow(kWideMoveOdds) == 0) {
            if (!wideMove(r, pool))
                return false;
            fillRests(r, pool);
            return true;
        }
        // Bands traded between sheets gather their free length in one rest, where a waiting piece
        // may fit.
        if (chaseStall_ >= kBandStallMoves && randomBelow(kBandMoveOdds) == 0) {
            if (!bandMove(r))
                return false;
            fillRests(r, pool);
            return true;
        }
        std::vector<bool> taken(size_t(n), false);
        if (takeSheets(r, taken) < 0)
            return false;
        std::vector<int> stocks;
        std::vector<TImproveSheet> kept;
        kept.reserve(size_t(n));
        for (int i = 0; i < n; ++i) {
            if (taken[size_t(i)]) {
                stocks.push_back(r.sheets[size_t(i)].stock);
                for (const TSearchPiece& p : r.sheets[size_t(i)].pieces)
                    ++pool[size_t(p.type)];
            } else {
                kept.push_back(std::move(r.sheets[size_t(i)]));
            }
        }
        r.sheets = std::move(kept);
        if (randomBelow(2) == 0)
            fillRests(r, pool);
        for (int stock : stocks) {
            if (poolEmpty(pool) || stopped())
                break;
            TImproveSheet sheet;
            if (layOutSheet(stock, pool, sheet))
                r.sheets.push_back(std::move(sheet));
        }
        if (!poolEmpty(pool))
            fillRests(r, pool);
        return true;
    }

    // The fullest of a few layouts of the pool on one sheet of `stock`; its pieces leave the pool.
    bool layOutSheet(int stock, std::vector<int>& pool, TImproveSheet& out) {
        const TImproveStock& st = o_.stocks_[size_t(stock)];
        std::vector<int> bestPool;
        const int attempts = inChaseMove_ ? 1 : kSheetAttempts;
        const int efforts = inChaseMove_ ? kChaseEfforts : int(std::size(kSheetEfforts));
        for (int attempt = 0; attempt < attempts; ++attempt) {
            const TEffort effort = kSheetEfforts[size_t(randomBelow(efforts))];
            order_ = TTypeOrder(randomBelow(toCount));
            std::vector<int> left = pool;
            TImproveSheet sheet;
            sheet.stock = stock;
            if (fill(0, 0, st.x, st.y, st.grain, left, effort, sheet) &&
                (bestPool.empty() || sheet.partsArea > out.partsArea)) {
                out = std::move(sheet);
                bestPool = std::move(left);
            }
        }
        // Half the sheets, drawn at random, also get a layout in strips where strips pay; in a chase for
        // a result of one sheet, every sheet does.
        if (o_.strips_ && wholeCutsFit(st) && (loneSheet_ || randomBelow(2) == 0)) {
            std::vector<int> left = pool;
            TImproveSheet sheet;
            sheet.stock = stock;
            if (strips(st, left, sheet) && (bestPool.empty() || sheet.partsArea > out.partsArea)) {
                out = std::move(sheet);
                bestPool = std::move(left);
            }
        }
        if (bestPool.empty())
            return false;
        pool = std::move(bestPool);
        sortPieces(out);
        return true;
    }

    // The part types with pieces in the pool, each with its count there; `index` maps them back.
    std::vector<TSearchPartType> poolTypes(const std::vector<int>& pool, std::vector<int>& index) const {
        std::vector<TSearchPartType> types;
        for (size_t t = 0; t < pool.size(); ++t)
            if (pool[t] > 0) {
                TSearchPartType type = o_.types_[t];
                type.count = pool[t];
                types.push_back(type);
                index.push_back(int(t));
            }
        return types;
    }

    // Whether a cut across the whole sheet, either way, stays within MaxCut: the strip layout and
    // the band trade both make such cuts.
    bool wholeCutsFit(const TImproveStock& st) const {
        const int64_t maxCut = o_.settings_.search.maxCut;
        return st.x <= maxCut && st.y <= maxCut;
    }

    // Lays pieces of the pool out on a whole sheet in strips; the pieces placed leave the pool.
    bool strips(const TImproveStock& st, std::vector<int>& pool, TImproveSheet& out) {
        std::vector<int> index;
        std::vector<TSearchPartType> types = poolTypes(pool, index);
        if (types.empty())
            return false;
        TStripLayoutSettings s;
        s.kerf = o_.settings_.search.kerf;
        // A chase for a result of one sheet lays that sheet out again and again: there each layout
        // may search longer.
        const int longer = loneSheet_ ? kLoneSheetStripFactor : 1;
        s.tries = kStripTries * longer;
        s.rebuilds = kStripRebuilds * longer;
        TStripLayout layout(types, st.x, st.y, st.grain, s, random_);
        TSearchPlan plan;
        const bool laid = layout.Run(plan);
        expansions += layout.Work() / kCellsPerExpansion;
        if (!laid)
            return false;
        for (TSearchPiece p : plan.pieces) {
            p.type = index[size_t(p.type)];
            --pool[size_t(p.type)];
            out.partsArea += RestAreaKey(p.w, p.h);
            out.pieces.push_back(p);
        }
        out.rests = std::move(plan.rests);
        return true;
    }

    int64_t poolArea(const std::vector<int>& pool) const {
        int64_t sum = 0;
        for (size_t t = 0; t < pool.size(); ++t)
            sum += pool[t] * RestAreaKey(o_.types_[t].x, o_.types_[t].y);
        return sum;
    }

    int64_t stockArea(const TImproveSheet& s) const {
        const TImproveStock& stock = o_.stocks_[size_t(s.stock)];
        return RestAreaKey(stock.x, stock.y);
    }

    double fillRatio(const TImproveSheet& s) const {
        const TImproveStock& stock = o_.stocks_[size_t(s.stock)];
        return double(s.partsArea) / double(std::max<int64_t>(1, RestAreaKey(stock.x, stock.y)));
    }

    int randomBelow(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    // The least filled of a few sheets drawn at random, or the least filled of all.
    int pickEmptySheet(const TImproveResult& r, const std::vector<bool>& taken) {
        const int n = int(r.sheets.size());
        int chosen = -1;
        const int draws = randomBelow(3) == 0 ? n : 3;
        for (int i = 0; i < draws; ++i) {
            const int k = draws == n ? i : randomBelow(n);
            if (taken[size_t(k)])
                continue;
            if (chosen < 0 || fillRatio(r.sheets[size_t(k)]) < fillRatio(r.sheets[size_t(chosen)]))
                chosen = k;
        }
        return chosen;
    }

    // A sheet holding pieces of the types of sheet `to`: its pieces may trade places with those.
    // The best of a few drawn at random.
    int pickRelated(const TImproveResult& r, int to, const std::vector<bool>& taken) {
        std::vector<bool> types(o_.types_.size(), false);
        for (const TSearchPiece& p : r.sheets[size_t(to)].pieces)
            types[size_t(p.type)] = true;
        const int n = int(r.sheets.size());
        int chosen = -1;
        int chosenShared = -1;
        for (int draw = 0; draw < 6; ++draw) {
            const int k = randomBelow(n);
            if (taken[size_t(k)])
                continue;
            int shared = 0;
            for (const TSearchPiece& p : r.sheets[size_t(k)].pieces)
                shared += types[size_t(p.type)] ? 1 : 0;
            if (shared > chosenShared) {
                chosen = k;
                chosenShared = shared;
            }
        }
        return chosen;
    }

    // Ruin and recreate: take some sheets out, put their pieces into the rests of the others, lay
    // the remainder out on new sheets.
    bool move(TImproveResult& r) {
        const int n = int(r.sheets.size());
        if (n == 0)
            return false;
        std::vector<bool> taken(size_t(n), false);
        const int extra = takeSheets(r, taken);
        if (extra < 0)
            return false;
        std::vector<int> pool(o_.types_.size(), 0);
        std::vector<TImproveSheet> kept;
        kept.reserve(size_t(n));
        for (int i = 0; i < n; ++i) {
            if (taken[size_t(i)]) {
                for (const TSearchPiece& p : r.sheets[size_t(i)].pieces)
                    ++pool[size_t(p.type)];
            } else {
                kept.push_back(std::move(r.sheets[size_t(i)]));
            }
        }
        r.sheets = std::move(kept);
        if (extra == 0 || randomBelow(2) == 0)
            fillRests(r, pool);
        return recreate(r, pool) && o_.KeepsPriorities(r);
    }

    // The sheets a band or stacking move takes apart: the emptiest, then up to kMaxExtra others of
    // its size drawn at random. None when its size is too long for a cut through the whole sheet.
    std::vector<int> sheetGroup(const TImproveResult& r) {
        const int n = int(r.sheets.size());
        std::vector<bool> taken(size_t(n), false);
        const int first = pickEmptySheet(r, taken);
        if (first < 0)
            return {};
        const int stock = r.sheets[size_t(first)].stock;
        if (!wholeCutsFit(o_.stocks_[size_t(stock)]))
            return {};
        std::vector<int> group{first};
        taken[size_t(first)] = true;
        const int wanted = n > 1 ? 1 + randomBelow(std::min(kMaxExtra, n - 1)) : 0;
        for (int draw = 0; draw < 4 * wanted && int(group.size()) <= wanted; ++draw) {
            const int k = randomBelow(n);
            if (!taken[size_t(k)] && r.sheets[size_t(k)].stock == stock) {
                taken[size_t(k)] = true;
                group.push_back(k);
            }
        }
        return group;
    }

    // Puts the sheets made in place of the group's; a sheet left without pieces leaves the result.
    bool replaceGroup(TImproveResult& r, const std::vector<int>& group,
                      std::vector<TImproveSheet>& made) const {
        for (size_t g = 0; g < group.size(); ++g)
            r.sheets[size_t(group[g])] = std::move(made[g]);
        r.sheets.erase(std::remove_if(r.sheets.begin(), r.sheets.end(),
                                      [](const TImproveSheet& s) { return s.pieces.empty(); }),
                       r.sheets.end());
        return o_.KeepsPriorities(r);
    }

    // Trades bands between the emptiest of a few sheets of one size and the others: each other sheet
    // takes the bands that fill it closest, the emptiest what is left, with its free length in one
    // rest across it. A sheet left without bands leaves the result.
    bool bandMove(TImproveResult& r) {
        const int n = int(r.sheets.size());
        if (n < 2)
            return false;
        const std::vector<int> group = sheetGroup(r);
        if (group.size() < 2)
            return false;
        const int stock = r.sheets[size_t(group[0])].stock;
        const TImproveStock& st = o_.stocks_[size_t(stock)];
        const bool across = randomBelow(2) == 1;
        const int64_t kerf = o_.settings_.search.kerf;
        std::vector<const TImproveSheet*> from;
        std::vector<TSheetBand> bands;
        for (size_t g = 0; g < group.size(); ++g) {
            from.push_back(&r.sheets[size_t(group[g])]);
            const std::vector<TSheetBand> b =
                SheetBandsOf(*from.back(), int(g), across, kerf, across ? st.y : st.x);
            if (b.empty())
                return false;
            bands.insert(bands.end(), b.begin(), b.end());
        }
        std::shuffle(bands.begin(), bands.end(), random_);
        const int64_t capacity = (across ? st.x : st.y) + kerf;
        std::vector<TImproveSheet> made(group.size());
        int64_t work = 0;
        bool stacked = true;
        // The others first, each as full as the bands allow; the emptiest takes the rest.
        for (size_t g = 1; g <= group.size() && stacked; ++g) {
            const size_t slot = g % group.size();
            std::vector<TSheetBand> chosen;
            if (slot != 0) {
                std::vector<bool> in(bands.size(), false);
                for (int i : FullestBands(bands, capacity, work))
                    in[size_t(i)] = true;
                std::vector<TSheetBand> left;
                for (size_t i = 0; i < bands.size(); ++i)
                    (in[i] ? chosen : left).push_back(bands[i]);
                bands = std::move(left);
            } else {
                chosen = std::move(bands);
            }
            made[slot].stock = stock;
            stacked = StackBands(from, chosen, st.x, st.y, st.grain, across, kerf, made[slot]);
            sortPieces(made[slot]);
        }
        expansions += work / kSumsPerExpansion;
        return stacked && replaceGroup(r, group, made);
    }

    // The share of the pieces wider than half of `st` across a stack (along X, or across: along Y).
    double wideShare(const TImproveStock& st, bool across) const {
        const int64_t side = across ? st.y : st.x;
        double wide = 0, all = 0;
        for (const TSearchPartType& t : o_.types_) {
            const int64_t v = across ? t.y : t.x;
            all += t.count;
            if (2 * v > side && v <= side)
                wide += t.count;
        }
        return all > 0 ? wide / all : 0;
    }

    // Pieces wider than half a sheet never lie side by side: on every sheet their lengths add up.
    // So a few sheets of one size are taken apart and their wide pieces shared out afresh, each
    // sheet taking those whose lengths fill it closest, stacked against one edge; the narrow pieces
    // then go into the room beside and above them. Wide pieces left over wait.
    bool wideMove(TImproveResult& r, std::vector<int>& pool) {
        const std::vector<int> group = sheetGroup(r);
        if (group.empty())
            return false;
        const int stock = r.sheets[size_t(group[0])].stock;
        const TImproveStock& st = o_.stocks_[size_t(stock)];
        bool across = randomBelow(2) == 1;
        if (wideShare(st, across) < kWideShare)
            across = !across;
        if (wideShare(st, across) < kWideShare)
            return false;
        const int64_t kerf = o_.settings_.search.kerf;
        const int64_t along = across ? st.x : st.y, side = across ? st.y : st.x;
        std::vector<int> wide; // part types, one entry a piece
        for (int g : group)
            for (const TSearchPiece& p : r.sheets[size_t(g)].pieces)
                ++pool[size_t(p.type)];
        for (size_t t = 0; t < pool.size(); ++t) {
            const TSearchPartType& type = o_.types_[t];
            const int64_t v = across ? type.y : type.x, u = across ? type.x : type.y;
            if (pool[t] == 0 || !StraightAllowed(type.orientation, st.grain) || 2 * v <= side || v > side ||
                u > along)
                continue;
            wide.insert(wide.end(), size_t(pool[t]), int(t));
        }
        if (wide.empty())
            return false;
        std::shuffle(wide.begin(), wide.end(), random_);
        const auto du = [&](int t) { return across ? o_.types_[size_t(t)].x : o_.types_[size_t(t)].y; };
        const auto dv = [&](int t) { return across ? o_.types_[size_t(t)].y : o_.types_[size_t(t)].x; };
        std::vector<std::vector<int>> rows;
        for (int t : wide)
            rows.push_back({t});
        if (randomBelow(2) == 0) {
            // Pieces wider than a third cover the sheet's length too where two lie side by side:
            // each pairs with the one closest in length that fits beside it.
            std::vector<int> middle;
            for (size_t t = 0; t < pool.size(); ++t) {
                const TSearchPartType& type = o_.types_[t];
                const int64_t v = across ? type.y : type.x, u = across ? type.x : type.y;
                if (pool[t] > 0 && StraightAllowed(type.orientation, st.grain) && 3 * v > side &&
                    2 * v <= side && u <= along)
                    middle.insert(middle.end(), size_t(pool[t]), int(t));
            }
            std::shuffle(middle.begin(), middle.end(), random_);
            std::vector<bool> paired(middle.size(), false);
            for (size_t i = 0; i < middle.size(); ++i) {
                if (paired[i])
                    continue;
                size_t best = i;
                for (size_t j = i + 1; j < middle.size(); ++j)
                    if (!paired[j] && dv(middle[i]) + kerf + dv(middle[j]) <= side &&
                        (best == i || std::abs(du(middle[j]) - du(middle[i])) <
                                          std::abs(du(middle[best]) - du(middle[i]))))
                        best = j;
                if (best == i)
                    continue;
                paired[i] = paired[best] = true;
                rows.push_back({middle[i], middle[best]});
            }
            std::shuffle(rows.begin(), rows.end(), random_);
        }
        int64_t work = 0;
        std::vector<TImproveSheet> made(group.size());
        bool stacked = true;
        for (size_t g = 0; g < group.size() && stacked; ++g) {
            std::vector<TSheetBand> lengths;
            for (const std::vector<int>& row : rows) {
                TSheetBand b;
                for (int t : row)
                    b.length = std::max<int64_t>(b.length, du(t));
                b.length += kerf;
                lengths.push_back(b);
            }
            std::vector<bool> in(rows.size(), false);
            for (int i : FullestBands(lengths, along + kerf, work))
                in[size_t(i)] = true;
            std::vector<std::vector<int>> chosen, left;
            for (size_t i = 0; i < rows.size(); ++i)
                (in[i] ? chosen : left).push_back(rows[i]);
            rows = std::move(left);
            made[g].stock = stock;
            for (const std::vector<int>& row : chosen)
                for (int t : row)
                    --pool[size_t(t)];
            stacked = StackRows(o_.types_, std::move(chosen), st.x, st.y, st.grain, across, kerf, made[g]);
            sortPieces(made[g]);
        }
        expansions += work / kSumsPerExpansion;
        return stacked && replaceGroup(r, group, made);
    }

    bool poolEmpty(const std::vector<int>& pool) const {
        return std::all_of(pool.begin(), pool.end(), [](int c) { return c == 0; });
    }

    // Pours pieces of the pool into the largest free rests of the sheets.
    void fillRests(TImproveResult& r, std::vector<int>& pool) {
        int64_t smallest = -1;
        for (size_t t = 0; t < pool.size(); ++t)
            if (pool[t] > 0) {
                const int64_t a = RestAreaKey(o_.types_[t].x, o_.types_[t].y);
                smallest = smallest < 0 ? a : std::min(smallest, a);
            }
        if (smallest < 0)
            return;
        struct Slot {
            int sheet;
            int rest;
            int64_t area;
        };
        std::vector<Slot> slots;
        const int64_t maxCut = o_.settings_.search.maxCut;
        for (size_t i = 0; i < r.sheets.size(); ++i)
            for (size_t j = 0; j < r.sheets[i].rests.size(); ++j) {
                const TSearchRest& rest = r.sheets[i].rests[j];
                if (rest.area >= smallest && !(rest.x > maxCut && rest.y > maxCut))
                    slots.push_back({int(i), int(j), rest.area});
            }
        std::shuffle(slots.begin(), slots.end(), random_);
        std::stable_sort(slots.begin(), slots.end(),
                         [](const Slot& a, const Slot& b) { return a.area > b.area; });
        const TEffort effort = kRestEfforts[size_t(randomBelow(int(std::size(kRestEfforts))))];
        order_ = TTypeOrder(randomBelow(toCount));
        std::vector<bool> touched(r.sheets.size(), false);
        const size_t tries = std::min<size_t>(slots.size(), 16);
        for (size_t k = 0; k < tries && !poolEmpty(pool) && !stopped(); ++k) {
            TImproveSheet& sheet = r.sheets[size_t(slots[k].sheet)];
            TSearchRest& rest = sheet.rests[size_t(slots[k].rest)];
            TImproveSheet added;
            if (!fill(rest.ox, rest.oy, rest.x, rest.y, rest.orientation, pool, effort, added))
                continue;
            rest.x = rest.y = 0; // taken; removed below
            sheet.pieces.insert(sheet.pieces.end(), added.pieces.begin(), added.pieces.end());
            sheet.rests.insert(sheet.rests.end(), added.rests.begin(), added.rests.end());
            sheet.partsArea += added.partsArea;
            touched[size_t(slots[k].sheet)] = true;
        }
        for (size_t i = 0; i < r.sheets.size(); ++i) {
            if (!touched[i])
                continue;
            auto& rests = r.sheets[i].rests;
            rests.erase(std::remove_if(rests.begin(), rests.end(),
                                       [](const TSearchRest& x) { return x.x == 0 && x.y == 0; }),
                        rests.end());
            sortPieces(r.sheets[i]);
        }
    }

    // Lays the pool out on new sheets, taking the stock sizes in the calculator's order.
    bool recreate(TImproveResult& r, std::vector<int>& pool) {
        std::vector<int> used(o_.stocks_.size(), 0);
        for (const TImproveSheet& s : r.sheets)
            ++used[size_t(s.stock)];
        std::vector<bool> useless(o_.stocks_.size(), false);
        while (!poolEmpty(pool)) {
            if (stopped())
                return false;
            int stock = -1;
            for (size_t s = 0; s < o_.stocks_.size() && stock < 0; ++s)
                if (!useless[s] && used[s] < o_.stocks_[s].available)
                    stock = int(s);
            for (size_t s = 0; s < o_.stocks_.size() && stock < 0; ++s)
                if (!useless[s] && o_.stocks_[s].isDefault)
                    stock = int(s);
            if (stock < 0)
                return false;
            TImproveSheet best;
            if (!o_.stocks_[size_t(stock)].first && sizesFree(used, useless) > 1 && randomBelow(2) == 0 &&
                chooseSize(used, useless, pool, stock, best)) {
                ++used[size_t(stock)];
                r.sheets.push_back(std::move(best));
                continue;
            }
            // Sheet-level look-ahead: a few layouts of other efforts and type orders, the fullest wins.
            if (!layOutSheet(stock, pool, best)) {
                useless[size_t(stock)] = true;
                continue;
            }
            ++used[size_t(stock)];
            r.sheets.push_back(std::move(best));
        }
        return true;
    }

    // Whether ordinary size `s` may take a new sheet: neither a preferred size nor a rest, with sheets
    // left or the default.
    bool sizeFree(size_t s, const std::vector<int>& used, const std::vector<bool>& useless) const {
        const TImproveStock& st = o_.stocks_[s];
        return !useless[s] && !st.first && (used[s] < st.available || st.isDefault);
    }
    int sizesFree(const std::vector<int>& used, const std::vector<bool>& useless) const {
        int n = 0;
        for (size_t s = 0; s < o_.stocks_.size(); ++s)
            n += sizeFree(s, used, useless) ? 1 : 0;
        return n;
    }

    // Lays the pool out on every ordinary size with sheets left and keeps the sheet that holds it
    // closest: the size that takes the whole rest of the pool with the least area, else the fullest.
    // The calculator would take the smallest size first; a larger one may waste less.
    bool chooseSize(const std::vector<int>& used, const std::vector<bool>& useless, std::vector<int>& pool,
                    int& stock, TImproveSheet& out) {
        double bestKey = -1;
        std::vector<int> bestPool;
        for (size_t s = 0; s < o_.stocks_.size(); ++s) {
            if (!sizeFree(s, used, useless))
                continue;
            std::vector<int> left = pool;
            TImproveSheet sheet;
            if (!layOutSheet(int(s), left, sheet))
                continue;
            const double area = double(stockArea(sheet));
            const double key = poolEmpty(left) ? 2 + 1 / area : double(sheet.partsArea) / area;
            if (key > bestKey) {
                bestKey = key;
                bestPool = std::move(left);
                out = std::move(sheet);
                stock = int(s);
            }
        }
        if (bestKey < 0)
            return false;
        pool = std::move(bestPool);
        return true;
    }

    // Lays pieces of the pool out in the rectangle (ox, oy, x, y) with the search; the pieces placed
    // leave the pool and are added to `out` with the rests left beside them.
    bool fill(int64_t ox, int64_t oy, int64_t x, int64_t y, TCSDimOutOrientation grain,
              std::vector<int>& pool, TEffort effort, TImproveSheet& out) {
        std::vector<int> index;
        std::vector<TSearchPartType> types = poolTypes(pool, index);
        if (types.empty())
            return false;
        TSearchSettings s = o_.settings_.search;
        s.typeKeys = typeKeys(types);
        s.typesPerRest = 1 + randomBelow(kTypesPerRest);
        s.reductionTimeMin = 0;
        s.reductionTimeMax = effort.shapesTime;
        s.queueLimit = kQueueLimit;
        VirtualClock clock(effort.pace * double(1 << level_));
        TSheetSearch search(std::move(types), x, y, grain, s, clock, &searchPool_);
        search.Start();
        while (search.HasWork()) {
            if (stopped())
                return false;
            search.SolveStep();
            ++expansions;
        }
        if (!search.HasBest())
            return false;
        const TSearchPlan plan = search.BestLayout();
        if (plan.pieces.empty())
            return false;
        for (TSearchPiece p : plan.pieces) {
            p.type = index[size_t(p.type)];
            p.ox = int32_t(p.ox + ox);
            p.oy = int32_t(p.oy + oy);
            --pool[size_t(p.type)];
            out.partsArea += RestAreaKey(p.w, p.h);
            out.pieces.push_back(p);
        }
        for (TSearchRest r : plan.rests) {
            r.ox = int32_t(r.ox + ox);
            r.oy = int32_t(r.oy + oy);
            r.isRoot = false;
            r.tooSmall = false;
            out.rests.push_back(r);
        }
        return true;
    }

    std::vector<int64_t> typeKeys(const std::vector<TSearchPartType>& types) {
        std::vector<int64_t> keys;
        if (order_ == toDiagonal)
            return keys;
        for (const TSearchPartType& t : types) {
            const int64_t x = t.x / 10000, y = t.y / 10000; // whole mm keep the keys small
            const int64_t longSide = std::max(x, y), shortSide = std::min(x, y);
            switch (order_) {
            case toArea:
                keys.push_back(x * y);
                break;
            case toLongSide:
                keys.push_back(longSide * 1000000 + shortSide);
                break;
            case toAlongX:
                keys.push_back(x * 1000000 + y);
                break;
            case toAlongY:
                keys.push_back(y * 1000000 + x);
                break;
            case toPerimeter:
                keys.push_back(x + y);
                break;
            default:
                keys.push_back(int64_t(random_() % 1000000));
                break;
            }
        }
        return keys;
    }

    const TPlanImprover& o_;
    std::mt19937_64 random_;
    // The worker's searches follow one another, thousands a second: they share their storage.
    TSearchPool searchPool_;
    TTypeOrder order_ = toDiagonal;
    int level_ = 0;
    int stagnant_ = 0;
    const std::atomic<bool>& stop_;
    double deadline_ = 0;
    int64_t checks_ = 0;
    // The chase: a result short of one sheet and the pieces still waiting for a place.
    bool chasing_ = false;
    bool inChaseMove_ = false;
    bool loneSheet_ = false; // within a chase move that seeks a result of one sheet
    TImproveResult partial_;
    std::vector<int> waiting_;
    int64_t waitingArea_ = 0;
    std::vector<int64_t> lateAreas_;
    int64_t chaseMoves_ = 0;
    int64_t chaseStall_ = 0;  // chase moves since the waiting area last fell
    bool wideStacks_ = false; // most pieces are wider than half a sheet of the result, one way
};

TPlanImprover::TPlanImprover(std::vector<TSearchPartType> types, std::vector<TImproveStock> stocks,
                             const TImproveSettings& settings)
    : types_(std::move(types)), stocks_(std::move(stocks)), settings_(settings) {
    // Strips pay where a sheet holds many pieces: there a sheet's last per cent decides. Where a few
    // large pieces fill a sheet, the search lays them out as well, and sooner.
    double area = 0, pieces = 0;
    for (const TSearchPartType& t : types_) {
        area += double(t.count) * double(t.x) * double(t.y);
        pieces += t.count;
    }
    double sheet = 0;
    for (const TImproveStock& st : stocks_)
        sheet = std::max(sheet, double(st.x) * double(st.y));
    strips_ = area > 0 && sheet * pieces / area >= kStripPiecesPerSheet;
}

int64_t TPlanImprover::SqrRecyArea(const TImproveSheet& sheet) const {
    int64_t sum = 0;
    for (const TSearchRest& r : sheet.rests) {
        if (r.x < settings_.search.minRecyDim || r.y < settings_.search.minRecyDim)
            continue;
        const int64_t area = DivRound(int64_t(r.x) * r.y, 10000000000LL); // m², raw
        if (area < settings_.search.minRecyArea)
            continue;
        sum += DivRound(area * area, 10000);
    }
    return sum;
}

bool TPlanImprover::KeepsPriorities(const TImproveResult& result) const {
    std::vector<int> used(stocks_.size(), 0);
    for (const TImproveSheet& s : result.sheets)
        ++used[size_t(s.stock)];
    return KeepsPriorities(used);
}

bool TPlanImprover::KeepsPriorities(const std::vector<int>& used) const {
    size_t last = 0;
    for (size_t i = 0; i < used.size(); ++i)
        if (used[i] > 0)
            last = i;
    for (size_t j = 0; j < last; ++j)
        if (stocks_[j].first && used[j] < startUsed_[j])
            return false;
    return true;
}

bool TPlanImprover::SamePlan(const TImproveSheet& a, const TImproveSheet& b) {
    if (a.stock != b.stock || a.pieces.size() != b.pieces.size())
        return false;
    for (size_t i = 0; i < a.pieces.size(); ++i) {
        const TSearchPiece& p = a.pieces[i];
        const TSearchPiece& q = b.pieces[i];
        if (p.type != q.type || p.ox != q.ox || p.oy != q.oy || p.w != q.w || p.h != q.h ||
            p.rotated != q.rotated)
            return false;
    }
    return true;
}

TImproveScore TPlanImprover::ScoreOf(const TImproveResult& result) const {
    TImproveScore s;
    std::vector<const TImproveSheet*> kinds;
    for (const TImproveSheet& sheet : result.sheets) {
        s.placed += int64_t(sheet.pieces.size());
        const TImproveStock& stock = stocks_[size_t(sheet.stock)];
        s.stockArea += RestAreaKey(stock.x, stock.y);
        s.sqrRecyArea += SqrRecyArea(sheet);
        if (std::none_of(kinds.begin(), kinds.end(),
                         [&](const TImproveSheet* k) { return SamePlan(*k, sheet); }))
            kinds.push_back(&sheet);
    }
    s.distinct = int(kinds.size());
    return s;
}

bool TPlanImprover::Better(const TImproveScore& a, const TImproveScore& b) {
    if (a.placed != b.placed)
        return a.placed > b.placed;
    if (a.stockArea != b.stockArea)
        return a.stockArea < b.stockArea;
    if (a.sqrRecyArea != b.sqrRecyArea)
        return a.sqrRecyArea > b.sqrRecyArea;
    return a.distinct < b.distinct;
}

TImproveResult TPlanImprover::Improve(const TImproveResult& start, const TImproveControl& control) {
    TImproveResult best = start;
    for (TImproveSheet& s : best.sheets)
        sortPieces(s);
    startUsed_.assign(stocks_.size(), 0);
    for (const TImproveSheet& s : start.sheets)
        ++startUsed_[size_t(s.stock)];
    TImproveScore bestScore = ScoreOf(best);
    const int count = std::max(1, settings_.workers);
    std::atomic<bool> stop{false};
    std::vector<std::unique_ptr<TWorker>> workers;
    for (int k = 0; k < count; ++k)
        workers.push_back(std::make_unique<TWorker>(*this, settings_.seed + uint64_t(k) * 7919, stop));
    std::vector<TImproveResult> current(size_t(count), best);
    if (best.sheets.empty() || (control.unbeatable && control.unbeatable(best)))
        return best;

    while (true) {
        ++rounds_;
        std::vector<TImproveResult> found(size_t(count), best);
        std::vector<TImproveScore> scores(size_t(count), bestScore);
        // The second worker chases one sheet fewer; a lone worker does so every other round. On a
        // result of few sheets every worker chases: there the chase alone finds a sheet fewer, and
        // chases that draw differently find it more often than one.
        const int chaser = count > 1 ? 1 : rounds_ % 2 == 0 ? 0 : -1;
        const bool allChase = best.sheets.size() <= kFewSheets;
        const auto work = [&](int k) {
            TWorker& w = *workers[size_t(k)];
            if ((k == chaser || allChase) && w.Chase(best, found[size_t(k)], scores[size_t(k)],
                                                     settings_.roundExpansions, control.deadline))
                return;
            w.Round(current[size_t(k)], found[size_t(k)], scores[size_t(k)], settings_.roundExpansions,
                    control.deadline);
        };
        std::vector<int64_t> before(static_cast<size_t>(count), 0);
        for (int k = 0; k < count; ++k)
            before[size_t(k)] = workers[size_t(k)]->expansions;
        // Every worker searches on a thread of its own; the calling thread meanwhile lets its
        // window take events and a stop, whose redraws would otherwise slow one worker and keep the
        // other waiting at the round's end.
        if (control.tick && !control.tick())
            stop = true;
        std::mutex mutex;
        std::condition_variable finished;
        int running = count;
        std::vector<std::thread> threads;
        for (int k = 0; k < count; ++k)
            threads.emplace_back([&, k] {
                work(k);
                const std::lock_guard<std::mutex> lock(mutex);
                --running;
                finished.notify_one();
            });
        {
            std::unique_lock<std::mutex> lock(mutex);
            while (!finished.wait_for(lock, kTickInterval, [&] { return running == 0; }))
                if (control.tick) {
                    lock.unlock();
                    if (!control.tick())
                        stop = true;
                    lock.lock();
                }
        }
        for (std::thread& t : threads)
            t.join();

        int64_t spent = 0;
        const size_t sheetsBefore = best.sheets.size();
        for (int k = 0; k < count; ++k) {
            spent += workers[size_t(k)]->expansions - before[size_t(k)];
            if (Better(scores[size_t(k)], bestScore)) {
                best = found[size_t(k)];
                bestScore = scores[size_t(k)];
            }
        }
        if (best.sheets.size() < sheetsBefore && control.improved)
            control.improved(int(best.sheets.size()));
        if (control.unbeatable && control.unbeatable(best))
            stop = true;
        expansions_ += spent;
        // Every worker goes on from the result that came furthest by the workers' own rule.
        int lead = 0;
        TImproveScore leadScore = ScoreOf(current[0]);
        double leadGuide = workers[0]->Guide(current[0]);
        for (int k = 1; k < count; ++k) {
            const TImproveScore s = ScoreOf(current[size_t(k)]);
            const double g = workers[size_t(k)]->Guide(current[size_t(k)]);
            if (TWorker::Ahead(s, g, leadScore, leadGuide)) {
                lead = k;
                leadScore = s;
                leadGuide = g;
            }
        }
        for (int k = 0; k < count; ++k)
            if (k != lead)
                current[size_t(k)] = current[size_t(lead)];
        if (stop || !control.nextRound || !control.nextRound(spent))
            break;
    }
    return best;
}

} // namespace lintaro
