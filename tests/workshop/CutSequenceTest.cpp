// The cut sequence rebuilt from hand-made plans: stages in saw order, fences with the kerf, rests,
// turned pieces, plans that repeat, and a plan no guillotine saw can cut.
#include "workshop/CutSequence.h"
#include "workshop/PackData.h"

#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

using namespace lintaro;
using namespace lintaro::workshop;

namespace {

constexpr int64_t M(double mm) {
    return int64_t(mm * 10000);
}

TCutPiece part(double l, double t, double r, double b, int index = 0) {
    return {{M(l), M(t), M(r), M(b)}, cpkPart, index};
}

class CutSequence : public ::testing::Test {
protected:
    void SetUp() override { TApplicationLinks::SetSetup(&setup_); }
    void TearDown() override { TApplicationLinks::SetSetup(nullptr); }
    ScopedLocale locale_{Locale::czech()};
    TSetup setup_;
};

TCuttingSheet* makeSheet(double x, double y, const std::vector<TCutPiece>& pieces, int count = 1) {
    auto* sheet = new TCuttingSheet(nullptr);
    sheet->Dimension()->SetX(Currency::fromRaw(M(x)));
    sheet->Dimension()->SetY(Currency::fromRaw(M(y)));
    sheet->SetCount(count);
    for (const TCutPiece& p : pieces) {
        auto* out = new TCSPartOut(nullptr);
        out->SetPartID(p.Index);
        out->SetPlace(Currency::fromRaw(p.Box.l), Currency::fromRaw(p.Box.t),
                      Currency::fromRaw(p.Box.Width()), Currency::fromRaw(p.Box.Height()));
        out->SetOriginal(Currency::fromRaw(p.Box.Width()), Currency::fromRaw(p.Box.Height()));
        sheet->Parts()->ItemInsert(out);
    }
    return sheet;
}

} // namespace

TEST_F(CutSequence, TwoStagesAcrossTheSheetFirstThenEachStrip) {
    const TCutSequence s = MakeCutSequence(
        M(1000), M(600), {part(0, 0, 400, 300, 0), part(0, 300, 400, 600, 1), part(400, 0, 1000, 200, 2)}, 0);
    ASSERT_TRUE(s.Guillotine);
    ASSERT_EQ(s.Cuts.size(), 3);
    // 1: along Y across the whole sheet, freeing the first strip.
    EXPECT_EQ(s.Cuts[0].Stage, 1);
    EXPECT_TRUE(s.Cuts[0].AlongY);
    EXPECT_EQ(s.Cuts[0].Fence, M(400));
    EXPECT_EQ(s.Cuts[0].Length, M(600));
    EXPECT_EQ(s.Cuts[0].FreedKind, fkStrip);
    // 2: the first strip's cut frees part 0; 3: the second strip's frees part 2 and leaves waste.
    EXPECT_EQ(s.Cuts[1].Stage, 2);
    EXPECT_FALSE(s.Cuts[1].AlongY);
    EXPECT_EQ(s.Cuts[1].Fence, M(300));
    EXPECT_EQ(s.Cuts[1].Length, M(400));
    EXPECT_EQ(s.Cuts[1].FreedKind, fkPart);
    EXPECT_EQ(s.Cuts[1].FreedIndex, 0);
    EXPECT_EQ(s.Cuts[2].Stage, 2);
    EXPECT_EQ(s.Cuts[2].Fence, M(200));
    EXPECT_EQ(s.Cuts[2].Length, M(600));
    EXPECT_EQ(s.Cuts[2].FreedIndex, 2);
    EXPECT_EQ(s.FirstStageLines, QList<int64_t>{M(400)});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(s.Cuts[i].Number, i + 1);
}

TEST_F(CutSequence, ThirdStageCutsInsideAStripOfAStrip) {
    const TCutSequence s = MakeCutSequence(M(1000), M(600),
                                           {part(0, 0, 250, 300, 0), part(250, 0, 500, 300, 1),
                                            part(0, 300, 500, 600, 2), part(500, 0, 1000, 600, 3)},
                                           0);
    ASSERT_TRUE(s.Guillotine);
    ASSERT_EQ(s.Cuts.size(), 3);
    EXPECT_EQ(s.Cuts[0].Stage, 1);
    EXPECT_EQ(s.Cuts[0].Position, M(500));
    EXPECT_EQ(s.Cuts[1].Stage, 2);
    EXPECT_EQ(s.Cuts[1].Position, M(300));
    EXPECT_EQ(s.Cuts[1].FreedKind, fkStrip);
    EXPECT_EQ(s.Cuts[2].Stage, 3);
    EXPECT_TRUE(s.Cuts[2].AlongY);
    EXPECT_EQ(s.Cuts[2].Fence, M(250));
    EXPECT_EQ(s.Cuts[2].Length, M(300));
    EXPECT_EQ(s.Cuts[2].Region, (TCutBox{0, 0, M(500), M(300)}));
}

