#pragma once
// The search for the best cutting plan of one sheet: a breadth-first beam search over partly filled
// sheets. Expanding a node takes its smallest usable rest and the largest part type that fits,
// places a block of pieces into the rest's corner, cuts what is left into two rests (in both cut
// orders, and with the part turned where the grain rules allow), scores the children and keeps the
// best few; the beam and the number of block shapes tried shrink with the time spent on the sheet.
//
// Nodes are compact values, not data components: a node holds its free rests and a link to the
// last block placed, and the blocks form a tree shared by all nodes, so a child costs one block and
// a copy of its parent's rests. Lengths are raw fixed-point millimetres (value × 10 000), areas of
// rests in mm² and areas of parts in m², both raw; every rounding is exact, ties to even.
#include "model/CalcOrientation.h"
#include "platform/Clock.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

namespace lintaro {

struct TSearchPartType {
    int id = 0;    // ID of the part type in its list; breaks ties of the part-type order
    int64_t x = 0; // raw mm
    int64_t y = 0; // raw mm
    TCSPartInOrientation orientation = cspioNone;
    int count = 0; // pieces still open
};

struct TSearchRest {
    int32_t ox = 0, oy = 0, x = 0, y = 0; // raw mm
    int64_t area = 0;                     // round4(X × Y) in mm², raw: the rest order
    TCSDimOutOrientation orientation = csdooNone;
    bool tooSmall = false;
    bool isRoot = false; // the whole stock dimension, never cut
};

struct TSearchSettings {
    int64_t kerf = 0;             // raw mm
    int64_t maxCut = 32000000;    // raw mm
    int64_t minRecyDim = 5000000; // raw mm
    int64_t minRecyArea = 5000;   // raw m²
    double reductionTimeMin = 4;  // seconds
    double reductionTimeMax = 12; // seconds
    // Once the queue holds this many nodes the beam narrows to one child, which bounds the memory
    // of the wide-beam phase on fast machines. 0: no bound.
    size_t queueLimit = 0;
    // The order in which the part types are tried, one key per type, the largest first; empty: by
    // diagonal. The improvement stage tries other orders on pooled parts.
    std::vector<int64_t> typeKeys;
    // Part types whose blocks compete for one rest; 1: the first type that fits, the search's own rule.
    int typesPerRest = 1;
};

struct TSearchPiece {
    int type = 0; // index into the part types
    int32_t ox = 0, oy = 0, w = 0, h = 0;
    bool rotated = false;
};

// A complete plan: the pieces in placement order, the rests in list order, the demand left.
struct TSearchPlan {
    std::vector<TSearchPiece> pieces;
    std::vector<TSearchRest> rests;
    std::vector<int> remaining; // per part type: pieces open, -1 when the type left the demand
    std::vector<int> typeOrder; // the listed part types in the order of the demand list
    int64_t multiIndex = 1;
    int64_t minActualRest = 0; // raw mm²
    int64_t totalArea = 0;     // raw m²
};

struct TSearchStats {
    int64_t generated = 0; // nodes queued
    int64_t processed = 0; // nodes expanded
    size_t longestQueue = 0;
    int64_t candidates = 0; // children scored before the beam kept the best
};

class TSearchPool;

class TSheetSearch {
public:
    // `pool`, when given, lends the search its nodes, blocks and block shapes and gets them back at
    // the end: many short searches one after the other then allocate almost nothing.
    TSheetSearch(std::vector<TSearchPartType> types, int64_t dimX, int64_t dimY, TCSDimOutOrientation grain,
                 const TSearchSettings& settings, Clock& clock, TSearchPool* pool = nullptr);
    ~TSheetSearch();
    TSheetSearch(const TSheetSearch&) = delete;
    TSheetSearch& operator=(const TSheetSearch&) = delete;

