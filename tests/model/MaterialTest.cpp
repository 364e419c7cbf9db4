#include "model/Material.h"

#include "foundation/ConversionError.h"
#include "foundation/Ini.h"
#include "model/ApplicationLinks.h"
#include "model/Setup.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

using namespace lintaro;

namespace {

Currency cur(const char* text) {
    ScopedLocale guard(Locale::unitedStates());
    bool ok = false;
    const Currency c = Currency::fromText(QString::fromLatin1(text), &ok);
    EXPECT_TRUE(ok) << text;
    return c;
}

QString savedText(const TMaterial& m, bool withDims = true) {
    TINI ini;
    m.SaveToINI(ini, withDims);
    return ini.ToText();
}

// Where the order stands: logs what reaches it through the material's forwarding, and whether the
// source then belonged to the material under test.
class TOrderRecorder : public TSimpleComponent {
public:
    struct TEntry {
        TComponent* source;
        TComponent* sender;
        QString prop;
        bool fromWatched;
    };
    void DataChanged(TComponent* source, TComponent* sender, const QString& prop) override {
        const bool watched =
            watched_ && (source == watched_ || FindOwnerOfClass<TMaterial>(source) == watched_);
        entries.push_back({source, sender, prop, watched});
    }
    void Watch(TMaterial* m) { watched_ = m; }
    QStringList Props(TComponent* source) const {
        QStringList result;
        for (const TEntry& e : entries)
            if (e.source == source && e.prop != QLatin1String("Modified"))
                result << e.prop;
        return result;
    }
    std::vector<TEntry> entries;

private:
    TMaterial* watched_ = nullptr;
};

class TSetupRecorder : public TSetup {
public:
    void DataChanged(TComponent* source, TComponent* sender, const QString& prop) override {
        if (sender != this)
            props << prop;
        TSetup::DataChanged(source, sender, prop);
    }
    QStringList props;
};

class MaterialTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::initProgramForTests();
        TApplicationLinks::SetSetup(&setup);
        TApplicationLinks::SetOrder(nullptr);
        TApplicationLinks::SetMaterial(nullptr);
        TApplicationLinks::SetControlsRefresh({});
    }

    // The material of the example: cut width 3.2 mm, rest limits 0.5 m² and 500 mm, price 120 with
    // VAT at the high rate, one coil 1250 × 50000 mm of 2 pieces with ID 1 as default, typed into
    // the empty dimension of a new material as the window does.
    void fillExample(TMaterial& m) {
        m.CreateNew();
        m.SetCaption("Galvanised coil");
        m.SetPropAsString("CutWidth", "3,2");
        m.SetPropAsString("Price", "120");
        m.Dims()->SetItemFocused(m.Dims()->Item(0));
        TDataComponent* row = m.Dims()->ItemFocused();
        row->SetPropAsString("X", "1250");
        row->SetPropAsString("Y", "50000");
        row->SetPropAsString("Count", "2");
        auto* coil = static_cast<TDimension*>(row);
        coil->SetIsDefault(true);
        coil->SetOrientation(doNone);
    }

    ScopedLocale locale{Locale::czech()};
    TScopedApplicationLinks links;
    TSetup setup;
};

// ---- The example and the file format ----------------------------------------------------------

TEST_F(MaterialTest, ExampleSavesTheGoldenFileExactly) {
    TMaterial m;
    fillExample(m);
    ASSERT_EQ(m.Dims()->ItemCount(), 2) << "the coil and the new empty dimension";
    EXPECT_TRUE(m.Modified());

    QTemporaryDir dir;
    const QString path = dir.filePath("example.LNM");
    ASSERT_TRUE(m.SaveToFile(path)) << m.ErrorString().toStdString();
    EXPECT_FALSE(m.Modified());
    EXPECT_EQ(test::readFileBytes(path), test::readFileBytes(test::dataPath("material/example.LNM")));
    EXPECT_TRUE(m.FileName().isEmpty()) << "saving leaves FileName to the window";
}

TEST_F(MaterialTest, GoldenFileLoadsWithTheExampleValues) {
    TMaterial m;
    ASSERT_TRUE(m.LoadFromFile(test::dataPath("material/example.LNM")));
    EXPECT_EQ(m.Caption(), "Galvanised coil");
    EXPECT_EQ(m.StoredCutWidth(), cur("3.2"));
    EXPECT_EQ(m.StoredMinRecyArea(), cur("0.5"));
    EXPECT_EQ(m.StoredMinRecyDim(), cur("500"));
    EXPECT_EQ(m.Price(), cur("120"));
    EXPECT_EQ(m.VATMode(), vmWithVAT);
    EXPECT_EQ(m.VATRate(), vrHigh);
    EXPECT_FALSE(m.HasOrientation());
    EXPECT_FALSE(m.Modified());
    EXPECT_EQ(m.FileName(), test::dataPath("material/example.LNM"));

    TDimensionList* dims = m.Dims();
    ASSERT_EQ(dims->ItemCount(), 2) << "the coil, then a new empty dimension";
    const TDimension* coil = dims->Dimension(0);
    EXPECT_EQ(coil->Caption(), "M1");
    EXPECT_EQ(coil->StoredX(), cur("1250"));
    EXPECT_EQ(coil->StoredY(), cur("50000"));
    EXPECT_EQ(coil->Count(), 2);
    EXPECT_EQ(dims->DefaultDim(), coil);
    EXPECT_FALSE(dims->Dimension(1)->IsValid());
    EXPECT_EQ(dims->Dimension(1)->Caption(), "M2");
    EXPECT_EQ(dims->ItemFocused(), coil);

    EXPECT_EQ(m.Amount(), cur("125"));
    EXPECT_EQ(m.TotalPrice(), cur("15000"));
    EXPECT_EQ(dims->Circuit(), cur("205"));
}