TEST_F(CutSequence, FencesCountTheKerfOfEarlierCutsAndTrimWideGaps) {
    // Kerf 4: the second piece starts behind the first cut's kerf; a 20 mm gap before the third is
    // trimmed off by a cut of its own.
    const TCutSequence s = MakeCutSequence(
        M(1500), M(600), {part(0, 0, 400, 600, 0), part(404, 0, 804, 600, 1), part(824, 0, 1224, 600, 2)},
        M(4));
    ASSERT_TRUE(s.Guillotine);
    ASSERT_EQ(s.Cuts.size(), 4);
    EXPECT_EQ(s.Cuts[0].Fence, M(400));
    EXPECT_EQ(s.Cuts[1].Fence, M(804));
    EXPECT_EQ(s.Cuts[1].Freed, (TCutBox{M(404), 0, M(804), M(600)}));
    EXPECT_EQ(s.Cuts[1].FreedKind, fkPart);
    EXPECT_EQ(s.Cuts[2].Fence, M(820));
    EXPECT_EQ(s.Cuts[2].FreedKind, fkWaste);
    EXPECT_EQ(s.Cuts[3].Fence, M(1224));
    EXPECT_EQ(s.Cuts[3].Freed.Width(), M(400));
}

TEST_F(CutSequence, ARestIsFreedAsARest) {
    const TCutSequence s =
        MakeCutSequence(M(1000), M(600),
                        {part(0, 0, 600, 600, 0), TCutPiece{{M(604), 0, M(1000), M(300)}, cpkRest, 0}}, M(4));
    ASSERT_TRUE(s.Guillotine);
    ASSERT_EQ(s.Cuts.size(), 2);
    EXPECT_EQ(s.Cuts[0].FreedKind, fkPart);
    EXPECT_EQ(s.Cuts[1].Stage, 2);
    EXPECT_EQ(s.Cuts[1].FreedKind, fkRest);
    EXPECT_EQ(s.Cuts[1].Fence, M(300));
    EXPECT_EQ(s.Cuts[1].Length, M(396));
}

TEST_F(CutSequence, APinwheelIsNotGuillotine) {
    const TCutSequence s = MakeCutSequence(
        M(300), M(300),
        {part(0, 0, 200, 100), part(200, 0, 300, 200), part(100, 200, 300, 300), part(0, 100, 100, 300)}, 0);
    EXPECT_FALSE(s.Guillotine);
}

TEST_F(CutSequence, ATurnedPieceIsCutAsItLies) {
    // 500 × 300 ordered, placed turned as 300 × 500.
    std::unique_ptr<TCuttingSheet> sheet(makeSheet(1000, 500, {part(0, 0, 300, 500, 7)}));
    sheet->Parts()->PartOut(0)->SetIsRotated(true);
    sheet->Parts()->PartOut(0)->SetOriginal(Currency::fromRaw(M(500)), Currency::fromRaw(M(300)));
    const TCutSequence s = MakeCutSequence(*sheet, M(4));
    ASSERT_EQ(s.Cuts.size(), 1);
    EXPECT_TRUE(s.Cuts[0].AlongY);
    EXPECT_EQ(s.Cuts[0].Fence, M(300));
    EXPECT_EQ(s.Cuts[0].FreedKind, fkPart);
}

TEST_F(CutSequence, ARepeatingPlanIsOnePlanWithItsSheetNumbers) {
    TOrder order;
    TCuttingSheetList* sheets = order.Sheets()->CuttingSheets();
    // Sheets 1–3 and 5 share one plan; sheet 4 differs.
    sheets->ItemInsert(makeSheet(1000, 500, {part(0, 0, 300, 500, 1)}, 3));
    sheets->ItemInsert(makeSheet(1000, 500, {part(0, 0, 400, 500, 1)}, 1));
    sheets->ItemInsert(makeSheet(1000, 500, {part(0, 0, 300, 500, 1)}, 1));
    const TPackData data = CollectPackData(order);
    ASSERT_EQ(data.Plans.size(), 2);
    EXPECT_EQ(data.TotalSheets, 5);
    EXPECT_EQ(data.Plans[0].SheetNumbers, (QList<int>{1, 2, 3, 5}));
    EXPECT_EQ(data.Plans[1].SheetNumbers, QList<int>{4});
    EXPECT_EQ(NumberRanges(data.Plans[0].SheetNumbers), QStringLiteral("1–3, 5"));
    EXPECT_EQ(data.Plans[0].Sequence.Cuts.size(), 1);
}
