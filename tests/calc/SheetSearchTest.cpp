#include "calc/SheetSearch.h"

#include "PlanChecker.h"
#include "SearchPart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace lintaro;

namespace {

constexpr int64_t mm(double v) {
    return static_cast<int64_t>(v * 10000 + (v >= 0 ? 0.5 : -0.5));
}

TSearchSettings settings(double kerf = 4, double maxCut = 3200) {
    TSearchSettings s;
    s.kerf = mm(kerf);
    s.maxCut = mm(maxCut);
    return s;
}

TSearchPartType type(int id, double x, double y, int count, TCSPartInOrientation o = cspioNone) {
    return test::SearchPart(id, x, y, count, o);
}

struct Shape {
    int64_t w, h;
    size_t pieces;
    bool operator==(const Shape&) const = default;
};

Shape shapeOf(const TSearchPlan& p) {
    return {p.pieces.at(0).w, p.pieces.at(0).h, p.pieces.size()};
}

test::CheckSheet checkSheet(const std::vector<TSearchPartType>& types, const TSearchPlan& plan, double x,
                            double y, int grain, const TSearchSettings& s) {
    test::CheckSheet c;
    c.x = mm(x);
    c.y = mm(y);
    c.grain = grain;
    c.kerf = s.kerf;
    c.maxCut = s.maxCut;
    for (const TSearchPiece& p : plan.pieces)
        c.pieces.push_back({p.ox, p.oy, p.w, p.h, int(types[size_t(p.type)].orientation), p.rotated});
    return c;
}

// Runs a whole search on a virtual clock and checks the best plan.
TSearchPlan runSearch(const std::vector<TSearchPartType>& types, double x, double y,
                      TCSDimOutOrientation grain, const TSearchSettings& s,
                      double expansionsPerSecond = 1000) {
    VirtualClock clock(expansionsPerSecond);
    TSheetSearch search(types, mm(x), mm(y), grain, s, clock);
    search.Start();
    while (search.HasWork())
        search.SolveStep();
    if (!search.HasBest())
        return {};
    TSearchPlan plan = search.BestPlan();
    EXPECT_EQ(test::CheckSheetPlan(checkSheet(types, plan, x, y, int(grain), s)), "");
    return plan;
}

} // namespace

TEST(SheetSearch, RestOf1004TakesTwoPiecesOf500WithKerf4) {
    VirtualClock clock;
    TSheetSearch search({type(1, 500, 300, 4)}, mm(1004), mm(600), csdooNone, settings(), clock);
    const std::vector<TSearchPlan> children = search.ExpandRootForTest();
    ASSERT_EQ(children.size(), 8u);
    int straight = 0, turned = 0;
    for (const TSearchPlan& c : children) {
        const Shape s = shapeOf(c);
        if (s == Shape{mm(500), mm(300), 2})
            ++straight;
        else if (s == Shape{mm(300), mm(500), 3})
            ++turned;
        else
            ADD_FAILURE() << "unexpected block";
    }
    EXPECT_EQ(straight, 4);
    EXPECT_EQ(turned, 4);
    // The straight blocks fill the rest's width exactly: one rest is empty, so they score 0 and rank
    // before every child with two rests.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(children[size_t(i)].minActualRest, 0);
        EXPECT_EQ(children[size_t(i)].pieces[0].w, mm(500));
    }
    // Turned, horizontal cut first: min(1004×96, 92×500) / 3 = 15 333.3333 mm².
    EXPECT_EQ(children[4].minActualRest, 153333333);
    EXPECT_EQ(children[6].minActualRest, 184000000);
}

TEST(SheetSearch, ExactFitsSurviveAndOneMmLessDoesNot) {
    struct Case {
        double restX, restY;
        size_t straightPieces;
    } cases[] = {{1004, 600, 2}, {1003, 600, 1}, {1004, 604, 4}, {1004, 603, 2}};
    for (const Case& c : cases) {
        VirtualClock clock;
        TSheetSearch search({type(1, 500, 300, 4, cspioX)}, mm(c.restX), mm(c.restY), csdooX, settings(),
                            clock);
        const auto children = search.ExpandRootForTest();
        ASSERT_FALSE(children.empty());
        for (const TSearchPlan& p : children)
            EXPECT_FALSE(p.pieces[0].rotated); // grain along X on both sides: straight only
        EXPECT_EQ(children[0].pieces.size(), c.straightPieces) << c.restX << " x " << c.restY;
    }
}

