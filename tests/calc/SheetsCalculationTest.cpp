#include "CalcFixture.h"

#include "foundation/Ini.h"
#include "foundation/Units.h"

#include <QRegularExpression>

using namespace lintaro;
using lintaro::test::CalcFixture;
using lintaro::test::TTestOrder;

namespace {

// Rests of a result are stored with ID 0 and receive fresh IDs when read: "RestN=|0|" becomes
// "RestN=|k|", k counting the rests of each sheet from 1.
QString withFreshRestIDs(const QString& text) {
    QString result = text;
    static const QRegularExpression rest(QStringLiteral("Rest(\\d+)=\\|0\\|"));
    result.replace(rest, QStringLiteral("Rest\\1=|\\1|"));
    return result;
}

} // namespace

class SheetsCalculation : public CalcFixture {};

TEST_F(SheetsCalculation, SuccessfulCalculationLeavesNothingUnused) {
    addDim(1004, 604, 5);
    addPart("Door", 500, 300, 4);
    sheets->SetDimsTakedOff(true);
    sheets->SetRestReturned(true);
    calculate();
    ASSERT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
    EXPECT_EQ(sheets->PartsInCount(), 4);
    EXPECT_EQ(sheets->PartsInArea(), Currency::fromValue(0.6));
    EXPECT_EQ(sheets->PartsUnusedCount(), 0);
    EXPECT_EQ(sheets->PartsUnusedArea(), Currency());
    EXPECT_EQ(sheets->GetPropAsString("PARTSUNUSEDAREA"), "0,000 m2");
    EXPECT_FALSE(sheets->DimsTakedOff());
    EXPECT_FALSE(sheets->RestReturned());
    EXPECT_EQ(sheets->Calculator(), nullptr);
}

TEST_F(SheetsCalculation, StoppedCalculationLeavesPartsUnused) {
    addDim(1004, 604, 10);
    addPart("Door", 500, 300, 12);
    addPart("Shelf", 480, 290, 9);
    sheets->SetDimsTakedOff(true);
    // Stop as the next sheet starts once one is stored, so that a part of the result stays.
    order.onChange = [this](TComponent*, const QString& prop) {
        if (prop == "CalculationSheetNumber" && sheets->CuttingSheets()->ItemCount() > 0 &&
            sheets->Calculator())
            sheets->Calculator()->SetStop(true);
    };
    calculate();
    EXPECT_EQ(sheets->State(), ssCalculatedError);
    EXPECT_TRUE(report().contains("ERROR #-1")) << report().toStdString();
    EXPECT_GT(sheets->PartsUnusedCount(), 0);
    EXPECT_GT(sheets->PartsUnusedArea(), Currency());
    EXPECT_EQ(sheets->PartsUnusedCount(), sheets->PartsInCount() - sheets->CuttingSheets()->PartsCount());
    EXPECT_EQ(sheets->PartsUnusedArea(), sheets->PartsInArea() - sheets->CuttingSheets()->PartsArea());
    EXPECT_LT(sheets->PartsUnusedCount(), 21) << report().toStdString();
    EXPECT_FALSE(sheets->DimsTakedOff());
}

// Under the U.S. system the part list totals square feet piece by piece; a result that placed every
// piece must total the same, or a complete calculation would report parts left over.
TEST_F(SheetsCalculation, SuccessfulCalculationLeavesNothingUnusedInSquareFeet) {
    addDim(2800, 2070, 10);
    addPart("Door", 500, 300, 4); // 0.15 m² = 1.6146 ft² a piece, 0.6 m² = 6.4583 ft² in all
    addPart("Shelf", 333, 271, 7);
    addPart("Top", 1001, 67, 3, poX);
    ScopedLocale us(Locale::unitedStates());
    calculate();
    ASSERT_EQ(sheets->State(), ssCalculatedOK) << report().toStdString();
    EXPECT_EQ(sheets->PartsInArea(), parts->Area());
    EXPECT_EQ(sheets->PartsUnusedCount(), 0);
    EXPECT_EQ(sheets->PartsUnusedArea(), Currency());
    EXPECT_EQ(sheets->GetPropAsString("PARTSUNUSEDAREA"), "0.00 ft2");
}

TEST_F(SheetsCalculation, CalculatedResultSavedAndLoadedBack) {
    addDim(2800, 2070, 1);
    addDim(1200, 800, 2);
    addPart("Door", 500, 300, 9);
    addPart("Dvířka", 333, 271, 5, poY);
    material.SetMinRecyArea(Currency::fromValue(0.05));
    material.SetMinRecyDim(Currency::fromValue(100));
    calculate();
    ASSERT_NE(sheets->State(), ssCalculating);
    ASSERT_GT(sheets->CuttingSheets()->ItemCount(), 0);

    TINI ini;
    sheets->SaveToINI(&ini);
    TTestOrder other;
    new TPartList(&other);
    auto* back = new TSheets(&other);
    back->LoadFromINI(&ini);
    EXPECT_EQ(back->State(), sheets->State());
    EXPECT_EQ(back->CalculationReport(), sheets->CalculationReport());
    EXPECT_EQ(back->CuttingSheets()->ItemCount(), sheets->CuttingSheets()->ItemCount());
    EXPECT_EQ(back->PartsUnusedCount(), sheets->PartsUnusedCount());
    EXPECT_EQ(back->PartsUnusedArea(), sheets->PartsUnusedArea());
    EXPECT_EQ(back->ExtractBrutto(), sheets->ExtractBrutto());
    EXPECT_EQ(back->ExtractNetto(), sheets->ExtractNetto());
    EXPECT_EQ(back->Material()->StoredCutWidth(), material.StoredCutWidth());
    EXPECT_EQ(back->CuttingSheets()->ItemFocused(), back->CuttingSheets()->Item(0));
    for (int i = 0; i < back->CuttingSheets()->ItemCount(); ++i) {
        const TCuttingSheet* s = back->CuttingSheets()->Sheet(i);
        EXPECT_EQ(s->PartsIn()->ItemCount(), 0);
        EXPECT_EQ(s->MultiIndex(), 1);
        EXPECT_EQ(s->Count(), sheets->CuttingSheets()->Sheet(i)->Count());
    }
    TINI again;
    back->SaveToINI(&again);
    EXPECT_EQ(again.ToText(), withFreshRestIDs(ini.ToText()));
}

TEST_F(SheetsCalculation, RecalculationReplacesTheResult) {
    addDim(1004, 604, 5);
    addPart("Door", 500, 300, 4);
    calculate();
    ASSERT_EQ(sheets->CuttingSheets()->ItemCount(), 1);
    const qsizetype lines = sheets->CalculationReport().size();
    parts->Part(0)->SetCount(2);
    calculate();
    ASSERT_EQ(sheets->State(), ssCalculatedOK);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 1);
    EXPECT_EQ(sheets->CuttingSheets()->Sheet(0)->Parts()->ItemCount(), 2);
    EXPECT_EQ(sheets->PartsInCount(), 2);
    EXPECT_EQ(sheets->CalculationReport().size(), lines) << "the report starts afresh";
}
