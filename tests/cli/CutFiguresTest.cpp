// The cuts worked out again from where the pieces of a plan lie.
#include "cli/CutFigures.h"

#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Setup.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

using namespace lintaro;

namespace {

Currency mm(double v) {
    return Currency::fromValue(v);
}

struct Piece {
    double ox, oy, x, y;
    bool rest = false;
};

struct CutCase {
    const char* name;
    double x, y;
    std::vector<Piece> pieces;
    int cuts;
    double length; // mm
};

void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.name;
}

class CutFigures : public ::testing::TestWithParam<CutCase> {
protected:
    void SetUp() override { TApplicationLinks::SetSetup(&setup_); }
    void TearDown() override { TApplicationLinks::SetSetup(nullptr); }
    ScopedLocale locale_{Locale::czech()};
    TSetup setup_;
};

} // namespace

TEST_P(CutFigures, CountsEveryCutOnce) {
    const CutCase& c = GetParam();
    TCuttingSheet sheet;
    sheet.Dimension()->SetX(mm(c.x));
    sheet.Dimension()->SetY(mm(c.y));
    for (const Piece& p : c.pieces) {
        if (p.rest) {
            auto* r = new TCSDimOut(nullptr);
            r->SetPlace(mm(p.ox), mm(p.oy), mm(p.x), mm(p.y));
            r->SetIsRecyable(true);
            sheet.Rests()->ItemInsert(r);
        } else {
            auto* part = new TCSPartOut(nullptr);
            part->SetPartID(1);
            part->SetPlace(mm(p.ox), mm(p.oy), mm(p.x), mm(p.y));
            sheet.Parts()->ItemInsert(part);
        }
    }
    const cli::TCutFigures cuts = cli::CountCuts(sheet, mm(4));
    EXPECT_EQ(cuts.Count, c.cuts);
    EXPECT_EQ(cuts.Length, mm(c.length));
}

INSTANTIATE_TEST_SUITE_P(
    Plans, CutFigures,
    ::testing::Values(
        CutCase{"WholeSheet", 1000, 500, {{0, 0, 1000, 500}}, 0, 0}, CutCase{"Empty", 1000, 500, {}, 0, 0},
        CutCase{"OneCutAcross", 1000, 500, {{0, 0, 600, 500}}, 1, 500},
        CutCase{"TrimBothWays", 1000, 500, {{0, 0, 600, 300}}, 2, 1100},
        // The kerf between two pieces is one cut; the waste at the end is another.
        CutCase{"TwoSideBySide", 1000, 500, {{0, 0, 496, 500}, {500, 0, 496, 500}}, 2, 1000},
        CutCase{"GridOfFour",
                996,
                496,
                {{0, 0, 496, 246}, {500, 0, 496, 246}, {0, 250, 496, 246}, {500, 250, 496, 246}},
                3,
                1488},
        // A reusable rest is cut out like a piece and needs no trimming of its own.
        CutCase{"RestBeside", 1000, 500, {{0, 0, 600, 500}, {604, 0, 396, 500, true}}, 1, 500},
        // Strips across Y, each cut into pieces along X.
        CutCase{"Strips", 1000, 604, {{0, 0, 500, 300}, {504, 0, 496, 300}, {0, 304, 1000, 300}}, 2, 1300}),
    [](const ::testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });
