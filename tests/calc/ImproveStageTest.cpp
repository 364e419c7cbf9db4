#include "CalcFixture.h"
#include "calc/PlanImprover.h"

#include <random>

using namespace lintaro;
using lintaro::test::CalcFixture;
using lintaro::test::sheetTotal;

namespace {

Currency mm(double v) {
    return Currency::fromValue(v);
}

// Every placed part of the result, in order, as text: two results are equal when these are.
std::string resultText(const TSheets* sheets) {
    std::string text;
    for (int i = 0; i < sheets->CuttingSheets()->ItemCount(); ++i) {
        const TCuttingSheet* s = sheets->CuttingSheets()->Sheet(i);
        text += "sheet " + s->Dimension()->GetPropAsString("").toStdString() + "\n";
        for (int j = 0; j < s->Parts()->ItemCount(); ++j)
            text += s->Parts()->PartOut(j)->GetPropAsString("").toStdString() + "\n";
    }
    return text;
}

} // namespace

class ImproveStage : public CalcFixture {
protected:
    ImproveStage() {
        setup.SetSheetsImprove(true);
        setup.SetSheetsImproveTime(2);
    }
    // A mixed order whose first pass leaves a nearly empty last sheet.
    void mixedOrder() {
        addPart("Side", 720, 560, 9);
        addPart("Shelf", 564, 300, 11);
        addPart("Door", 716, 396, 7);
        addPart("Rail", 900, 100, 6);
        addPart("Top", 1200, 600, 3);
    }
};

TEST_F(ImproveStage, NeverUsesAStoppedSizeNorMoreThanTheStock) {
    TDimension* stopped = addDim(2800, 2070, 10);
    stopped->SetIsStopped(true);
    TDimension* small = addDim(1400, 1000, 3);
    addDim(2070, 1400, 20, true);
    mixedOrder();
    calculate();
    ASSERT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
    int onSmall = 0;
    for (int i = 0; i < sheets->CuttingSheets()->ItemCount(); ++i) {
        const TCuttingSheet* s = sheets->CuttingSheets()->Sheet(i);
        EXPECT_NE(s->Dimension()->ID(), stopped->ID());
        if (s->Dimension()->ID() == small->ID())
            onSmall += s->Count();
    }
    EXPECT_LE(onSmall, 3);
    // The stock counts of the container's material follow the improved result.
    const auto* left = static_cast<const TDimension*>(sheets->Material()->Dims()->FindItem(-small->ID()));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->Count(), 3 - onSmall);
}

TEST_F(ImproveStage, KeepsUsingTheRestsBeforeTheStock) {
    addDim(2800, 2070, 30);
    TDimension* rest = addDim(1200, 800, 1);
    rest->SetIsRest(true);
    mixedOrder();
    calculate();
    ASSERT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
    bool onRest = false;
    for (int i = 0; i < sheets->CuttingSheets()->ItemCount(); ++i)
        onRest = onRest || sheets->CuttingSheets()->Sheet(i)->Dimension()->ID() == rest->ID();
    EXPECT_TRUE(onRest);
}

TEST_F(ImproveStage, KeepsGrainAndMaxCut) {
    material.SetHasOrientation(true);
    // Cuts along X may not run the whole sheet: one column per block across the long side.
    TDimension* d = addDim(2800, 1450, 30);
    d->SetOrientation(doX);
    setup.SetSheetsMaxCutLength(mm(1500));
    addPart("Along", 800, 300, 9, poX);
    addPart("Crossed", 300, 800, 4, poY); // shares the type of "Along"
    addPart("Across", 700, 350, 8, poY);
    addPart("Free", 300, 200, 14);
    addPart("Panel", 1200, 500, 3, poX);
    calculate(); // the plan checker tests grain and cut lengths on every sheet
    EXPECT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
}

TEST_F(ImproveStage, GivesTheSamePlanTwiceOnTheVirtualClock) {
    addDim(2800, 2070, 30);
    mixedOrder();
    calculate();
    const std::string first = resultText(sheets);
    clock.SetTime(0);
    calculate();
    EXPECT_EQ(resultText(sheets), first);
    EXPECT_FALSE(first.empty());
}

