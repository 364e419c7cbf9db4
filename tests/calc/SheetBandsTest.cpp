#include "calc/SheetBands.h"

#include "calc/IntegerRounding.h"

#include <gtest/gtest.h>

using namespace lintaro;

namespace {

constexpr int32_t kMm = 10000; // raw
constexpr int64_t kKerf = 4 * kMm;

TSearchPiece piece(int type, int ox, int oy, int w, int h) {
    return {type, ox * kMm, oy * kMm, w * kMm, h * kMm, false};
}

// 1000 × 1000 mm: A and B side by side at the foot, C on the cut just above A, D on the cut above C.
// The free rests above B and beside D lie in bands; the one above D in none. The rest above B
// depends on A's cut, so it is not cut off flush once the band lies elsewhere.
TImproveSheet threeBands() {
    TImproveSheet s;
    s.pieces = {piece(0, 0, 0, 600, 300), piece(1, 604, 0, 300, 200), piece(2, 0, 304, 1000, 100),
                piece(3, 0, 408, 500, 200)};
    s.rests = {{604 * kMm, 204 * kMm, 396 * kMm, 96 * kMm, 0, csdooNone, false, false},
               {504 * kMm, 408 * kMm, 496 * kMm, 200 * kMm, 0, csdooNone, false, false},
               {0, 612 * kMm, 1000 * kMm, 388 * kMm, 0, csdooNone, false, false}};
    return s;
}

} // namespace

TEST(SheetBands, CutsOnlyWhereTheKerfFitsBetweenPieces) {
    const std::vector<TSheetBand> bands = SheetBandsOf(threeBands(), 7, false, kKerf, 1000 * kMm);
    ASSERT_EQ(bands.size(), 3u);
    const int64_t expected[][2] = {{0, 304}, {304, 104}, {408, 204}};
    for (size_t i = 0; i < bands.size(); ++i) {
        EXPECT_EQ(bands[i].sheet, 7);
        EXPECT_EQ(bands[i].start, expected[i][0] * kMm) << i;
        EXPECT_EQ(bands[i].length, expected[i][1] * kMm) << i;
    }
    // Across, A and C overlap and D lies over both: one band.
    EXPECT_EQ(SheetBandsOf(threeBands(), 0, true, kKerf, 1000 * kMm).size(), 1u);
    // A band whose piece stands off its near edge, where a cut of the other way had reached it, is
    // not cut out: the whole sheet stays as it is.
    TImproveSheet offCorner;
    offCorner.pieces = {piece(0, 0, 0, 800, 300), piece(1, 800, 304, 200, 100)};
    EXPECT_TRUE(SheetBandsOf(offCorner, 0, false, kKerf, 1000 * kMm).empty());
}

TEST(SheetBands, StackedBandsKeepTheirPiecesAndGatherTheFreeLengthInOneRest) {
    const TImproveSheet sheet = threeBands();
    const std::vector<TSheetBand> bands = SheetBandsOf(sheet, 0, false, kKerf, 1000 * kMm);
    TImproveSheet out;
    ASSERT_TRUE(
        StackBands({&sheet}, {bands[2], bands[0]}, 1000 * kMm, 1000 * kMm, csdooX, false, kKerf, out));
    ASSERT_EQ(out.pieces.size(), 3u);                                  // C stays behind
    const int expected[][3] = {{3, 0, 0}, {0, 0, 204}, {1, 604, 204}}; // type, ox, oy: D now first
    for (size_t i = 0; i < out.pieces.size(); ++i) {
        EXPECT_EQ(out.pieces[i].type, expected[i][0]) << i;
        EXPECT_EQ(out.pieces[i].ox, expected[i][1] * kMm) << i;
        EXPECT_EQ(out.pieces[i].oy, expected[i][2] * kMm) << i;
    }
    EXPECT_EQ(out.partsArea, 0 + RestAreaKey(500 * kMm, 200 * kMm) + RestAreaKey(600 * kMm, 300 * kMm) +
                                 RestAreaKey(300 * kMm, 200 * kMm));
    // The rests inside the bands stay behind; the free length lies across the whole sheet.
    ASSERT_EQ(out.rests.size(), 1u);
    EXPECT_EQ(out.rests[0].ox, 0);
    EXPECT_EQ(out.rests[0].oy, 508 * kMm);
    EXPECT_EQ(out.rests[0].x, 1000 * kMm);
    EXPECT_EQ(out.rests[0].y, 492 * kMm);
    EXPECT_EQ(out.rests[0].orientation, csdooX);
    // The last band needs no cut after it at the sheet's edge, but the bands must fit.
    EXPECT_TRUE(
        StackBands({&sheet}, {{0, 0, 1004 * kMm}}, 1000 * kMm, 1000 * kMm, csdooX, false, kKerf, out));
    EXPECT_FALSE(
        StackBands({&sheet}, {{0, 0, 1005 * kMm}}, 1000 * kMm, 1000 * kMm, csdooX, false, kKerf, out));
}

