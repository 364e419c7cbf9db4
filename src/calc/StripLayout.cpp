#include "calc/StripLayout.h"

#include "calc/IntegerRounding.h"

#include <algorithm>
#include <numeric>

namespace lintaro {

namespace {

// The penalty on the value of a piece that found no place in a try.
constexpr double kLeftOutWeight = 1.6;
// How far the corrected value moves towards what the last try showed.
constexpr double kCorrection = 0.5;

int64_t ceilDiv(int64_t a, int64_t b) {
    return (a + b - 1) / b;
}

} // namespace

TStripLayout::TStripLayout(const std::vector<TSearchPartType>& types, int64_t x, int64_t y,
                           TCSDimOutOrientation grain, const TStripLayoutSettings& settings,
                           std::mt19937_64& random)
    : types_(types), x_(x), y_(y), grain_(grain), settings_(settings), random_(random) {
    for (const TSearchPartType& t : types_)
        prices_.push_back(double(t.x + settings_.kerf) * double(t.y + settings_.kerf));
}

bool TStripLayout::fits(int type, bool straight) const {
    const TCSPartInOrientation o = types_[size_t(type)].orientation;
    return straight ? StraightAllowed(o, grain_) : TurnedAllowed(o, grain_);
}

void TStripLayout::makeOptions(bool across) {
    const int64_t k = settings_.kerf;
    length_ = (across ? y_ : x_) + k;
    width_ = (across ? x_ : y_) + k;
    options_.clear();
    int64_t g = std::gcd(length_, width_);
    for (size_t i = 0; i < types_.size(); ++i) {
        const TSearchPartType& t = types_[i];
        if (t.count <= 0)
            continue;
        for (int turned = 0; turned < 2; ++turned) {
            if (!fits(int(i), turned == 0) || (turned == 1 && t.x == t.y && fits(int(i), true)))
                continue;
            const int64_t w = turned ? t.y : t.x, h = turned ? t.x : t.y;
            Option o{int(i), (across ? h : w) + k, (across ? w : h) + k, 0, 0, turned == 1};
            if (o.u > length_ || o.v > width_)
                continue;
            g = std::gcd(g, std::gcd(o.u, o.v));
            options_.push_back(o);
        }
    }
    const int64_t longest = std::max(length_, width_);
    step_ = std::max<int64_t>(1, g);
    if (longest / step_ > settings_.cells)
        step_ = ceilDiv(longest, settings_.cells);
    for (Option& o : options_) {
        o.gu = ceilDiv(o.u, step_);
        o.gv = ceilDiv(o.v, step_);
    }
}

// The columns of one strip of the given height, one after another along its length: each is the
// stack of pieces, of a width no greater than the column's, that holds the most value over the
// strip's height (a knapsack), and the column that holds the most value per unit of length goes
// first. The value of the strip; `counts` loses the pieces taken.
double TStripLayout::buildStrip(int64_t height, int64_t length, std::vector<int>& counts,
                                std::vector<Column>& columns) {
    struct Item {
        int option;
        int pieces;
        int64_t weight;
        double value;
    };
    columns.clear();
    double total = 0;
    std::vector<Item> items;
    std::vector<int> chosen(types_.size(), -1);
    const size_t cells = size_t(height) + 1;
    while (length > 0) {
        // One way for each type to lie in this strip: the one that takes most of its height.
        std::fill(chosen.begin(), chosen.end(), -1);
        for (size_t i = 0; i < options_.size(); ++i) {
            const Option& o = options_[i];
            if (counts[size_t(o.type)] <= 0 || o.gv > height || o.gu > length)
                continue;
            int& c = chosen[size_t(o.type)];
            if (c < 0 || o.gv > options_[size_t(c)].gv)
                c = int(i);
        }
        items.clear();
        for (size_t t = 0; t < types_.size(); ++t) {
            if (chosen[t] < 0)
                continue;
            const Option& o = options_[size_t(chosen[t])];
            int left = int(std::min<int64_t>(counts[t], height / o.gv));
            for (int take = 1; left > 0; take *= 2) {
                const int n = std::min(take, left);
                items.push_back({chosen[t], n, n * o.gv, n * prices_[t]});
                left -= n;
            }
        }
        if (items.empty())
            break;
        // Narrow pieces first, so that each prefix of the items is a column width's choice.
        std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
            return options_[size_t(a.option)].gu < options_[size_t(b.option)].gu;
        });
        dp_.assign(cells, 0);
        keep_.assign(items.size() * cells, 0);
        double bestDensity = 0, bestValue = 0;
        size_t bestEnd = 0;
        int64_t bestWidth = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            const Item& it = items[i];
            unsigned char* keep = keep_.data() + i * cells;
            for (int64_t cap = height; cap >= it.weight; --cap) {
                const double with = dp_[size_t(cap - it.weight)] + it.value;
                if (with > dp_[size_t(cap)]) {
                    dp_[size_t(cap)] = with;
                    keep[cap] = 1;
                }
            }
            const int64_t width = options_[size_t(it.option)].gu;
            if (i + 1 < items.size() && options_[size_t(items[i + 1].option)].gu == width)
                continue;
            const double density = dp_[size_t(height)] / double(width);
            if (density > bestDensity) {
                bestDensity = density;
                bestValue = dp_[size_t(height)];
                bestEnd = i + 1;
                bestWidth = width;
            }
        }
        work_ += int64_t(items.size() * cells);
        if (bestEnd == 0)
            break;
        Column column;
        int64_t cap = height;
        for (size_t i = bestEnd; i-- > 0;) {
            if (!keep_[i * cells + size_t(cap)])
                continue;
            const Item& it = items[i];
            for (int n = 0; n < it.pieces; ++n)
                column.stack.push_back(it.option);
            counts[size_t(options_[size_t(it.option)].type)] -= it.pieces;
            cap -= it.weight;
        }
        column.width = bestWidth;
        columns.push_back(std::move(column));
        total += bestValue;
        length -= bestWidth;
    }
    return total;
}

