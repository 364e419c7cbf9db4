#include "CalcFixture.h"

#include <chrono>
#include <random>

using namespace lintaro;
using lintaro::test::CalcFixture;

namespace {
Currency mm(double v) {
    return Currency::fromValue(v);
}
} // namespace

class Calculator : public CalcFixture {};

TEST_F(Calculator, OrderWithoutValidPartsGivesAnEmptyResult) {
    calculate();
    EXPECT_EQ(sheets->State(), ssCalculatedOK);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 0);
    const QStringList lines = sheets->CalculationReport();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("Calculation started "));
    EXPECT_EQ(lines[1], "Preparing the parameters");
    EXPECT_TRUE(lines[2].startsWith("Calculation finished "));
    EXPECT_EQ(sheets->CalculationPhase(), scpNone);
}

TEST_F(Calculator, FillsOneSheetExactly) {
    addDim(1004, 604, 5);
    addPart("Door", 500, 300, 4);
    calculate();
    ASSERT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
    ASSERT_EQ(sheets->CuttingSheets()->ItemCount(), 1);
    const TCuttingSheet* s = sheets->CuttingSheets()->Sheet(0);
    EXPECT_EQ(s->Count(), 1);
    EXPECT_EQ(s->Parts()->ItemCount(), 4);
    EXPECT_EQ(sheets->PartsUnusedCount(), 0);
    EXPECT_EQ(sheets->PartsUnusedArea(), Currency());
    EXPECT_EQ(sheets->CalculationTotalProgress(), 0); // the end line resets it
    EXPECT_TRUE(report().contains("Sheet 1: 1 004,00 mm x 604,00 mm, 1x")) << report().toStdString();
}

TEST_F(Calculator, MultipliesAPlanWithinTheStock) {
    TDimension* d = addDim(1004, 300, 3);
    addPart("A", 500, 300, 7);
    calculate();
    EXPECT_EQ(sheets->State(), ssCalculatedError);
    ASSERT_GE(sheets->CuttingSheets()->ItemCount(), 1);
    const TCuttingSheet* s = sheets->CuttingSheets()->Sheet(0);
    EXPECT_EQ(s->Parts()->ItemCount(), 2);
    EXPECT_EQ(s->Count(), 3);
    EXPECT_EQ(placedPerPart().begin()->second, 6);
    EXPECT_EQ(sheets->PartsUnusedCount(), 1);
    // The container's copy of the material was used up, not the current material.
    EXPECT_EQ(d->Count(), 3);
    TDimension* used = static_cast<TDimension*>(sheets->Material()->Dims()->FindItem(-d->ID()));
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(used->Count(), 0);
    EXPECT_TRUE(report().contains("ERROR #1")) << report().toStdString();
    EXPECT_TRUE(report().contains("ERROR #2 - Part not placed: [1] A (500x300N)")) << report().toStdString();
}

TEST_F(Calculator, DefaultDimensionIsUsedBeyondItsStock) {
    TDimension* d = addDim(1004, 300, 0, true);
    addPart("A", 500, 300, 7);
    calculate();
    ASSERT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
    ASSERT_EQ(sheets->CuttingSheets()->ItemCount(), 2);
    EXPECT_EQ(sheets->CuttingSheets()->Sheet(0)->Count(), 3);
    EXPECT_EQ(sheets->CuttingSheets()->Sheet(1)->Count(), 1);
    EXPECT_EQ(sheets->CuttingSheets()->Sheet(1)->Parts()->ItemCount(), 1);
    const auto* used = static_cast<TDimension*>(sheets->Material()->Dims()->FindItem(-d->ID()));
    EXPECT_EQ(used->Count(), -4);
}

TEST_F(Calculator, DimensionTooSmallForEveryPart) {
    addDim(100, 100, 5);
    addPart("A", 500, 300, 2);
    addPart("B", 400, 200, 1, poX);
    calculate();
    EXPECT_EQ(sheets->State(), ssCalculatedError);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 0);
    EXPECT_EQ(report().count("ERROR #1"), 1);
    EXPECT_EQ(report().count("ERROR #2"), 2);
    EXPECT_TRUE(report().contains("B (400x200X)")) << report().toStdString();
    EXPECT_EQ(sheets->PartsUnusedCount(), 3);
}

TEST_F(Calculator, StopDuringTheFirstSheetKeepsNoSheet) {
    addDim(2800, 2070, 10);
    for (int i = 0; i < 6; ++i)
        addPart(QStringLiteral("P%1").arg(i), 300 + 37 * i, 200 + 23 * i, 3);
    order.onChange = [this](TComponent*, const QString& prop) {
        if (prop == "CalculationSheetProgress" && sheets->Calculator())
            sheets->Calculator()->SetStop(true);
    };
    calculate();
    EXPECT_EQ(sheets->State(), ssCalculatedError);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 0);
    EXPECT_TRUE(report().contains("ERROR #-1 - Stopped by the user"));
    EXPECT_EQ(report().count("ERROR #2"), 6);
    EXPECT_GT(sheets->PartsUnusedCount(), 0);
}