TEST_F(MaterialTest, SaveThenLoadGivesTheSameMaterial) {
    TMaterial m;
    fillExample(m);
    m.SetHasOrientation(true);
    m.SetNote("Stored in hall B\r\nsecond shelf");
    m.SetVATMode(vmWithOutVAT);
    m.SetPropAsString("MinRecyArea", "0,75");
    m.SetPropAsString("MinRecyDim", "320,5");
    TDimension* sheet = m.Dims()->Dimension(1);
    sheet->SetPropAsString("X", "1000");
    sheet->SetPropAsString("Y", "2000");
    sheet->SetOrientation(doY);
    sheet->SetIsPrefered(true);
    TDimension* rest = m.Dims()->Dimension(2);
    rest->SetPropAsString("X", "600,25");
    rest->SetPropAsString("Y", "700");
    rest->SetIsRest(true);
    rest->SetIsStopped(true);
    ASSERT_EQ(m.Dims()->ItemCount(), 4);

    QTemporaryDir dir;
    const QString path = dir.filePath("round.LNM");
    ASSERT_TRUE(m.SaveToFile(path));

    TMaterial back;
    back.CreateNew();
    ASSERT_TRUE(back.LoadFromFile(path));
    // Loading sorts: the saved order differs, the set of dimensions does not.
    TMaterial sorted;
    sorted.Assign(&m);
    sorted.Dims()->Sort();
    EXPECT_EQ(savedText(back), savedText(sorted));
    EXPECT_EQ(back.Note(), "Stored in hall B\r\nsecond shelf");
    QStringList order;
    for (int i = 0; i < back.Dims()->ItemCount(); ++i)
        order << back.Dims()->Item(i)->Caption();
    EXPECT_EQ(order, (QStringList{"R3", "M1", "M2", "M4"}))
        << "stopped first, preferred last, empty at the end";
    EXPECT_FALSE(back.Modified());
}

TEST_F(MaterialTest, EmptyNoteWritesNoNoteKeyAndReadsBackEmpty) {
    TMaterial m;
    fillExample(m);
    m.SetNote(QString());
    TINI ini;
    m.SaveToINI(ini, false);
    EXPECT_EQ(IndexOfKey(*ini.FindSection("Material"), "Note"), -1);
    EXPECT_EQ(ini.FindSection("Dims"), nullptr) << "without dimensions, as the order's snapshot";

    TMaterial back;
    back.SetNote("old note");
    ASSERT_TRUE(back.LoadFromINI(ini));
    EXPECT_TRUE(back.Note().isEmpty());
    EXPECT_EQ(back.Dims()->ItemCount(), 0) << "a missing Dims section leaves the list empty";
}

TEST_F(MaterialTest, LineBreaksInNameAndNoteCannotBreakTheFile) {
    TMaterial m;
    fillExample(m);
    m.SetNote("first\nPrice=1\rthird");
    m.SetCaption(QStringLiteral("coil\r\n[Dims]"));
    TINI ini;
    m.SaveToINI(ini, true);
    TINI reread;
    reread.FromText(ini.ToText());
    TMaterial back;
    ASSERT_TRUE(back.LoadFromINI(reread));
    EXPECT_EQ(back.Price(), cur("120"));
    EXPECT_EQ(back.Note(), "first\r\nPrice=1\r\nthird");
    EXPECT_EQ(back.Caption(), "coil\r\n[Dims]");
    EXPECT_EQ(back.Dims()->ItemCount(), 2);
}

// ---- Refused and damaged files -----------------------------------------------------------------

struct TFileCase {
    const char* name;
    QByteArray bytes;
    bool accepted;
    std::function<void(const TMaterial&)> check;
};

QByteArray goldenBytes() {
    return test::readFileBytes(test::dataPath("material/example.LNM"));
}

QByteArray withLine(const char* from, const char* to) {
    QByteArray b = goldenBytes();
    b.replace(from, to);
    return b;
}

