#include "model/Sheets.h"

#include "foundation/ConversionError.h"
#include "foundation/Ini.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Part.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <chrono>
#include <functional>

using namespace lintaro;

namespace {

Currency mm(double v) {
    return Currency::fromValue(v);
}

// Stands where the order stands: owns a part list and the container, and logs what reaches it in
// phase 1 as "sheets.Prop", "list.Prop" (the cutting sheets) or "material.Prop" ("Modified" left out).
class TSheetsOwner : public TDataComponent {
    LINTARO_COMPONENT(TSheetsOwner)
public:
    explicit TSheetsOwner(TComponent* owner = nullptr) : TDataComponent(owner) {
        parts = new TPartList(this);
        sheets = new TSheets(this);
    }
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& prop) override {
        if (phase == 1 && prop != QLatin1String("Modified") && sheets) {
            if (source == sheets)
                log << QStringLiteral("sheets.") + prop;
            else if (source == sheets->CuttingSheets())
                log << QStringLiteral("list.") + prop;
            else if (source == sheets->Material())
                log << QStringLiteral("material.") + prop;
        }
        return TDataComponent::DataChangeStep(source, sender, phase, prop);
    }
    TPartList* parts = nullptr;
    TSheets* sheets = nullptr;
    QStringList log;
};

// One sheet of 1 m² with 0.75 m² of parts and a recyclable rest of 0.125 m², repeated `count` times.
TCuttingSheet* addSheet(TSheets& sheets, int count) {
    auto* s = new TCuttingSheet(nullptr);
    s->Dimension()->SetX(mm(1000));
    s->Dimension()->SetY(mm(1000));
    s->Dimension()->SetCount(count);
    s->Dimension()->SetID(3);
    const double xs[] = {0, 500};
    for (double x : xs) {
        auto* p = new TCSPartOut(nullptr);
        p->SetCaption("Door");
        p->SetPartID(1);
        p->SetPlace(mm(x), mm(0), mm(500), mm(750));
        p->SetOriginal(mm(500), mm(750));
        s->Parts()->ItemInsert(p);
    }
    auto* r = new TCSDimOut(nullptr);
    r->SetPlace(mm(0), mm(750), mm(500), mm(250));
    r->SetIsRecyable(true);
    s->Rests()->ItemInsert(r);
    sheets.CuttingSheets()->ItemInsert(s);
    return s;
}

class SheetsTest : public ::testing::Test {
protected:
    void SetUp() override { test::initProgramForTests(); }
    void TearDown() override { TSheets::SetCalculatorFactory({}); }

    QString saved() const {
        TINI ini;
        sheets->SaveToINI(&ini);
        return ini.ToText();
    }
    // A container as a finished calculation leaves it.
    void fill() {
        sheets->CalculationInfo(-1, -1, -1, scpNone, "Calculation started 01.03.2026 10:00");
        sheets->AppendReportLine("");
        sheets->CalculationInfo(-1, -1, -1, scpNone, "Sheet 1: 1 000,00 mm x 1 000,00 mm, 2x");
        addSheet(*sheets, 2);
        addSheet(*sheets, 1);
        TMaterial* m = sheets->Material();
        m->SetCaption("Oak 18");
        m->SetCutWidth(mm(4));
        m->SetHasOrientation(true);
        m->SetMinRecyArea(mm(0.1));
        m->SetMinRecyDim(mm(200));
        m->SetVATMode(vmWithOutVAT);
        m->SetVATRate(vrZero);
        m->SetNote(QString());
        m->SetPrice(mm(350.5));
        sheets->SetAddExtractToOrder(true);
        sheets->SetRestReturned(true);
        sheets->SetPartsInArea(mm(12.3456));
        sheets->SetPartsInCount(7);
        sheets->SetState(ssCalculatedError);
    }

    ScopedLocale locale{Locale::czech()};
    TScopedApplicationLinks links;
    // The texts must be there before the container below takes its caption.
    bool programReady = (test::initProgramForTests(), true);
    TSheetsOwner owner;
    TSheets* sheets = owner.sheets;
};