    // Queues the root node (the whole stock sheet) and starts the sheet's time.
    void Start();
    bool HasWork() const { return !queue_.empty(); }
    // Expands the first queued node.
    void SolveStep();
    bool HasBest() const { return best_ != nullptr; }
    TSearchPlan BestPlan() const;
    // The best plan's pieces and rests only, without the demand left.
    TSearchPlan BestLayout() const;
    const TSearchStats& Stats() const { return stats_; }
    size_t QueueSize() const { return queue_.size(); }

    // The time figures of the search at this moment.
    double TimeProgress() const;
    int BeamWidth() const;

    // For tests: the children one expansion of the root's rest would queue, as plans.
    std::vector<TSearchPlan> ExpandRootForTest();

    struct Node;
    struct Block;

private:
    friend class TSearchPool;
    struct Candidate;
    struct Shape {
        int a, b;
    };
    struct TShapeList {
        int64_t columns, rows, count;
        std::vector<Shape> shapes;
    };

    const std::vector<Shape>& shapesFor(int64_t columns, int64_t rows, int64_t count) const;
    Node* newNode() const;
    Block* newBlock() const;

    void sortRests(std::vector<TSearchRest>& rests);
    int64_t fitLength(int64_t length) const;
    // Whether one piece of the type may fit a rest of those fit lengths, turned or not.
    bool mayFit(int64_t restX, int64_t restY, int type, bool turned) const;
    void countsOf(const Node& n, std::vector<int>& counts) const;
    bool typeBefore(int a, int b, const std::vector<int>& counts) const;
    int expandRest(Node& n, size_t restIndex, int type, const std::vector<int>& counts);
    // Adds the children of one part type to the candidates; false when it gave none.
    bool collectCandidates(const Node& n, size_t restIndex, int type, const std::vector<int>& counts);
    // Queues the best candidates within the beam; the number queued.
    int keepCandidates(Node& n, size_t restIndex);
    void placeBlock(const Node& n, size_t restIndex, int type, int a, int b, bool turned, int64_t w,
                    int64_t h, std::vector<Candidate>& out) const;
    Node* makeChild(const Node& n, size_t restIndex, const Candidate& c) const;
    void offerLeaf(Node* n);
    bool better(const Node& a, const Node& b) const;
    int64_t totalSqrRecyArea(const Node& n) const;
    TSearchPlan planOf(const Node& n) const;
    TSearchPlan layoutOf(const Node& n) const;
    void freeNode(Node* n) const;
    double elapsed() const;

    std::vector<TSearchPartType> types_;
    std::vector<int> initial_; // open pieces per type at the start
    TSearchRest root_;
    TSearchSettings settings_;
    Clock& clock_;
    double startTime_ = 0;
    std::deque<Node*> queue_;
    Node* best_ = nullptr;
    TSearchStats stats_;
    bool collectOnly_ = false; // ExpandRootForTest: children go to collected_
    std::vector<Node*> collected_;
    mutable std::vector<int> scratch_;
    std::vector<TSearchRest> restScratch_;
    std::vector<int> diagRank_;
    std::vector<int> byRank_; // type indices by rank, then ID
    struct Need {
        int64_t x, y;
    };
    std::vector<Need> fitNeeds_;
    int64_t minNeed_ = 0;
    std::vector<int> order_;
    std::vector<Candidate> candidates_;
    std::unique_ptr<TSearchPool> ownPool_;
    TSearchPool& pool_;
};

// Free nodes and blocks, and the block shapes seen, kept from one search for the next. Not shared
// between threads: each worker of the improvement stage has its own.
class TSearchPool {
public:
    TSearchPool() = default;
    ~TSearchPool();
    TSearchPool(const TSearchPool&) = delete;
    TSearchPool& operator=(const TSearchPool&) = delete;

private:
    friend class TSheetSearch;
    std::vector<TSheetSearch::Node*> nodes_;
    std::vector<TSheetSearch::Block*> blocks_;
    std::unordered_map<uint64_t, TSheetSearch::TShapeList> shapes_;
};

} // namespace lintaro