std::vector<TFileCase> fileCases() {
    QByteArray binary;
    for (int i = 0; i < 512; ++i)
        binary.append(static_cast<char>((i * 37 + 11) % 256));
    QByteArray utf16("\xFF\xFE");
    for (char c : goldenBytes()) {
        utf16.append(c);
        utf16.append('\0');
    }
    return {
        {"empty file", QByteArray(), false, {}},
        {"binary bytes", binary, false, {}},
        {"picture", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), false, {}},
        {"UTF-16 text", utf16, false, {}},
        {"MinVersion 2", withLine("MinVersion=1", "MinVersion=2"), false, {}},
        {"MinVersion missing", withLine("MinVersion=1\r\n", ""), false, {}},
        {"MinVersion 0", withLine("MinVersion=1", "MinVersion=0"), false, {}},
        {"MinVersion -1", withLine("MinVersion=1", "MinVersion=-1"), false, {}},
        {"MinVersion not a number", withLine("MinVersion=1", "MinVersion=one"), false, {}},
        {"MinVersion beyond 32 bits", withLine("MinVersion=1", "MinVersion=4294967297"), false, {}},
        {"truncated in the header", goldenBytes().left(30), false, {}},
        {"MinVersion in another section", withLine("[Material]", "[Other]"), false, {}},
        {"truncated in the dimension record", goldenBytes().left(goldenBytes().indexOf("|500000000")), true,
         [](const TMaterial& m) {
             ASSERT_EQ(m.Dims()->ItemCount(), 1) << "a dimension without Y, which is the empty one";
             EXPECT_EQ(m.Dims()->Dimension(0)->StoredX(), cur("1250"));
             EXPECT_EQ(m.Dims()->Dimension(0)->StoredY(), Currency());
             EXPECT_EQ(m.Dims()->Dimension(0)->Count(), 0);
         }},
        {"truncated before Dims", goldenBytes().left(goldenBytes().indexOf("[Dims]")), true,
         [](const TMaterial& m) {
             EXPECT_EQ(m.Price(), cur("120"));
             EXPECT_EQ(m.Dims()->ItemCount(), 0);
         }},
        {"only the version", QByteArray("[Material]\r\nMinVersion=1\r\n"), true,
         [](const TMaterial& m) {
             // Everything else keeps the setup's defaults, the flag reads false, the name empty.
             EXPECT_EQ(m.Caption(), "");
             EXPECT_EQ(m.StoredMinRecyArea(), cur("0.5"));
             EXPECT_EQ(m.StoredMinRecyDim(), cur("500"));
             EXPECT_EQ(m.VATRate(), vrHigh);
             EXPECT_FALSE(m.HasOrientation());
         }},
        {"numbers beyond 32 bits",
         withLine("CutWidth=32000", "CutWidth=2147483648")
             .replace("Price=1200000", "Price=99999999999")
             .replace("MinRecyArea=5000", "MinRecyArea=-2147483649")
             .replace("VATRate=2", "VATRate=4294967296")
             .replace("Count=2", "Count=4294967298"),
         true,
         [](const TMaterial& m) {
             EXPECT_EQ(m.StoredCutWidth(), Currency());
             EXPECT_EQ(m.Price(), Currency());
             EXPECT_EQ(m.StoredMinRecyArea(), cur("0.5"));
             EXPECT_EQ(m.VATRate(), vrHigh);
             EXPECT_EQ(m.Dims()->ItemCount(), 1) << "no count: only the new empty dimension";
         }},
        {"32-bit limits exactly",
         withLine("CutWidth=32000", "CutWidth=2147483647")
             .replace("MinRecyDim=5000000", "MinRecyDim=-2147483648"),
         true,
         [](const TMaterial& m) {
             EXPECT_EQ(m.StoredCutWidth(), Currency::fromRaw(2147483647));
             EXPECT_EQ(m.StoredMinRecyDim(), Currency::fromRaw(-2147483648LL));
         }},
        {"negative price and unknown mode and rate",
         withLine("Price=1200000", "Price=-5")
             .replace("VATMode=0", "VATMode=3")
             .replace("VATRate=2", "VATRate=-1"),
         true,
         [](const TMaterial& m) {
             EXPECT_EQ(m.Price(), Currency());
             EXPECT_EQ(m.VATMode(), vmWithVAT);
             EXPECT_EQ(m.VATRate(), vrHigh);
         }},
        {"damaged dimension record",
         withLine("|1|12500000|500000000|0|2|0|1|0|0", "|x|-12500000|5e8|7|-2|yes|1"), true,
         [](const TMaterial& m) {
             ASSERT_EQ(m.Dims()->ItemCount(), 1);
             const TDimension* d = m.Dims()->Dimension(0);
             EXPECT_EQ(d->ID(), 1) << "an unreadable ID gets the smallest free one";
             EXPECT_EQ(d->Caption(), "M1");
             EXPECT_EQ(d->StoredX(), Currency()) << "a negative size reads as 0";
             EXPECT_EQ(d->StoredY(), Currency());
             EXPECT_EQ(d->StoredOrientation(), doNone);
             EXPECT_EQ(d->Count(), 0);
             EXPECT_FALSE(d->IsRest());
             EXPECT_TRUE(d->IsDefault());
         }},
        {"huge count with one item", withLine("Count=2", "Count=2147483647"), true,
         [](const TMaterial& m) { EXPECT_EQ(m.Dims()->ItemCount(), 2); }},
        {"item beyond the count", withLine("Count=2", "Count=0"), true,
         [](const TMaterial& m) { EXPECT_EQ(m.Dims()->ItemCount(), 1); }},
        {"Windows-1250 name", withLine("Name=Galvanised coil", "Name=\x8Elutav\xE1 ocel"), true,
         [](const TMaterial& m) { EXPECT_EQ(m.Caption(), QStringLiteral("Žlutavá ocel")); }},
    };
}

TEST_F(MaterialTest, DamagedFilesAreRefusedWholeOrReadWithDefaults) {
    QTemporaryDir dir;
    for (const TFileCase& c : fileCases()) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath("case.LNM");
        ASSERT_TRUE(test::writeFileBytes(path, c.bytes));

        TMaterial m;
        fillExample(m);
        m.SetFileName("/data/current.LNM");
        m.SetNote("unsaved change");
        const QString before = savedText(m);
        ASSERT_TRUE(m.Modified());

        const auto start = std::chrono::steady_clock::now();
        const bool accepted = m.LoadFromFile(path);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        EXPECT_EQ(accepted, c.accepted);
        if (!accepted) {
            EXPECT_EQ(savedText(m), before) << "a refused file changes nothing";
            EXPECT_TRUE(m.Modified()) << "the unsaved-changes mark stays";
            EXPECT_EQ(m.FileName(), "/data/current.LNM");
            EXPECT_FALSE(m.ErrorString().isEmpty());
        } else {
            EXPECT_FALSE(m.Modified());
            EXPECT_EQ(m.FileName(), path);
            if (c.check)
                c.check(m);
        }
    }
}

TEST_F(MaterialTest, UnreadableFileChangesNothing) {
    TMaterial m;
    fillExample(m);
    const QString before = savedText(m);
    EXPECT_FALSE(m.LoadFromFile(QDir::temp().filePath("no-such-folder-lintaro/none.LNM")));
    EXPECT_EQ(savedText(m), before);
    EXPECT_TRUE(m.Modified());
    EXPECT_FALSE(m.ErrorString().isEmpty());
}

TEST_F(MaterialTest, FailedSaveKeepsModifiedAndTheOldFile) {
    TMaterial m;
    fillExample(m);
    QTemporaryDir dir;
    // A folder where the file should go: the save cannot replace it.
    const QString target = dir.filePath("taken.LNM");
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.LNM"));
    EXPECT_FALSE(m.SaveToFile(target));
    EXPECT_TRUE(m.Modified());
    EXPECT_TRUE(QFileInfo(target).isDir());
}

// ---- New material, setters and text access -----------------------------------------------------