TEST_F(SheetsTest, Defaults) {
    EXPECT_EQ(sheets->Caption(), "Calculation");
    EXPECT_EQ(sheets->DefaultCaption(), "Calculation");
    EXPECT_FALSE(sheets->AddExtractToOrder());
    EXPECT_EQ(sheets->CalculationPhase(), scpNone);
    EXPECT_TRUE(sheets->CalculationReport().isEmpty());
    EXPECT_EQ(sheets->CalculationSheetNumber(), 0);
    EXPECT_EQ(sheets->CalculationSheetProgress(), 0);
    EXPECT_EQ(sheets->CalculationTotalProgress(), 0);
    EXPECT_EQ(sheets->Calculator(), nullptr);
    ASSERT_NE(sheets->CuttingSheets(), nullptr);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 0);
    EXPECT_FALSE(sheets->DimsTakedOff());
    ASSERT_NE(sheets->Material(), nullptr);
    EXPECT_EQ(sheets->PartsInArea(), Currency());
    EXPECT_EQ(sheets->PartsInCount(), 0);
    EXPECT_FALSE(sheets->RestReturned());
    EXPECT_EQ(sheets->State(), ssNone);
    EXPECT_EQ(sheets->OwnerParts(), owner.parts);
    TSheets alone;
    EXPECT_EQ(alone.OwnerParts(), nullptr);
}

TEST_F(SheetsTest, CalculationInfo) {
    struct Case {
        int total, sheet, number;
        TSheetsCalculationPhase phase;
        const char* text;
        int expTotal, expSheet, expNumber;
        QStringList expLog;
        int reportLines;
    } cases[] = {
        {-1, -1, -1, scpSolve, "", 10, 20, 3, {"sheets.CalculationPhase"}, 0},
        {-1, -1, -1, scpNone, "", 10, 20, 3, {}, 0},
        {40, -1, -1, scpNone, "", 40, 20, 3, {"sheets.CalculationTotalProgress"}, 0},
        {-1, 0, -1, scpNone, "", 10, 0, 3, {"sheets.CalculationSheetProgress"}, 0},
        {-1, -1, 0, scpNone, "", 10, 20, 0, {"sheets.CalculationSheetNumber"}, 0},
        {50,
         60,
         4,
         scpMultiplication,
         "Sheet 4",
         50,
         60,
         4,
         {"sheets.CalculationTotalProgress", "sheets.CalculationSheetProgress",
          "sheets.CalculationSheetNumber", "sheets.CalculationPhase", "sheets.CalculationReport"},
         1},
        {10, 20, 3, scpNone, "x", 10, 20, 3, {"sheets.CalculationReport"}, 1},
    };
    for (const Case& c : cases) {
        sheets->SetCalculationTotalProgress(10);
        sheets->SetCalculationSheetProgress(20);
        sheets->SetCalculationSheetNumber(3);
        sheets->SetCalculationPhase(scpNone);
        const int before = int(sheets->CalculationReport().size());
        owner.log.clear();
        sheets->CalculationInfo(c.total, c.sheet, c.number, c.phase, c.text);
        EXPECT_EQ(sheets->CalculationTotalProgress(), c.expTotal);
        EXPECT_EQ(sheets->CalculationSheetProgress(), c.expSheet);
        EXPECT_EQ(sheets->CalculationSheetNumber(), c.expNumber);
        EXPECT_EQ(sheets->CalculationPhase(), c.phase);
        EXPECT_EQ(sheets->CalculationReport().size(), before + c.reportLines);
        if (c.reportLines) {
            EXPECT_EQ(sheets->CalculationReport().last(), c.text);
        }
        EXPECT_EQ(owner.log, c.expLog) << c.text;
    }
}

TEST_F(SheetsTest, StateSetterRefusesPartsChanged) {
    sheets->SetState(ssPartsChanged);
    EXPECT_EQ(sheets->State(), ssNone);
    sheets->SetState(ssCalculatedOK);
    owner.log.clear();
    sheets->SetModified(false);
    sheets->SetState(ssPartsChanged);
    EXPECT_EQ(sheets->State(), ssCalculatedOK);
    sheets->SetState(ssCalculatedOK);
    EXPECT_TRUE(owner.log.isEmpty()) << owner.log.join(", ").toStdString();
    EXPECT_FALSE(sheets->Modified());
    sheets->SetState(ssNone);
    EXPECT_TRUE(sheets->Modified());
}