TEST(SheetBands, ChoosesTheBandsThatFillClosest) {
    std::vector<TSheetBand> bands;
    for (int64_t length : {50, 30, 40, 25})
        bands.push_back({0, 0, length});
    int64_t work = 0;
    EXPECT_EQ(FullestBands(bands, 95, work), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(FullestBands(bands, 24, work), std::vector<int>{});
    EXPECT_GT(work, 0);
}

TEST(SheetBands, StacksPiecesAgainstOneEdgeWithTheRoomBesideAndAboveAsRests) {
    // 1000 × 1000 mm: pieces of 700 × 300, 900 × 200 and 1000 × 450 mm, the widest at the foot.
    const std::vector<TSearchPartType> types{{1, 700 * kMm, 300 * kMm, cspioNone, 1},
                                             {2, 900 * kMm, 200 * kMm, cspioNone, 1},
                                             {3, 1000 * kMm, 450 * kMm, cspioNone, 1}};
    struct Row {
        bool across;
        int pieces[3][2]; // ox, oy in mm, the widest first
        int rests[3][4];  // ox, oy, x, y in mm
    };
    const Row row{
        false, {{0, 0}, {0, 454}, {0, 658}}, {{904, 454, 96, 200}, {704, 658, 296, 300}, {0, 962, 1000, 38}}};
    TImproveSheet out;
    ASSERT_TRUE(StackPieces(types, {0, 1, 2}, 1000 * kMm, 1000 * kMm, csdooY, row.across, kKerf, out));
    ASSERT_EQ(out.pieces.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(out.pieces[i].ox, row.pieces[i][0] * kMm) << i;
        EXPECT_EQ(out.pieces[i].oy, row.pieces[i][1] * kMm) << i;
    }
    ASSERT_EQ(out.rests.size(), 3u); // none beside the piece as wide as the sheet
    for (size_t i = 0; i < 3; ++i) {
        const TSearchRest& r = out.rests[i];
        EXPECT_EQ(std::vector<int>({r.ox / kMm, r.oy / kMm, r.x / kMm, r.y / kMm}),
                  std::vector<int>(std::begin(row.rests[i]), std::end(row.rests[i])))
            << i;
        EXPECT_EQ(r.orientation, csdooY);
    }
    EXPECT_EQ(out.partsArea, RestAreaKey(700 * kMm, 300 * kMm) + RestAreaKey(900 * kMm, 200 * kMm) +
                                 RestAreaKey(1000 * kMm, 450 * kMm));
    // Across, the pieces stand side by side along X: 700 + 900 + 1000 mm and the kerf do not fit;
    // 700 + 900 mm fit on 2000 × 1000 mm, the room above each piece a rest, the taller first.
    EXPECT_FALSE(StackPieces(types, {0, 1, 2}, 1000 * kMm, 1000 * kMm, csdooNone, true, kKerf, out));
    ASSERT_TRUE(StackPieces(types, {1, 0}, 2000 * kMm, 1000 * kMm, csdooNone, true, kKerf, out));
    ASSERT_EQ(out.pieces.size(), 2u);
    EXPECT_EQ(out.pieces[0].type, 0);
    EXPECT_EQ(out.pieces[1].ox, 704 * kMm);
    ASSERT_EQ(out.rests.size(), 3u);
    EXPECT_EQ(out.rests[0].oy, 304 * kMm);
    EXPECT_EQ(out.rests[0].y, 696 * kMm);
    EXPECT_EQ(out.rests[2].ox, 1608 * kMm);
    EXPECT_EQ(out.rests[2].x, 392 * kMm);
}

TEST(SheetBands, PiecesSideBySideStackAsOneRowTheRoomAboveTheShorterARest) {
    // 1000 × 1000 mm: 450 × 400 and 400 × 250 mm side by side (854 mm wide), then 700 × 300 mm.
    const std::vector<TSearchPartType> types{{1, 700 * kMm, 300 * kMm, cspioNone, 1},
                                             {2, 450 * kMm, 400 * kMm, cspioNone, 1},
                                             {3, 400 * kMm, 250 * kMm, cspioNone, 1}};
    TImproveSheet out;
    ASSERT_TRUE(StackRows(types, {{0}, {2, 1}}, 1000 * kMm, 1000 * kMm, csdooNone, false, kKerf, out));
    std::vector<std::vector<int>> pieces, rests;
    for (const TSearchPiece& p : out.pieces)
        pieces.push_back({p.type, p.ox / kMm, p.oy / kMm});
    for (const TSearchRest& r : out.rests)
        rests.push_back({r.ox / kMm, r.oy / kMm, r.x / kMm, r.y / kMm});
    EXPECT_EQ(pieces, (std::vector<std::vector<int>>{{1, 0, 0}, {2, 454, 0}, {0, 0, 404}}));
    EXPECT_EQ(rests,
              (std::vector<std::vector<int>>{
                  {454, 254, 400, 146}, {858, 0, 142, 400}, {704, 404, 296, 300}, {0, 708, 1000, 292}}));
    // A row wider than the sheet does not stack.
    EXPECT_FALSE(StackRows(types, {{0, 1}}, 1000 * kMm, 1000 * kMm, csdooNone, false, kKerf, out));
}
