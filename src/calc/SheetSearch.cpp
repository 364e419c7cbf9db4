#include "calc/SheetSearch.h"

#include "calc/IntegerRounding.h"

#include "foundation/QuickSort.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lintaro {

// A block of pieces of one part type placed into the corner (ox, oy) of a rest. Blocks form a tree
// through their parents; each node refers to the last block on its path.
struct TSheetSearch::Block {
    Block* parent = nullptr;
    int refs = 1;
    int type = 0;
    int a = 0;
    int b = 0;
    bool rotated = false;
    int32_t ox = 0, oy = 0, w = 0, h = 0;
};

struct TSheetSearch::Node {
    Block* last = nullptr;
    std::vector<TSearchRest> rests;
    int64_t multiIndex = 1;
    int64_t minActualRest = 0; // raw mm²
    int64_t totalArea = 0;     // raw m²
    int32_t partsLength = 0;   // raw mm
    int32_t partsCount = 0;
    int32_t listedTypes = 0;
    bool sortedTypes = false; // the demand list was sorted when this node was expanded
};

// One child an expansion could keep: the block shape, its placement and its cut order.
struct TSheetSearch::Candidate {
    int type = 0;
    int a = 0;
    int b = 0;
    bool turned = false;
    bool verticalFirst = false;
    int64_t w = 0;
    int64_t h = 0;
    int64_t score = 0;
    int remainingAfter = 0;
};

