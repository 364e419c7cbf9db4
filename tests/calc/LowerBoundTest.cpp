// The lower bound on instances whose optimum is known, the report's bound and gap, and the
// improvement stage ending as soon as its result meets the bound.
#include "calc/LowerBound.h"
#include "CalcFixture.h"

#include <random>

using namespace lintaro;
using lintaro::test::CalcFixture;
using lintaro::test::sheetTotal;

namespace {

constexpr int64_t kMm = 10000; // raw units of a millimetre

TBoundPiece piece(int64_t x, int64_t y, int count, TCSPartInOrientation o = cspioNone) {
    return {x * kMm, y * kMm, o, count};
}

TBoundStock stock(int64_t x, int64_t y, TCSDimOutOrientation grain = csdooNone) {
    return {x * kMm, y * kMm, grain};
}

} // namespace

TEST(LowerBound, MeetsTheKnownOptimum) {
    struct Case {
        const char* name;
        std::vector<TBoundPiece> pieces;
        int64_t kerf; // mm
        int optimum;
    };
    const std::vector<Case> cases = {
        {"four quarters fill one sheet", {piece(500, 500, 4)}, 0, 1},
        {"whole sheets", {piece(1000, 1000, 7)}, 0, 7},
        {"no two fit beside or above each other", {piece(600, 600, 5)}, 0, 5},
        {"mixed large pieces, one a sheet", {piece(600, 700, 2), piece(700, 600, 1)}, 0, 3},
        // 1.62 sheets by area, but pieces wider than half the sheet stack three high at most.
        {"wide pieces stacked, not turned", {piece(600, 300, 9, cspioX)}, 0, 3},
        {"halves side by side", {piece(500, 1000, 2)}, 0, 1},
        // The kerf between the halves makes them too wide for one sheet.
        {"halves and the kerf", {piece(500, 1000, 2, cspioX)}, 4, 2},
        // Two sheets by area; two fifths fit only twice along the sheet, which rounding down to
        // halves of the sheet counts.
        {"two fifths fit twice, not two and a half times", {piece(400, 1000, 5, cspioX)}, 0, 3},
        {"a piece that fits nowhere does not count", {piece(1200, 100, 3, cspioX), piece(500, 500, 4)}, 0, 1},
    };
    for (const Case& c : cases) {
        const TLowerBound b = ComputeLowerBound(c.pieces, {stock(1000, 1000, csdooX)}, c.kerf * kMm);
        EXPECT_TRUE(b.valid) << c.name;
        EXPECT_TRUE(b.oneSize) << c.name;
        EXPECT_EQ(b.sheets, c.optimum) << c.name;
    }
}

TEST(LowerBound, SeveralSizesBoundTheStockArea) {
    const TLowerBound b = ComputeLowerBound({piece(500, 500, 4), piece(2000, 1000, 1)},
                                            {stock(1000, 1000), stock(2000, 1000)}, 0);
    ASSERT_TRUE(b.valid);
    EXPECT_FALSE(b.oneSize);
    EXPECT_NEAR(b.stockArea, 3.0, 0.001); // m²
    // Pieces over half of every size both ways each take a sheet of their own, the smallest that
    // holds them: three of 800 × 800 need three sheets of 1000 × 1000 however little area they have.
    const TLowerBound alone = ComputeLowerBound({piece(800, 800, 3), piece(100, 100, 5)},
                                                {stock(1000, 1000), stock(1500, 1000)}, 0);
    EXPECT_NEAR(alone.stockArea, 3.0, 0.001);
    // On the longer size two fit side by side: no piece is alone there, and the parts' 1.62 m² take
    // two square metres of whole sheets.
    const TLowerBound beside =
        ComputeLowerBound({piece(900, 600, 3)}, {stock(1000, 1000), stock(2000, 1000)}, 0);
    EXPECT_NEAR(beside.stockArea, 2.0, 0.001);
    EXPECT_FALSE(ComputeLowerBound({piece(500, 500, 4)}, {}, 0).valid);
    EXPECT_FALSE(ComputeLowerBound({piece(1500, 1500, 1)}, {stock(1000, 1000)}, 0).valid);
}

TEST(LowerBound, SeveralSizesTakeWholeSheetsAsManyAsThereAre) {
    struct Case {
        const char* name;
        std::vector<TBoundPiece> pieces;
        int smallCount;   // sheets of 1500 × 1000 beside as many of 2000 × 1000 as needed
        double area;      // m²
        int64_t kerf = 0; // mm
    };
    const std::vector<Case> cases = {
        {"three of the smaller size hold 4.4 m²", {piece(400, 250, 44)}, -1, 4.5},
        {"with one smaller sheet, two larger ones go with it", {piece(400, 250, 44)}, 1, 5.5},
        // Two of these fit on the larger size only, one above the other: four need two sheets of it.
        {"pieces only the larger size takes", {piece(1600, 450, 4), piece(400, 250, 5)}, -1, 4.0},
        // Eight fill the larger sheet exactly; with the cuts between them they need more room.
        {"pieces filling a sheet without the kerf", {piece(500, 500, 8)}, -1, 2.0},
        {"the same pieces with the kerf", {piece(500, 500, 8)}, -1, 3.0, 10},
    };
    for (const Case& c : cases) {
        TBoundStock small = stock(1500, 1000);
        small.count = c.smallCount;
        const TLowerBound b = ComputeLowerBound(c.pieces, {stock(2000, 1000), small}, c.kerf * kMm);
        EXPECT_FALSE(b.oneSize) << c.name;
        EXPECT_NEAR(b.stockArea, c.area, 0.001) << c.name;
    }
}