TEST_F(MaterialTest, NewMaterialTakesTheSetupDefaultsAndHasOneEmptyDimension) {
    setup.SetMaterialCutWidth(cur("4"));
    setup.SetMaterialHasOrientation(true);
    setup.SetMaterialPrice(cur("50"));
    setup.SetMaterialVATMode(vmWithOutVAT);
    setup.SetMaterialVATRate(vrLow);
    setup.SetMaterialMinRecyArea(cur("1.25"));
    setup.SetMaterialMinRecyDim(cur("300"));

    TMaterial m;
    m.SetNote("old");
    m.CreateNew();
    EXPECT_EQ(m.Caption(), "Material");
    EXPECT_EQ(m.StoredCutWidth(), cur("4"));
    EXPECT_TRUE(m.HasOrientation());
    EXPECT_EQ(m.Price(), cur("50"));
    EXPECT_EQ(m.VATMode(), vmWithOutVAT);
    EXPECT_EQ(m.VATRate(), vrLow);
    EXPECT_EQ(m.StoredMinRecyArea(), cur("1.25"));
    EXPECT_EQ(m.StoredMinRecyDim(), cur("300"));
    EXPECT_TRUE(m.Note().isEmpty());
    EXPECT_FALSE(m.Modified());

    ASSERT_EQ(m.Dims()->ItemCount(), 1);
    const TDimension* d = m.Dims()->Dimension(0);
    EXPECT_EQ(d->Caption(), "M1");
    EXPECT_EQ(d->ID(), 1);
    EXPECT_EQ(d->Count(), 1);
    EXPECT_EQ(d->StoredX(), Currency());
    EXPECT_EQ(d->StoredY(), Currency());
    EXPECT_EQ(d->StoredOrientation(), doY);
    EXPECT_EQ(m.Dims()->ItemFocused(), d);
    EXPECT_EQ(d->Material(), &m);
}

TEST_F(MaterialTest, VATRateChangeKeepsThePriceWithoutVAT) {
    TMaterial m;
    m.CreateNew(); // high rate, price with VAT
    m.SetPrice(cur("119"));
    EXPECT_EQ(m.PricewoVAT(), cur("100"));
    m.SetVATRate(vrLow);
    EXPECT_EQ(m.Price(), cur("105"));
    EXPECT_EQ(m.PricewoVAT(), cur("100"));
    EXPECT_EQ(m.GetPropAsString("VATRate"), "5%");

    m.SetVATMode(vmWithOutVAT);
    EXPECT_EQ(m.Price(), cur("105")) << "changing the mode does not convert";
    m.SetVATRate(vrHigh);
    EXPECT_EQ(m.Price(), cur("105")) << "without VAT the price stays";
    EXPECT_EQ(m.PricewVAT(), cur("124.95"));
}

TEST_F(MaterialTest, VATRateChangeThatWouldLeaveThePriceRangeIsRefused) {
    TMaterial m;
    m.CreateNew();
    m.SetVATRate(vrZero);
    m.SetPrice(cur("200000"));
    m.SetVATRate(vrHigh); // 238 000 would not fit the file
    EXPECT_EQ(m.VATRate(), vrZero);
    EXPECT_EQ(m.Price(), cur("200000"));
}

TEST_F(MaterialTest, VATRateEntryMapsPercentagesToClasses) {
    struct {
        const char* text;
        TVATRate expected;
    } cases[] = {{"5", vrLow},  {"5%", vrLow},   {"0", vrZero}, {" 0 %", vrZero}, {"19", vrHigh},
                 {"7", vrHigh}, {"abc", vrHigh}, {"", vrHigh},  {"5,5", vrHigh},  {"rate 5", vrLow}};
    for (const auto& c : cases) {
        TMaterial m;
        m.SetVATRate(vrLow);
        m.SetPropAsString("VATRate", c.text);
        EXPECT_EQ(m.VATRate(), c.expected) << c.text;
    }
}

TEST_F(MaterialTest, SettersRefuseValuesTheFileCannotHold) {
    struct {
        const char* what;
        std::function<void(TMaterial&, Currency)> set;
        std::function<Currency(const TMaterial&)> get;
        const char* value;
        bool taken;
    } cases[] = {
        {"price", &TMaterial::SetPrice, &TMaterial::Price, "214747.9999", true},
        {"price", &TMaterial::SetPrice, &TMaterial::Price, "214748", false},
        {"price", &TMaterial::SetPrice, &TMaterial::Price, "-0.0001", false},
        {"price", &TMaterial::SetPrice, &TMaterial::Price, "0", true},
        {"cut width", &TMaterial::SetCutWidth, &TMaterial::StoredCutWidth, "214747.9999", true},
        {"cut width", &TMaterial::SetCutWidth, &TMaterial::StoredCutWidth, "214748", false},
        {"cut width", &TMaterial::SetCutWidth, &TMaterial::StoredCutWidth, "-214748", false},
        {"cut width", &TMaterial::SetCutWidth, &TMaterial::StoredCutWidth, "-1", true},
        {"rest side", &TMaterial::SetMinRecyDim, &TMaterial::StoredMinRecyDim, "214748", false},
        {"rest side", &TMaterial::SetMinRecyDim, &TMaterial::StoredMinRecyDim, "2000", true},
        {"rest area", &TMaterial::SetMinRecyArea, &TMaterial::StoredMinRecyArea, "214748", false},
        {"rest area", &TMaterial::SetMinRecyArea, &TMaterial::StoredMinRecyArea, "214747", true},
    };
    for (const auto& c : cases) {
        TMaterial m;
        m.SetPrice(cur("1"));
        m.SetModified(false);
        const Currency before = c.get(m);
        c.set(m, cur(c.value));
        EXPECT_EQ(c.get(m), c.taken ? cur(c.value) : before) << c.what << " " << c.value;
        EXPECT_EQ(m.Modified(), c.taken && cur(c.value) != before) << c.what << " " << c.value;
    }
}

TEST_F(MaterialTest, ImperialUnitsConvertAndRefuseBeyondTheFileRange) {
    ScopedLocale us(Locale::unitedStates());
    TMaterial m;
    m.SetCutWidth(cur("1"));
    EXPECT_EQ(m.StoredCutWidth(), cur("25.4"));
    EXPECT_EQ(m.GetPropAsString("CutWidth"), "1.000 in");
    m.SetCutWidth(cur("8455")); // 214 757 mm
    EXPECT_EQ(m.StoredCutWidth(), cur("25.4"));
    m.SetMinRecyArea(cur("10.7639"));
    EXPECT_EQ(m.GetPropAsString("MinRecyArea"), "10.76 ft2");
    EXPECT_EQ(m.GetPropAsString("MinRecyDim"), "19.685 in");
}