namespace {

// round4(X × Y / 1 000 000) in m², raw.
int64_t partArea(int64_t x, int64_t y) {
    return DivRound(x * y, 10000000000LL);
}

// How many pieces of `piece` fit along `length` with a kerf between them: the whole part of the
// quotient (length + kerf) / (piece + kerf) rounded to four decimals first, so exact fits survive.
int64_t fitCount(int64_t length, int64_t piece, int64_t kerf) {
    const int64_t den = piece + kerf;
    const int64_t num = length + kerf;
    if (den <= 0 || num <= 0)
        return 0;
    return DivRound(num * 10000, den) / 10000;
}

int compareValues(int64_t a, int64_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

int64_t saturatingProduct(int64_t m, int64_t f) {
    if (m > std::numeric_limits<int64_t>::max() / f)
        return std::numeric_limits<int64_t>::max();
    return m * f;
}

TSearchRest makeRest(int64_t ox, int64_t oy, int64_t x, int64_t y, TCSDimOutOrientation o) {
    TSearchRest r;
    r.ox = static_cast<int32_t>(ox);
    r.oy = static_cast<int32_t>(oy);
    r.x = static_cast<int32_t>(x);
    r.y = static_cast<int32_t>(y);
    r.area = RestAreaKey(x, y);
    r.orientation = o;
    return r;
}

struct Split {
    int64_t ax, ay, aw, ah; // first rest
    int64_t bx, by, bw, bh; // second rest
    bool ok;
};

// The two rests left beside a block BW × BH placed into rest R, for one cut order.
Split splitRest(const TSearchRest& r, int64_t bw, int64_t bh, int64_t kerf, int64_t maxCut,
                bool verticalFirst) {
    Split s{};
    if (!verticalFirst) {
        // The strip above the block across the whole rest, then the piece beside the block.
        s = {r.ox, r.oy + bh, r.x, r.y - bh, r.ox + bw, r.oy, r.x - bw, bh - kerf, false};
        s.ok = s.aw <= maxCut && s.bh <= maxCut;
    } else {
        // The strip beside the block over the whole rest height, then the piece above the block.
        s = {r.ox + bw, r.oy, r.x - bw, r.y, r.ox, r.oy + bh, bw - kerf, r.y - bh, false};
        s.ok = s.ah <= maxCut && s.bw <= maxCut;
    }
    return s;
}

} // namespace

TSheetSearch::TSheetSearch(std::vector<TSearchPartType> types, int64_t dimX, int64_t dimY,
                           TCSDimOutOrientation grain, const TSearchSettings& settings, Clock& clock,
                           TSearchPool* pool)
    : types_(std::move(types)), settings_(settings), clock_(clock),
      ownPool_(pool ? nullptr : std::make_unique<TSearchPool>()), pool_(pool ? *pool : *ownPool_) {
    root_ = makeRest(0, 0, dimX, dimY, grain);
    root_.isRoot = true;
    initial_.reserve(types_.size());
    for (const TSearchPartType& t : types_)
        initial_.push_back(t.count);
    // Types ranked by diagonal (or by the given keys) once; equal diagonals share a rank. Sorted with
    // their IDs, the same list is the demand list's order apart from the counts.
    struct Ranked {
        __int128 key;
        int id;
        int index;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(types_.size());
    const bool keyed = settings_.typeKeys.size() == types_.size();
    for (size_t i = 0; i < types_.size(); ++i)
        ranked.push_back({keyed ? __int128(settings_.typeKeys[i])
                                : __int128(types_[i].x) * types_[i].x + __int128(types_[i].y) * types_[i].y,
                          types_[i].id, int(i)});
    std::sort(ranked.begin(), ranked.end(),
              [](const Ranked& a, const Ranked& b) { return a.key != b.key ? a.key < b.key : a.id < b.id; });
    diagRank_.assign(types_.size(), 0);
    byRank_.resize(types_.size());
    int rank = 0;
    for (size_t i = 0; i < ranked.size(); ++i) {
        if (i > 0 && ranked[i].key != ranked[i - 1].key)
            ++rank;
        diagRank_[size_t(ranked[i].index)] = rank;
        byRank_[i] = ranked[i].index;
    }
    // The sides' fit thresholds (see mayFit), and the smallest of them: a rest below it both ways
    // holds nothing.
    fitNeeds_.reserve(types_.size());
    minNeed_ = std::numeric_limits<int64_t>::max();
    for (const TSearchPartType& t : types_) {
        fitNeeds_.push_back({(t.x + settings_.kerf) * 19999, (t.y + settings_.kerf) * 19999});
        minNeed_ = std::min({minNeed_, fitNeeds_.back().x, fitNeeds_.back().y});
    }
}

TSheetSearch::~TSheetSearch() {
    for (Node* n : queue_)
        freeNode(n);
    for (Node* n : collected_)
        freeNode(n);
    freeNode(best_);
}

TSearchPool::~TSearchPool() {
    for (TSheetSearch::Node* n : nodes_)
        delete n;
    for (TSheetSearch::Block* b : blocks_)
        delete b;
}

void TSheetSearch::freeNode(Node* n) const {
    if (!n)
        return;
    Block* b = n->last;
    while (b && --b->refs == 0) {
        Block* parent = b->parent;
        pool_.blocks_.push_back(b);
        b = parent;
    }
    // Nodes are reused with the capacity of their rest lists, which spares most allocations.
    n->rests.clear();
    pool_.nodes_.push_back(n);
}

TSheetSearch::Node* TSheetSearch::newNode() const {
    if (pool_.nodes_.empty())
        return new Node;
    Node* n = pool_.nodes_.back();
    pool_.nodes_.pop_back();
    std::vector<TSearchRest> rests = std::move(n->rests);
    *n = Node{};
    n->rests = std::move(rests);
    return n;
}

TSheetSearch::Block* TSheetSearch::newBlock() const {
    if (pool_.blocks_.empty())
        return new Block;
    Block* b = pool_.blocks_.back();
    pool_.blocks_.pop_back();
    *b = Block{};
    return b;
}

void TSheetSearch::Start() {
    startTime_ = clock_.Now();
    auto* root = newNode();
    root->rests.push_back(root_);
    root->listedTypes = static_cast<int32_t>(types_.size());
    queue_.push_back(root);
}

// The order of the demand list: ascending diagonal, then ascending count; IDs, unique in the list,
// decide between types of equal diagonal and count, so the order is total and any sort gives it.
bool TSheetSearch::typeBefore(int a, int b, const std::vector<int>& counts) const {
    const int ra = diagRank_[size_t(a)];
    const int rb = diagRank_[size_t(b)];
    if (ra != rb)
        return ra < rb;
    if (counts[size_t(a)] != counts[size_t(b)])
        return counts[size_t(a)] < counts[size_t(b)];
    return types_[size_t(a)].id < types_[size_t(b)].id;
}

double TSheetSearch::elapsed() const {
    return clock_.Now() - startTime_;
}

double TSheetSearch::TimeProgress() const {
    const double tmin = settings_.reductionTimeMin;
    const double tmax = settings_.reductionTimeMax;
    // Bounds read from a settings file may be crossed; the reduction is then complete at once.
    if (tmax <= tmin)
        return 1;
    const double ts = std::nearbyint(elapsed());
    return std::clamp((ts - tmin) / (tmax - tmin), 0.0, 1.0);
}

int TSheetSearch::BeamWidth() const {
    if (settings_.queueLimit && queue_.size() >= settings_.queueLimit)
        return 1;
    const int q = static_cast<int>(std::nearbyint(1.6 * elapsed()));
    const int width = 8 - q;
    return width <= 0 ? 1 : width;
}

void TSheetSearch::countsOf(const Node& n, std::vector<int>& counts) const {
    counts = initial_;
    for (const Block* b = n.last; b; b = b->parent)
        counts[static_cast<size_t>(b->type)] -= b->a * b->b;
    // A type whose last piece was placed has left the demand; types that came in empty stay.
    for (size_t t = 0; t < counts.size(); ++t)
        if (counts[t] == 0 && initial_[t] > 0)
            counts[t] = -1;
}

// The block shapes of one rest and part type: all (a, b) with a ≤ columns, b ≤ rows and a × b ≤
// count, generated by ascending a and b and sorted by size, largest first, with the program's
// quicksort, which decides where shapes of equal size end up. The same triples recur all the time.
const std::vector<TSheetSearch::Shape>& TSheetSearch::shapesFor(int64_t columns, int64_t rows,
                                                                int64_t count) const {
    const uint64_t key = (uint64_t(columns) << 42) ^ (uint64_t(rows) << 21) ^ uint64_t(count);
    auto it = pool_.shapes_.find(key);
    if (it != pool_.shapes_.end() && it->second.columns == columns && it->second.rows == rows &&
        it->second.count == count)
        return it->second.shapes;
    if (pool_.shapes_.size() > 20000)
        pool_.shapes_.clear();
    TShapeList& entry = pool_.shapes_[key];
    entry = {columns, rows, count, {}};
    for (int64_t a = 1; a <= columns; ++a)
        for (int64_t b = 1; b <= rows && a * b <= count; ++b)
            entry.shapes.push_back({int(a), int(b)});
    QuickSort(entry.shapes, [](const Shape& x, const Shape& y) {
        return compareValues(int64_t(y.a) * y.b, int64_t(x.a) * x.b);
    });
    return entry.shapes;
}

// The rests by area with the program's quicksort. A node's rests come nearly sorted (its parent's
// sorted list less one rest, the new ones at the end); while no two areas are equal every sort gives
// the quicksort's order, and an insertion sort gives it soonest.
void TSheetSearch::sortRests(std::vector<TSearchRest>& rests) {
    std::vector<TSearchRest>& sorted = restScratch_;
    sorted.assign(rests.begin(), rests.end());
    for (size_t i = 1; i < sorted.size(); ++i) {
        const TSearchRest r = sorted[i];
        size_t j = i;
        while (j > 0 && sorted[j - 1].area > r.area) {
            sorted[j] = sorted[j - 1];
            --j;
        }
        if (j > 0 && sorted[j - 1].area == r.area) {
            QuickSort(rests, [](const TSearchRest& a, const TSearchRest& b) {
                return compareValues(a.area, b.area);
            });
            return;
        }
        sorted[j] = r;
    }
    rests.swap(sorted);
}

// False only when not even one piece can fit: the quotient (length + kerf) / (piece + kerf) stays
// below 0.99995, which rounds to less than 1. Lengths come as fitLength, the pieces' sides as their
// thresholds, worked out once per type.
int64_t TSheetSearch::fitLength(int64_t length) const {
    return (length + settings_.kerf) * 20000;
}

bool TSheetSearch::mayFit(int64_t restX, int64_t restY, int type, bool turned) const {
    const Need& need = fitNeeds_[size_t(type)];
    return turned ? restX >= need.y && restY >= need.x : restX >= need.x && restY >= need.y;
}

void TSheetSearch::SolveStep() {
    if (queue_.empty())
        return;
    Node* n = queue_.front();
    queue_.pop_front();

    sortRests(n->rests);
    std::vector<int>& counts = scratch_;
    countsOf(*n, counts);

    // The demand in the order the search tries it: largest diagonal first, then larger count.
    std::vector<int>& order = order_;
    order.clear();
    int produced = 0;
    for (size_t r = 0; r < n->rests.size() && produced == 0; ++r) {
        const TSearchRest& rest = n->rests[r];
        if (rest.x > settings_.maxCut && rest.y > settings_.maxCut)
            continue;
        if (rest.tooSmall)
            continue;
        if (!n->sortedTypes) {
            for (int t : byRank_)
                if (counts[size_t(t)] >= 0)
                    order.push_back(t);
            // Only runs of equal rank need sorting; mostly there are none.
            for (size_t i = 0; i < order.size();) {
                size_t j = i + 1;
                while (j < order.size() && diagRank_[size_t(order[j])] == diagRank_[size_t(order[i])])
                    ++j;
                if (j - i > 1)
                    std::sort(order.begin() + std::ptrdiff_t(i), order.begin() + std::ptrdiff_t(j),
                              [&](int a, int b) { return typeBefore(a, b, counts); });
                i = j;
            }
            n->sortedTypes = true;
        }
        // Most part types tried fit the rest neither way: they are passed over before collecting.
        const int64_t rx = fitLength(rest.x), ry = fitLength(rest.y);
        const auto open = [&](int type) {
            return counts[size_t(type)] > 0 && (mayFit(rx, ry, type, false) || mayFit(rx, ry, type, true));
        };
        int d = 0;
        if (rx < minNeed_ || ry < minNeed_) {
            // Too narrow for the smallest side of any part type.
        } else if (settings_.typesPerRest > 1) {
            // The children of several part types compete for the beam.
            candidates_.clear();
            int tried = 0;
            for (auto it = order.rbegin(); it != order.rend() && tried < settings_.typesPerRest; ++it)
                if (open(*it) && collectCandidates(*n, r, *it, counts))
                    ++tried;
            d = keepCandidates(*n, r);
        } else {
            for (auto it = order.rbegin(); it != order.rend() && d == 0; ++it)
                if (open(*it))
                    d = expandRest(*n, r, *it, counts);
        }
        if (d == 0)
            n->rests[r].tooSmall = true;
        produced += d;
    }

    stats_.generated += produced;
    stats_.processed += 1;
    stats_.longestQueue = std::max(stats_.longestQueue, queue_.size());
    clock_.OnExpansion();

    if (produced == 0 && n->partsCount > 0)
        offerLeaf(n);
    else
        freeNode(n);
}

int TSheetSearch::expandRest(Node& n, size_t restIndex, int type, const std::vector<int>& counts) {
    candidates_.clear();
    collectCandidates(n, restIndex, type, counts);
    return keepCandidates(n, restIndex);
}

bool TSheetSearch::collectCandidates(const Node& n, size_t restIndex, int type,
                                     const std::vector<int>& counts) {
    const size_t before = candidates_.size();
    const TSearchRest r = n.rests[restIndex];
    const TSearchPartType& t = types_[size_t(type)];
    const int64_t count = counts[size_t(type)];
    const bool straightAllowed = StraightAllowed(t.orientation, r.orientation);
    const bool turnedAllowed = TurnedAllowed(t.orientation, r.orientation);
    const int64_t kerf = settings_.kerf;
    const int64_t maxCut = settings_.maxCut;

    std::vector<Candidate>& candidates = candidates_;
    for (int turned = 0; turned < 2; ++turned) {
        if (turned ? !turnedAllowed : !straightAllowed)
            continue;
        const int64_t w = turned ? t.y : t.x;
        const int64_t h = turned ? t.x : t.y;
        // The grain may allow only the way that does not fit; tell that without dividing.
        if (!mayFit(fitLength(r.x), fitLength(r.y), type, turned != 0))
            continue;
        int64_t columns = fitCount(r.x, w, kerf);
        int64_t rows = fitCount(r.y, h, kerf);
        if (r.x > maxCut && columns > 0)
            columns = 1;
        if (r.y > maxCut && rows > 0)
            rows = 1;
        if (columns == 0 || rows == 0)
            continue;
        if (n.listedTypes > 1) {
            columns = std::min(columns, count);
            rows = std::min(rows, count);
            const std::vector<Shape>& shapes = shapesFor(columns, rows, count);
            int64_t k = static_cast<int64_t>(std::nearbyint((1.0 - TimeProgress()) * double(shapes.size())));
            if (k == 0 && !shapes.empty())
                k = 1;
            for (int64_t i = 0; i < k && i < int64_t(shapes.size()); ++i)
                placeBlock(n, restIndex, type, shapes[size_t(i)].a, shapes[size_t(i)].b, turned, w, h,
                           candidates);
        } else {
            const int64_t c = std::min(columns * rows, count);
            int64_t rr = c / columns;
            int64_t a = columns;
            if (rr == 0) {
                a = c;
                rr = 1;
            }
            placeBlock(n, restIndex, type, int(std::min(a, columns)), int(std::min(rr, rows)), turned, w, h,
                       candidates);
            int64_t a2 = c / rows;
            int64_t b2 = rows;
            if (a2 == 0) {
                a2 = 1;
                b2 = c;
            }
            placeBlock(n, restIndex, type, int(std::min(a2, columns)), int(std::min(b2, rows)), turned, w, h,
                       candidates);
        }
    }

    return candidates.size() > before;
}

int TSheetSearch::keepCandidates(Node& n, size_t restIndex) {
    std::vector<Candidate>& candidates = candidates_;
    QuickSort(candidates,
              [](const Candidate& a, const Candidate& b) { return compareValues(a.score, b.score); });
    stats_.candidates += static_cast<int64_t>(candidates.size());
    const int kept = candidates.empty() ? 0 : std::min(static_cast<int>(candidates.size()), BeamWidth());
    for (int i = 0; i < kept; ++i) {
        Node* child = makeChild(n, restIndex, candidates[size_t(i)]);
        if (collectOnly_)
            collected_.push_back(child);
        else
            queue_.push_back(child);
    }
    return kept;
}

void TSheetSearch::placeBlock(const Node& n, size_t restIndex, int type, int a, int b, bool turned, int64_t w,
                              int64_t h, std::vector<Candidate>& out) const {
    const TSearchRest& r = n.rests[restIndex];
    const int64_t kerf = settings_.kerf;
    const int64_t bw = (w + kerf) * a;
    const int64_t bh = (h + kerf) * b;
    const int64_t pieces = int64_t(a) * b;
    const int remaining = static_cast<int>(scratch_[size_t(type)] - pieces);
    for (int vertical = 0; vertical < 2; ++vertical) {
        if (vertical ? r.y > settings_.maxCut : r.x > settings_.maxCut)
            continue;
        const Split s = splitRest(r, bw, bh, kerf, settings_.maxCut, vertical);
        const int64_t scoreA = (s.aw > 0 && s.ah > 0) ? DivRound(RestAreaKey(s.aw, s.ah), pieces) : 0;
        const int64_t scoreB = (s.bw > 0 && s.bh > 0) ? DivRound(RestAreaKey(s.bw, s.bh), pieces) : 0;
        if (!s.ok)
            continue;
        Candidate c;
        c.type = type;
        c.a = a;
        c.b = b;
        c.turned = turned;
        c.verticalFirst = vertical;
        c.w = w;
        c.h = h;
        c.score = std::min(scoreA, scoreB);
        c.remainingAfter = remaining;
        out.push_back(c);
    }
}

TSheetSearch::Node* TSheetSearch::makeChild(const Node& n, size_t restIndex, const Candidate& c) const {
    const TSearchRest r = n.rests[restIndex];
    const int64_t kerf = settings_.kerf;
    const int64_t bw = (c.w + kerf) * c.a;
    const int64_t bh = (c.h + kerf) * c.b;
    const Split s = splitRest(r, bw, bh, kerf, settings_.maxCut, c.verticalFirst);

    Node* child = newNode();
    child->rests.reserve(n.rests.size() + 1);
    child->rests.insert(child->rests.end(), n.rests.begin(), n.rests.begin() + std::ptrdiff_t(restIndex));
    child->rests.insert(child->rests.end(), n.rests.begin() + std::ptrdiff_t(restIndex) + 1, n.rests.end());
    if (s.aw > 0 && s.ah > 0)
        child->rests.push_back(makeRest(s.ax, s.ay, s.aw, s.ah, r.orientation));
    if (s.bw > 0 && s.bh > 0)
        child->rests.push_back(makeRest(s.bx, s.by, s.bw, s.bh, r.orientation));

    Block* block = newBlock();
    block->parent = n.last;
    if (n.last)
        ++n.last->refs;
    block->type = c.type;
    block->a = c.a;
    block->b = c.b;
    block->rotated = c.turned;
    block->ox = r.ox;
    block->oy = r.oy;
    block->w = static_cast<int32_t>(c.w);
    block->h = static_cast<int32_t>(c.h);
    child->last = block;

    const int64_t pieces = int64_t(c.a) * c.b;
    child->multiIndex = saturatingProduct(n.multiIndex, pieces);
    child->minActualRest = c.score;
    child->totalArea = n.totalArea + pieces * partArea(c.w, c.h);
    child->partsLength =
        std::max<int32_t>(n.partsLength, static_cast<int32_t>(r.ox + (c.w + kerf) * (c.a - 1) + c.w));
    child->partsCount = n.partsCount + static_cast<int32_t>(pieces);
    child->listedTypes = n.listedTypes - (c.remainingAfter == 0 ? 1 : 0);
    return child;
}

int64_t TSheetSearch::totalSqrRecyArea(const Node& n) const {
    int64_t sum = 0;
    for (const TSearchRest& r : n.rests) {
        if (r.x < settings_.minRecyDim || r.y < settings_.minRecyDim)
            continue;
        const int64_t area = partArea(r.x, r.y);
        if (area < settings_.minRecyArea)
            continue;
        sum += DivRound(area * area, 10000);
    }
    return sum;
}

bool TSheetSearch::better(const Node& a, const Node& b) const {
    if (a.totalArea != b.totalArea)
        return a.totalArea > b.totalArea;
    const int64_t ra = totalSqrRecyArea(a);
    const int64_t rb = totalSqrRecyArea(b);
    if (ra != rb)
        return ra > rb;
    if (a.partsLength != b.partsLength)
        return a.partsLength < b.partsLength;
    return a.multiIndex > b.multiIndex;
}

void TSheetSearch::offerLeaf(Node* n) {
    if (!best_) {
        best_ = n;
    } else if (better(*n, *best_)) {
        freeNode(best_);
        best_ = n;
    } else {
        freeNode(n);
    }
}

TSearchPlan TSheetSearch::layoutOf(const Node& n) const {
    TSearchPlan plan;
    std::vector<const Block*> path;
    for (const Block* b = n.last; b; b = b->parent)
        path.push_back(b);
    std::reverse(path.begin(), path.end());
    const int64_t kerf = settings_.kerf;
    plan.pieces.reserve(size_t(n.partsCount));
    for (const Block* b : path)
        for (int i = 0; i < b->a; ++i)
            for (int j = 0; j < b->b; ++j)
                plan.pieces.push_back({b->type, static_cast<int32_t>(b->ox + (b->w + kerf) * i),
                                       static_cast<int32_t>(b->oy + (b->h + kerf) * j), b->w, b->h,
                                       b->rotated});
    plan.rests = n.rests;
    return plan;
}

TSearchPlan TSheetSearch::planOf(const Node& n) const {
    TSearchPlan plan = layoutOf(n);
    countsOf(n, plan.remaining);

    // The demand list keeps the order of its last sort: this node's own, or its parent's when this
    // node had no rest left to try.
    std::vector<int> key = plan.remaining;
    if (!n.sortedTypes && n.last)
        key[size_t(n.last->type)] = std::max(key[size_t(n.last->type)], 0) + n.last->a * n.last->b;
    for (size_t t = 0; t < plan.remaining.size(); ++t)
        if (plan.remaining[t] >= 0)
            plan.typeOrder.push_back(static_cast<int>(t));
    std::sort(plan.typeOrder.begin(), plan.typeOrder.end(),
              [&](int a, int b) { return typeBefore(a, b, key); });
    plan.multiIndex = n.multiIndex;
    plan.minActualRest = n.minActualRest;
    plan.totalArea = n.totalArea;
    return plan;
}

TSearchPlan TSheetSearch::BestPlan() const {
    return best_ ? planOf(*best_) : TSearchPlan{};
}

TSearchPlan TSheetSearch::BestLayout() const {
    return best_ ? layoutOf(*best_) : TSearchPlan{};
}

std::vector<TSearchPlan> TSheetSearch::ExpandRootForTest() {
    Start();
    collectOnly_ = true;
    SolveStep();
    collectOnly_ = false;
    std::vector<TSearchPlan> plans;
    for (Node* n : collected_) {
        plans.push_back(planOf(*n));
        freeNode(n);
    }
    collected_.clear();
    return plans;
}

} // namespace lintaro
