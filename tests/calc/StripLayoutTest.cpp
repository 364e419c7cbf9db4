#include "calc/StripLayout.h"

#include "PlanChecker.h"
#include "SearchPart.h"

#include <gtest/gtest.h>

#include <random>

using namespace lintaro;

namespace {

constexpr int64_t mm(int64_t v) {
    return v * 10000;
}

struct Rect {
    int64_t x, y, w, h;
};

bool overlap(const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Lays the types out and checks the plan: sound cuts and grain, pieces and rests inside the sheet and
// apart, no type placed more often than it is ordered. The pieces placed.
size_t layOut(const std::vector<TSearchPartType>& types, int64_t x, int64_t y, TCSDimOutOrientation grain,
              int64_t kerf, uint64_t seed) {
    TStripLayoutSettings s;
    s.kerf = kerf;
    std::mt19937_64 random(seed);
    TStripLayout layout(types, x, y, grain, s, random);
    TSearchPlan plan;
    EXPECT_TRUE(layout.Run(plan));
    test::CheckSheet c;
    c.x = x;
    c.y = y;
    c.grain = int(grain);
    c.kerf = kerf;
    c.maxCut = std::max(x, y);
    std::vector<Rect> rects;
    std::vector<int> placed(types.size(), 0);
    for (const TSearchPiece& p : plan.pieces) {
        const TSearchPartType& t = types[size_t(p.type)];
        EXPECT_EQ(p.rotated ? t.y : t.x, p.w);
        EXPECT_EQ(p.rotated ? t.x : t.y, p.h);
        c.pieces.push_back({p.ox, p.oy, p.w, p.h, int(t.orientation), p.rotated});
        rects.push_back({p.ox, p.oy, p.w, p.h});
        ++placed[size_t(p.type)];
    }
    for (size_t t = 0; t < types.size(); ++t)
        EXPECT_LE(placed[t], types[t].count);
    EXPECT_EQ(test::CheckSheetPlan(c), "");
    for (const TSearchRest& r : plan.rests) {
        EXPECT_GT(r.x, 0);
        EXPECT_GT(r.y, 0);
        rects.push_back({r.ox, r.oy, r.x, r.y});
    }
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& a = rects[i];
        EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.w <= x && a.y + a.h <= y) << "rectangle " << i;
        for (size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(overlap(a, rects[j])) << "rectangles " << i << " and " << j;
    }
    return plan.pieces.size();
}

} // namespace

TEST(StripLayout, FillsASheetThatTheStripsFitExactly) {
    // Two strips across a 1000 × 500 sheet with 4 mm cuts: 2 × 496 + 4 = 996 and 3 × 330 + 8 = 998
    // along, 300 + 4 + 196 = 500 across; the grain holds the parts as ordered.
    const std::vector<TSearchPartType> types = {test::SearchPart(1, 496, 300, 2, cspioX),
                                                test::SearchPart(2, 330, 196, 3, cspioX)};
    EXPECT_EQ(layOut(types, mm(1000), mm(500), csdooX, mm(4), 1), 5u);
}

TEST(StripLayout, RandomOrdersGiveSoundPlans) {
    struct Case {
        TCSDimOutOrientation grain;
        int64_t kerf;
        int64_t x, y;
    };
    const Case cases[] = {{csdooNone, 0, mm(300), mm(300)},
                          {csdooX, mm(4), mm(2800), mm(2070)},
                          {csdooY, mm(3), mm(1250), mm(2500)}};
    std::mt19937 random(7);
    for (const Case& k : cases) {
        std::vector<TSearchPartType> types;
        const int64_t most = std::min(k.x, k.y) / 10000 / 2;
        for (int i = 0; i < 25; ++i) {
            std::uniform_int_distribution<int64_t> side(most / 10, most);
            const TCSPartInOrientation o = TCSPartInOrientation(random() % 3);
            types.push_back(
                test::SearchPart(i, double(side(random)), double(side(random)), 1 + int(random() % 4), o));
        }
        EXPECT_GT(layOut(types, k.x, k.y, k.grain, k.kerf, 3), 0u) << "grain " << k.grain;
    }
}