TEST(LowerBound, GapTexts) {
    TLowerBound one;
    one.valid = one.oneSize = true;
    one.sheets = 36;
    one.stockArea = 36 * 5.796;
    EXPECT_TRUE(GapOf(one, 36, 0).optimal);
    EXPECT_EQ(GapOf(one, 37, 0).sheets, 1);
    TLowerBound area;
    area.valid = true;
    area.stockArea = 100;
    EXPECT_NEAR(GapOf(area, 0, 102.3).percent, 2.3, 1e-9);
}

class BoundInCalculation : public CalcFixture {};

TEST_F(BoundInCalculation, ReportsTheBoundAndTheGap) {
    addDim(2800, 2070, 10, true);
    addPart("Side", 720, 560, 4);
    calculate();
    EXPECT_TRUE(report().contains("Lower bound: 1 sheet; the plan is the best possible"))
        << report().toStdString();
    EXPECT_EQ(TCSCalculator::LastRunFigures().bound.sheets, 1);

    parts->Clear();
    addPart("Side", 1500, 1500, 5); // no two share a sheet
    addPart("Strip", 2800, 100, 3);
    calculate();
    const int used = sheetTotal(sheets);
    EXPECT_GE(used, 5);
    const QString expected = used == 5
                                 ? QStringLiteral("Lower bound: 5 sheets; the plan is the best possible")
                                 : QStringLiteral("Lower bound: 5 sheets; at most %1").arg(used - 5);
    EXPECT_TRUE(report().contains(expected)) << report().toStdString();
}

TEST_F(BoundInCalculation, SeveralSizesGiveTheGapInPercent) {
    addDim(2800, 2070, 10, true);
    addDim(1000, 1000, 2);
    addPart("Shelf", 800, 300, 30);
    calculate();
    EXPECT_TRUE(report().contains("Lower bound: ")) << report().toStdString();
    EXPECT_TRUE(report().contains(" of the best possible") ||
                report().contains("the plan is the best possible"))
        << report().toStdString();
}

TEST_F(BoundInCalculation, TheStageEndsAtOnceOnAnOptimalPlan) {
    setup.SetSheetsImprove(true);
    setup.SetSheetsImproveTime(60);
    addDim(2800, 2070, 10, true);
    addPart("Side", 720, 560, 4);
    calculate();
    EXPECT_EQ(sheetTotal(sheets), 1);
    EXPECT_EQ(TCSCalculator::LastRunFigures().improveExpansions, 0);
    EXPECT_LT(clock.Now(), 60); // virtual seconds: the stage did not take its time
}

TEST_F(BoundInCalculation, TheBoundIsNeverAboveAPlanFound) {
    std::mt19937 random(9122026);
    for (int round = 0; round < 12; ++round) {
        parts->Clear();
        material.Dims()->Clear();
        material.SetCutWidth(Currency::fromValue(int(random() % 2) * 4));
        addDim(2800, 2070, 50, true);
        // Every other order also has a few sheets of a smaller size, taken first.
        if (round % 2)
            addDim(2070, 1000, 1 + int(random() % 3));
        const int types = 1 + int(random() % 5);
        for (int t = 0; t < types; ++t)
            addPart(QStringLiteral("P%1").arg(t), 200 + double(random() % 2400),
                    150 + double(random() % 1800), 1 + int(random() % 6), random() % 2 ? poX : poNone);
        clock.SetTime(0);
        calculate();
        const TLowerBound b = TCSCalculator::LastRunFigures().bound;
        ASSERT_TRUE(b.valid);
        EXPECT_LE(b.sheets, sheetTotal(sheets)) << round;
        double used = 0;
        const TCuttingSheetList* list = sheets->CuttingSheets();
        for (int k = 0; k < list->ItemCount(); ++k) {
            const TDimension* d = list->Sheet(k)->Dimension();
            used += double(d->StoredX().raw()) * double(d->StoredY().raw()) / 1e14 * list->Sheet(k)->Count();
        }
        EXPECT_LE(b.stockArea, used * (1 + 1e-9)) << round;
        // The result took its sheets from the counts: the bound of the calculated order is the same.
        EXPECT_NEAR(LowerBoundOf(*sheets).stockArea, b.stockArea, 1e-9) << round;
    }
}
