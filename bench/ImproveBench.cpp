// The improvement stage on the shared benchmark data, one line of figures per instance and a total:
//
//   lintaro-bench-improve orders DIR [--improve S] [--only NAME] [--deterministic N] [--seed N]
//       the workshop orders written by realistic/gen_orders.py (NAME.csv with NAME.LNM)
//   lintaro-bench-improve classic DATA_DIR [--improve S] [--classes A-B] [--size N] [--per-class N]
//       [--only NAME,NAME] [--deterministic N] [--seed N]
//       the classic classes listed in DATA_DIR/peers_gdrr1s_guillotinepacker.csv, oriented, no kerf,
//       compared per class with that file's sheets and with the best known values
//
// --seed sets the seed of the stage's random choices (the calculator's own otherwise).
// Without --improve the calculation is the sheet-by-sheet search alone, on the real clock. Every
// plan is checked with the tests' plan checker; a failed check is printed and counted.
#include "PeakMemory.h"
#include "PlanChecker.h"
#include "calc/Calculator.h"
#include "foundation/Program.h"
#include "foundation/Units.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>

using namespace lintaro;
using lintaro::bench::peakMemoryKiB;
using lintaro::bench::resetPeakMemory;

namespace {

class TBenchOrder : public TDataComponent {
    LINTARO_COMPONENT(TBenchOrder)
public:
    explicit TBenchOrder(TComponent* owner = nullptr) : TDataComponent(owner) {}
};

struct Outcome {
    int sheets = 0;
    double stockArea = 0; // mm²
    int unplaced = 0;
    double seconds = 0;
    long peakKiB = 0;
    int failedChecks = 0;
    TCSCalculator::TRunFigures figures;
};

// Calculates the parts on the current material and checks every plan.
Outcome calculate(TPartList* parts, TSheets* sheets, const TSetup& setup) {
    Outcome o;
    resetPeakMemory();
    const auto start = std::chrono::steady_clock::now();
    sheets->Calculate();
    o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    o.peakKiB = peakMemoryKiB();
    o.figures = TCSCalculator::LastRunFigures();
    o.unplaced = sheets->PartsUnusedCount();
    const TMaterial* material = sheets->Material();
    for (int i = 0; i < sheets->CuttingSheets()->ItemCount(); ++i) {
        const TCuttingSheet* s = sheets->CuttingSheets()->Sheet(i);
        const TDimension* d = s->Dimension();
        o.sheets += s->Count();
        o.stockArea += double(d->StoredX().toValue()) * double(d->StoredY().toValue()) * s->Count();
        test::CheckSheet c;
        c.x = d->StoredX().raw();
        c.y = d->StoredY().raw();
        c.grain = int(material->HasOrientation() ? d->Orientation() : doNone);
        c.kerf = material->StoredCutWidth().raw();
        c.maxCut = LengthFromUser(setup.SheetsMaxCutLength()).raw();
        for (int j = 0; j < s->Parts()->ItemCount(); ++j) {
            const TCSPartOut* p = s->Parts()->PartOut(j);
            const TPart* part = static_cast<const TPart*>(parts->FindItem(-p->PartID()));
            c.pieces.push_back({p->OX().raw(), p->OY().raw(), p->X().raw(), p->Y().raw(),
                                part ? int(part->Orientation()) : 0, p->IsRotated(),
                                part ? part->StoredX().raw() : 0, part ? part->StoredY().raw() : 0});
        }
        const std::string fault = test::CheckSheetPlan(c);
        if (!fault.empty()) {
            ++o.failedChecks;
            std::printf("  plan check failed on sheet %d: %s\n", i + 1, fault.c_str());
        }
    }
    return o;
}

int orders(const QString& dir, const QString& only, TSetup& setup) {
    const QStringList names = QDir(dir).entryList({QStringLiteral("*.LNM")}, QDir::Files, QDir::Name);
    double totalEquivalents = 0, totalSeconds = 0, worstOver = -1e9, totalBound = 0;
    int failed = 0, unplaced = 0;
    long peak = 0;
    for (const QString& file : names) {
        const QString name = file.chopped(4);
        if (!only.isEmpty() && !name.startsWith(only))
            continue;
        TMaterial material;
        if (!material.LoadFromFile(dir + u'/' + file)) {
            std::printf("%s: cannot read the material\n", qPrintable(name));
            return 2;
        }
        TApplicationLinks::SetMaterial(&material);
        TBenchOrder order;
        auto* parts = new TPartList(&order);
        auto* sheets = new TSheets(&order);
        if (!parts->LoadAsCSV(dir + u'/' + name + QStringLiteral(".csv"))) {
            std::printf("%s: %s\n", qPrintable(name), qPrintable(parts->ErrorString()));
            return 2;
        }
        int pieces = 0; // the list's empty row for a new part is no piece
        for (int i = 0; i < parts->ItemCount(); ++i)
            if (parts->Part(i)->IsValid())
                pieces += parts->Part(i)->Count();
        // The main stock size (the largest) is the unit of sheet equivalents.
        double unit = 0;
        for (int i = 0; i < material.Dims()->ItemCount(); ++i) {
            const TDimension* d = material.Dims()->Dimension(i);
            unit = std::max(unit, double(d->StoredX().toValue()) * double(d->StoredY().toValue()));
        }
        const Outcome o = calculate(parts, sheets, setup);
        const double equivalents = o.stockArea / unit;
        // The bound in the same sheet equivalents (its area is in m², the unit's in mm²).
        const double boundEquivalents = o.figures.bound.stockArea * 1e6 / unit;
        totalBound += boundEquivalents;
        totalEquivalents += equivalents;
        totalSeconds += o.seconds;
        failed += o.failedChecks;
        unplaced += o.unplaced;
        peak = std::max(peak, o.peakKiB);
        if (setup.SheetsImprove())
            worstOver = std::max(worstOver, o.seconds - setup.SheetsImproveTime());
        std::printf("%-24s pieces %4d  sheets %3d  equivalents %7.3f  bound %7.3f  first pass %3d  %6.2f s  "
                    "%6.1f MiB  %9lld + %9lld expansions  unplaced %d  checks %s\n",
                    qPrintable(name), pieces, o.sheets, equivalents, boundEquivalents, o.figures.sheetsBefore,
                    o.seconds, o.peakKiB / 1024.0, (long long)o.figures.expansions,
                    (long long)o.figures.improveExpansions, o.unplaced, o.failedChecks ? "FAILED" : "ok");
        std::fflush(stdout);
        TApplicationLinks::SetMaterial(nullptr);
    }
    std::printf(
        "TOTAL equivalents %.3f  bound %.3f  time %.1f s  peak %.1f MiB  unplaced %d  failed checks %d",
        totalEquivalents, totalBound, totalSeconds, peak / 1024.0, unplaced, failed);
    if (setup.SheetsImprove())
        std::printf("  largest time over SheetsImproveTime %+.2f s", worstOver);
    std::printf("\n");
    return failed ? 1 : 0;
}

std::vector<QStringList> readCsv(const QString& path) {
    std::vector<QStringList> rows;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    QTextStream in(&f);
    in.readLine();
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty())
            rows.push_back(line.split(u','));
    }
    return rows;
}