TEST_F(ImproveStage, IsNeverWorseThanTheSearchAndSaysWhatItGained) {
    addDim(2800, 2070, 30);
    mixedOrder();
    setup.SetSheetsImprove(false);
    calculate();
    const int searched = sheetTotal(sheets);
    setup.SetSheetsImprove(true);
    clock.SetTime(0);
    calculate();
    const int improved = sheetTotal(sheets);
    EXPECT_LE(improved, searched);
    const QString r = report();
    EXPECT_TRUE(r.contains(QStringLiteral("Improved: %1 → %2 sheets").arg(searched).arg(improved)) ||
                r.contains(QStringLiteral("Improvement: nothing better than %1 sheets").arg(searched)))
        << r.toStdString();
    EXPECT_EQ(sheets->State(), ssCalculatedOK);
}

TEST_F(ImproveStage, StopEndsTheStageWithACompleteResult) {
    addDim(2800, 2070, 30);
    mixedOrder();
    bool sawStage = false;
    order.onChange = [&](TComponent*, const QString& prop) {
        if (prop == "CalculationPhase" && sheets->CalculationPhase() == scpImprove && sheets->Calculator()) {
            sawStage = true;
            sheets->Calculator()->SetStop(true);
        }
    };
    calculate();
    EXPECT_TRUE(sawStage);
    EXPECT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
    EXPECT_EQ(sheets->PartsUnusedCount(), 0);
    EXPECT_FALSE(report().contains("ERROR"));
}

TEST_F(ImproveStage, StopEndsALongStageWithinARound) {
    setup.SetSheetsImproveTime(600); // far more rounds than one
    addDim(2800, 2070, 30);
    mixedOrder();
    order.onChange = [&](TComponent*, const QString& prop) {
        if (prop == "CalculationPhase" && sheets->CalculationPhase() == scpImprove && sheets->Calculator())
            sheets->Calculator()->SetStop(true);
    };
    calculate();
    EXPECT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
    // Each worker's round is 20 000 expansions; the whole stage would be hundreds of rounds.
    EXPECT_LE(TCSCalculator::LastRunFigures().improveExpansions, 40000);
    EXPECT_LT(clock.Now(), 600);
}

TEST_F(ImproveStage, ReportsTheBestCountAsItFalls) {
    addDim(2800, 2070, 30);
    mixedOrder();
    calculate();
    const TCSCalculator::TRunFigures f = TCSCalculator::LastRunFigures();
    if (f.sheetsAfter < f.sheetsBefore) {
        EXPECT_TRUE(report().contains(QStringLiteral("Improving: %1 sheets so far").arg(f.sheetsAfter)))
            << report().toStdString();
    }
    EXPECT_TRUE(report().contains("Lower bound: ")) << report().toStdString();
}

TEST_F(ImproveStage, RandomOrdersGiveSoundPlans) {
    std::mt19937 random(16122026);
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        parts->Clear();
        material.Dims()->Clear();
        std::uniform_int_distribution<int> pick(0, 2);
        material.SetHasOrientation(pick(random) > 0);
        material.SetCutWidth(mm(std::uniform_int_distribution<int>(0, 5)(random)));
        setup.SetSheetsMaxCutLength(mm(pick(random) == 0 ? 1500 : 3200));
        const int dims = std::uniform_int_distribution<int>(1, 3)(random);
        for (int i = 0; i < dims; ++i) {
            TDimension* d =
                addDim(std::uniform_int_distribution<int>(600, 2800)(random),
                       std::uniform_int_distribution<int>(400, 2070)(random),
                       std::uniform_int_distribution<int>(0, 4)(random), i == 0 && pick(random) == 0);
            d->SetOrientation(TDimensionOrientation(pick(random)));
            d->SetIsStopped(i > 0 && pick(random) == 0);
        }
        const int types = std::uniform_int_distribution<int>(1, 8)(random);
        for (int i = 0; i < types; ++i)
            addPart(QStringLiteral("R%1").arg(i), std::uniform_int_distribution<int>(50, 1200)(random),
                    std::uniform_int_distribution<int>(50, 900)(random),
                    std::uniform_int_distribution<int>(1, 9)(random), TPartOrientation(pick(random)));
        clock.SetTime(0);
        calculate(); // plans, stock counts and the placed pieces are checked there
        for (int i = 0; i < sheets->CuttingSheets()->ItemCount(); ++i)
            EXPECT_FALSE(sheets->CuttingSheets()->Sheet(i)->Dimension()->IsStopped());
    }
}