TEST(SheetSearch, GrainRulesChooseThePlacements) {
    struct Case {
        TCSDimOutOrientation rest;
        TCSPartInOrientation part;
        bool straight, turned;
    } cases[] = {
        {csdooX, cspioY, false, true},   {csdooX, cspioX, true, false},   {csdooY, cspioX, false, true},
        {csdooNone, cspioY, true, true}, {csdooY, cspioNone, true, true},
    };
    for (const Case& c : cases) {
        VirtualClock clock;
        TSheetSearch search({type(1, 400, 250, 10, c.part)}, mm(2000), mm(1000), c.rest, settings(), clock);
        bool straight = false, turned = false;
        for (const TSearchPlan& p : search.ExpandRootForTest())
            (p.pieces[0].rotated ? turned : straight) = true;
        EXPECT_EQ(straight, c.straight) << int(c.rest) << "/" << int(c.part);
        EXPECT_EQ(turned, c.turned) << int(c.rest) << "/" << int(c.part);
    }
}

TEST(SheetSearch, RestWiderThanMaxCutGetsOneColumnAndOnlyVerticalCutsFirst) {
    VirtualClock clock;
    TSheetSearch search({type(1, 500, 300, 20)}, mm(4000), mm(2000), csdooNone, settings(4, 3200), clock);
    const auto children = search.ExpandRootForTest();
    ASSERT_FALSE(children.empty());
    for (const TSearchPlan& p : children) {
        for (const TSearchPiece& piece : p.pieces)
            EXPECT_EQ(piece.ox, 0); // one column
        // Vertical cut first: the first rest is the strip beside the block over the whole height.
        EXPECT_EQ(p.rests.at(0).y, mm(2000));
    }
}

TEST(SheetSearch, RestLargerThanMaxCutBothWaysIsNeverFilled) {
    const TSearchPlan plan = runSearch({type(1, 500, 300, 5)}, 4000, 4000, csdooNone, settings(4, 3200));
    EXPECT_TRUE(plan.pieces.empty());
}

// A clock that starts the sheet at 0 and then stands at a given moment.
class JumpClock : public Clock {
public:
    explicit JumpClock(double at) : at_(at) {}
    double Now() override { return started_ ? at_ : (started_ = true, 0.0); }

private:
    double at_;
    bool started_ = false;
};

TEST(SheetSearch, BlockShapesShrinkWithTime) {
    // Two part types, so every block shape is tried: 1 ≤ a ≤ 4, 1 ≤ b ≤ 2, a × b ≤ 6 gives 7 shapes,
    // each straight and turned, each with both cut orders: 4 candidates a shape.
    struct Case {
        double seconds;
        int64_t shapesTried;
    } cases[] = {{0, 7}, {4, 7}, {8, 4}, {11.4, 1}, {12, 1}, {30, 1}};
    for (const Case& c : cases) {
        JumpClock clock(c.seconds);
        TSheetSearch search({type(1, 100, 100, 6), type(2, 10, 10, 1)}, mm(400), mm(200), csdooNone,
                            settings(0), clock);
        const auto children = search.ExpandRootForTest();
        EXPECT_EQ(search.Stats().candidates, 4 * c.shapesTried) << c.seconds;
        EXPECT_EQ(int(children.size()), std::min<int>(int(4 * c.shapesTried), search.BeamWidth()));
        // Sorted by size, largest first: (3, 2), then (2, 2) before (4, 1), where the sort leaves them.
        if (c.seconds >= 12) {
            for (const TSearchPlan& p : children)
                EXPECT_EQ(p.pieces.size(), 6u);
        }
    }
}

TEST(SheetSearch, TimeProgressAndBeamWidth) {
    struct Case {
        double seconds;
        double progress;
        int beam;
    } cases[] = {{0, 0, 8},   {0.3, 0, 8}, {0.32, 0, 7}, {4.1, 0, 1},
                 {8, 0.5, 1}, {12, 1, 1},  {12.6, 1, 1}, {3.5, 0, 2}};
    for (const Case& c : cases) {
        VirtualClock clock;
        TSheetSearch search({type(1, 100, 100, 1)}, mm(400), mm(200), csdooNone, settings(), clock);
        search.Start();
        clock.SetTime(c.seconds);
        EXPECT_DOUBLE_EQ(search.TimeProgress(), c.progress) << c.seconds;
        EXPECT_EQ(search.BeamWidth(), c.beam) << c.seconds;
    }
    // Crossed bounds from a settings file: the reduction counts as complete.
    TSearchSettings crossed = settings();
    crossed.reductionTimeMin = 20;
    crossed.reductionTimeMax = 12;
    VirtualClock clock;
    TSheetSearch search({type(1, 100, 100, 1)}, mm(400), mm(200), csdooNone, crossed, clock);
    search.Start();
    EXPECT_EQ(search.TimeProgress(), 1);
}