TEST_F(MaterialTest, TextAccessByName) {
    TMaterial m;
    fillExample(m);
    m.SetFileName("/data/coil.LNM");
    struct {
        const char* key;
        QString expected;
    } cases[] = {
        {"Amount", QStringLiteral("125,000 m2")},
        {"CUTWIDTH", QStringLiteral("3,20 mm")},
        {"FileName", QStringLiteral("/data/coil.LNM")},
        {"HasOrientation", QStringLiteral("0")},
        {"MinRecyArea", QStringLiteral("0,500 m2")},
        {"MinRecyDim", QStringLiteral("500,00 mm")},
        {"Note", QString()},
        {"Price", QStringLiteral("120,00 Kč")},
        {"PriceIsWithVAT", QStringLiteral("1")},
        {"PricewoVAT", QStringLiteral("100,84 Kč")},
        {"PricewVAT", QStringLiteral("120,00 Kč")},
        {"TotalPrice", QStringLiteral("15 000,00 Kč")},
        {"VATMode", QStringLiteral("Prices include VAT")},
        {"VATRate", QStringLiteral("19%")},
        {"Caption", QStringLiteral("Galvanised coil")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m.GetPropAsString(c.key), c.expected) << c.key;

    m.SetPropAsString("Price", "100+20,5");
    EXPECT_EQ(m.Price(), cur("120.5"));
    m.SetPropAsString("CutWidth", "4 mm");
    EXPECT_EQ(m.StoredCutWidth(), cur("4"));
    EXPECT_THROW(m.SetPropAsString("MinRecyDim", "4/0"), ConversionError);
    EXPECT_EQ(m.StoredMinRecyDim(), cur("500"));
    m.SetPropAsString("TotalPrice", "1");
    m.SetPropAsString("HasOrientation", "1");
    EXPECT_FALSE(m.HasOrientation());
}

TEST_F(MaterialTest, FileNameComparesWithoutCaseAndDoesNotModify) {
    TMaterial m;
    m.SetFileName("/data/Coil.LNM");
    EXPECT_FALSE(m.Modified());
    m.SetFileName("/DATA/coil.lnm");
    EXPECT_EQ(m.FileName(), "/data/Coil.LNM");
}

TEST_F(MaterialTest, AssignCopiesEverythingDeeply) {
    TMaterial m;
    fillExample(m);
    m.SetNote("note");
    m.SetFileName("/data/coil.LNM");
    m.Dims()->Dimension(0)->SetIsUnUseable(true);
    TMaterial copy;
    copy.Assign(&m);
    EXPECT_EQ(savedText(copy), savedText(m));
    EXPECT_EQ(copy.FileName(), "/data/coil.LNM");
    ASSERT_EQ(copy.Dims()->ItemCount(), 2);
    EXPECT_NE(copy.Dims()->Dimension(0), m.Dims()->Dimension(0));
    EXPECT_EQ(copy.Dims()->Dimension(0)->Material(), &copy);
    EXPECT_TRUE(copy.Dims()->Dimension(0)->IsUnUseable());
    EXPECT_EQ(copy.Dims()->ItemFocused(), copy.Dims()->Dimension(0));
    m.Assign(&m);
    EXPECT_EQ(m.Dims()->ItemCount(), 2) << "assigning to itself keeps the dimensions";
}

// ---- Notifications and forwarding --------------------------------------------------------------

TEST_F(MaterialTest, ChangesOfTheMaterialAndItsDimensionsAreForwarded) {
    TOrderRecorder order;
    TSetupRecorder recordingSetup;
    TApplicationLinks::SetSetup(&recordingSetup);
    TMaterial m;
    m.CreateNew();
    TApplicationLinks::SetOrder(&order);
    QStringList refreshed;
    TApplicationLinks::SetControlsRefresh([&](TComponent* source, const QString& prop) {
        if (source == &m && prop != QLatin1String("Modified"))
            refreshed << prop;
    });

    m.SetPrice(cur("10"));
    EXPECT_EQ(order.Props(&m), (QStringList{"PricewoVAT", "PricewVAT", "TotalPrice", "Price"}));
    EXPECT_EQ(refreshed, order.Props(&m));
    EXPECT_TRUE(recordingSetup.props.contains("Price"));
    for (const auto& e : order.entries)
        EXPECT_EQ(e.sender, &m);

    order.entries.clear();
    TDimension* d = m.Dims()->Dimension(0);
    d->SetCount(3);
    EXPECT_TRUE(order.Props(d).contains("Count"));
    EXPECT_TRUE(order.Props(m.Dims()).contains("Area"));
    EXPECT_EQ(order.Props(&m), (QStringList{"TotalPrice", "Amount"}));

    // A change that reaches the material from outside is not sent back.
    order.entries.clear();
    m.DataChanged(&order, &order, "Caption");
    EXPECT_TRUE(order.entries.empty());
}

TEST_F(MaterialTest, VATModeAnnouncesPriceThenVATMode) {
    TMaterial m;
    m.CreateNew();
    TOrderRecorder order;
    TApplicationLinks::SetOrder(&order);
    m.SetVATMode(vmWithOutVAT);
    EXPECT_EQ(order.Props(&m), (QStringList{"PricewoVAT", "PricewVAT", "TotalPrice", "Price", "PricewoVAT",
                                            "PricewVAT", "VATMode"}));
}

TEST_F(MaterialTest, LoadingAnnouncesOnlyTheLoadedMaterial) {
    TMaterial m;
    m.CreateNew();
    TOrderRecorder order;
    order.Watch(&m);
    TApplicationLinks::SetOrder(&order);
    ASSERT_TRUE(m.LoadFromFile(test::dataPath("material/example.LNM")));
    ASSERT_FALSE(order.entries.empty());
    for (const auto& e : order.entries)
        EXPECT_TRUE(e.fromWatched) << e.prop.toStdString() << " from a material being read";
    EXPECT_TRUE(order.Props(&m).contains(QString())) << "the reload is announced with an empty name";

    order.entries.clear();
    EXPECT_FALSE(m.LoadFromFile(QDir::temp().filePath("no-such-folder-lintaro/none.LNM")));
    EXPECT_TRUE(order.entries.empty());
}

TEST_F(MaterialTest, TypingIntoTheEmptyDimensionAppendsANewOne) {
    TMaterial m;
    m.CreateNew();
    TDimensionList* dims = m.Dims();
    TDimension* first = dims->Dimension(0);
    first->SetPropAsString("X", "1000");
    EXPECT_EQ(dims->ItemCount(), 1) << "still without area";
    first->SetPropAsString("Y", "2000");
    ASSERT_EQ(dims->ItemCount(), 2);
    EXPECT_EQ(dims->Dimension(1)->Caption(), "M2");
    EXPECT_EQ(dims->Dimension(1)->Count(), 1);
    EXPECT_EQ(m.Amount(), cur("2")) << "the new empty dimension adds nothing";
    EXPECT_EQ(dims->ItemFocused(), first) << "the focus stays";

    // Moving the focus onto the empty dimension sorts.
    first->SetIsPrefered(true);
    dims->Dimension(1)->SetPropAsString("X", "500");
    dims->Dimension(1)->SetPropAsString("Y", "500");
    ASSERT_EQ(dims->ItemCount(), 3);
    dims->SetItemFocused(dims->Dimension(2));
    EXPECT_EQ(dims->Dimension(0)->Caption(), "M2");
    EXPECT_EQ(dims->Dimension(1), first);
    EXPECT_FALSE(dims->Dimension(2)->IsValid());
}

// ---- Dimensions ---------------------------------------------------------------------------------

// A dimension read from its record form: "|ID|X×10000|Y×10000|orientation|count|rest|default|
// preferred|stopped".
TDimension* insertRecord(TDimensionList& list, const QString& record) {
    auto* d = new TDimension(nullptr);
    d->SetPropAsString(QString(), record);
    EXPECT_TRUE(list.ItemInsert(d));
    return d;
}

QStringList captionsOf(const TDimensionList& list) {
    QStringList result;
    for (int i = 0; i < list.ItemCount(); ++i)
        result << (list.Dimension(i)->IsValid() ? list.Item(i)->Caption() : QStringLiteral("empty"));
    return result;
}

TEST_F(MaterialTest, DimensionRecordFormHasNineFieldsWithoutClosingBar) {
    TMaterial m;
    fillExample(m);
    const TDimension* coil = m.Dims()->Dimension(0);
    EXPECT_EQ(coil->GetPropAsString(""), "|1|12500000|500000000|0|2|0|1|0|0");

    struct {
        const char* record;
        const char* caption;
        int id;
        const char* x;
        TDimensionOrientation orientation;
        int count;
        bool rest, isDefault, prefered, stopped;
    } cases[] = {
        {"|1|12500000|500000000|0|2|0|1|0|0", "M1", 1, "1250", doNone, 2, false, true, false, false},
        {"|7|10000|20000|2|3|1|0|0|1|", "R7", 7, "1", doY, 3, true, false, false, true},
        {"|7|10000|20000|1|3|0|0|1|0|extra|fields", "M7", 7, "1", doX, 3, false, false, true, false},
        {"4|10000", "M4", 4, "1", doNone, 0, false, false, false, false},
        {"|5|1|1|1|1|true|yes|2|01", "M5", 5, "0.0001", doX, 1, false, false, false, false},
    };
    for (const auto& c : cases) {
        TDimension d;
        d.SetPropAsString("", c.record);
        EXPECT_EQ(d.Caption(), c.caption) << c.record;
        EXPECT_EQ(d.ID(), c.id) << c.record;
        EXPECT_EQ(d.StoredX(), cur(c.x)) << c.record;
        EXPECT_EQ(d.StoredOrientation(), c.orientation) << c.record;
        EXPECT_EQ(d.Count(), c.count) << c.record;
        EXPECT_EQ(d.IsRest(), c.rest) << c.record;
        EXPECT_EQ(d.IsDefault(), c.isDefault) << c.record;
        EXPECT_EQ(d.IsPrefered(), c.prefered) << c.record;
        EXPECT_EQ(d.IsStopped(), c.stopped) << c.record;
        EXPECT_FALSE(d.Modified()) << "reading a record announces and modifies nothing";
    }
}

TEST_F(MaterialTest, DefaultMovesBetweenDimensionsAndNeverOntoARest) {
    TMaterial m;
    fillExample(m);
    TDimension* coil = m.Dims()->Dimension(0);
    TDimension* second = m.Dims()->Dimension(1);
    ASSERT_TRUE(coil->IsDefault());
    second->SetIsDefault(true);
    EXPECT_FALSE(coil->IsDefault());
    EXPECT_TRUE(second->IsDefault());
    EXPECT_EQ(m.Dims()->DefaultDim(), second);

    coil->SetIsRest(true);
    EXPECT_EQ(coil->Caption(), "R1");
    coil->SetIsDefault(true);
    EXPECT_FALSE(coil->IsDefault()) << "a rest cannot be made default";
    EXPECT_TRUE(second->IsDefault()) << "and the default stays where it was";

    second->SetIsRest(true);
    EXPECT_TRUE(second->IsDefault()) << "becoming a rest keeps an existing default";
    EXPECT_EQ(second->Caption(), "R2");
    second->SetIsRest(false);
    EXPECT_EQ(second->Caption(), "M2");

    // Dimensions of another list are not affected.
    TDimensionList other;
    TDimension* foreign = insertRecord(other, "|1|10000|10000|0|1|0|1|0|0");
    second->SetIsDefault(false);
    second->SetIsDefault(true);
    EXPECT_TRUE(foreign->IsDefault());
}

TEST_F(MaterialTest, PreferedAndStoppedExcludeEachOther) {
    struct {
        bool prefered, stopped;
        const char* action;
        bool expectPrefered, expectStopped;
    } cases[] = {
        {false, true, "prefer", true, false},    {true, false, "stop", false, true},
        {true, false, "unprefer", false, false}, {false, true, "unstop", false, false},
        {false, false, "prefer", true, false},   {false, false, "stop", false, true},
        {true, false, "prefer", true, false},    {false, true, "stop", false, true},
    };
    for (const auto& c : cases) {
        TDimension d;
        d.SetPropAsString(
            "", QStringLiteral("|1|10000|10000|0|1|0|0|%1|%2").arg(int(c.prefered)).arg(int(c.stopped)));
        const QString action = c.action;
        if (action == "prefer")
            d.SetIsPrefered(true);
        else if (action == "stop")
            d.SetIsStopped(true);
        else if (action == "unprefer")
            d.SetIsPrefered(false);
        else
            d.SetIsStopped(false);
        EXPECT_EQ(d.IsPrefered(), c.expectPrefered) << c.action;
        EXPECT_EQ(d.IsStopped(), c.expectStopped) << c.action;
    }
}

TEST_F(MaterialTest, OrientationFollowsTheMaterialsGrainDirection) {
    enum TOwner { none, withoutGrain, withGrain };
    struct {
        TOwner owner;
        TDimensionOrientation stored;
        const char* read;
        TDimensionOrientation set;
        TDimensionOrientation storedAfterSet;
    } cases[] = {
        {none, doNone, "N", doNone, doNone},
        {none, doY, "Y", doX, doX},
        {withoutGrain, doY, "N", doY, doNone},
        {withoutGrain, doX, "N", doX, doNone},
        {withoutGrain, doNone, "N", doNone, doNone},
        {withGrain, doNone, "X", doNone, doX},
        {withGrain, doY, "Y", doY, doY},
        {withGrain, doX, "X", doNone, doX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.owner) * 10 + int(c.stored));
        TMaterial m;
        m.SetHasOrientation(c.owner == withGrain);
        TDimensionList loose;
        TDimensionList& list = c.owner == none ? loose : *m.Dims();
        TDimension* d = insertRecord(list, QStringLiteral("|1|10000|10000|%1|1|0|0|0|0").arg(int(c.stored)));
        EXPECT_EQ(d->StoredOrientation(), c.stored);
        EXPECT_EQ(d->GetPropAsString("Orientation"), c.read);
        d->SetOrientation(c.set);
        EXPECT_EQ(d->StoredOrientation(), c.storedAfterSet);
    }

    // Switching the grain direction on makes dimensions stored as doNone read X, and tells so.
    TMaterial m;
    m.SetHasOrientation(false);
    TDimension* d = insertRecord(*m.Dims(), "|1|10000|10000|0|1|0|0|0|0");
    QStringList announced;
    TApplicationLinks::SetControlsRefresh([&](TComponent* source, const QString& prop) {
        if (source == d)
            announced << prop;
    });
    m.SetHasOrientation(true);
    EXPECT_EQ(announced, QStringList{"Orientation"});
    EXPECT_EQ(d->GetPropAsString("Orientation"), "X");

    struct {
        const char* text;
        TDimensionOrientation stored;
    } texts[] = {{"Y", doY}, {"x", doX}, {"y", doY}, {"N", doX}, {"", doX}, {"XY", doX}};
    for (const auto& t : texts) {
        d->SetPropAsString("Orientation", t.text);
        EXPECT_EQ(d->StoredOrientation(), t.stored) << t.text;
    }
}

