// The cut sequence for the saw refuses a sheet that guillotine cuts cannot take apart, rather than
// giving the cuts found before it.
#include "cli/CutSequenceList.h"
#include "cli/Command.h"

#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <array>

using namespace lintaro;

namespace {

Currency mm(double v) {
    return Currency::fromValue(v);
}

TCuttingSheet* sheetOf(std::initializer_list<std::array<double, 4>> pieces) {
    auto* sheet = new TCuttingSheet(nullptr);
    sheet->Dimension()->SetX(mm(300));
    sheet->Dimension()->SetY(mm(300));
    for (const auto& p : pieces) {
        auto* part = new TCSPartOut(nullptr);
        part->SetPartID(1);
        part->SetPlace(mm(p[0]), mm(p[1]), mm(p[2]), mm(p[3]));
        sheet->Parts()->ItemInsert(part);
    }
    return sheet;
}

TEST(CutSequenceList, ASheetNoGuillotineCutTakesApartIsRefused) {
    ScopedLocale locale{Locale::czech()};
    TScopedApplicationLinks links;
    TSetup setup;
    TApplicationLinks::SetSetup(&setup);
    TOrder order;
    TCuttingSheetList* sheets = order.Sheets()->CuttingSheets();
    sheets->ItemInsert(sheetOf({{0, 0, 300, 100}}));
    EXPECT_EQ(cli::CutSequenceRows(order, "o.LNO").size(), 1); // the one cut that frees the part
    // A pinwheel: every line across the sheet crosses a piece.
    sheets->ItemInsert(
        sheetOf({{0, 0, 200, 100}, {200, 0, 100, 200}, {100, 200, 200, 100}, {0, 100, 100, 200}}));
    try {
        cli::CutSequenceRows(order, "o.LNO");
        ADD_FAILURE() << "the pinwheel was given a sequence";
    } catch (const cli::InputError& e) {
        EXPECT_STREQ(e.what(), "o.LNO: sheet 2 is not cut by guillotine cuts: it has no cut sequence");
    }
}

} // namespace
