// lintaro-samplegen OUTDIR: writes the sample material (Board18.LNM), two sample orders
// (Kitchen.LNO, ShopFitting.LNO) and sample settings with a supplier (Sample.INI) with the program's own
// classes, so they are what the program itself would save. Run from the build folder: bin/lintaro-samplegen
// ../data/samples
#include "foundation/Program.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "platform/Locale.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <tuple>
#include <vector>

using namespace lintaro;

namespace {

Currency mm(double v) {
    return Currency::fromValue(v);
}

using TPartRow = std::tuple<const char*, double, double, int, TPartOrientation>;

void addDimension(TMaterial& m, double x, double y, int count, bool isDefault, bool isRest) {
    auto* d = new TDimension(nullptr);
    m.Dims()->ItemInsert(d);
    d->SetX(mm(x));
    d->SetY(mm(y));
    d->SetCount(count);
    d->SetIsRest(isRest);
    d->SetIsDefault(isDefault);
    d->SetOrientation(doX);
}

bool writeMaterial(TMaterial& m, const QString& path) {
    m.CreateNew();
    m.SetCaption(QStringLiteral("Board 18 mm, white melamine"));
    m.SetNote(QStringLiteral("Grain along the 2800 mm side.\r\nStored in rack B."));
    m.SetCutWidth(mm(4));
    m.SetHasOrientation(true);
    m.SetMinRecyArea(mm(0.25));
    m.SetMinRecyDim(mm(300));
    m.SetPrice(mm(21.5));
    addDimension(m, 2800, 2070, 25, true, false);
    addDimension(m, 1400, 2070, 4, false, false);
    addDimension(m, 1250, 800, 2, false, true);
    addDimension(m, 2070, 520, 1, false, true);
    return m.SaveToFile(path);
}

bool writeOrder(const QString& path, const QString& customer, const QString& town,
                const std::vector<TPartRow>& rows, const QString& note) {
    TOrder order;
    order.CreateNew();
    order.Customer()->SetCaption(customer);
    order.Customer()->SetStreet(QStringLiteral("Mill Lane 12"));
    order.Customer()->SetZIP(QStringLiteral("602 00"));
    order.Customer()->SetTown(town);
    order.Customer()->SetPerson(QStringLiteral("J. Novak"));
    order.Customer()->SetPhone(QStringLiteral("+420 555 010 203"));
    order.SetNote1(note);
    TPartList* parts = order.Parts();
    for (const auto& [caption, x, y, count, rule] : rows) {
        auto* p = new TPart(nullptr);
        p->SetCaption(QString::fromUtf8(caption));
        p->SetX(mm(x));
        p->SetY(mm(y));
        p->SetCount(count);
        p->SetOrientation(rule);
        parts->ItemInsert(p);
    }
    parts->CheckEmptyPart();
    return order.SaveToFile(path);
}

// The sample settings: the program's defaults with a supplier, so that the sample offers name
// who makes them.
bool writeSettings(TSetup& setup, const QString& path) {
    TAddress* supplier = setup.Supplier();
    supplier->SetCaption(QStringLiteral("Brenvik Joinery Ltd."));
    supplier->SetStreet(QStringLiteral("Sawmill Road 7"));
    supplier->SetZIP(QStringLiteral("612 00"));
    supplier->SetTown(QStringLiteral("Brno"));
    supplier->SetINO(QStringLiteral("27450981"));
    supplier->SetTIN(QStringLiteral("CZ27450981"));
    supplier->SetPerson(QStringLiteral("M. Dvorak"));
    supplier->SetPhone(QStringLiteral("+420 555 020 400"));
    supplier->SetEmail(QStringLiteral("orders@brenvik-joinery.example"));
    supplier->SetWWW(QStringLiteral("www.brenvik-joinery.example"));
    supplier->SetNote(QStringLiteral("Cutting, edge banding and delivery within 5 working days."));
    return setup.SaveToFile(path);
}

std::vector<TPartRow> kitchen() {
    return {
        {"Base side", 720, 560, 6, poY},    {"Base bottom", 564, 560, 3, poX},
        {"Base shelf", 564, 520, 3, poX},   {"Base rail", 564, 100, 6, poX},
        {"Wall side", 720, 320, 4, poY},    {"Wall top", 564, 320, 2, poX},
        {"Wall bottom", 564, 320, 2, poX},  {"Wall shelf", 562, 300, 4, poX},
        {"Door", 716, 396, 6, poY},         {"Wall door", 716, 396, 4, poY},
        {"Drawer front", 396, 176, 4, poX}, {"Drawer side", 500, 150, 8, poX},
        {"Drawer back", 364, 150, 4, poX},  {"Tall side", 2000, 560, 2, poY},
        {"Tall shelf", 564, 540, 4, poX},   {"Tall door", 1996, 596, 1, poY},
        {"Plinth", 1800, 100, 2, poX},      {"Filler", 720, 50, 2, poY},
        {"End panel", 900, 600, 1, poY},    {"Cornice", 1800, 60, 2, poX},
    };
}

std::vector<TPartRow> shopFitting() {
    std::vector<TPartRow> rows = {
        {"Counter side", 1000, 600, 4, poY},     {"Counter top", 1800, 600, 2, poX},
        {"Counter shelf", 1764, 560, 4, poX},    {"Counter front", 1800, 980, 2, poY},
        {"Counter back", 1764, 960, 2, poNone},  {"Counter plinth", 1800, 100, 2, poX},
        {"Display side", 2000, 400, 6, poY},     {"Display shelf", 964, 380, 18, poX},
        {"Display top", 1000, 400, 3, poX},      {"Display back", 1960, 964, 3, poNone},
        {"Display plinth", 964, 80, 3, poX},     {"Wall panel", 1200, 600, 8, poY},
        {"Wall shelf", 1200, 300, 12, poX},      {"Shelf bracket", 280, 200, 24, poNone},
        {"Drawer front", 596, 196, 8, poX},      {"Drawer side", 450, 160, 16, poNone},
        {"Drawer back", 560, 160, 8, poNone},    {"Drawer bottom", 560, 446, 8, poNone},
        {"Cabinet side", 900, 500, 6, poY},      {"Cabinet top", 764, 500, 3, poX},
        {"Cabinet bottom", 764, 500, 3, poX},    {"Cabinet door", 896, 396, 6, poY},
        {"Cabinet shelf", 760, 460, 6, poX},     {"Till shelf", 600, 400, 2, poX},
        {"Till side", 400, 300, 4, poY},         {"Sign board", 2400, 500, 1, poX},
        {"Sign backer", 2400, 300, 1, poX},      {"Gondola base", 1250, 500, 4, poX},
        {"Gondola upright", 1800, 120, 8, poY},  {"Gondola shelf", 1250, 370, 16, poX},
        {"Header panel", 1250, 250, 4, poX},     {"Window plinth", 2000, 150, 2, poX},
        {"Window riser", 600, 600, 4, poNone},   {"Riser top", 600, 600, 4, poNone},
        {"Mirror backer", 1600, 500, 2, poY},    {"Fitting room side", 2000, 900, 4, poY},
        {"Fitting room seat", 900, 400, 2, poX}, {"Bench top", 1500, 450, 2, poX},
        {"Bench side", 450, 420, 4, poY},        {"Counter divider", 560, 400, 4, poNone},
    };
    // Twenty small fixing pieces fill the list to about sixty parts.
    for (int i = 0; i < 20; ++i) {
        static std::vector<QByteArray> names = [] {
            std::vector<QByteArray> v;
            v.reserve(20);
            return v;
        }();
        names.push_back(QByteArray("Fixing strip ") + QByteArray::number(i + 1));
        rows.emplace_back(names.back().constData(), 300 + 40 * i, 80 + 5 * (i % 4), 2 + i % 3,
                          i % 2 ? poX : poNone);
    }
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: lintaro-samplegen OUTDIR\n";
        return 2;
    }
    const QString dir = app.arguments().at(1);
    QDir().mkpath(dir);
    // Samples are written the same on every machine: Czech separators, metric units.
    ScopedLocale locale(Locale::czech());
    InitProgramValues();
    TSetup setup;
    TApplicationLinks::SetSetup(&setup);
    TMaterial material;
    TApplicationLinks::SetMaterial(&material);

    const QString materialFile = dir + QStringLiteral("/Board18.LNM");
    if (!writeMaterial(material, materialFile)) {
        err << materialFile << ": cannot be written\n";
        return 1;
    }
    // The orders name the material by its plain file name: it is looked for beside the order.
    material.SetFileName(QStringLiteral("Board18.LNM"));
    const bool ok =
        writeOrder(
            dir + QStringLiteral("/Kitchen.LNO"), QStringLiteral("Horak Kitchens"), QStringLiteral("Brno"),
            kitchen(),
            QStringLiteral("Kitchen for the Horak family.\r\nEdges banded 1 mm, all visible sides.")) &&
        writeOrder(dir + QStringLiteral("/ShopFitting.LNO"), QStringLiteral("Corner Books & Coffee"),
                   QStringLiteral("Olomouc"), shopFitting(),
                   QStringLiteral("Shop fitting, phase 1.\r\nGrain vertical on all visible panels."));
    if (!ok) {
        err << dir << ": the orders cannot be written\n";
        return 1;
    }
    const QString settingsFile = dir + QStringLiteral("/Sample.INI");
    if (!writeSettings(setup, settingsFile)) {
        err << settingsFile << ": cannot be written\n";
        return 1;
    }
    return 0;
}