struct TSortRow {
    int id;
    bool prefered, stopped, rest;
    int x, y, count;
};

QString recordOf(const TSortRow& r) {
    return QStringLiteral("|%1|%2|%3|0|%4|%5|0|%6|%7")
        .arg(r.id)
        .arg(qint64(r.x) * 10000)
        .arg(qint64(r.y) * 10000)
        .arg(r.count)
        .arg(int(r.rest))
        .arg(int(r.prefered))
        .arg(int(r.stopped));
}

TEST_F(MaterialTest, SortPutsPreferredLastStoppedFirstLargerAreasAndCountsFirst) {
    const TSortRow rows[] = {
        {1, false, false, false, 1000, 1000, 1}, {2, false, false, false, 2000, 1000, 1},
        {3, false, false, false, 1000, 1000, 5}, {4, false, false, true, 3000, 3000, 1},
        {5, false, true, false, 500, 500, 1},    {6, true, false, false, 100, 100, 1},
        {7, true, true, false, 200, 200, 1},     {8, true, false, false, 3000, 1000, 1},
        {9, false, false, true, 100, 100, 9},
    };
    TDimensionList list;
    for (const TSortRow& r : rows)
        insertRecord(list, recordOf(r));
    ASSERT_EQ(list.ItemCount(), 10) << "the rows and one new empty dimension";
    list.Sort();
    EXPECT_EQ(captionsOf(list), (QStringList{"M5", "M2", "M3", "M1", "R4", "R9", "M7", "M8", "M6", "empty"}));
}