TEST_F(ImproveStage, OrdersOfWidePiecesGiveSoundPlans) {
    // Most pieces wider than half the sheet, a few tall, large or small ones among them: a chase
    // that stalls stacks the wide ones afresh, with kerf and grain as the search keeps them.
    std::mt19937 random(11122026);
    const auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        parts->Clear();
        material.Dims()->Clear();
        material.SetHasOrientation(round % 2 == 1);
        material.SetCutWidth(mm(round < 2 ? 0 : 4));
        addDim(1000, 1000, 0, true)->SetOrientation(TDimensionOrientation(round % 2));
        for (int i = 0; i < 80; ++i) {
            const int kind = i % 10; // 0–6 wide, 7 tall, 8 large, 9 small
            const int x = kind < 7 ? in(670, 1000) : kind == 8 ? in(500, 1000) : in(10, 500);
            const int y = kind < 7 || kind == 9 ? in(10, 500) : kind == 7 ? in(670, 1000) : in(500, 1000);
            if (round % 2 == 0)
                addPart(QStringLiteral("W%1").arg(i), x, y, 1, TPartOrientation(round % 2));
            else
                addPart(QStringLiteral("T%1").arg(i), y, x, 1, TPartOrientation(round % 2));
        }
        clock.SetTime(0);
        calculate(); // plans, stock counts and the placed pieces are checked there
    }
}

TEST(PlanImproverScore, KeysInOrder) {
    struct Row {
        TImproveScore a, b;
        bool aBetter;
    };
    const Row rows[] = {
        {{10, 500, 0, 9}, {9, 100, 99, 1}, true},  // more pieces placed first
        {{10, 400, 0, 9}, {10, 500, 99, 1}, true}, // then less stock area
        {{10, 500, 7, 9}, {10, 500, 6, 1}, true},  // then larger reusable rests
        {{10, 500, 7, 2}, {10, 500, 7, 3}, true},  // then fewer distinct plans
        {{10, 500, 7, 3}, {10, 500, 7, 3}, false}, // equal is not better
    };
    for (const Row& r : rows) {
        EXPECT_EQ(TPlanImprover::Better(r.a, r.b), r.aBetter);
        EXPECT_FALSE(TPlanImprover::Better(r.b, r.a) && r.aBetter);
    }
}

namespace {

constexpr int64_t kRawMm = 10000;

// Four sheets of 1000 × 1000 mm holding one 500 × 500 mm piece each: all four fit on one sheet.
struct WastefulStart {
    std::vector<TSearchPartType> types{{1, 500 * kRawMm, 500 * kRawMm, cspioNone, 4}};
    std::vector<TImproveStock> stocks{{1000 * kRawMm, 1000 * kRawMm, csdooNone, 10, false, false}};
    TImproveResult start;
    WastefulStart() {
        for (int i = 0; i < 4; ++i) {
            TImproveSheet sheet;
            sheet.pieces.push_back({0, 0, 0, int32_t(500 * kRawMm), int32_t(500 * kRawMm), false});
            sheet.partsArea = ImproveAreaKey(500 * kRawMm, 500 * kRawMm);
            start.sheets.push_back(sheet);
        }
    }
};

TImproveResult improveRounds(const WastefulStart& w, int workers, int rounds) {
    TImproveSettings settings;
    settings.workers = workers;
    settings.roundExpansions = 2000;
    TPlanImprover improver(w.types, w.stocks, settings);
    int left = rounds;
    TImproveControl control;
    control.nextRound = [&](int64_t) { return --left > 0; };
    return improver.Improve(w.start, control);
}

std::string piecesText(const TImproveResult& r) {
    std::string text;
    for (const TImproveSheet& s : r.sheets) {
        text += "sheet " + std::to_string(s.stock) + ":";
        for (const TSearchPiece& p : s.pieces)
            text += " " + std::to_string(p.ox) + "," + std::to_string(p.oy);
        text += "\n";
    }
    return text;
}

} // namespace

