// Calculates the benchmark orders with the real clock and prints one line per order: sheets used,
// the area lower bound, gross and net extract, wall time, peak memory, nodes expanded and the
// longest queue.
#include "PeakMemory.h"
#include "calc/Calculator.h"
#include "foundation/Program.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QStringList>

#include <malloc.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
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

struct Stock {
    double x, y;
    int count;
};

struct Order {
    std::string name;
    std::vector<Stock> stock;
    // caption, x, y, count, grain rule
    std::vector<std::tuple<QString, double, double, int, TPartOrientation>> parts;
    bool grain = false;
};

Currency mm(double v) {
    return Currency::fromValue(v);
}

Order kitchen() {
    Order o{"kitchen", {{2800, 2070, 10}}, {}, true};
    o.parts = {
        {"Side", 720, 560, 8, poY},           {"Bottom", 564, 560, 4, poNone},
        {"Shelf", 564, 540, 4, poNone},       {"Door", 716, 396, 8, poY},
        {"Drawer front", 396, 176, 6, poX},   {"Back", 716, 596, 4, poNone},
        {"Top rail", 564, 100, 8, poNone},    {"Plinth", 1800, 100, 2, poX},
        {"Worktop end", 600, 40, 2, poNone},  {"Drawer side", 500, 150, 12, poNone},
        {"Drawer back", 364, 150, 6, poNone},
    };
    return o;
}

Order mixed40() {
    Order o{"40 types, two stock sizes", {{2800, 2070, 20}, {2440, 1220, 20}}, {}, false};
    std::mt19937 random(40);
    for (int i = 0; i < 40; ++i)
        o.parts.emplace_back(QStringLiteral("T%1").arg(i + 1),
                             std::uniform_int_distribution<int>(80, 1400)(random),
                             std::uniform_int_distribution<int>(60, 900)(random),
                             std::uniform_int_distribution<int>(1, 4)(random), poNone);
    return o;
}

Order few200() {
    Order o{"200 pieces of 4 types", {{2800, 2070, 30}}, {}, false};
    o.parts = {{"A", 600, 400, 80, poNone},
               {"B", 450, 300, 60, poNone},
               {"C", 800, 150, 40, poNone},
               {"D", 1200, 500, 20, poNone}};
    return o;
}

Order many1000() {
    Order o{"1000 pieces of 150 types", {{2800, 2070, 200}}, {}, false};
    std::mt19937 random(1000);
    int left = 1000;
    for (int i = 0; i < 150; ++i) {
        const int count =
            i == 149 ? left : std::min(left - (149 - i), std::uniform_int_distribution<int>(1, 12)(random));
        left -= count;
        o.parts.emplace_back(QStringLiteral("P%1").arg(i + 1),
                             std::uniform_int_distribution<int>(60, 1200)(random),
                             std::uniform_int_distribution<int>(60, 800)(random), count, poNone);
    }
    return o;
}

QStringList args() {
    return QCoreApplication::arguments();
}

void run(const Order& o) {
    TMaterial material;
    material.CreateNew();
    material.SetHasOrientation(o.grain);
    material.SetCutWidth(mm(4));
    for (const Stock& s : o.stock) {
        auto* d = new TDimension(nullptr);
        material.Dims()->ItemInsert(d);
        d->SetX(mm(s.x));
        d->SetY(mm(s.y));
        d->SetCount(s.count);
        d->SetOrientation(doX);
    }
    TApplicationLinks::SetMaterial(&material);
    TBenchOrder order;
    auto* parts = new TPartList(&order);
    auto* sheets = new TSheets(&order);
    long double partsArea = 0;
    for (const auto& [caption, x, y, count, rule] : o.parts) {
        auto* p = new TPart(nullptr);
        p->SetCaption(caption);
        p->SetX(mm(x));
        p->SetY(mm(y));
        p->SetCount(count);
        p->SetOrientation(rule);
        parts->ItemInsert(p);
        partsArea += (long double)x * y * count;
    }
    const Stock& first = o.stock.front();
    const long lowerBound = long(std::ceil(partsArea / (first.x * first.y)));

    resetPeakMemory();
    const auto start = std::chrono::steady_clock::now();
    sheets->Calculate();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const TCSCalculator::TRunFigures figures = TCSCalculator::LastRunFigures();

    int used = 0;
    for (int i = 0; i < sheets->CuttingSheets()->ItemCount(); ++i)
        used += sheets->CuttingSheets()->Sheet(i)->Count();
    std::printf("%-28s sheets %3d  bound %3ld  gross %7.3f%%  net %7.3f%%  unplaced %4d  %7.1f s  %7.1f MiB  "
                "%10lld nodes  queue %9zu  %s\n",
                o.name.c_str(), used, lowerBound, double(sheets->ExtractBrutto().toValue()),
                double(sheets->ExtractNetto().toValue()), sheets->PartsUnusedCount(), seconds,
                peakMemoryKiB() / 1024.0, (long long)figures.expansions, figures.longestQueue,
                sheets->State() == ssCalculatedOK ? "ok" : "error");
    if (args().contains("--report"))
        std::printf("%s\n", qPrintable(sheets->CalculationReport().join('\n')));
    std::fflush(stdout);
    TApplicationLinks::SetMaterial(nullptr);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    InitProgramValues();
    TSetup setup;
    TApplicationLinks::SetSetup(&setup);
    InstallCalculator();
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--reduction-time" && i + 1 < args.size()) {
            const QStringList v = args[++i].split(',');
            setup.SetSheetsReductionTimeMin(0);
            setup.SetSheetsReductionTimeMax(v.value(1).toInt());
            setup.SetSheetsReductionTimeMin(v.value(0).toInt());
        } else if (args[i] == "--deterministic" && i + 1 < args.size()) {
            // A virtual clock: the same nodes on every run, for profiling.
            static VirtualClock clock(args[++i].toDouble());
            SetCurrentClock(&clock);
        } else if (args[i] == "--queue-limit" && i + 1 < args.size()) {
            TCSCalculator::SetQueueLimit(args[++i].toULongLong());
        }
    }
    std::printf("reduction times %d s, %d s; queue limit %zu\n", setup.SheetsReductionTimeMin(),
                setup.SheetsReductionTimeMax(), TCSCalculator::QueueLimit());
    const std::vector<Order> orders = {kitchen(), mixed40(), few200(), many1000()};
    const QString only = args.contains("--only") ? args.value(args.indexOf("--only") + 1) : QString();
    for (const Order& o : orders)
        if (only.isEmpty() || QString::fromStdString(o.name).startsWith(only))
            run(o);
    return 0;
}