TEST_F(MaterialTest, DimensionOrderPairwise) {
    struct {
        TSortRow a, b;
        int sign;
    } cases[] = {
        {{1, false, false, false, 100, 100, 1}, {2, false, false, false, 0, 500, 1}, -1},   // valid first
        {{1, true, true, true, 0, 100, 1}, {2, false, false, false, 0, 0, 1}, 0},           // two invalid
        {{1, false, false, false, 100, 100, 1}, {2, true, false, false, 900, 900, 9}, -1},  // not preferred
        {{1, false, true, false, 100, 100, 1}, {2, false, false, false, 900, 900, 9}, -1},  // stopped first
        {{1, false, false, true, 900, 900, 9}, {2, false, false, false, 100, 100, 1}, 1},   // rests after
        {{1, false, false, false, 100, 200, 1}, {2, false, false, false, 200, 100, 1}, 0},  // all equal
        {{1, false, false, false, 100, 200, 1}, {2, false, false, false, 200, 100, 2}, 1},  // larger count
        {{1, false, false, false, 100, 210, 1}, {2, false, false, false, 200, 100, 9}, -1}, // larger area
    };
    for (const auto& c : cases) {
        TDimension a, b;
        a.SetPropAsString("", recordOf(c.a));
        b.SetPropAsString("", recordOf(c.b));
        const int r = TDimensionList::CompareDimensions(&a, &b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign)
            << recordOf(c.a).toStdString() << " vs " << recordOf(c.b).toStdString();
        const int back = TDimensionList::CompareDimensions(&b, &a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign);
    }
}

