#include "calc/Calculator.h"

#include "calc/ImproveStage.h"

#include "foundation/Program.h"
#include "foundation/TextFormat.h"
#include "foundation/Units.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "platform/Clock.h"
#include "platform/Locale.h"

#include <QDateTime>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <limits>

namespace lintaro {

namespace {
const QString kSection = QStringLiteral("TSheets");
// Beyond this many queued nodes the beam narrows to one child: the specified search can queue
// millions of nodes in its wide-beam seconds on a fast machine, gigabytes of memory.
size_t g_queueLimit = 100000;
TCSCalculator::TRunFigures g_lastRun;

// With the improvement stage on, the first pass runs on a virtual clock of this many expansions per
// second for every piece of the order (within the bounds below): its beam narrows after a number of
// expansions that does not depend on the machine, and the stage gets most of the time.
constexpr double kFirstPassEffort = 40000;
constexpr double kFirstPassPaceMin = 25;
constexpr double kFirstPassPaceMax = 400;
// The stage's rounds, in expansions per worker: short enough to share progress between the workers
// often, long enough that starting the threads costs nothing.
constexpr int64_t kImproveRound = 20000;
constexpr uint64_t kImproveSeed = 20261208;
uint64_t g_improveSeed = kImproveSeed;

// The first pass's clock when the improvement stage follows: virtual time of its own pace, while
// every expansion also reaches the process clock, so that a virtual process clock counts it.
class TPacedClock : public Clock {
public:
    TPacedClock(double expansionsPerSecond, Clock& outer) : step_(1.0 / expansionsPerSecond), outer_(outer) {}
    double Now() override { return now_; }
    void OnExpansion() override {
        now_ += step_;
        outer_.OnExpansion();
    }

private:
    double step_;
    double now_ = 0;
    Clock& outer_;
};

// Seconds between two showings of the search's progress on one sheet.
constexpr double kProgressInterval = 0.02;

int roundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

QString partOrientationText(TPartOrientation o) {
    return o == poX ? QStringLiteral("X") : o == poY ? QStringLiteral("Y") : QStringLiteral("N");
}
} // namespace

void TCSCalculator::SetQueueLimit(size_t limit) {
    g_queueLimit = limit;
}
size_t TCSCalculator::QueueLimit() {
    return g_queueLimit;
}

void TCSCalculator::SetImproveSeed(uint64_t seed) {
    g_improveSeed = seed;
}

TCSCalculator::TRunFigures TCSCalculator::LastRunFigures() {
    return g_lastRun;
}

TCSCalculator::TCSCalculator(TComponent* owner) : TCalculatorBase(owner) {
    TCSCalculator::InitDefaults();
}

TCSCalculator::~TCSCalculator() = default;

void TCSCalculator::InitDefaults() {
    TCalculatorBase::InitDefaults();
    startTime_ = 0;
    generatedCount_ = processedCount_ = 0;
    SetLastError(0);
    SetStop(false);
    delete partsIn_;
    partsIn_ = new TCSPartInList(this);
    initialPartsCount_ = 0;
    delete bestSheet_;
    bestSheet_ = nullptr;
    currentDimension_ = nullptr;
    search_.reset();
    stage_.reset();
    firstPassClock_.reset();
}

TSheets* TCSCalculator::container() const {
    return FindOwnerOfClass<TSheets>(this);
}

QString TCSCalculator::nowText() const {
    const QDateTime now = QDateTime::currentDateTime();
    return Locale::formatDate(now.date()) + u' ' + now.time().toString(QStringLiteral("HH:mm:ss"));
}

void TCSCalculator::phase(TSheetsCalculationPhase p) {
    container()->CalculationInfo(-1, -1, -1, p, QString());
}

void TCSCalculator::addError(int code, const QString& argument) {
    const QString format = GetText(kSection, QStringLiteral("CaclulationError[%1]").arg(code));
    const QString text = FormatText(format, {argument});
    QString line = QStringLiteral("ERROR #%1").arg(code);
    if (!text.isEmpty())
        line += QStringLiteral(" - ") + text;
    container()->AppendReportLine(line);
    if (LastError() == 0)
        SetLastError(code);
}

bool TCSCalculator::Calculate() {
    TSheets* sheets = container();
    if (!sheets)
        return false;
    try {
        sheets->CalculationInfo(
            0, 0, 0, scpClearResults,
            FormatText(GetText(kSection, QStringLiteral("CalculationReportStart")), {nowText()}));
        sheets->CalculationInfo(1, 0, 0, scpPrepareParams,
                                GetText(kSection, QStringLiteral("CalculationReportPrepareParams")));

        sheets->CalculationInfo(2, 0, 0, scpPrepareDims, QString());
        TDimensionList* dims = sheets->Material()->Dims();
        for (int i = 0; i < dims->ItemCount(); ++i)
            dims->Dimension(i)->SetIsUnUseable(false);
        dims->Sort();

        sheets->CalculationInfo(3, 0, 0, scpPreparePartsIn, QString());
        partsIn_->Clear();
        if (TPartList* parts = sheets->OwnerParts())
            for (int i = 0; i < parts->ItemCount(); ++i)
                partsIn_->AddPart(parts->Part(i));
        initialPartsCount_ = partsIn_->PartsTotalCount();
        sheets->CalculationInfo(5, 0, 0, scpPreparePartsIn, QString());
        stage_.reset();
        firstPassClock_.reset();
        figures_ = {};
        figures_.bound = LowerBoundOf(*sheets);
        const TSetup* setup = TApplicationLinks::Setup();
        if (setup && setup->SheetsImprove()) {
            calculationStart_ = CurrentClock().Now();
            const double pace = std::clamp(kFirstPassEffort / std::max(1, initialPartsCount_),
                                           kFirstPassPaceMin, kFirstPassPaceMax);
            firstPassClock_ = std::make_unique<TPacedClock>(pace, CurrentClock());
            stage_ = std::make_unique<TImproveStage>(sheets, *partsIn_, searchSettings());
            stage_->SetBound(figures_.bound);
        }

        while (!Stop() && LastError() == 0 && partsIn_->PartsTotalCount() > 0) {
            phase(scpPrepareNewCuttingSheet);
            prepareNewCuttingSheet();
            phase(scpSolve);
            solve();
            if (bestSheet_) {
                phase(scpMultiplication);
                multiply();
                phase(scpPreparePartsIn);
                partsIn_->Assign(bestSheet_->PartsIn());
                phase(scpStoreResultCuttingSheet);
                storeResult();
            } else if (currentDimension_) {
                currentDimension_->SetIsUnUseable(true);
            }
        }
        if (stage_ && !Stop() && LastError() == 0)
            improve();
        reportBound();
        if (Stop())
            addError(-1, QString());
    } catch (const std::exception& e) {
        addError(99, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        addError(99, QString());
    }
    search_.reset();
    stage_.reset();
    firstPassClock_.reset();
    g_lastRun = Figures();

    phase(scpAssignUnusedPartsToReport);
    const bool result = LastError() == 0;
    reportUnplacedParts();
    sheets->CalculationInfo(
        0, 0, 0, scpNone, FormatText(GetText(kSection, QStringLiteral("CalculationReportEnd")), {nowText()}));
    return result;
}

void TCSCalculator::prepareNewCuttingSheet() {
    TSheets* sheets = container();
    sheets->SetCalculationSheetProgress(0);
    sheets->SetCalculationSheetNumber(sheets->CalculationSheetNumber() + 1);
    startTime_ = searchClock().Now();

    for (int i = 0; i < partsIn_->ItemCount(); ++i)
        partsIn_->PartIn(i)->SetUsedCounter(0);
    delete bestSheet_;
    bestSheet_ = nullptr;
    currentDimension_ = nullptr;
    generatedCount_ = processedCount_ = 0;

    // Preferred dimensions are sorted last, so the scan from the end takes them first, then rests,
    // then the smallest area and the smallest count.
    TDimensionList* dims = sheets->Material()->Dims();
    for (int i = dims->ItemCount() - 1; i >= 0; --i) {
        TDimension* d = dims->Dimension(i);
        if (d->Count() > 0 && !d->IsUnUseable() && !d->IsStopped()) {
            currentDimension_ = d;
            break;
        }
    }
    if (!currentDimension_)
        currentDimension_ = dims->DefaultDim();

    search_.reset();
    if (!currentDimension_ || currentDimension_->IsUnUseable()) {
        addError(1, QString());
        return;
    }

    std::vector<TSearchPartType> types;
    types.reserve(size_t(partsIn_->ItemCount()));
    for (int i = 0; i < partsIn_->ItemCount(); ++i) {
        const TCSPartIn* t = partsIn_->PartIn(i);
        types.push_back({t->ID(), t->StoredX().raw(), t->StoredY().raw(), t->Orientation(), t->Count()});
    }
    if (stage_) {
        typeIndex_.clear();
        for (const TSearchPartType& t : types)
            typeIndex_.push_back(stage_->TypeIndexOf(t.x, t.y, t.orientation));
    }
    TCSDimOut root;
    root.AssignFromDimension(*currentDimension_);
    search_ = std::make_unique<TSheetSearch>(std::move(types), root.X().raw(), root.Y().raw(),
                                             root.Orientation(), searchSettings(), searchClock());
    search_->Start();
}

TSearchSettings TCSCalculator::searchSettings() const {
    const TMaterial* material = container()->Material();
    const TSetup* setup = TApplicationLinks::Setup();
    TSearchSettings s;
    s.kerf = material->StoredCutWidth().raw();
    s.maxCut = LengthFromUser(setup->SheetsMaxCutLength()).raw();
    s.minRecyDim = material->StoredMinRecyDim().raw();
    s.minRecyArea = material->StoredMinRecyArea().raw();
    s.reductionTimeMin = setup->SheetsReductionTimeMin();
    s.reductionTimeMax = setup->SheetsReductionTimeMax();
    s.queueLimit = g_queueLimit;
    return s;
}

void TCSCalculator::showSheetProgress() {
    // The root is expanded without being counted as generated; never show more than 100.
    if (generatedCount_ > 0) {
        const int progress = roundHalfEven(100.0 * double(processedCount_) / double(generatedCount_));
        container()->SetCalculationSheetProgress(std::min(progress, 100));
    }
}

Clock& TCSCalculator::searchClock() const {
    return firstPassClock_ ? *firstPassClock_ : CurrentClock();
}

void TCSCalculator::solve() {
    if (!search_)
        return;
    // The progress is paced by the real time the window takes, whatever clock the search reads.
    SteadyClock steady;
    while (!Stop() && search_->HasWork()) {
        search_->SolveStep();
        generatedCount_ = search_->Stats().generated;
        processedCount_ = search_->Stats().processed;
        // A window redraws its controls at every change of the progress, which costs more than a
        // step of the search: the progress is shown as often as the window takes events, not at
        // every step.
        const double now = steady.Now();
        if (lastSheetProgress_ < 0 || now - lastSheetProgress_ >= kProgressInterval) {
            lastSheetProgress_ = now;
            showSheetProgress();
        }
    }
    showSheetProgress();
    figures_.expansions += search_->Stats().processed;
    figures_.longestQueue = std::max(figures_.longestQueue, search_->Stats().longestQueue);
    // A stopped search keeps no plan: the sheet is neither multiplied nor stored.
    if (!Stop() && search_->HasBest()) {
        const TSearchPlan plan = search_->BestPlan();
        if (stage_)
            lastPlan_ = plan;
        takeBestPlan(plan);
    }
}

void TCSCalculator::takeBestPlan(const TSearchPlan& plan) {
    delete bestSheet_;
    bestSheet_ = new TCuttingSheet(this);
    bestSheet_->Dimension()->Assign(currentDimension_);
    bestSheet_->Dimension()->SetCountDirect(1);
    bestSheet_->SetMinActualRest(Currency::fromRaw(plan.minActualRest));
    bestSheet_->SetMultiIndex(plan.multiIndex);

    TCSPartInList* demand = bestSheet_->PartsIn();
    demand->Assign(partsIn_);
    std::vector<TCSPartIn*> typeOf;
    for (int i = 0; i < partsIn_->ItemCount(); ++i)
        typeOf.push_back(demand->PartIn(i));
    for (const TSearchPiece& piece : plan.pieces) {
        TCSPartIn* t = typeOf[size_t(piece.type)];
        auto* single = static_cast<TCSSinglePartIn*>(t->SingleParts()->Item(0));
        auto* placed = new TCSPartOut(nullptr);
        placed->SetPartID(single->Part()->ID());
        placed->SetCaption(single->Part()->Caption());
        placed->SetOriginal(t->StoredX(), t->StoredY());
        placed->SetPlace(Currency::fromRaw(piece.ox), Currency::fromRaw(piece.oy), Currency::fromRaw(piece.w),
                         Currency::fromRaw(piece.h));
        placed->SetIsRotated(piece.rotated);
        bestSheet_->Parts()->ItemInsert(placed);
        single->SetCount(single->Count() - 1);
        if (single->Count() == 0)
            t->SingleParts()->ItemDelete(single);
    }
    // Types whose last piece was placed leave the demand; the others keep the order of the search.
    std::vector<TDataComponent*> order;
    for (int index : plan.typeOrder)
        order.push_back(typeOf[size_t(index)]);
    for (size_t i = 0; i < typeOf.size(); ++i)
        if (plan.remaining[i] < 0)
            demand->ItemDelete(typeOf[i]);
    demand->SetItemOrder(order);

    for (const TSearchRest& r : plan.rests) {
        auto* rest = new TCSDimOut(nullptr);
        if (r.isRoot)
            rest->AssignFromDimension(*currentDimension_);
        rest->SetPlace(Currency::fromRaw(r.ox), Currency::fromRaw(r.oy), Currency::fromRaw(r.x),
                       Currency::fromRaw(r.y));
        rest->SetOrientation(r.orientation);
        rest->SetIsTooSmall(r.tooSmall);
        bestSheet_->Rests()->ItemInsert(rest);
    }
}

void TCSCalculator::multiply() {
    TCSPartOutPrintList groups(nullptr);
    groups.AssignFromPartOutList(*bestSheet_->Parts());
    int64_t n = std::numeric_limits<int>::max();
    if (groups.ItemCount() == 0)
        n = 0;
    for (int i = 0; i < groups.ItemCount() && n > 0; ++i) {
        const TCSPartOutPrint* g = groups.Group(i);
        const TCSSinglePartIn* s = bestSheet_->PartsIn()->FindSinglePartByPartID(g->PartID());
        n = s ? std::min<int64_t>(n, s->Count() / g->Count()) : 0;
    }
    if (n > currentDimension_->Count() - 1 && !currentDimension_->IsDefault())
        n = currentDimension_->Count() - 1;
    n = std::max<int64_t>(n, 0);
    if (n == 0)
        return;
    bestSheet_->Dimension()->SetCountDirect(bestSheet_->Count() + int(n));
    for (int i = 0; i < groups.ItemCount(); ++i) {
        const TCSPartOutPrint* g = groups.Group(i);
        for (int t = 0; t < bestSheet_->PartsIn()->ItemCount(); ++t) {
            TCSSinglePartInList* singles = bestSheet_->PartsIn()->PartIn(t)->SingleParts();
            if (TCSSinglePartIn* s = singles->FindByPartID(g->PartID())) {
                s->SetCount(s->Count() - int(n) * g->Count());
                if (s->Count() == 0)
                    singles->ItemDelete(s);
                break;
            }
        }
    }
}

void TCSCalculator::storeResult() {
    TSheets* sheets = container();
    // The default dimension may go below 0: it is used whatever its stock says.
    currentDimension_->SetCountDirect(currentDimension_->Count() - bestSheet_->Count());

    auto* copy = new TCuttingSheet(nullptr);
    copy->Assign(bestSheet_);
    copy->SetID(0);
    TCuttingSheetList* result = sheets->CuttingSheets();
    result->ItemInsert(copy);
    if (!result->ItemFocused())
        result->SetItemFocused(copy);

    const TMaterial* material = sheets->Material();
    const Currency minArea = material->StoredMinRecyArea();
    const Currency minDim = material->StoredMinRecyDim();
    TCSDimOutList* rests = copy->Rests();
    for (int i = rests->ItemCount() - 1; i >= 0; --i) {
        TCSDimOut* r = rests->Rest(i);
        if (r->StoredArea() >= minArea && r->X() >= minDim && r->Y() >= minDim)
            r->SetIsRecyable(true);
        else
            rests->ItemDelete(r);
    }
    for (int i = 0; i < rests->ItemCount(); ++i)
        rests->Rest(i)->SetID(0);

    sheets->AppendReportLine(FormatText(GetText(kSection, QStringLiteral("CalculationReportCuttingSheet")),
                                        {copy->GetPropAsString("Index"), copy->GetPropAsString("X"),
                                         copy->GetPropAsString("Y"), copy->GetPropAsString("Count")}));
    if (initialPartsCount_ > 0)
        sheets->SetCalculationTotalProgress(
            roundHalfEven(5 + (1 - double(partsIn_->PartsTotalCount()) / double(initialPartsCount_)) * 95));
    if (stage_)
        stage_->AddStored(lastPlan_, typeIndex_, currentDimension_, bestSheet_->Count());
}

void TCSCalculator::improve() {
    TSheets* sheets = container();
    phase(scpImprove);
    sheets->SetCalculationSheetProgress(0);
    Clock& clock = CurrentClock();
    // A virtual process clock measures the stage in expansions, so that it ends alike on every
    // machine; the real one in seconds, the first pass included.
    const bool virtualTime = dynamic_cast<VirtualClock*>(&clock) != nullptr;
    const double start = clock.Now();
    const double end = calculationStart_ + TApplicationLinks::Setup()->SheetsImproveTime();
    const auto progress = [&] {
        const double share = end > start ? (clock.Now() - start) / (end - start) : 1;
        sheets->SetCalculationSheetProgress(std::clamp(roundHalfEven(100 * share), 0, 100));
    };
    TImproveControl control;
    if (!virtualTime)
        control.deadline = end;
    control.tick = [&] {
        progress();
        return !Stop();
    };
    control.nextRound = [&](int64_t spent) {
        if (virtualTime)
            for (int64_t i = 0; i < spent; ++i)
                clock.OnExpansion();
        progress();
        return !Stop() && clock.Now() < end;
    };
    // The best count as it falls, in the report that the window and the batch tool show as it grows.
    control.improved = [&](int count) {
        sheets->AppendReportLine(FormatText(GetText(kSection, QStringLiteral("CalculationReportImproving")),
                                            {QString::number(count)}));
    };
    TImproveSettings settings;
    settings.seed = g_improveSeed;
    settings.workers = 2;
    settings.roundExpansions = kImproveRound;
    stage_->Run(control, settings);
    figures_.improveExpansions = stage_->Expansions();
    figures_.sheetsBefore = int(stage_->Start().sheets.size());
    figures_.sheetsAfter = int(stage_->Result().sheets.size());
    // A stop during the stage ends it with the best result so far, which places every part.
    SetStop(false);
    sheets->SetCalculationSheetProgress(100);
    sheets->SetCalculationTotalProgress(100);
}

void TCSCalculator::reportBound() {
    const TCuttingSheetList* list = container()->CuttingSheets();
    int count = 0;
    double area = 0;
    for (int i = 0; i < list->ItemCount(); ++i) {
        const TCuttingSheet* sheet = list->Sheet(i);
        count += sheet->Count();
        area += double(sheet->Dimension()->StoredX().raw()) * double(sheet->Dimension()->StoredY().raw()) /
                1e14 * sheet->Count();
    }
    const bool complete = !Stop() && LastError() == 0 && partsIn_->PartsTotalCount() == 0;
    const QString line = BoundReportLine(figures_.bound, complete, count, area);
    if (!line.isEmpty())
        container()->AppendReportLine(line);
}

void TCSCalculator::reportUnplacedParts() {
    for (int t = 0; t < partsIn_->ItemCount(); ++t) {
        TCSSinglePartInList* singles = partsIn_->PartIn(t)->SingleParts();
        for (int i = 0; i < singles->ItemCount(); ++i) {
            const TCSSinglePartIn* s = singles->Single(i);
            if (s->Count() == 0 || !s->Part())
                continue;
            const TPart* p = s->Part();
            addError(2, QStringLiteral("[%1] %2 (%3x%4%5)")
                            .arg(p->ID())
                            .arg(p->Caption(), p->X().toText(), p->Y().toText(),
                                 partOrientationText(p->Orientation())));
        }
    }
}

void InstallCalculator() {
    TSheets::SetCalculatorFactory(
        [](TSheets* owner) -> TCalculatorBase* { return new TCSCalculator(owner); });
}

} // namespace lintaro
