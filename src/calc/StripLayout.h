#pragma once
// A layout of one sheet in strips, for pieces that nearly fill it. The sheet is cut across into
// strips, each strip into columns of pieces stacked along the strip's height, and what is left
// beside and above the columns is filled piece by piece with guillotine cuts. Each strip is filled
// by a knapsack over its length; the strips are chosen one by one by the value they hold per unit
// of height. Between tries the value of each part type is corrected: types left out, or packed with
// waste, are worth more the next time, so the hard pieces find their place first. The beam search
// fills most sheets well; this layout reaches the last few per cent of a tight one.
#include "calc/SheetSearch.h"

#include <cstdint>
#include <random>
#include <vector>

namespace lintaro {

struct TStripLayoutSettings {
    int64_t kerf = 0;  // raw mm
    int tries = 8;     // sheets built, with the values corrected between them
    int heights = 8;   // strip heights compared for each strip, the tallest first
    int rebuilds = 30; // strips taken out and laid out again in each try
    // The most knapsack cells along a strip or across the sheet; longer sides are counted in coarser
    // steps, every piece rounded up to whole steps, so a layout found always fits.
    int64_t cells = 1500;
    // Knapsack cells after which no further try or rebuild starts: large orders stay quick.
    int64_t workLimit = 20000000;
};

class TStripLayout {
public:
    // types: the pieces to place (count each); x, y: the sheet, raw mm; grain: the sheet's.
    TStripLayout(const std::vector<TSearchPartType>& types, int64_t x, int64_t y, TCSDimOutOrientation grain,
                 const TStripLayoutSettings& settings, std::mt19937_64& random);

    // The fullest layout found, its pieces (type: index into the types) and the free rectangles left
    // beside them; false when no piece fits.
    bool Run(TSearchPlan& out);
    // Knapsack cells filled so far: a count of the work done, independent of the machine.
    int64_t Work() const { return work_; }

private:
    struct Option {
        int type;
        int64_t u, v;   // along and across the strips, kerf included, raw
        int64_t gu, gv; // the same in knapsack steps, rounded up
        bool turned;
    };
    struct Column {
        int64_t width = 0;      // knapsack steps
        std::vector<int> stack; // options, from the strip's foot
    };
    // A piece (an option) or a free rectangle (option −1), along and across the strips from the
    // strip's corner, kerf included.
    struct Box {
        int64_t u, v, du, dv;
        int option;
    };
    struct Strip {
        int64_t height = 0; // kerf included
        std::vector<Box> boxes;
        int64_t area = 0;    // raw mm² of the pieces
        double inflated = 0; // the same with the kerf
    };
    struct Laid {
        int64_t area = 0;
        TSearchPlan plan;
        std::vector<double> filled; // per type: the fill of the strips its pieces went to, summed
        std::vector<int> placed;    // per type
    };

    bool fits(int type, bool straight) const;
    void makeOptions(bool across);
    bool tryOnce(bool across, Laid& laid);
    double buildStrip(int64_t height, int64_t length, std::vector<int>& counts, std::vector<Column>& columns);
    bool makeStrip(int64_t room, Strip& strip);
    void fillSheet(std::vector<Strip>& strips, Strip& top);
    void fillRect(int64_t u, int64_t v, int64_t du, int64_t dv, Strip& strip);
    void put(int option, int64_t u, int64_t v, Strip& strip);
    void release(const Strip& strip);
    void emit(const Box& b, int64_t offset, bool across, Laid& laid) const;
    static int64_t heightOf(const std::vector<Strip>& strips);

    std::vector<TSearchPartType> types_;
    int64_t x_, y_;
    TCSDimOutOrientation grain_;
    TStripLayoutSettings settings_;
    std::mt19937_64& random_;
    std::vector<Option> options_;
    int64_t step_ = 1;
    int64_t length_ = 0, width_ = 0; // the sheet along and across the strips, kerf included
    std::vector<int> counts_, scratchCounts_;
    std::vector<int64_t> heights_;
    std::vector<double> prices_;
    std::vector<double> dp_;
    std::vector<unsigned char> keep_;
    int64_t work_ = 0;
};

} // namespace lintaro