TEST_F(MaterialTest, FlagsTextNamesTheSetFlags) {
    struct {
        const char* flags; // rest, default, preferred, stopped
        QString expected;
    } cases[] = {
        {"0|0|0|0", QString()},
        {"1|0|1|0", QStringLiteral("Rest, Preferred dimension")},
        {"0|1|0|0", QStringLiteral("Default dimension")},
        {"0|0|0|1", QStringLiteral("Stopped dimension")},
        {"1|1|1|1", QStringLiteral("Rest, Default, Preferred, Stopped dimension")},
    };
    for (const auto& c : cases) {
        TDimension d;
        d.SetPropAsString("", QStringLiteral("|1|10000|10000|0|1|") + c.flags);
        EXPECT_EQ(d.GetPropAsString("IsRDPS"), c.expected) << c.flags;
    }
    // A preferred rest made through the setters.
    TDimension d;
    d.SetIsRest(true);
    d.SetIsPrefered(true);
    EXPECT_EQ(d.GetPropAsString("ISRDPS"), "Rest, Preferred dimension");
    EXPECT_EQ(d.GetPropAsString("IsRest"), "1");
    EXPECT_EQ(d.GetPropAsString("IsStopped"), "0");
    d.SetPropAsString("IsRest", "0");
    EXPECT_TRUE(d.IsRest()) << "flags are not set by name";
}

TEST_F(MaterialTest, DimensionSizesAndCountsAtTheirLimits) {
    struct {
        const char* text;
        bool taken;
    } sizes[] = {{"0", false},          {"-5", false},     {"0,0001", true},
                 {"214747,9999", true}, {"214748", false}, {"2*1000", true}};
    for (const auto& c : sizes) {
        TDimension d;
        d.SetPropAsString("X", c.text);
        EXPECT_EQ(d.StoredX().raw() != 0, c.taken) << c.text;
        EXPECT_EQ(d.Modified(), c.taken) << c.text;
    }
    {
        ScopedLocale us(Locale::unitedStates());
        TDimension d;
        d.SetY(cur("8454.6"));
        EXPECT_EQ(d.StoredY(), cur("214746.84"));
        d.SetY(cur("8454.7")); // 214 749.38 mm no longer fits the record
        EXPECT_EQ(d.StoredY(), cur("214746.84"));
        d.SetY(cur("214747"));
        EXPECT_EQ(d.StoredY(), cur("214746.84"));
        TDimension square;
        square.SetX(cur("10"));
        square.SetY(cur("10"));
        EXPECT_EQ(square.GetPropAsString("X"), "10.00 in");
        EXPECT_EQ(square.Area(), cur("0.6943")) << "0.0645 m² (round4 of 0.064516) in ft2";
    }

    struct {
        const char* text;
        int count;
    } counts[] = {{"7", 7}, {" 8 ", 8}, {"-2", 0}, {"abc", 0}, {"99999999999", 0}, {"3*4", 0}, {"", 0}};
    for (const auto& c : counts) {
        TDimension d;
        d.SetCount(5);
        d.SetPropAsString("Count", c.text);
        EXPECT_EQ(d.Count(), c.count) << c.text;
    }
    TDimension d;
    d.SetCount(-3);
    EXPECT_EQ(d.Count(), 0);
    EXPECT_FALSE(d.Modified()) << "-3 is 0, which it was";
    EXPECT_THROW(d.SetPropAsString("Y", "4/0"), ConversionError);
}

TEST_F(MaterialTest, DimensionComputedValuesAndText) {
    TDimension d;
    d.SetPropAsString("X", "1250");
    d.SetPropAsString("Y", "50000");
    EXPECT_EQ(d.Area(), cur("62.5"));
    EXPECT_EQ(d.Circuit(), cur("102.5"));
    EXPECT_TRUE(d.IsValid());
    EXPECT_EQ(d.GetPropAsString("X"), "1 250,00 mm");
    EXPECT_EQ(d.GetPropAsString("y"), "50 000,00 mm");
    d.SetID(7);
    EXPECT_EQ(d.Caption(), "M7");
    {
        ScopedLocale us(Locale::unitedStates());
        EXPECT_EQ(d.Area(), cur("672.7444"));
        EXPECT_EQ(d.Circuit(), cur("336.2861"));
    }
}

TEST_F(MaterialTest, DimensionCopyIsCompleteAndSmall) {
    TDimension d;
    d.SetPropAsString("", "|3|10000|20000|2|4|1|0|1|0");
    d.SetIsUnUseable(true);
    TDimension copy;
    copy.Assign(&d);
    EXPECT_EQ(copy.GetPropAsString(""), d.GetPropAsString(""));
    EXPECT_EQ(copy.Caption(), "R3");
    EXPECT_TRUE(copy.IsUnUseable());
    // The calculator copies a dimension into every search node.
    EXPECT_LE(sizeof(TDimension), sizeof(TDataComponent) + 32);
}

TEST_F(MaterialTest, ListSectionSkipsEmptyDimensionsAndLoadsInOrder) {
    TDimensionList list;
    insertRecord(list, "|1|10000000|10000000|0|1|0|0|0|0");
    ASSERT_EQ(list.ItemCount(), 2);
    insertRecord(list, "|3|20000000|20000000|0|2|0|0|0|0");
    QStringList lines;
    list.SaveToStrings(lines);
    EXPECT_EQ(lines, (QStringList{"Count=3", "Item1=|1|10000000|10000000|0|1|0|0|0|0",
                                  "Item3=|3|20000000|20000000|0|2|0|0|0|0"}));

    const QStringList section{"Count=4",
                              "item2=|2|30000000|30000000|0|1|0|0|0|0",
                              "Item1=",
                              "Item1=|9|10000000|10000000|0|1|0|0|0|0",
                              "Item02=|5|10000000|10000000|0|1|0|0|0|0",
                              "Item4=|4|10000000|10000000|0|1|0|0|0|0",
                              "Item5=|5|10000000|10000000|0|1|0|0|0|0"};
    TDimensionList loaded;
    loaded.LoadFromStrings(&section);
    EXPECT_EQ(captionsOf(loaded), (QStringList{"M2", "M4", "empty"}))
        << "the first line of a key wins; Item02 and keys beyond the count are no items";
    EXPECT_EQ(loaded.ItemFocused(), loaded.Item(0));
    EXPECT_FALSE(loaded.BulkLoading());
}

} // namespace
