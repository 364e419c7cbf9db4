#include "CalcFixture.h"

#include "foundation/Units.h"
#include "support/TestSupport.h"

namespace lintaro::test {

namespace {
Currency mm(double v) {
    return Currency::fromValue(v);
}
} // namespace

CalcFixture::CalcFixture() {
    initProgramForTests();
    // The search alone unless a test turns the improvement stage on (it is on in new settings).
    setup.SetSheetsImprove(false);
    TApplicationLinks::SetSetup(&setup);
    TApplicationLinks::SetMaterial(&material);
    InstallCalculator();
    SetCurrentClock(&clock);
    parts = new TPartList(&order);
    sheets = new TSheets(&order);
    material.CreateNew();
    material.SetHasOrientation(false);
    material.SetCutWidth(mm(4));
}

CalcFixture::~CalcFixture() {
    SetCurrentClock(nullptr);
}

TPart* CalcFixture::addPart(const QString& caption, double x, double y, int count, TPartOrientation o) {
    auto* p = new TPart(nullptr);
    p->SetCaption(caption);
    p->SetX(mm(x));
    p->SetY(mm(y));
    p->SetCount(count);
    p->SetOrientation(o);
    parts->ItemInsert(p);
    return p;
}

TDimension* CalcFixture::addDim(double x, double y, int count, bool isDefault) {
    auto* d = new TDimension(nullptr);
    material.Dims()->ItemInsert(d);
    d->SetX(mm(x));
    d->SetY(mm(y));
    d->SetCount(count);
    d->SetIsDefault(isDefault);
    return d;
}

std::map<int, int> CalcFixture::placedPerPart() const {
    std::map<int, int> placed;
    TCuttingSheetList* result = sheets->CuttingSheets();
    for (int i = 0; i < result->ItemCount(); ++i) {
        const TCuttingSheet* s = result->Sheet(i);
        for (int j = 0; j < s->Parts()->ItemCount(); ++j)
            placed[s->Parts()->PartOut(j)->PartID()] += s->Count();
    }
    return placed;
}

void CalcFixture::calculate() {
    // Counts of the stock before the calculation, by dimension ID.
    std::map<int, int> stock;
    std::map<int, bool> isDefault;
    for (int i = 0; i < material.Dims()->ItemCount(); ++i) {
        const TDimension* d = material.Dims()->Dimension(i);
        stock[d->ID()] = d->Count();
        isDefault[d->ID()] = d->IsDefault();
    }
    sheets->Calculate();

    TCuttingSheetList* result = sheets->CuttingSheets();
    std::map<int, int> used;
    for (int i = 0; i < result->ItemCount(); ++i) {
        const TCuttingSheet* s = result->Sheet(i);
        const TDimension* d = s->Dimension();
        used[d->ID()] += s->Count();
        CheckSheet c;
        c.x = d->StoredX().raw();
        c.y = d->StoredY().raw();
        c.grain = int(sheets->Material()->HasOrientation() ? d->Orientation() : doNone);
        c.kerf = sheets->Material()->StoredCutWidth().raw();
        c.maxCut = LengthFromUser(setup.SheetsMaxCutLength()).raw();
        for (int j = 0; j < s->Parts()->ItemCount(); ++j) {
            const TCSPartOut* p = s->Parts()->PartOut(j);
            const TPart* part = static_cast<const TPart*>(parts->FindItem(-p->PartID()));
            ASSERT_NE(part, nullptr);
            c.pieces.push_back({p->OX().raw(), p->OY().raw(), p->X().raw(), p->Y().raw(),
                                int(part->Orientation()), p->IsRotated(), part->StoredX().raw(),
                                part->StoredY().raw()});
        }
        EXPECT_EQ(CheckSheetPlan(c), "") << "sheet " << i + 1;
        for (int j = 0; j < s->Rests()->ItemCount(); ++j)
            EXPECT_TRUE(s->Rests()->Rest(j)->IsRecyable());
    }
    for (const auto& [id, count] : used) {
        if (!isDefault[id]) {
            EXPECT_LE(count, stock[id]) << "dimension " << id << " used more often than stocked";
        }
    }

    const std::map<int, int> placed = placedPerPart();
    int open = 0;
    for (int i = 0; i < parts->ItemCount(); ++i) {
        const TPart* p = parts->Part(i);
        if (!p->IsValid())
            continue;
        const int n = placed.count(p->ID()) ? placed.at(p->ID()) : 0;
        EXPECT_LE(n, p->Count()) << p->Caption().toStdString();
        open += p->Count() - n;
    }
    EXPECT_EQ(sheets->PartsUnusedCount(), open);
    if (sheets->State() == ssCalculatedOK) {
        EXPECT_EQ(open, 0);
    }
}

int sheetTotal(const TSheets* sheets) {
    int total = 0;
    for (int i = 0; i < sheets->CuttingSheets()->ItemCount(); ++i)
        total += sheets->CuttingSheets()->Sheet(i)->Count();
    return total;
}

} // namespace lintaro::test