// Frame boxes to the sheet: along the strips is X, or Y when they run across.
void TStripLayout::emit(const Box& b, int64_t offset, bool across, Laid& laid) const {
    const int64_t k = settings_.kerf;
    const int64_t u = b.u, v = b.v + offset, du = b.du - k, dv = b.dv - k;
    if (b.option < 0) {
        if (du <= 0 || dv <= 0)
            return;
        TSearchRest r;
        r.ox = int32_t(across ? v : u);
        r.oy = int32_t(across ? u : v);
        r.x = int32_t(across ? dv : du);
        r.y = int32_t(across ? du : dv);
        r.area = RestAreaKey(r.x, r.y);
        r.orientation = grain_;
        laid.plan.rests.push_back(r);
        return;
    }
    const Option& o = options_[size_t(b.option)];
    TSearchPiece p;
    p.type = o.type;
    p.ox = int32_t(across ? v : u);
    p.oy = int32_t(across ? u : v);
    p.w = int32_t(across ? dv : du);
    p.h = int32_t(across ? du : dv);
    p.rotated = o.turned;
    laid.plan.pieces.push_back(p);
}

void TStripLayout::put(int option, int64_t u, int64_t v, Strip& strip) {
    const Option& o = options_[size_t(option)];
    strip.boxes.push_back({u, v, o.u, o.v, option});
    strip.area += RestAreaKey(o.u - settings_.kerf, o.v - settings_.kerf);
    strip.inflated += double(o.u) * double(o.v);
    --counts_[size_t(o.type)];
}