TEST_F(Calculator, ShowsTheSearchsProgressAsOftenAsAWindowTakesEvents) {
    // A window redraws at every change of the progress: shown at every step of the search, that
    // would take the search's time from it.
    addDim(2800, 2070, 10);
    for (int i = 0; i < 8; ++i)
        addPart(QStringLiteral("P%1").arg(i), 300 + 37 * i, 200 + 23 * i, 4);
    int shown = 0;
    order.onChange = [&](TComponent*, const QString& prop) {
        shown += prop == "CalculationSheetProgress" ? 1 : 0;
    };
    const auto start = std::chrono::steady_clock::now();
    calculate();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const int sheetCount = sheets->CuttingSheets()->ItemCount();
    ASSERT_GT(sheetCount, 0);
    // Every 20 ms at most, besides each sheet's start (0) and end.
    EXPECT_LE(shown, int(seconds / 0.02) + 1 + 2 * (sheetCount + 1)) << seconds;
}

TEST_F(Calculator, KeepsOnlyRestsWorthReturningToStock) {
    // Sheet 2000 × 1000, no kerf, limits 0.5 m² and 500 mm: the rest beside one part decides.
    struct Case {
        double partX;
        bool restKept;
    } cases[] = {{1000, true}, {1500, true}, {1510, false}, {1990, false}};
    for (const Case& c : cases) {
        material.Dims()->Clear();
        material.SetCutWidth(mm(0));
        material.SetMinRecyArea(mm(0.5));
        material.SetMinRecyDim(mm(500));
        parts->Clear();
        addDim(2000, 1000, 1);
        addPart("Top", c.partX, 1000, 1);
        calculate();
        ASSERT_EQ(sheets->CuttingSheets()->ItemCount(), 1);
        const TCSDimOutList* rests = sheets->CuttingSheets()->Sheet(0)->Rests();
        EXPECT_EQ(rests->ItemCount(), c.restKept ? 1 : 0) << c.partX;
        if (rests->ItemCount() == 1) {
            EXPECT_TRUE(rests->Rest(0)->IsRecyable());
            EXPECT_EQ(rests->Rest(0)->ID(), 0);
        }
        const Currency netto = sheets->ExtractNetto();
        EXPECT_EQ(sheets->ExtractBrutto() > netto, c.restKept);
    }
}

TEST_F(Calculator, PreferredAndRestDimensionsAreTakenFirst) {
    addDim(2800, 2070, 10);
    TDimension* rest = addDim(1200, 800, 1);
    rest->SetIsRest(true);
    addPart("Small", 500, 300, 2);
    calculate();
    ASSERT_GE(sheets->CuttingSheets()->ItemCount(), 1);
    EXPECT_EQ(sheets->CuttingSheets()->Sheet(0)->Dimension()->ID(), rest->ID());
}

TEST_F(Calculator, GrainRulesHoldOnOrientedStock) {
    material.SetHasOrientation(true);
    TDimension* d = addDim(2000, 1000, 4);
    d->SetOrientation(doX);
    addPart("Along", 800, 300, 3, poX);
    addPart("Across", 800, 300, 3, poY);
    addPart("Free", 300, 200, 4);
    calculate();
    EXPECT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
}

TEST_F(Calculator, RandomOrdersGiveSoundPlans) {
    std::mt19937 random(8122026);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        parts->Clear();
        material.Dims()->Clear();
        std::uniform_int_distribution<int> pick(0, 2);
        material.SetHasOrientation(pick(random) > 0);
        material.SetCutWidth(mm(std::uniform_int_distribution<int>(0, 5)(random)));
        setup.SetSheetsMaxCutLength(mm(pick(random) == 0 ? 1500 : 3200));
        const int dims = std::uniform_int_distribution<int>(1, 2)(random);
        for (int i = 0; i < dims; ++i) {
            TDimension* d =
                addDim(std::uniform_int_distribution<int>(600, 2800)(random),
                       std::uniform_int_distribution<int>(400, 2070)(random),
                       std::uniform_int_distribution<int>(0, 3)(random), i == 0 && pick(random) == 0);
            d->SetOrientation(TDimensionOrientation(pick(random)));
        }
        const int types = std::uniform_int_distribution<int>(1, 6)(random);
        for (int i = 0; i < types; ++i)
            addPart(QStringLiteral("R%1").arg(i), std::uniform_int_distribution<int>(50, 1200)(random),
                    std::uniform_int_distribution<int>(50, 900)(random),
                    std::uniform_int_distribution<int>(1, 8)(random), TPartOrientation(pick(random)));
        calculate();
        EXPECT_NE(sheets->State(), ssCalculating);
    }
}