TEST(SheetSearch, QueueLimitNarrowsTheBeam) {
    TSearchSettings s = settings();
    s.queueLimit = 1;
    VirtualClock clock;
    TSheetSearch search({type(1, 500, 300, 20)}, mm(2000), mm(1000), csdooNone, s, clock);
    search.Start();
    search.SolveStep();
    EXPECT_EQ(search.QueueSize(), 8u); // the root's children: the queue was empty
    search.SolveStep();
    EXPECT_EQ(search.QueueSize(), 8u); // one child for the one expanded
}

TEST(SheetSearch, FillsASheetWithOneTypeCompletely) {
    const TSearchPlan plan = runSearch({type(1, 500, 300, 8)}, 2000, 600, csdooNone, settings(0));
    EXPECT_EQ(plan.pieces.size(), 8u);
    EXPECT_EQ(plan.totalArea, 8 * 1500); // 0.15 m² each
    EXPECT_EQ(plan.remaining[0], -1);    // the type left the demand
    EXPECT_TRUE(plan.typeOrder.empty());
}

TEST(SheetSearch, LeavesWhatDoesNotFitInTheDemand) {
    const TSearchPlan plan =
        runSearch({type(1, 700, 500, 3), type(2, 300, 300, 2)}, 1000, 1000, csdooNone, settings(4));
    EXPECT_GT(plan.pieces.size(), 0u);
    int placed = int(plan.pieces.size());
    int open = 0;
    for (int r : plan.remaining)
        open += std::max(r, 0);
    EXPECT_EQ(placed + open, 5);
}

TEST(SheetSearch, RandomOrdersGiveSoundPlans) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        std::uniform_int_distribution<int> typesCount(1, 5), count(1, 6), size(40, 900), kerfs(0, 6);
        std::vector<TSearchPartType> types;
        const int n = typesCount(random);
        for (int i = 0; i < n; ++i)
            types.push_back(type(i + 1, size(random), size(random), count(random),
                                 TCSPartInOrientation(std::uniform_int_distribution<int>(0, 2)(random))));
        const double x = std::uniform_int_distribution<int>(300, 2800)(random);
        const double y = std::uniform_int_distribution<int>(300, 2100)(random);
        const double maxCut = std::uniform_int_distribution<int>(0, 1)(random) ? 3200 : 1200;
        const auto grain = TCSDimOutOrientation(std::uniform_int_distribution<int>(0, 2)(random));
        SCOPED_TRACE(round);
        const TSearchPlan plan = runSearch(types, x, y, grain, settings(kerfs(random), maxCut), 200);
        int total = 0;
        for (const auto& t : types)
            total += t.count;
        int open = 0;
        for (int r : plan.remaining)
            open += std::max(r, 0);
        if (!plan.pieces.empty()) {
            EXPECT_EQ(int(plan.pieces.size()) + open, total);
        }
    }
}

// The improvement stage's variations: other type orders and several types per rest. The search's
// own rule tries only the largest type that fits.
TEST(SheetSearchVariants, TypeKeysAndTypesPerRestChooseWhichTypesTheRootTries) {
    struct Row {
        std::vector<int64_t> keys;
        int typesPerRest;
        std::vector<int> expectedTypes; // of the root's children, sorted, unique
    };
    const Row rows[] = {
        {{}, 1, {0}},     // by diagonal: the large part first
        {{1, 2}, 1, {1}}, // the keys put the small part first
        {{}, 2, {0, 1}},  // both compete
        {{1, 2}, 2, {0, 1}},
    };
    VirtualClock clock(0);
    for (const Row& row : rows) {
        TSearchSettings s = settings();
        s.typeKeys = row.keys;
        s.typesPerRest = row.typesPerRest;
        TSheetSearch search({type(1, 800, 600, 3), type(2, 300, 200, 5)}, mm(2000), mm(1000), csdooNone, s,
                            clock);
        std::vector<int> seen;
        for (const TSearchPlan& p : search.ExpandRootForTest())
            seen.push_back(p.pieces.at(0).type);
        std::sort(seen.begin(), seen.end());
        seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
        EXPECT_EQ(seen, row.expectedTypes) << row.typesPerRest;
    }
}