TEST(PlanImprover, EmptiesTheWastedSheetsAloneAndSideBySide) {
    const WastefulStart w;
    for (int workers : {1, 2}) {
        const TImproveResult r = improveRounds(w, workers, 6);
        ASSERT_EQ(r.sheets.size(), 1u) << "workers " << workers;
        const std::vector<TSearchPiece>& pieces = r.sheets[0].pieces;
        ASSERT_EQ(pieces.size(), 4u);
        for (size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_LE(pieces[i].ox + pieces[i].w, 1000 * kRawMm);
            EXPECT_LE(pieces[i].oy + pieces[i].h, 1000 * kRawMm);
            for (size_t j = 0; j < i; ++j)
                EXPECT_TRUE(pieces[i].ox + pieces[i].w <= pieces[j].ox ||
                            pieces[j].ox + pieces[j].w <= pieces[i].ox ||
                            pieces[i].oy + pieces[i].h <= pieces[j].oy ||
                            pieces[j].oy + pieces[j].h <= pieces[i].oy);
        }
        EXPECT_EQ(piecesText(r), piecesText(improveRounds(w, workers, 6))) << "workers " << workers;
    }
}

TEST(PlanImprover, KeepsPreferredSheetsWhileLaterSizesAreUsed) {
    const std::vector<TImproveStock> stocks{{1, 1, csdooNone, 2, false, true},
                                            {2, 2, csdooNone, 5, true, false}};
    TPlanImprover improver({}, stocks, TImproveSettings());
    TImproveResult start;
    start.sheets.resize(2);                     // two sheets of the preferred size
    improver.Improve(start, TImproveControl()); // records the start's use of each size
    struct Row {
        std::vector<int> used;
        bool keeps;
    };
    const Row rows[] = {{{2, 3}, true}, {{1, 3}, false}, {{1, 0}, true}, {{0, 0}, true}};
    for (const Row& r : rows)
        EXPECT_EQ(improver.KeepsPriorities(r.used), r.keeps) << r.used[0] << " " << r.used[1];
}

TEST(PlanImprover, TakesALargerSizeWhereItWastesLess) {
    // The calculator takes the smaller size first: two sheets of 600 × 1000 mm with two pieces of
    // 500 × 500 mm each. One sheet of the larger size holds all four in less stock.
    const std::vector<TSearchPartType> types{{1, 500 * kRawMm, 500 * kRawMm, cspioNone, 4}};
    const std::vector<TImproveStock> stocks{{600 * kRawMm, 1000 * kRawMm, csdooNone, 5, false, false},
                                            {1000 * kRawMm, 1000 * kRawMm, csdooNone, 10, true, false}};
    TImproveResult start;
    for (int i = 0; i < 2; ++i) {
        TImproveSheet sheet;
        for (int j = 0; j < 2; ++j)
            sheet.pieces.push_back(
                {0, 0, int32_t(j * 500 * kRawMm), int32_t(500 * kRawMm), int32_t(500 * kRawMm), false});
        sheet.partsArea = 2 * ImproveAreaKey(500 * kRawMm, 500 * kRawMm);
        start.sheets.push_back(sheet);
    }
    TImproveSettings settings;
    settings.roundExpansions = 2000;
    TPlanImprover improver(types, stocks, settings);
    int left = 6;
    TImproveControl control;
    control.nextRound = [&](int64_t) { return --left > 0; };
    const TImproveResult r = improver.Improve(start, control);
    ASSERT_EQ(r.sheets.size(), 1u);
    EXPECT_EQ(r.sheets[0].stock, 1);
    EXPECT_EQ(r.sheets[0].pieces.size(), 4u);
}