TEST_F(SheetsTest, DerivedAnnouncements) {
    const QStringList allDerived = {"sheets.PartsUnusedArea", "sheets.PartsUnusedCount",
                                    "sheets.ExtractBrutto", "sheets.ExtractNetto"};
    struct Case {
        const char* name;
        std::function<void()> action;
        QStringList log;
    } cases[] = {
        {"state", [&] { sheets->SetState(ssCalculatedError); }, QStringList{"sheets.State"} + allDerived},
        {"parts area",
         [&] { sheets->SetPartsInArea(mm(2.5)); },
         {"sheets.PartsInArea", "sheets.PartsUnusedArea"}},
        {"parts count",
         [&] { sheets->SetPartsInCount(4); },
         {"sheets.PartsInCount", "sheets.PartsUnusedCount"}},
        {"sheets, empty name", [&] { sheets->CuttingSheets()->Announce(QString()); },
         QStringList{"list."} + allDerived},
        {"sheets cleared", [&] { sheets->CuttingSheets()->Clear(); }, QStringList{"list."} + allDerived},
        {"sheets, brutto",
         [&] { sheets->CuttingSheets()->Announce("ExtractBrutto"); },
         {"list.ExtractBrutto", "sheets.ExtractBrutto"}},
        {"sheets, netto",
         [&] { sheets->CuttingSheets()->Announce("ExtractNetto"); },
         {"list.ExtractNetto", "sheets.ExtractNetto"}},
        {"sheets, other", [&] { sheets->CuttingSheets()->Announce("ItemFocused"); }, {"list.ItemFocused"}},
        {"flag", [&] { sheets->SetDimsTakedOff(true); }, {"sheets.DimsTakedOff"}},
        {"unchanged", [&] { sheets->SetPartsInCount(4); }, {}},
    };
    for (const Case& c : cases) {
        owner.log.clear();
        c.action();
        EXPECT_EQ(owner.log, c.log) << c.name << ": " << owner.log.join(", ").toStdString();
    }
}

TEST_F(SheetsTest, UnusedPartsReadZeroWithoutAState) {
    addSheet(*sheets, 3);
    sheets->SetPartsInArea(mm(12.3456));
    sheets->SetPartsInCount(10);
    EXPECT_EQ(sheets->PartsUnusedArea(), Currency());
    EXPECT_EQ(sheets->PartsUnusedCount(), 0);
    for (TSheetsState s : {ssCalculating, ssCalculatedOK, ssCalculatedError}) {
        sheets->SetState(s);
        EXPECT_EQ(sheets->PartsUnusedCount(), 4) << s;
        EXPECT_EQ(sheets->PartsUnusedArea(), mm(12.3456 - 2.25)) << s;
    }
    sheets->SetState(ssNone);
    EXPECT_EQ(sheets->PartsUnusedCount(), 0);
}

