#pragma once
// The improvement stage after the sheet-by-sheet search. It works on the whole result at once: it
// takes a few sheets out (the emptiest ones and some others), pours their pieces into the free rests
// of the sheets that stay and lays what is left out again on new sheets, sheet by sheet, with the
// same beam search on a short node budget. Where a sheet holds many pieces, a layout in strips
// (calc/StripLayout.h) competes with the search for half the new sheets: it fills tight sheets
// closer; a chase for a result of a single sheet gives every layout of that sheet strips, and
// longer. A changed result is kept while it is not worse, and the best one seen wins by these keys
// in order: more pieces placed, less stock area, larger reusable rests (the squared-area key of the
// search), fewer distinct plans. Stock counts, grain, kerf, MaxCut and guillotine cuts hold as in the
// search: every refilled rest is laid out by it, and the strip layout keeps the same rules. Preferred
// sizes and rests come first as in the calculator; among the other sizes a new sheet may also take a
// larger one than the calculator would, where that wastes less stock.
//
// Two workers run side by side on plain threads, in rounds of a fixed number of expansions; after
// each round the better of the two results goes on. The second worker chases a result of one sheet
// fewer than the best: it drops the least filled sheet and lays the other sheets out again until its
// pieces have found a place, so a result the first worker cannot reach step by step without placing
// every piece is still found (a lone worker does so every other round). On a result of a few sheets
// both workers chase, each with its own draws. A chase that has long stopped gaining also trades
// bands between sheets (calc/SheetBands.h), and where most pieces are wider than half the sheet, it
// shares those out afresh: they never lie side by side, so their lengths on a sheet add up. Each
// worker draws from its own seeded stream, so a run whose rounds are counted in expansions alone
// gives the same result every time.
#include "calc/SheetSearch.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace lintaro {

// A stock size, listed in the order in which the calculator takes them.
struct TImproveStock {
    int64_t x = 0, y = 0; // raw mm
    TCSDimOutOrientation grain = csdooNone;
    int available = 0; // sheets that may be used; the default size (negative) is used without limit
    bool isDefault = false;
    bool first = false; // a preferred size or a rest: used before the ordinary sizes
};

// One sheet of a result (a repeated plan is listed once per sheet).
struct TImproveSheet {
    int stock = 0;
    std::vector<TSearchPiece> pieces; // type: index into the part types
    std::vector<TSearchRest> rests;   // the free rectangles
    int64_t partsArea = 0;            // raw mm²
};

struct TImproveResult {
    std::vector<TImproveSheet> sheets;
};

struct TImproveScore {
    int64_t placed = 0;
    int64_t stockArea = 0; // raw mm²
    int64_t sqrRecyArea = 0;
    int distinct = 0;
};

struct TImproveSettings {
    TSearchSettings search; // kerf, MaxCut and the rest filter
    uint64_t seed = 20261208;
    int workers = 2;
    int64_t roundExpansions = 20000; // per worker and round
};

// What the stage asks of its caller, always on the calling thread.
struct TImproveControl {
    // Between rounds, with the expansions of the round just done: false ends the stage.
    std::function<bool(int64_t expansions)> nextRound;
    // At the start of every round and every few milliseconds during it: false stops at once.
    std::function<bool()> tick;
    // Steady-clock seconds at which a round ends early; 0: rounds end by their expansions only.
    double deadline = 0;
    // True for a result nothing can better (it meets the lower bound): the stage ends with it at
    // once, before the first round too.
    std::function<bool(const TImproveResult&)> unbeatable;
    // After a round whose best result uses fewer sheets than before, with that count.
    std::function<void(int sheets)> improved;
};

// X × Y (raw mm) in raw mm², rounded as the search rounds its rest areas.
int64_t ImproveAreaKey(int64_t x, int64_t y);

class TPlanImprover {
public:
    TPlanImprover(std::vector<TSearchPartType> types, std::vector<TImproveStock> stocks,
                  const TImproveSettings& settings);

    TImproveResult Improve(const TImproveResult& start, const TImproveControl& control);

    TImproveScore ScoreOf(const TImproveResult& result) const;
    // a is better than b by the keys of the stage.
    static bool Better(const TImproveScore& a, const TImproveScore& b);
    int64_t Expansions() const { return expansions_; }
    int Rounds() const { return rounds_; }

    // The rests of one sheet worth keeping in the squared-area key, raw.
    int64_t SqrRecyArea(const TImproveSheet& sheet) const;
    // Preferred sizes and rests keep the sheets the first pass took of them while any size taken
    // after them is used.
    bool KeepsPriorities(const TImproveResult& result) const;
    // The same for the sheets used of each stock.
    bool KeepsPriorities(const std::vector<int>& used) const;
    // Sheets of the same stock with the same pieces in the same places.
    static bool SamePlan(const TImproveSheet& a, const TImproveSheet& b);

private:
    class TWorker;
    friend class TWorker;

    std::vector<TSearchPartType> types_;
    std::vector<TImproveStock> stocks_;
    TImproveSettings settings_;
    bool strips_ = false;        // the strip layout is tried beside the search
    std::vector<int> startUsed_; // sheets of each stock in the result the stage started from
    int64_t expansions_ = 0;
    int rounds_ = 0;
};

} // namespace lintaro