// Fills a free rectangle piece by piece: the most valuable piece that fits goes into its corner, as
// many of its type in a row as fit, and the rectangles above the row and beside it are filled in turn.
void TStripLayout::fillRect(int64_t u, int64_t v, int64_t du, int64_t dv, Strip& strip) {
    if (du <= 0 || dv <= 0)
        return;
    int chosen = -1;
    for (size_t i = 0; i < options_.size(); ++i) {
        const Option& o = options_[i];
        if (counts_[size_t(o.type)] <= 0 || o.u > du || o.v > dv)
            continue;
        if (chosen < 0 || prices_[size_t(o.type)] > prices_[size_t(options_[size_t(chosen)].type)])
            chosen = int(i);
    }
    if (chosen < 0) {
        strip.boxes.push_back({u, v, du, dv, -1});
        return;
    }
    const Option o = options_[size_t(chosen)];
    const int64_t n = std::min<int64_t>(counts_[size_t(o.type)], du / o.u);
    for (int64_t i = 0; i < n; ++i)
        put(chosen, u + i * o.u, v, strip);
    fillRect(u + n * o.u, v, du - n * o.u, o.v, strip);
    fillRect(u, v + o.v, du, dv - o.v, strip);
}

// The best strip that fits into `room` (kerf included) across the sheet, its pieces taken from the
// counts; false when no piece fits.
bool TStripLayout::makeStrip(int64_t room, Strip& strip) {
    const int64_t along = length_ / step_;
    const int64_t steps = room / step_;
    heights_.clear();
    for (const Option& o : options_)
        if (counts_[size_t(o.type)] > 0 && o.gv <= steps && o.gu <= along)
            heights_.push_back(o.gv);
    if (heights_.empty())
        return false;
    std::sort(heights_.begin(), heights_.end(), std::greater<>());
    heights_.erase(std::unique(heights_.begin(), heights_.end()), heights_.end());
    std::uniform_real_distribution<double> noise(0.9, 1.1);
    // Now and then the strip is as high as the tallest piece left, as shelf layouts do.
    const size_t compared = std::uniform_int_distribution<int>(0, 3)(random_) == 0
                                ? 1
                                : std::min<size_t>(heights_.size(), size_t(settings_.heights));
    double bestScore = 0;
    std::vector<Column> columns, best;
    for (size_t i = 0; i < compared; ++i) {
        scratchCounts_ = counts_;
        const double value = buildStrip(heights_[i], along, scratchCounts_, columns);
        const double score = value / double(heights_[i]) * noise(random_);
        if (value > 0 && score > bestScore) {
            bestScore = score;
            best.swap(columns);
        }
    }
    if (best.empty())
        return false;
    // The stacks first, as the knapsacks chose them, widest piece at the foot; then the space beside
    // the narrower pieces, above each stack and at the strip's end.
    strip = Strip();
    for (Column& c : best) {
        std::stable_sort(c.stack.begin(), c.stack.end(),
                         [&](int a, int b) { return options_[size_t(a)].u > options_[size_t(b)].u; });
        int64_t h = 0;
        for (int o : c.stack)
            h += options_[size_t(o)].v;
        strip.height = std::max(strip.height, h);
    }
    std::vector<Box> gaps;
    int64_t at = 0;
    for (const Column& c : best) {
        const int64_t width = options_[size_t(c.stack.front())].u;
        int64_t v = 0;
        for (int i : c.stack) {
            const Option& o = options_[size_t(i)];
            put(i, at, v, strip);
            gaps.push_back({at + o.u, v, width - o.u, o.v, -1});
            v += o.v;
        }
        gaps.push_back({at, v, width, strip.height - v, -1});
        at += width;
    }
    gaps.push_back({at, 0, length_ - at, strip.height, -1});
    for (const Box& g : gaps)
        fillRect(g.u, g.v, g.du, g.dv, strip);
    return true;
}

int64_t TStripLayout::heightOf(const std::vector<Strip>& strips) {
    int64_t h = 0;
    for (const Strip& s : strips)
        h += s.height;
    return h;
}

// Strips are added while any fits; the rest of the sheet is filled piece by piece into `top`.
void TStripLayout::fillSheet(std::vector<Strip>& strips, Strip& top) {
    int64_t used = heightOf(strips);
    Strip strip;
    while (makeStrip(width_ - used, strip)) {
        used += strip.height;
        strips.push_back(std::move(strip));
    }
    top = Strip();
    top.height = width_ - used;
    fillRect(0, 0, length_, top.height, top);
}