TEST_F(SheetsTest, TextsByName) {
    addSheet(*sheets, 1);
    addSheet(*sheets, 1);
    sheets->AppendReportLine("first");
    sheets->AppendReportLine("");
    sheets->AppendReportLine("last");
    sheets->SetPartsInArea(mm(12.3456));
    sheets->SetPartsInCount(7);
    sheets->SetCalculationSheetNumber(2);
    sheets->SetCalculationSheetProgress(55);
    sheets->SetCalculationTotalProgress(70);
    sheets->SetDimsTakedOff(true);
    sheets->SetState(ssCalculatedOK);
    const struct {
        const char* key;
        const char* text;
    } cases[] = {
        {"ADDEXTRACTTOORDER", "0"},
        {"DimsTakedOff", "1"},
        {"restreturned", "0"},
        {"CALCULATIONREPORT", "first\r\n\r\nlast\r\n"},
        {"CALCULATIONSHEETNUMBER", "2"},
        {"CalculationSheetProgress", "55"},
        {"CALCULATIONTOTALPROGRESS", "70"},
        {"PARTSINCOUNT", "7"},
        {"PARTSUNUSEDCOUNT", "3"},
        {"EXTRACTBRUTTO", "87,50%"},
        {"ExtractNetto", "75,00%"},
        {"PARTSINAREA", "12,346 m2"},
        {"PARTSUNUSEDAREA", "10,846 m2"},
        {"STATE", "Calculated"},
        {"CALCULATIONPHASE", "Ready"},
        {"CAPTION", "Calculation"},
        {"UNKNOWN", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sheets->GetPropAsString(c.key), c.text) << c.key;

    sheets->SetPartsInArea(mm(1234.5));
    EXPECT_EQ(sheets->GetPropAsString("PartsInArea"), "1 234,500 m2");
    ScopedLocale us(Locale::unitedStates());
    EXPECT_EQ(sheets->GetPropAsString("PARTSINAREA"), "1,234.50 ft2");
    EXPECT_EQ(sheets->GetPropAsString("EXTRACTBRUTTO"), "87.50%");
    sheets->SetPartsInArea(mm(12.3456));
    EXPECT_EQ(sheets->GetPropAsString("PARTSINAREA"), "12.35 ft2");
}

TEST_F(SheetsTest, StateAndPhaseTexts) {
    const char* states[] = {"Not calculated", "Calculating", "Calculated", "Calculated with errors",
                            "Parts changed since the calculation"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(TSheets::StateText(TSheetsState(i)), states[i]);
    const char* phases[] = {"Ready",
                            "Clearing the results",
                            "Preparing the parameters",
                            "Preparing the stock sizes",
                            "Preparing the parts",
                            "Preparing a new cutting sheet",
                            "Searching the best plan",
                            "Repeating the plan",
                            "Storing the cutting sheet",
                            "Listing the parts left over"};
    for (int i = 0; i < 10; ++i) {
        sheets->SetCalculationPhase(TSheetsCalculationPhase(i));
        EXPECT_EQ(sheets->GetPropAsString("CalculationPhase"), phases[i]);
    }
    sheets->SetState(ssCalculatedError);
    EXPECT_EQ(sheets->GetPropAsString("State"), states[3]);
}

TEST_F(SheetsTest, SavedContainerGoldenFile) {
    fill();
    const QByteArray golden = test::readFileBytes(test::dataPath("sheets/container.ini"));
    ASSERT_FALSE(golden.isEmpty());
    TINI ini;
    sheets->SaveToINI(&ini);
    EXPECT_EQ(ini.SectionNames(), QStringList({"CALCRESULT", "SHEET1", "SHEET2", "Material", "SHEETS"}));
    EXPECT_EQ(ini.ToBytes(), golden);

    // Read back and saved again: the same text.
    TINI stored;
    stored.LoadFromBytes(golden);
    TSheetsOwner other;
    other.sheets->LoadFromINI(&stored);
    TINI again;
    other.sheets->SaveToINI(&again);
    EXPECT_EQ(again.ToBytes(), golden);
    EXPECT_EQ(other.sheets->State(), ssCalculatedError);
    EXPECT_EQ(other.sheets->CalculationReport(), sheets->CalculationReport());
    EXPECT_EQ(other.sheets->CuttingSheets()->ItemCount(), 2);
    EXPECT_EQ(other.sheets->ExtractBrutto(), sheets->ExtractBrutto());
    EXPECT_EQ(other.sheets->PartsUnusedCount(), 1);
    EXPECT_EQ(other.sheets->Material()->Caption(), "Oak 18");
    EXPECT_EQ(other.sheets->Material()->Dims()->ItemCount(), 0);
    EXPECT_TRUE(other.sheets->AddExtractToOrder());
    EXPECT_TRUE(other.sheets->RestReturned());
    EXPECT_FALSE(other.sheets->DimsTakedOff());
}

TEST_F(SheetsTest, SavingKeepsOtherSectionsAndWritesSheetsLast) {
    fill();
    TINI ini;
    ini.FromText(
        "[Order]\r\nCaption=X\r\n[SHEETS]\r\nState=|2|old|\r\n[CALCRESULT]\r\nCount=9\r\nLine9=old\r\n"
        "[Sheet7]\r\nDim=|1|1|1|0|1|0|0|0|0\r\n[Parts]\r\nCount=0\r\n");
    sheets->SaveToINI(&ini);
    EXPECT_EQ(ini.SectionNames(),
              QStringList({"Order", "CALCRESULT", "Parts", "SHEET1", "SHEET2", "Material", "SHEETS"}));
    EXPECT_EQ(ini.ReadString("CALCRESULT", "Count"), "3");
    EXPECT_EQ(ini.ReadString("CALCRESULT", "Line9"), "") << "an old report's lines do not survive";
    EXPECT_EQ(ini.ReadString("SHEETS", "State"), "|3|Calculated with errors|");
    sheets->SaveToINI(nullptr); // nothing to do without a store
}

TEST_F(SheetsTest, ReportWithEmptyLinesKeepsItsLineCount) {
    const QStringList reports[] = {{"a", "", "b"}, {"", "x"}, {"x", ""}, {""}, {}};
    for (const QStringList& report : reports) {
        TSheetsOwner first;
        for (const QString& line : report)
            first.sheets->AppendReportLine(line);
        TINI ini;
        first.sheets->SaveToINI(&ini);
        EXPECT_EQ(ini.ReadString("CALCRESULT", "Count"), QString::number(report.size()));
        const QStringList* section = ini.FindSection("CALCRESULT");
        ASSERT_NE(section, nullptr);
        EXPECT_EQ(section->size(), 1 + report.size() - report.count(QString())) << "empty lines are left out";
        TSheetsOwner second;
        second.sheets->LoadFromINI(&ini);
        EXPECT_EQ(second.sheets->CalculationReport(), report) << report.join('|').toStdString();
    }
}

TEST_F(SheetsTest, StoredKeysFallBack) {
    struct Case {
        const char* text;
        TSheetsState state;
        Currency area;
        int count;
        int reportLines;
        bool flags;
    } cases[] = {
        {"[SHEETS]\r\nState=|2|whatever it says|\r\nPartsInArea=123456\r\nPartsInCount=7\r\n", ssCalculatedOK,
         mm(12.3456), 7, 0, false},
        {"[SHEETS]\r\nState=|2||\r\n", ssCalculatedOK, {}, 0, 0, false},
        {"[SHEETS]\r\nState=2\r\n", ssCalculatedOK, {}, 0, 0, false},
        {"[SHEETS]\r\nState=|3|Calculated|\r\n", ssCalculatedError, {}, 0, 0, false},
        {"[SHEETS]\r\nState=|4|Parts changed since the calculation|\r\n", ssNone, {}, 0, 0, false},
        {"[SHEETS]\r\nState=|5|\r\n", ssNone, {}, 0, 0, false},
        {"[SHEETS]\r\nState=|-1|\r\n", ssNone, {}, 0, 0, false},
        {"[SHEETS]\r\nState=|x|Calculated|\r\nPartsInArea=12,5\r\nPartsInCount=seven\r\n",
         ssNone,
         {},
         0,
         0,
         false},
        {"[SHEETS]\r\nPartsInArea=-50000\r\nPartsInArea=1\r\n", ssNone, mm(-5), 0, 0, false},
        {"[SHEETS]\r\nPartsInArea=2147483648\r\n", ssNone, {}, 0, 0, false},
        {"[SHEETS]\r\nAddExtractToOrder=1\r\nDimsTakedOff=1\r\nRestReturned=1\r\n", ssNone, {}, 0, 0, true},
        {"[SHEETS]\r\nAddExtractToOrder=true\r\nDimsTakedOff=2\r\nRestReturned= 1\r\n",
         ssNone,
         {},
         0,
         0,
         false},
        {"[CALCRESULT]\r\nCount=abc\r\nLine1=x\r\n", ssNone, {}, 0, 0, false},
        {"[CALCRESULT]\r\nCount=-4\r\nLine1=x\r\n", ssNone, {}, 0, 0, false},
        {"[CALCRESULT]\r\nCount=4\r\nLine2=x\r\nline02=y\r\n", ssNone, {}, 0, 4, false},
        {"", ssNone, {}, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TSheetsOwner o;
        o.sheets->SetPartsInCount(3);
        o.sheets->AppendReportLine("old");
        TINI ini;
        ini.FromText(c.text);
        o.sheets->LoadFromINI(&ini);
        EXPECT_EQ(o.sheets->State(), c.state);
        EXPECT_EQ(o.sheets->PartsInArea(), c.area);
        EXPECT_EQ(o.sheets->PartsInCount(), c.count);
        EXPECT_EQ(o.sheets->CalculationReport().size(), c.reportLines);
        EXPECT_EQ(o.sheets->AddExtractToOrder(), c.flags);
        EXPECT_EQ(o.sheets->DimsTakedOff(), c.flags);
        EXPECT_EQ(o.sheets->RestReturned(), c.flags);
    }
    TINI gaps;
    gaps.FromText("[CALCRESULT]\r\nCount=4\r\nLine2=x\r\nLINE4=y\r\nLine2=z\r\n");
    sheets->LoadFromINI(&gaps);
    EXPECT_EQ(sheets->CalculationReport(), QStringList({"", "x", "", "y"}));
}

TEST_F(SheetsTest, LoadingClearsFirstAndAnnouncesTheTotals) {
    fill();
    TINI ini;
    ini.FromText("[SHEETS]\r\nState=|2|x|\r\n");
    owner.log.clear();
    sheets->LoadFromINI(&ini);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 0);
    EXPECT_TRUE(sheets->CalculationReport().isEmpty());
    EXPECT_EQ(sheets->Material()->Caption(), "Material");
    EXPECT_EQ(sheets->State(), ssCalculatedOK);
    EXPECT_FALSE(sheets->AddExtractToOrder());
    ASSERT_GE(owner.log.size(), 4);
    EXPECT_EQ(owner.log.mid(owner.log.size() - 4), QStringList({"sheets.ExtractBrutto", "sheets.ExtractNetto",
                                                                "sheets.CalculationReport", "material."}));
    EXPECT_TRUE(owner.log.contains("sheets.State"));

    fill();
    sheets->LoadFromINI(nullptr);
    EXPECT_EQ(sheets->State(), ssNone);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 0);
    EXPECT_EQ(sheets->PartsInCount(), 0);
}

TEST_F(SheetsTest, DamagedPlacedPartReachesTheReader) {
    fill();
    TINI ini;
    sheets->SaveToINI(&ini);
    WriteValue(ini.Section("SHEET2"), "Part1", "not hex");
    TSheetsOwner other;
    EXPECT_THROW(other.sheets->LoadFromINI(&ini), ConversionError);
}

// A crafted or damaged count must not make the reader build a billion empty lines.
TEST_F(SheetsTest, HugeReportCountIsCut) {
    TINI ini;
    ini.FromText("[CALCRESULT]\r\nCount=2000000000\r\nLine1=first\r\nLine2000000000=far\r\n");
    const auto start = std::chrono::steady_clock::now();
    sheets->LoadFromINI(&ini);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ASSERT_FALSE(sheets->CalculationReport().isEmpty());
    EXPECT_EQ(sheets->CalculationReport().first(), "first");
    EXPECT_LE(sheets->CalculationReport().size(), 1000000);
}

TEST_F(SheetsTest, AssignCopiesEverythingButTheCalculator) {
    fill();
    sheets->SetCalculationPhase(scpSolve);
    sheets->SetCalculationSheetNumber(2);
    sheets->SetCalculationSheetProgress(30);
    sheets->SetCalculationTotalProgress(40);
    sheets->SetDimsTakedOff(true);
    TSheetsOwner other;
    other.sheets->Assign(sheets);
    EXPECT_EQ(other.sheets->CalculationPhase(), scpSolve);
    EXPECT_EQ(other.sheets->CalculationSheetNumber(), 2);
    EXPECT_EQ(other.sheets->CalculationSheetProgress(), 30);
    EXPECT_EQ(other.sheets->CalculationTotalProgress(), 40);
    EXPECT_TRUE(other.sheets->DimsTakedOff());
    EXPECT_NE(other.sheets->CuttingSheets(), sheets->CuttingSheets());
    EXPECT_NE(other.sheets->Material(), sheets->Material());
    TINI a, b;
    sheets->SaveToINI(&a);
    other.sheets->SaveToINI(&b);
    EXPECT_EQ(a.ToText(), b.ToText());
}

// ---- Calculate, with a stand-in calculator --------------------------------------------------------

struct RunLog {
    bool sawItself = false;
    TSheetsState state = ssNone;
    int reportLines = -1;
    int sheetsAtStart = -1;
    QString material;
    Currency partsInArea;
    int partsInCount = -1;
    bool freed = false;
};

class TStandInCalculator : public TCalculatorBase {
    LINTARO_COMPONENT(TStandInCalculator)
public:
    explicit TStandInCalculator(TComponent* owner = nullptr) : TCalculatorBase(owner) {}
    ~TStandInCalculator() override {
        if (run)
            run->freed = true;
    }
    bool Calculate() override {
        auto* sheets = static_cast<TSheets*>(Owner());
        run->sawItself = sheets->Calculator() == this;
        run->state = sheets->State();
        run->reportLines = int(sheets->CalculationReport().size());
        run->sheetsAtStart = sheets->CuttingSheets()->ItemCount();
        run->material = sheets->Material()->Caption();
        run->partsInArea = sheets->PartsInArea();
        run->partsInCount = sheets->PartsInCount();
        sheets->CalculationInfo(0, 0, 1, scpSolve, "working");
        addSheet(*sheets, 1);
        return result;
    }
    RunLog* run = nullptr;
    bool result = true;
};

TEST_F(SheetsTest, CalculateRunsTheCalculatorOnAFreshContainer) {
    TMaterial current;
    current.SetCaption("Birch");
    TApplicationLinks::SetMaterial(&current);
    auto* part = new TPart(nullptr);
    part->SetCaption("Door");
    part->SetX(mm(500));
    part->SetY(mm(750));
    part->SetCount(3);
    owner.parts->ItemInsert(part);

    for (bool result : {true, false}) {
        fill();
        sheets->SetDimsTakedOff(true);
        RunLog run;
        TSheets::SetCalculatorFactory([&](TSheets* o) {
            auto* c = new TStandInCalculator(o);
            c->run = &run;
            c->result = result;
            return c;
        });
        owner.log.clear();
        sheets->Calculate();
        EXPECT_TRUE(run.sawItself);
        EXPECT_EQ(run.state, ssCalculating);
        EXPECT_EQ(run.reportLines, 0);
        EXPECT_EQ(run.sheetsAtStart, 0);
        EXPECT_EQ(run.material, "Birch");
        EXPECT_EQ(run.partsInArea, mm(1.125));
        EXPECT_EQ(run.partsInCount, 3);
        EXPECT_TRUE(run.freed);
        EXPECT_EQ(sheets->Calculator(), nullptr);
        EXPECT_EQ(sheets->State(), result ? ssCalculatedOK : ssCalculatedError);
        EXPECT_FALSE(sheets->DimsTakedOff());
        EXPECT_FALSE(sheets->RestReturned());
        EXPECT_EQ(sheets->CalculationReport(), QStringList({"working"}));
        EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 1);
        EXPECT_EQ(sheets->PartsUnusedCount(), 1);
        EXPECT_EQ(sheets->PartsUnusedArea(), mm(0.375));
        ASSERT_GE(owner.log.size(), 6);
        EXPECT_EQ(owner.log.first(), "sheets.State");
        EXPECT_EQ(owner.log.mid(owner.log.size() - 6),
                  QStringList({"sheets.CalculationReport", "list.", "sheets.PartsUnusedArea",
                               "sheets.PartsUnusedCount", "sheets.ExtractBrutto", "sheets.ExtractNetto"}));
    }
}

