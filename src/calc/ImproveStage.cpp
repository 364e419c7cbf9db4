#include "calc/ImproveStage.h"

#include "foundation/NumberFormat.h"
#include "foundation/Program.h"
#include "foundation/TextFormat.h"
#include "foundation/Units.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Part.h"
#include "model/Sheets.h"

#include <algorithm>

namespace lintaro {

namespace {

const QString kSection = QStringLiteral("TSheets");

// Raw mm² as m², the unit of the program's areas.
Currency squareMetres(int64_t rawSquareMm) {
    return Currency::fromRaw((rawSquareMm + 500000) / 1000000);
}

// Single parts that have no pieces left and types that have no single part left leave the demand,
// as they do after a stored sheet.
void dropPlaced(TCSPartInList& demand) {
    for (int t = demand.ItemCount() - 1; t >= 0; --t) {
        TCSPartIn* type = demand.PartIn(t);
        TCSSinglePartInList* singles = type->SingleParts();
        for (int i = singles->ItemCount() - 1; i >= 0; --i)
            if (singles->Single(i)->Count() == 0)
                singles->ItemDelete(singles->Single(i));
        if (type->Count() == 0)
            demand.ItemDelete(type);
    }
}

} // namespace

TImproveStage::TImproveStage(TSheets* sheets, const TCSPartInList& demand, const TSearchSettings& search)
    : sheets_(sheets), demand_(std::make_unique<TCSPartInList>(nullptr)), search_(search) {
    demand_->Assign(&demand);
    for (int i = 0; i < demand_->ItemCount(); ++i) {
        const TCSPartIn* t = demand_->PartIn(i);
        types_.push_back({t->ID(), t->StoredX().raw(), t->StoredY().raw(), t->Orientation(), t->Count()});
        demandPieces_ += t->Count();
    }
    TDimensionList* dims = sheets->Material()->Dims();
    const TDimension* defaultDim = dims->DefaultDim();
    // The calculator scans the sorted sizes from the last to the first; stopped sizes are never used.
    for (int i = dims->ItemCount() - 1; i >= 0; --i) {
        TDimension* d = dims->Dimension(i);
        allDims_.push_back(d);
        initialCounts_.push_back(d->Count());
        if (d->IsStopped())
            continue;
        TCSDimOut root;
        root.AssignFromDimension(*d);
        dims_.push_back(d);
        stocks_.push_back({root.X().raw(), root.Y().raw(), root.Orientation(), d->Count(), d == defaultDim,
                           d->IsPrefered() || d->IsRest()});
    }
}

TImproveStage::~TImproveStage() = default;

int TImproveStage::TypeIndexOf(int64_t x, int64_t y, TCSPartInOrientation orientation) const {
    for (size_t i = 0; i < types_.size(); ++i)
        if (types_[i].x == x && types_[i].y == y && types_[i].orientation == orientation)
            return int(i);
    return -1;
}

int TImproveStage::stockIndexOf(const TDimension* dim) const {
    for (size_t i = 0; i < dims_.size(); ++i)
        if (dims_[i] == dim)
            return int(i);
    return -1;
}

void TImproveStage::AddStored(const TSearchPlan& plan, const std::vector<int>& typeIndex,
                              const TDimension* dim, int count) {
    const int stock = stockIndexOf(dim);
    TImproveSheet sheet;
    sheet.stock = stock;
    for (TSearchPiece p : plan.pieces) {
        p.type = typeIndex[size_t(p.type)];
        if (p.type < 0)
            valid_ = false;
        sheet.partsArea += ImproveAreaKey(p.w, p.h);
        sheet.pieces.push_back(p);
    }
    sheet.rests = plan.rests;
    if (stock < 0)
        valid_ = false;
    for (int i = 0; i < count; ++i)
        start_.sheets.push_back(sheet);
}

int TImproveStage::sheetCount(const TImproveResult& r) const {
    return int(r.sheets.size());
}

bool TImproveStage::meetsBound(const TImproveResult& r) const {
    if (!bound_.valid)
        return false;
    int64_t placed = 0;
    double area = 0;
    for (const TImproveSheet& sheet : r.sheets) {
        placed += int64_t(sheet.pieces.size());
        const TImproveStock& stock = stocks_[size_t(sheet.stock)];
        area += double(stock.x) * double(stock.y) / 1e14;
    }
    if (placed < demandPieces_)
        return false;
    if (bound_.oneSize)
        return sheetCount(r) <= bound_.sheets;
    return area <= bound_.stockArea * (1 + 1e-9);
}

void TImproveStage::Run(const TImproveControl& control, const TImproveSettings& settings) {
    result_ = start_;
    if (!valid_ || start_.sheets.empty())
        return;
    TImproveSettings s = settings;
    s.search = search_;
    TPlanImprover improver(types_, stocks_, s);
    TImproveControl c = control;
    c.unbeatable = [this](const TImproveResult& r) { return meetsBound(r); };
    result_ = improver.Improve(start_, c);
    expansions_ = improver.Expansions();
    const TImproveScore before = improver.ScoreOf(start_);
    const TImproveScore after = improver.ScoreOf(result_);
    const bool better = TPlanImprover::Better(after, before);
    const auto areaText = [](const TImproveScore& s) {
        return FormatWithUnit(AreaToUser(squareMetres(s.stockArea)), 2, AreaUnit());
    };
    if (better) {
        sheets_->AppendReportLine(
            FormatText(GetText(kSection, QStringLiteral("CalculationReportImproved")),
                       {QString::number(sheetCount(start_)), QString::number(sheetCount(result_)),
                        areaText(before), areaText(after)}));
        replaceResult();
    } else {
        result_ = start_;
        sheets_->AppendReportLine(
            FormatText(GetText(kSection, QStringLiteral("CalculationReportNotImproved")),
                       {QString::number(sheetCount(start_)), areaText(before)}));
    }
}

void TImproveStage::replaceResult() {
    TCuttingSheetList* list = sheets_->CuttingSheets();
    while (list->ItemCount() > 0)
        list->ItemDelete(list->Item(list->ItemCount() - 1));

    std::vector<int> used(dims_.size(), 0);
    for (const TImproveSheet& s : result_.sheets)
        ++used[size_t(s.stock)];
    for (size_t i = 0; i < allDims_.size(); ++i) {
        const auto it = std::find(dims_.begin(), dims_.end(), allDims_[i]);
        const int taken = it == dims_.end() ? 0 : used[size_t(it - dims_.begin())];
        // The default size may go below 0, as in the search.
        allDims_[i]->SetCountDirect(initialCounts_[i] - taken);
    }

    // Fuller sheets first within each size, the sizes in the calculator's order.
    std::vector<const TImproveSheet*> order;
    for (const TImproveSheet& s : result_.sheets)
        order.push_back(&s);
    std::stable_sort(order.begin(), order.end(), [](const TImproveSheet* a, const TImproveSheet* b) {
        if (a->stock != b->stock)
            return a->stock < b->stock;
        return a->partsArea > b->partsArea;
    });

    // Each piece takes the first order part of its type that still has pieces; identical sheets
    // whose pieces belong to the same order parts become one sheet with a count.
    TCSPartInList open(nullptr);
    open.Assign(demand_.get());
    struct Group {
        const TImproveSheet* sheet;
        std::vector<TCSSinglePartIn*> singles;
        int count;
    };
    std::vector<Group> groups;
    for (const TImproveSheet* s : order) {
        std::vector<TCSSinglePartIn*> singles;
        for (const TSearchPiece& p : s->pieces) {
            TCSSinglePartInList* list = open.PartIn(p.type)->SingleParts();
            TCSSinglePartIn* single = nullptr;
            for (int i = 0; i < list->ItemCount() && !single; ++i)
                if (list->Single(i)->Count() > 0)
                    single = list->Single(i);
            if (!single)
                single = list->Single(0); // cannot happen: the stage places no more than the demand
            single->SetCount(single->Count() - 1);
            singles.push_back(single);
        }
        auto same = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
            return TPlanImprover::SamePlan(*g.sheet, *s) && g.singles == singles;
        });
        if (same != groups.end())
            ++same->count;
        else
            groups.push_back({s, std::move(singles), 1});
    }

    const TMaterial* material = sheets_->Material();
    const Currency minArea = material->StoredMinRecyArea();
    const Currency minDim = material->StoredMinRecyDim();
    TCSPartInList after(nullptr);
    after.Assign(demand_.get());
    for (const Group& g : groups) {
        auto* sheet = new TCuttingSheet(nullptr);
        const TDimension* dim = dims_[size_t(g.sheet->stock)];
        sheet->Dimension()->Assign(dim);
        sheet->Dimension()->SetCountDirect(g.count);
        for (size_t k = 0; k < g.sheet->pieces.size(); ++k) {
            const TSearchPiece& p = g.sheet->pieces[k];
            const TCSPartIn* type = open.PartIn(p.type);
            const TPart* part = g.singles[k]->Part();
            auto* placed = new TCSPartOut(nullptr);
            placed->SetPartID(part ? part->ID() : 0);
            placed->SetCaption(part ? part->Caption() : QString());
            placed->SetOriginal(type->StoredX(), type->StoredY());
            placed->SetPlace(Currency::fromRaw(p.ox), Currency::fromRaw(p.oy), Currency::fromRaw(p.w),
                             Currency::fromRaw(p.h));
            placed->SetIsRotated(p.rotated);
            sheet->Parts()->ItemInsert(placed);
            if (part)
                if (TCSSinglePartIn* s = after.FindSinglePartByPartID(part->ID()))
                    s->SetCount(s->Count() - g.count);
        }
        for (const TSearchRest& r : g.sheet->rests) {
            auto* rest = new TCSDimOut(nullptr);
            rest->SetPlace(Currency::fromRaw(r.ox), Currency::fromRaw(r.oy), Currency::fromRaw(r.x),
                           Currency::fromRaw(r.y));
            rest->SetOrientation(r.orientation);
            if (rest->StoredArea() >= minArea && rest->X() >= minDim && rest->Y() >= minDim) {
                rest->SetIsRecyable(true);
                sheet->Rests()->ItemInsert(rest);
                rest->SetID(0);
            } else {
                delete rest;
            }
        }
        dropPlaced(after);
        sheet->PartsIn()->Assign(&after);
        sheet->SetID(0);
        list->ItemInsert(sheet);
        if (!list->ItemFocused())
            list->SetItemFocused(sheet);
        sheets_->AppendReportLine(
            FormatText(GetText(kSection, QStringLiteral("CalculationReportCuttingSheet")),
                       {sheet->GetPropAsString("Index"), sheet->GetPropAsString("X"),
                        sheet->GetPropAsString("Y"), sheet->GetPropAsString("Count")}));
    }
}

} // namespace lintaro