void TStripLayout::release(const Strip& strip) {
    for (const Box& b : strip.boxes)
        if (b.option >= 0)
            ++counts_[size_t(options_[size_t(b.option)].type)];
}

bool TStripLayout::tryOnce(bool across, Laid& laid) {
    makeOptions(across);
    counts_.clear();
    for (const TSearchPartType& t : types_)
        counts_.push_back(t.count);
    std::vector<Strip> strips, saved;
    Strip top, savedTop;
    fillSheet(strips, top);
    auto areaOf = [&](const std::vector<Strip>& ss, const Strip& t) {
        int64_t a = t.area;
        for (const Strip& s : ss)
            a += s.area;
        return a;
    };
    int64_t area = areaOf(strips, top);
    // Ruin and recreate inside the sheet: a strip or two and the top go, their pieces and those
    // still left over are laid out again in the room they leave; kept when no worse.
    std::vector<int> savedCounts;
    const int rounds = settings_.rebuilds;
    for (int r = 0; r < rounds && !strips.empty() && work_ < settings_.workLimit; ++r) {
        saved = strips;
        savedTop = top;
        savedCounts = counts_;
        release(top);
        const int drop =
            std::min<int>(int(strips.size()), 1 + std::uniform_int_distribution<int>(0, 1)(random_));
        for (int d = 0; d < drop; ++d) {
            const size_t k = size_t(std::uniform_int_distribution<int>(0, int(strips.size()) - 1)(random_));
            release(strips[k]);
            strips.erase(strips.begin() + std::ptrdiff_t(k));
        }
        fillSheet(strips, top);
        const int64_t a = areaOf(strips, top);
        if (a >= area) {
            area = a;
        } else {
            strips.swap(saved);
            top = savedTop;
            counts_ = savedCounts;
        }
    }
    laid = Laid();
    laid.area = area;
    laid.filled.assign(types_.size(), 0);
    laid.placed.assign(types_.size(), 0);
    int64_t offset = 0;
    strips.push_back(top);
    for (size_t i = 0; i < strips.size(); ++i) {
        const Strip& s = strips[i];
        const double fill =
            i + 1 == strips.size() || s.height <= 0 ? 1 : s.inflated / (double(length_) * double(s.height));
        for (const Box& b : s.boxes) {
            emit(b, offset, across, laid);
            if (b.option >= 0) {
                const int t = options_[size_t(b.option)].type;
                laid.filled[size_t(t)] += fill;
                ++laid.placed[size_t(t)];
            }
        }
        offset += s.height;
    }
    return !laid.plan.pieces.empty();
}

bool TStripLayout::Run(TSearchPlan& out) {
    Laid best;
    bool found = false;
    std::uniform_real_distribution<double> noise(0.95, 1.05);
    const bool square = x_ == y_;
    for (int attempt = 0; attempt < settings_.tries && (attempt == 0 || work_ < settings_.workLimit);
         ++attempt) {
        const bool across =
            square ? std::uniform_int_distribution<int>(0, 1)(random_) == 1 : attempt % 2 == 1;
        Laid laid;
        if (!tryOnce(across, laid))
            continue;
        if (!found || laid.area > best.area) {
            best = laid;
            found = true;
        }
        bool all = true;
        for (size_t t = 0; t < types_.size(); ++t) {
            const TSearchPartType& type = types_[t];
            if (type.count <= 0)
                continue;
            const double area = double(type.x + settings_.kerf) * double(type.y + settings_.kerf);
            const int placed = laid.placed[t];
            const int left = type.count - placed;
            all = all && left == 0;
            double target = left * area * kLeftOutWeight;
            if (placed > 0)
                target += placed * area / std::max(0.05, laid.filled[t] / placed);
            target /= type.count;
            prices_[t] = ((1 - kCorrection) * prices_[t] + kCorrection * target) * noise(random_);
        }
        if (all)
            break;
    }
    if (!found)
        return false;
    out.pieces = std::move(best.plan.pieces);
    out.rests = std::move(best.plan.rests);
    return true;
}

} // namespace lintaro