TEST_F(SheetsTest, CalculateWithoutACalculatorEndsInError) {
    fill();
    sheets->Calculate();
    EXPECT_EQ(sheets->State(), ssCalculatedError);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 0);
    EXPECT_TRUE(sheets->CalculationReport().isEmpty());
    EXPECT_EQ(sheets->Calculator(), nullptr);
    EXPECT_FALSE(sheets->RestReturned());
}

} // namespace

namespace {

class FinishingCalculator : public TCalculatorBase {
public:
    using TCalculatorBase::TCalculatorBase;
    bool Calculate() override { return true; }
};

TPart* addPart(TPartList& parts, int x, int y, int count) {
    auto* part = new TPart(nullptr);
    part->SetX(mm(x));
    part->SetY(mm(y));
    part->SetCount(count);
    parts.ItemInsert(part);
    return part;
}

} // namespace

TEST_F(SheetsTest, ResultOutOfDateFollowsThePartsAndTheMaterial) {
    TSheets::SetCalculatorFactory([](TSheets* owner) { return new FinishingCalculator(owner); });
    TMaterial stock;
    stock.SetCaption("Oak 18");
    stock.SetCutWidth(mm(4));
    auto* size = new TDimension(nullptr);
    size->SetX(mm(2800));
    size->SetY(mm(2070));
    size->SetCount(5);
    stock.Dims()->ItemInsert(size);
    TApplicationLinks::SetMaterial(&stock);
    TPart* door = addPart(*owner.parts, 500, 700, 2);
    addPart(*owner.parts, 300, 300, 1);
    EXPECT_FALSE(sheets->ResultOutOfDate(&stock)) << "nothing calculated";
    sheets->Calculate();
    ASSERT_EQ(sheets->State(), ssCalculatedOK);
    EXPECT_FALSE(sheets->ResultOutOfDate(&stock));

    const bool grain = stock.HasOrientation();
    struct Case {
        const char* what;
        std::function<void()> change, undo;
        bool outOfDate;
    };
    const Case cases[] = {
        {"part count", [&] { door->SetCount(3); }, [&] { door->SetCount(2); }, true},
        {"part size", [&] { door->SetX(mm(501)); }, [&] { door->SetX(mm(500)); }, true},
        {"part grain", [&] { door->SetOrientation(poY); }, [&] { door->SetOrientation(poNone); }, true},
        {"cut width", [&] { stock.SetCutWidth(mm(3)); }, [&] { stock.SetCutWidth(mm(4)); }, true},
        {"grain of the material", [&] { stock.SetHasOrientation(!grain); },
         [&] { stock.SetHasOrientation(grain); }, true},
        {"stock size", [&] { size->SetX(mm(2500)); }, [&] { size->SetX(mm(2800)); }, true},
        // Taking the result off the stock lowers the counts; the plan still holds.
        {"stock count", [&] { size->SetCount(1); }, [&] { size->SetCount(5); }, false},
        {"part caption", [&] { door->SetCaption("Door"); }, [] {}, false},
    };
    for (const Case& c : cases) {
        c.change();
        EXPECT_EQ(sheets->ResultOutOfDate(&stock), c.outOfDate) << c.what;
        c.undo();
        EXPECT_FALSE(sheets->ResultOutOfDate(&stock)) << c.what << " undone";
    }
    stock.SetCutWidth(mm(3));
    EXPECT_FALSE(sheets->ResultOutOfDate(nullptr)) << "without a material only the parts count";
    stock.SetCutWidth(mm(4));

    // Saved and read back beside the same parts, the result still knows what it was made from.
    TINI ini;
    sheets->SaveToINI(&ini);
    TSheetsOwner other;
    addPart(*other.parts, 500, 700, 2);
    TPart* second = addPart(*other.parts, 300, 300, 1);
    other.sheets->LoadFromINI(&ini);
    EXPECT_FALSE(other.sheets->ResultOutOfDate(&stock));
    second->SetOrientation(poX);
    EXPECT_TRUE(other.sheets->ResultOutOfDate(&stock));

    // A file without the key is checked by the stored count and area of the parts.
    ini.WriteString("SHEETS", "PartsKey", QString());
    TSheetsOwner older;
    addPart(*older.parts, 500, 700, 2);
    TPart* third = addPart(*older.parts, 300, 300, 1);
    older.sheets->LoadFromINI(&ini);
    EXPECT_FALSE(older.sheets->ResultOutOfDate(nullptr));
    third->SetCount(4);
    EXPECT_TRUE(older.sheets->ResultOutOfDate(nullptr));
    TApplicationLinks::SetMaterial(nullptr);
}