// The classic instances are scaled by this factor to millimetres, so that the smallest pieces keep
// exact areas in the program's four decimals of square metres.
constexpr int kScale = 100;

int classic(const QString& dataDir, int firstClass, int lastClass, int perClass, int size,
            const QString& only, TSetup& setup) {
    std::map<QString, int> bestKnown;
    for (const QStringList& row : readCsv(dataDir + QStringLiteral("/data_bin_packing_oriented.csv")))
        bestKnown[row.value(0)] = row.value(1).toInt();
    std::map<QString, int> l2, threeStage;
    for (const QStringList& row :
         readCsv(dataDir + QStringLiteral("/peers_packingsolver1s_rectanglebinpack.csv"))) {
        l2[row.value(0)] = row.value(3).toInt();
        threeStage[row.value(0)] = row.value(4).toInt();
    }
    struct ClassTotal {
        int sheets = 0, peer = 0, bound = 0, instances = 0;
        int threeStage = 0, l2 = 0, ours = 0, atBound = 0;
        double seconds = 0;
        long peakKiB = 0;
    };
    int boundAboveBest = 0;
    std::map<int, ClassTotal> totals;
    int failed = 0;
    long peak = 0;
    for (const QStringList& row : readCsv(dataDir + QStringLiteral("/peers_gdrr1s_guillotinepacker.csv"))) {
        const QString path = row.value(0);
        const int cls = path.section(QStringLiteral("Class_"), 1).left(2).toInt();
        if (cls < firstClass || cls > lastClass)
            continue;
        if (size > 0 && !path.contains(QStringLiteral("_%1_").arg(size)))
            continue;
        if (!only.isEmpty() && !only.split(u',').contains(path.section(u'/', 1)))
            continue;
        ClassTotal& total = totals[cls];
        if (perClass > 0 && total.instances >= perClass)
            continue;
        const std::vector<QStringList> bins = readCsv(dataDir + u'/' + path + QStringLiteral("_bins.csv"));
        const std::vector<QStringList> items = readCsv(dataDir + u'/' + path + QStringLiteral("_items.csv"));
        if (bins.empty() || items.empty()) {
            std::printf("%s: cannot read the instance\n", qPrintable(path));
            return 2;
        }
        const int binX = bins[0].value(1).toInt() * kScale;
        const int binY = bins[0].value(2).toInt() * kScale;
        TMaterial material;
        material.CreateNew();
        material.SetHasOrientation(true);
        material.SetCutWidth(Currency());
        material.SetMinRecyDim(Currency::fromInteger(kScale));
        material.SetMinRecyArea(Currency());
        auto* d = new TDimension(nullptr);
        material.Dims()->ItemInsert(d);
        d->SetX(Currency::fromInteger(binX));
        d->SetY(Currency::fromInteger(binY));
        d->SetCount(0);
        d->SetIsDefault(true);
        d->SetOrientation(doX);
        setup.SetSheetsMaxCutLength(Currency::fromInteger(std::max(binX, binY)));
        TApplicationLinks::SetMaterial(&material);
        TBenchOrder order;
        auto* parts = new TPartList(&order);
        auto* sheets = new TSheets(&order);
        std::map<std::pair<int, int>, TPart*> byShape;
        for (const QStringList& item : items) {
            const int x = item.value(1).toInt() * kScale;
            const int y = item.value(2).toInt() * kScale;
            TPart*& p = byShape[{x, y}];
            if (p) {
                p->SetCount(p->Count() + 1);
                continue;
            }
            p = new TPart(nullptr);
            p->SetCaption(QStringLiteral("I%1").arg(item.value(0)));
            p->SetX(Currency::fromInteger(x));
            p->SetY(Currency::fromInteger(y));
            p->SetCount(1);
            p->SetOrientation(poX);
            parts->ItemInsert(p);
        }
        const Outcome o = calculate(parts, sheets, setup);
        const int peer = row.value(2).toInt();
        const int bound = bestKnown.count(path) ? bestKnown[path] : 0;
        const int ours = o.figures.bound.sheets;
        total.sheets += o.sheets;
        total.peer += peer;
        total.bound += bound;
        total.seconds += o.seconds;
        total.threeStage += threeStage.count(path) ? threeStage[path] : 0;
        total.l2 += l2.count(path) ? l2[path] : 0;
        total.ours += ours;
        total.atBound += o.sheets == ours ? 1 : 0;
        total.peakKiB = std::max(total.peakKiB, o.peakKiB);
        ++total.instances;
        // The lower bound is true only if it never exceeds a known solution.
        if (bound > 0 && ours > bound) {
            ++boundAboveBest;
            std::printf("  lower bound %d above the best known %d\n", ours, bound);
        }
        failed += o.failedChecks + (o.unplaced ? 1 : 0);
        peak = std::max(peak, o.peakKiB);
        std::printf("%-34s sheets %3d  first pass %3d  peer %3d  best known %3d  bound %3d  L2 %3d  %5.2f s  "
                    "%6.1f MiB%s\n",
                    qPrintable(path), o.sheets, o.figures.sheetsBefore, peer, bound, ours,
                    l2.count(path) ? l2[path] : 0, o.seconds, o.peakKiB / 1024.0,
                    o.failedChecks || o.unplaced ? "  FAILED" : "");
        std::fflush(stdout);
        TApplicationLinks::SetMaterial(nullptr);
    }
    ClassTotal all;
    for (const auto& [cls, t] : totals) {
        std::printf("class %2d  instances %3d  sheets %5d  peer %5d  best known %5d  three-stage best %5d  "
                    "L2 %5d  our bound %5d  at bound %3d  time %7.1f s  peak %6.1f MiB\n",
                    cls, t.instances, t.sheets, t.peer, t.bound, t.threeStage, t.l2, t.ours, t.atBound,
                    t.seconds, t.peakKiB / 1024.0);
        all.sheets += t.sheets;
        all.peer += t.peer;
        all.bound += t.bound;
        all.threeStage += t.threeStage;
        all.l2 += t.l2;
        all.ours += t.ours;
        all.atBound += t.atBound;
        all.instances += t.instances;
        all.seconds += t.seconds;
    }
    std::printf(
        "TOTAL instances %d  sheets %d  peer %d  best known %d  three-stage best %d  L2 %d  our bound %d  "
        "at bound %d  time %.1f s  peak %.1f MiB  failed %d  bound above best known %d\n",
        all.instances, all.sheets, all.peer, all.bound, all.threeStage, all.l2, all.ours, all.atBound,
        all.seconds, peak / 1024.0, failed, boundAboveBest);
    return failed || boundAboveBest ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    InitProgramValues();
    TSetup setup;
    setup.SetSheetsImprove(false); // the search alone unless --improve says otherwise
    TApplicationLinks::SetSetup(&setup);
    InstallCalculator();
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: lintaro-bench-improve orders DIR | classic DATA_DIR [options]\n");
        return 2;
    }
    QString only;
    int firstClass = 1, lastClass = 10, perClass = 0, size = 0;
    std::unique_ptr<VirtualClock> clock;
    for (int i = 3; i < args.size(); ++i) {
        if (args[i] == "--improve" && i + 1 < args.size()) {
            setup.SetSheetsImprove(true);
            setup.SetSheetsImproveTime(args[++i].toInt());
        } else if (args[i] == "--only" && i + 1 < args.size()) {
            only = args[++i];
        } else if (args[i] == "--classes" && i + 1 < args.size()) {
            const QStringList v = args[++i].split(u'-');
            firstClass = v.value(0).toInt();
            lastClass = v.value(1, v.value(0)).toInt();
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            size = args[++i].toInt();
        } else if (args[i] == "--per-class" && i + 1 < args.size()) {
            perClass = args[++i].toInt();
        } else if (args[i] == "--seed" && i + 1 < args.size()) {
            TCSCalculator::SetImproveSeed(args[++i].toULongLong());
        } else if (args[i] == "--deterministic" && i + 1 < args.size()) {
            clock = std::make_unique<VirtualClock>(args[++i].toDouble());
            SetCurrentClock(clock.get());
        }
    }
    std::printf("stage %s, %d s\n", setup.SheetsImprove() ? "on" : "off", setup.SheetsImproveTime());
    const int rc = args[1] == "orders" ? orders(args[2], only, setup)
                                       : classic(args[2], firstClass, lastClass, perClass, size, only, setup);
    SetCurrentClock(nullptr);
    return rc;
}
