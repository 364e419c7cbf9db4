#include "model/Setup.h"

#include "foundation/ConversionError.h"
#include "foundation/Files.h"
#include "foundation/Ini.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <limits>
#include <vector>

using namespace lintaro;

namespace {

const QString kMark = QString(QChar(0x00B6)); // the stored form of a line break

// Stands where the application's order stands and logs what reaches it as "sender:prop".
class TOrderListener : public TSimpleComponent {
    LINTARO_COMPONENT(TOrderListener)
public:
    explicit TOrderListener(TComponent* owner = nullptr) : TSimpleComponent(owner) {}
    bool DataChangeStep(TComponent* source, TComponent* sender, int phase, const QString& prop) override {
        if (phase == 1 && prop != QLatin1String("Modified"))
            entries.push_back({source, sender, prop});
        return TSimpleComponent::DataChangeStep(source, sender, phase, prop);
    }
    struct Entry {
        TComponent* source;
        TComponent* sender;
        QString prop;
    };
    std::vector<Entry> entries;
};

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::initProgramForTests();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // The settings file as SaveToFile writes it.
    static QString fileText(const TSetup& setup) {
        TINI ini;
        setup.SaveToINI(ini);
        return ini.ToText();
    }
    bool loadText(TSetup& setup, const QByteArray& bytes, const QString& name = QStringLiteral("load.INI")) {
        EXPECT_TRUE(test::writeFileBytes(path(name), bytes));
        return setup.LoadFromFile(path(name));
    }

    ScopedLocale guard{Locale::czech()};
    TScopedApplicationLinks links;
    QTemporaryDir dir;
};

// A setup with every property away from its default.
void fillAll(TSetup& s) {
    s.SetVATZeroValue(1);
    s.SetVATLowValue(9);
    s.SetVATHighValue(21);
    s.SetMaterialCutWidth(Currency::fromRaw(32000));
    s.SetMaterialHasOrientation(true);
    s.SetMaterialMinRecyArea(Currency::fromRaw(12345));
    s.SetMaterialMinRecyDim(Currency::fromInteger(300));
    s.SetMaterialPrice(Currency::fromRaw(4567890));
    s.SetMaterialVATMode(vmWithOutVAT);
    s.SetMaterialVATRate(vrLow);
    s.SetOrderAddAutoPartsArea(false);
    s.SetOrderAddAutoPartsCircuit(false);
    s.SetOrderNote1(QStringLiteral("First line\r\nsecond line"));
    s.SetOrderNote2(QStringLiteral("Note two"));
    s.SetOrderNumber(42);
    s.SetOrderPrefix(QStringLiteral("OFF-"));
    s.SetOrderVATMode(vmWithOutVAT);
    s.SetPartOrientation(poY);
    s.SetSheetsAddExtractToOrder(true);
    s.SetSheetsErlangeFont(true);
    s.SetSheetsMaxCutLength(Currency::fromInteger(2800));
    s.SetSheetsReductionTimeMax(30);
    s.SetSheetsReductionTimeMin(7);
    s.SetSheetsShowCaptionsOnParts(true);
    s.SetSheetsZoom(300);
    s.Supplier()->SetCaption(QStringLiteral("Truhlářství Novák"));
    s.Supplier()->SetTown(QStringLiteral("Brno"));
    s.Supplier()->SetIsNotVATPayer(true);
    s.Supplier()->SetNote(QStringLiteral("Line 1\r\nLine 2"));
    s.SetSupplierLogoFileName(QStringLiteral("/home/jan/logo.bmp"));
}

TEST_F(SetupTest, DefaultsWriteTheGoldenFile) {
    TSetup setup;
    setup.SetModified(true);
    ASSERT_TRUE(setup.SaveToFile(path("lintaro.INI")));
    EXPECT_FALSE(setup.Modified());
    EXPECT_EQ(test::readFileBytes(path("lintaro.INI")),
              test::readFileBytes(test::dataPath("setup/defaults.INI")));
}

TEST_F(SetupTest, GoldenDefaultsLoadBackToTheDefaults) {
    TSetup setup;
    fillAll(setup);
    ASSERT_TRUE(setup.LoadFromFile(test::dataPath("setup/defaults.INI")));
    EXPECT_EQ(fileText(setup), fileText(TSetup()));
    EXPECT_FALSE(setup.Modified());
    EXPECT_EQ(setup.Supplier()->Caption(), QString());
}

TEST_F(SetupTest, EveryPropertyRoundTripsThroughTheFile) {
    TSetup setup;
    fillAll(setup);
    ASSERT_TRUE(setup.SaveToFile(path("all.INI")));
    const QByteArray bytes = test::readFileBytes(path("all.INI"));
    EXPECT_TRUE(bytes.contains(QStringLiteral("Note1=First line%1second line").arg(kMark).toUtf8()));
    EXPECT_TRUE(bytes.contains("Price=4567890\r\n"));
    EXPECT_TRUE(bytes.contains("MinRecyDim=3000000\r\n"));

    TSetup reread;
    ASSERT_TRUE(reread.LoadFromFile(path("all.INI")));
    EXPECT_EQ(fileText(reread), fileText(setup));
    EXPECT_EQ(reread.OrderNote1(), QStringLiteral("First line\r\nsecond line"));
    EXPECT_EQ(reread.Supplier()->Note(), QStringLiteral("Line 1\r\nLine 2"));
    EXPECT_TRUE(reread.Supplier()->IsNotVATPayer());
    EXPECT_EQ(reread.SupplierLogoFileName(), QStringLiteral("/home/jan/logo.bmp"));
    EXPECT_EQ(reread.MaterialPrice(), Currency::fromRaw(4567890));
    EXPECT_EQ(reread.PartOrientation(), poY);
}

TEST_F(SetupTest, ReductionTimeSettersKeepMinimumBelowMaximum) {
    struct Row {
        bool setMax;
        int value;
        int expectedMin;
        int expectedMax;
    };
    // Starting from the defaults, minimum 4 and maximum 12.
    const Row rows[] = {
        {true, 3, 4, 5},     {true, 4, 4, 5},     {true, 5, 4, 5},     {true, 150, 4, 100},
        {true, 100, 4, 100}, {true, 101, 4, 100}, {false, 20, 11, 12}, {false, 12, 11, 12},
        {false, 11, 11, 12}, {false, -5, 0, 12},  {false, 0, 0, 12},   {false, -1, 0, 12},
    };
    for (const Row& row : rows) {
        TSetup setup;
        if (row.setMax)
            setup.SetSheetsReductionTimeMax(row.value);
        else
            setup.SetSheetsReductionTimeMin(row.value);
        EXPECT_EQ(setup.SheetsReductionTimeMin(), row.expectedMin) << row.setMax << " " << row.value;
        EXPECT_EQ(setup.SheetsReductionTimeMax(), row.expectedMax) << row.setMax << " " << row.value;
    }
}

TEST_F(SetupTest, ReductionTimesFromAFileAreTakenAsTheyStand) {
    TSetup setup;
    ASSERT_TRUE(loadText(setup, "[Sheets]\r\nReductionTimeMax=12\r\nReductionTimeMin=20\r\n"));
    EXPECT_EQ(setup.SheetsReductionTimeMin(), 20);
    EXPECT_EQ(setup.SheetsReductionTimeMax(), 12);
    // Extreme stored bounds do not overflow the setters' arithmetic.
    ASSERT_TRUE(
        loadText(setup, "[Sheets]\r\nReductionTimeMax=-2147483648\r\nReductionTimeMin=2147483647\r\n"));
    setup.SetSheetsReductionTimeMax(5);
    EXPECT_EQ(setup.SheetsReductionTimeMax(), std::numeric_limits<int>::max());
    ASSERT_TRUE(loadText(setup, "[Sheets]\r\nReductionTimeMax=-2147483648\r\nReductionTimeMin=0\r\n"));
    setup.SetSheetsReductionTimeMin(0);
    EXPECT_EQ(setup.SheetsReductionTimeMin(), std::numeric_limits<int>::min());
}

TEST_F(SetupTest, OrderPrefixEqualToTheDefaultFollowsTheYear) {
    TSetup setup;
    int year = 2004;
    setup.SetDateSource([&year] { return QDate(year, 6, 30); });
    EXPECT_EQ(setup.OrderPrefix(), QStringLiteral("Order 200401-"));
    setup.SetOrderPrefix(QStringLiteral("Order 200401-"));
    EXPECT_FALSE(setup.Modified()); // stored empty as before: nothing changed
    EXPECT_TRUE(fileText(setup).contains(QStringLiteral("\r\nPrefix=\r\n")));
    year = 2005;
    EXPECT_EQ(setup.GetPropAsString(QStringLiteral("OrderPrefix")), QStringLiteral("Order 200501-"));

    setup.SetPropAsString(QStringLiteral("ORDERPREFIX"), QStringLiteral("Order 200401-")); // last year's
    EXPECT_EQ(setup.OrderPrefix(), QStringLiteral("Order 200401-"));
    year = 2006;
    EXPECT_EQ(setup.OrderPrefix(), QStringLiteral("Order 200401-"));
    setup.SetOrderPrefix(QString());
    EXPECT_EQ(setup.OrderPrefix(), QStringLiteral("Order 200601-"));
}

TEST_F(SetupTest, OrderPrefixUsesTodayByDefault) {
    TSetup setup;
    const QString expected =
        QStringLiteral("Order %1").arg(QDate::currentDate().year()) + QStringLiteral("01-");
    EXPECT_EQ(setup.OrderPrefix(), expected);
    setup.SetOrderPrefix(expected);
    EXPECT_TRUE(fileText(setup).contains(QStringLiteral("\r\nPrefix=\r\n")));
}

TEST_F(SetupTest, OrderNotesEqualToTheDefaultTextsStoreEmpty) {
    TSetup setup;
    EXPECT_EQ(setup.OrderNote1(), QStringLiteral("Thank you for your order."));
    EXPECT_EQ(setup.OrderNote2(), QStringLiteral("Prices are valid for 30 days."));
    setup.SetOrderNote1(QStringLiteral("Own note"));
    setup.SetOrderNote2(QStringLiteral("Second"));
    EXPECT_EQ(setup.GetPropAsString(QStringLiteral("ORDERNOTE1")), QStringLiteral("Own note"));
    setup.SetPropAsString(QStringLiteral("OrderNote1"), QStringLiteral("Thank you for your order."));
    setup.SetOrderNote2(QString());
    const QString text = fileText(setup);
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nNote1=\r\nNote2=\r\n")));
    EXPECT_EQ(setup.OrderNote1(), QStringLiteral("Thank you for your order."));
    EXPECT_EQ(setup.OrderNote2(), QStringLiteral("Prices are valid for 30 days."));
}

TEST_F(SetupTest, RateTextFollowsTheLowValueAndMapsBack) {
    TSetup setup;
    EXPECT_EQ(setup.GetVATValue(vrZero), 0);
    EXPECT_EQ(setup.GetVATValue(vrLow), 5);
    EXPECT_EQ(setup.GetVATValue(vrHigh), 19);
    EXPECT_EQ(setup.GetVATValue(TVATRate(7)), 19); // anything else is the high rate
    setup.SetMaterialVATRate(vrLow);
    setup.SetVATLowValue(9);
    EXPECT_EQ(setup.GetPropAsString(QStringLiteral("MATERIALVATRATE")), QStringLiteral("9%"));

    struct Row {
        const char* entry;
        TVATRate expected;
    };
    const Row rows[] = {{"9", vrLow},   {"9%", vrLow},   {"0", vrZero},   {"19", vrHigh},
                        {"21", vrHigh}, {"abc", vrHigh}, {"9,5", vrHigh}, {"", vrHigh}};
    for (const Row& row : rows) {
        setup.SetMaterialVATRate(row.expected == vrLow ? vrZero : vrLow);
        setup.SetPropAsString(QStringLiteral("MaterialVATRate"), QString::fromLatin1(row.entry));
        EXPECT_EQ(setup.MaterialVATRate(), row.expected) << row.entry;
    }
    // The rate text is the percentage even when the supplier pays no VAT.
    setup.Supplier()->SetIsNotVATPayer(true);
    setup.SetMaterialVATRate(vrLow);
    EXPECT_EQ(setup.GetPropAsString(QStringLiteral("MATERIALVATRATE")), QStringLiteral("9%"));
}

TEST_F(SetupTest, ImperialLocaleShowsAndEntersInchesAndStoresMillimetres) {
    TSetup setup;
    setup.SetMaterialCutWidth(Currency::fromRaw(254000)); // 25.4 mm under the metric locale
    {
        ScopedLocale us(Locale::unitedStates());
        EXPECT_EQ(setup.GetPropAsString(QStringLiteral("MaterialCutWidth")), QStringLiteral("1.000 in"));
        EXPECT_EQ(setup.GetPropAsString(QStringLiteral("MaterialMinRecyDim")), QStringLiteral("19.685 in"));
        EXPECT_EQ(setup.GetPropAsString(QStringLiteral("MaterialMinRecyArea")), QStringLiteral("5.38 ft2"));
        EXPECT_EQ(setup.GetPropAsString(QStringLiteral("SheetsMaxCutLength")), QStringLiteral("126.0 in"));
        setup.SetPropAsString(QStringLiteral("MATERIALCUTWIDTH"), QStringLiteral("2"));
        EXPECT_EQ(setup.MaterialCutWidth(), Currency::fromInteger(2));
        setup.SetMaterialMinRecyArea(Currency::fromInteger(10));
    }
    EXPECT_EQ(setup.MaterialCutWidth(), Currency::fromRaw(508000));
    EXPECT_EQ(setup.MaterialMinRecyArea(), Currency::fromRaw(9290)); // round4(10 × 0.0929…)
    const QString text = fileText(setup);
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nCutWidth=508000\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nMinRecyArea=9290\r\n")));
}

TEST_F(SetupTest, MetricTextsByName) {
    TSetup setup;
    struct Row {
        const char* name;
        const char* expected;
    };
    const Row rows[] = {
        {"MATERIALCUTWIDTH", "0,00 mm"},
        {"MATERIALMINRECYDIM", "500,00 mm"},
        {"MATERIALMINRECYAREA", "0,500 m2"},
        {"SHEETSMAXCUTLENGTH", "3 200 mm"},
        {"MATERIALPRICE", "0,00 Kč"},
        {"MATERIALHASORIENTATION", "0"},
        {"MATERIALVATMODE", "0"},
        {"ORDERVATMODE", "0"},
        {"PARTORIENTATION", "0"},
        {"MATERIALVATRATE", "19%"},
        {"ORDERADDAUTOPARTSAREA", "1"},
        {"ORDERADDAUTOPARTSCIRCUIT", "1"},
        {"SHEETSADDEXTRACTTOORDER", "0"},
        {"SHEETSERLANGEFONT", "0"},
        {"SHEETSSHOWCAPTIONSONPARTS", "0"},
        {"ORDERNOTE1", "Thank you for your order."},
        {"ORDERNOTE2", "Prices are valid for 30 days."},
        {"ORDERNUMBER", "1"},
        {"SHEETSREDUCTIONTIMEMAX", "12"},
        {"SHEETSREDUCTIONTIMEMIN", "4"},
        {"SHEETSZOOM", "200"},
        {"SUPPLIERLOGOFILENAME", ""},
        {"VATZEROVALUE", "0%"},
        {"VATLOWVALUE", "5%"},
        {"VATHIGHVALUE", "19%"},
        {"NoSuchSetting", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(setup.GetPropAsString(QString::fromLatin1(row.name).toLower()),
                  QString::fromUtf8(row.expected))
            << row.name;
}

TEST_F(SetupTest, SettingByName) {
    struct Row {
        const char* name;
        const char* entry;
        const char* expected; // the text read back
    };
    const Row rows[] = {
        {"MaterialCutWidth", "3,2", "3,20 mm"},
        {"MaterialCutWidth", "2*1,5 mm", "3,00 mm"},
        {"MaterialMinRecyDim", "1 000", "1 000,00 mm"},
        {"MaterialMinRecyArea", "0,25", "0,250 m2"},
        {"SheetsMaxCutLength", "2800", "2 800 mm"},
        {"MaterialPrice", "1234,5", "1 234,50 Kč"},
        {"MaterialHasOrientation", "1", "0"}, // shown only
        {"MaterialVATMode", "1", "1"},
        {"MaterialVATMode", "5", "1"},
        {"OrderVATMode", "-3", "0"},
        {"PartOrientation", "2", "2"},
        {"PartOrientation", "7", "2"},
        {"OrderAddAutoPartsArea", "0", "0"},
        {"OrderAddAutoPartsCircuit", "yes", "0"},
        {"SheetsAddExtractToOrder", "1", "1"},
        {"SheetsErlangeFont", "1", "1"},
        {"SheetsShowCaptionsOnParts", "1", "1"},
        {"OrderNumber", "105", "105"},
        {"OrderNumber", "abc", "1"}, // no number: the current value
        {"OrderNumber", "7 ks", "7"},
        {"SheetsReductionTimeMax", "150", "100"},
        {"SheetsReductionTimeMin", "-5", "0"},
        {"SheetsZoom", "400", "400"},
        {"SupplierLogoFileName", "logo.bmp", "logo.bmp"},
        {"VATLowValue", "10", "10%"},
        {"VATZeroValue", "2%", "2%"},
    };
    for (const Row& row : rows) {
        TSetup setup;
        setup.SetPropAsString(QString::fromLatin1(row.name), QString::fromUtf8(row.entry));
        EXPECT_EQ(setup.GetPropAsString(QString::fromLatin1(row.name)), QString::fromUtf8(row.expected))
            << row.name << " " << row.entry;
    }
}

// Integer settings are cleaned, never evaluated: a text with no number keeps the value, a decimal
// number is refused, and only the leading number of an expression counts.
TEST_F(SetupTest, IntegerEntryCleansAndRefusesDecimals) {
    struct Row {
        const char* name;
        const char* entry;
        const char* expected; // empty: refused with the conversion error, value kept
    };
    const Row rows[] = {
        {"SheetsZoom", "abc", "200"},
        {"SheetsZoom", "2,5", ""},
        {"SheetsZoom", "450 px", "450"},
        {"VATLowValue", "abc", "5%"},
        {"VATLowValue", "12,5", ""},
        {"VATHighValue", "20 %", "20%"},
        {"VATZeroValue", "-", "0%"},
        {"OrderNumber", "3*4", "3"},
        {"OrderNumber", "1-2", "12"},
        {"OrderNumber", "-,", ""},
        {"SheetsReductionTimeMax", "8 s", "8"},
        {"SheetsReductionTimeMin", "1,5", ""},
    };
    for (const Row& row : rows) {
        TSetup setup;
        const QString name = QString::fromLatin1(row.name);
        const QString before = setup.GetPropAsString(name);
        if (*row.expected == 0) {
            EXPECT_THROW(setup.SetPropAsString(name, QString::fromUtf8(row.entry)), ConversionError)
                << row.name << " " << row.entry;
            EXPECT_EQ(setup.GetPropAsString(name), before) << row.name;
        } else {
            setup.SetPropAsString(name, QString::fromUtf8(row.entry));
            EXPECT_EQ(setup.GetPropAsString(name), QString::fromUtf8(row.expected))
                << row.name << " " << row.entry;
        }
    }
}

TEST_F(SetupTest, EntryThatDoesNotConvertKeepsTheValue) {
    const char* names[] = {"MaterialCutWidth", "MaterialPrice", "MaterialVATMode"};
    for (const char* name : names) {
        TSetup setup;
        const QString before = setup.GetPropAsString(QString::fromLatin1(name));
        EXPECT_THROW(setup.SetPropAsString(QString::fromLatin1(name), QStringLiteral("1/0")), ConversionError)
            << name;
        EXPECT_EQ(setup.GetPropAsString(QString::fromLatin1(name)), before) << name;
        EXPECT_FALSE(setup.Modified()) << name;
    }
    TSetup setup;
    EXPECT_THROW(setup.SetPropAsString(QStringLiteral("OrderNumber"), QStringLiteral("99999999999")),
                 ConversionError);
    EXPECT_EQ(setup.OrderNumber(), 1);
}

TEST_F(SetupTest, ValuesTheFileCannotHoldAreRefused) {
    using Setter = std::function<void(TSetup&, Currency)>;
    using Getter = std::function<Currency(const TSetup&)>;
    struct Row {
        const char* what;
        Setter set;
        Getter get;
    };
    const Row rows[] = {
        {"cut width", &TSetup::SetMaterialCutWidth, &TSetup::MaterialCutWidth},
        {"rest area", &TSetup::SetMaterialMinRecyArea, &TSetup::MaterialMinRecyArea},
        {"rest side", &TSetup::SetMaterialMinRecyDim, &TSetup::MaterialMinRecyDim},
        {"price", &TSetup::SetMaterialPrice, &TSetup::MaterialPrice},
        {"cut length", &TSetup::SetSheetsMaxCutLength, &TSetup::SheetsMaxCutLength},
    };
    const int64_t top = std::numeric_limits<int32_t>::max();
    const int64_t bottom = std::numeric_limits<int32_t>::min();
    for (const Row& row : rows) {
        TSetup setup;
        row.set(setup, Currency::fromRaw(top));
        EXPECT_EQ(row.get(setup), Currency::fromRaw(top)) << row.what;
        row.set(setup, Currency::fromRaw(bottom));
        EXPECT_EQ(row.get(setup), Currency::fromRaw(bottom)) << row.what;
        setup.SetModified(false);
        row.set(setup, Currency::fromRaw(top + 1));
        row.set(setup, Currency::fromRaw(bottom - 1));
        row.set(setup, Currency::fromInteger(1000000000));
        EXPECT_EQ(row.get(setup), Currency::fromRaw(bottom)) << row.what;
        EXPECT_FALSE(setup.Modified()) << row.what;
    }
    TSetup setup;
    setup.SetPropAsString(QStringLiteral("MaterialPrice"), QStringLiteral("300000"));
    EXPECT_EQ(setup.MaterialPrice(), Currency());
    {
        // 10 000 in is 254 000 mm, beyond the file's range although the inches would fit.
        ScopedLocale us(Locale::unitedStates());
        setup.SetMaterialCutWidth(Currency::fromInteger(10000));
        EXPECT_EQ(setup.MaterialCutWidth(), Currency());
        setup.SetMaterialCutWidth(Currency::fromInteger(8000));
        EXPECT_EQ(setup.MaterialCutWidth(), Currency::fromInteger(8000));
    }
}

// The fields a file may leave alone (kept) and those it resets, from a setup away from the defaults.
struct LoadRow {
    const char* what;
    QByteArray bytes;
    std::function<void(const TSetup&)> check;
};

void expectKeptAndReset(const TSetup& s) {
    // Kept when missing or not a number.
    EXPECT_EQ(s.VATZeroValue(), 1);
    EXPECT_EQ(s.VATLowValue(), 9);
    EXPECT_EQ(s.VATHighValue(), 21);
    EXPECT_EQ(s.MaterialCutWidth(), Currency::fromRaw(32000));
    EXPECT_EQ(s.MaterialMinRecyArea(), Currency::fromRaw(12345));
    EXPECT_EQ(s.MaterialMinRecyDim(), Currency::fromInteger(300));
    EXPECT_EQ(s.MaterialPrice(), Currency::fromRaw(4567890));
    EXPECT_EQ(s.OrderNumber(), 42);
    EXPECT_EQ(s.SheetsMaxCutLength(), Currency::fromInteger(2800));
    EXPECT_EQ(s.SheetsReductionTimeMax(), 30);
    EXPECT_EQ(s.SheetsReductionTimeMin(), 7);
    EXPECT_EQ(s.SheetsZoom(), 300);
    // Kept when empty.
    EXPECT_TRUE(s.MaterialHasOrientation());
    EXPECT_FALSE(s.OrderAddAutoPartsArea());
    EXPECT_FALSE(s.OrderAddAutoPartsCircuit());
    // Reset to their fallbacks.
    EXPECT_EQ(s.MaterialVATMode(), vmWithVAT);
    EXPECT_EQ(s.MaterialVATRate(), vrHigh);
    EXPECT_EQ(s.OrderVATMode(), vmWithVAT);
    EXPECT_EQ(s.PartOrientation(), poNone);
    EXPECT_FALSE(s.SheetsAddExtractToOrder());
    EXPECT_FALSE(s.SheetsErlangeFont());
    EXPECT_FALSE(s.SheetsShowCaptionsOnParts());
    EXPECT_EQ(s.OrderNote1(), QStringLiteral("Thank you for your order."));
    EXPECT_EQ(s.OrderNote2(), QStringLiteral("Prices are valid for 30 days."));
    EXPECT_EQ(s.OrderPrefix(), s.DefaultOrderPrefix());
    EXPECT_EQ(s.SupplierLogoFileName(), QString());
    EXPECT_EQ(s.Supplier()->Caption(), QString());
    EXPECT_FALSE(s.Supplier()->IsNotVATPayer());
}

TEST_F(SetupTest, DamagedFilesFallBackKeyByKey) {
    QByteArray binary;
    for (int i = 0; i < 512; ++i)
        binary.append(char((i * 37 + 11) % 256));
    const QByteArray golden = test::readFileBytes(test::dataPath("setup/defaults.INI"));
    ASSERT_FALSE(golden.isEmpty());

    const LoadRow rows[] = {
        {"empty file", QByteArray(), expectKeptAndReset},
        {"binary bytes", binary, expectKeptAndReset},
        {"NUL before the keys", QByteArray("[Common]\r\n\0VATZeroValue=7\r\n", 27), expectKeptAndReset},
        {"not numbers",
         "[Common]\r\nVATZeroValue=x\r\nVATLowValue=9.5\r\nVATHighValue=\r\n"
         "[Material]\r\nCutWidth=1e5\r\nHasOrientation=\r\nMinRecyArea= \r\nMinRecyDim=--1\r\nPrice=0x10\r\n"
         "VATMode=a\r\nVATRate=b\r\n"
         "[Order]\r\nAddAutoPartsArea=\r\nNumber=12abc\r\nVATMode=\r\n"
         "[Parts]\r\nPartOrientation=z\r\n"
         "[Sheets]\r\nErlangeFont=yes\r\nMaxCutLength=3200,0\r\nReductionTimeMax=?\r\nZoom=2 00\r\n",
         expectKeptAndReset},
        {"beyond 32 bits",
         "[Common]\r\nVATZeroValue=2147483648\r\nVATLowValue=-2147483649\r\nVATHighValue="
         "99999999999999999999\r\n"
         "[Material]\r\nCutWidth=2147483648\r\nMinRecyArea=-2147483649\r\nMinRecyDim=4294967296\r\n"
         "Price=99999999999\r\n[Order]\r\nNumber=2147483648\r\n"
         "[Sheets]\r\nMaxCutLength=9223372036854775808\r\nReductionTimeMax=3000000000\r\nZoom=-"
         "3000000000\r\n",
         expectKeptAndReset},
        {"32-bit limits are numbers",
         "[Common]\r\nVATZeroValue=2147483647\r\nVATLowValue=-2147483648\r\n"
         "[Material]\r\nCutWidth=2147483647\r\nPrice=-2147483648\r\n",
         [](const TSetup& s) {
             EXPECT_EQ(s.VATZeroValue(), std::numeric_limits<int>::max());
             EXPECT_EQ(s.VATLowValue(), std::numeric_limits<int>::min());
             EXPECT_EQ(s.MaterialCutWidth(), Currency::fromRaw(std::numeric_limits<int32_t>::max()));
             EXPECT_EQ(s.MaterialPrice(), Currency::fromRaw(std::numeric_limits<int32_t>::min()));
         }},
        {"ordinals clamped",
         "[Material]\r\nVATMode=7\r\nVATRate=-1\r\n[Order]\r\nVATMode=-4\r\n[Parts]\r\nPartOrientation=5\r\n",
         [](const TSetup& s) {
             EXPECT_EQ(s.MaterialVATMode(), vmWithOutVAT);
             EXPECT_EQ(s.MaterialVATRate(), vrZero);
             EXPECT_EQ(s.OrderVATMode(), vmWithVAT);
             EXPECT_EQ(s.PartOrientation(), poY);
         }},
        {"flags exactly 1",
         "[Material]\r\nHasOrientation=0\r\n[Order]\r\nAddAutoPartsArea=1\r\nAddAutoPartsCircuit=true\r\n"
         "[Sheets]\r\nAddExtractToOrder=1\r\nErlangeFont= 1\r\nShowCaptionsOnParts=1\r\n",
         [](const TSetup& s) {
             EXPECT_FALSE(s.MaterialHasOrientation());
             EXPECT_TRUE(s.OrderAddAutoPartsArea());
             EXPECT_FALSE(s.OrderAddAutoPartsCircuit());
             EXPECT_TRUE(s.SheetsAddExtractToOrder());
             EXPECT_FALSE(s.SheetsErlangeFont());
             EXPECT_TRUE(s.SheetsShowCaptionsOnParts());
         }},
        {"truncated in the middle of a line", golden.left(golden.indexOf("MinRecyDim=") + 14),
         [](const TSetup& s) {
             EXPECT_EQ(s.VATLowValue(), 5);                             // read
             EXPECT_EQ(s.MaterialCutWidth(), Currency());               // read
             EXPECT_FALSE(s.MaterialHasOrientation());                  // read
             EXPECT_EQ(s.MaterialMinRecyDim(), Currency::fromRaw(500)); // the cut value "500"
             EXPECT_EQ(s.MaterialPrice(), Currency::fromRaw(4567890));  // lost: kept
             EXPECT_EQ(s.OrderNumber(), 42);                            // lost: kept
             EXPECT_FALSE(s.OrderAddAutoPartsArea());                   // lost: kept
         }},
    };
    for (const LoadRow& row : rows) {
        SCOPED_TRACE(row.what);
        TSetup setup;
        fillAll(setup);
        ASSERT_TRUE(loadText(setup, row.bytes));
        EXPECT_FALSE(setup.Modified());
        row.check(setup);
    }
}

TEST_F(SetupTest, UnreadableFileChangesNothing) {
    TSetup setup;
    fillAll(setup);
    const QString before = fileText(setup);
    EXPECT_FALSE(setup.LoadFromFile(path("missing.INI")));
    EXPECT_FALSE(setup.LoadFromFile(dir.path())); // a folder
    EXPECT_FALSE(setup.LoadFromFile(QString()));
    EXPECT_EQ(fileText(setup), before);
    EXPECT_TRUE(setup.Modified());
}

TEST_F(SetupTest, LoadingClearsModifiedAndAnnouncesOnce) {
    TSetup setup;
    TOrderListener order;
    TApplicationLinks::SetSetup(&setup);
    TApplicationLinks::SetOrder(&order);
    fillAll(setup);
    order.entries.clear();
    ASSERT_TRUE(setup.LoadFromFile(test::dataPath("setup/defaults.INI")));
    EXPECT_FALSE(setup.Modified());
    EXPECT_FALSE(setup.Supplier()->Modified());
    ASSERT_EQ(order.entries.size(), 1u); // no single values from the supplier's section
    EXPECT_EQ(order.entries[0].prop, QString());
    EXPECT_EQ(order.entries[0].source, &setup);
}

TEST_F(SetupTest, ChangesOfTheProgramsSetupAndItsSupplierAreForwarded) {
    TSetup setup;
    TOrderListener order;
    QStringList refreshed;
    TApplicationLinks::SetSetup(&setup);
    TApplicationLinks::SetOrder(&order);
    TApplicationLinks::SetControlsRefresh([&refreshed](TComponent*, const QString& prop) {
        if (prop != QLatin1String("Modified"))
            refreshed << prop;
    });

    setup.SetVATLowValue(9);
    setup.Supplier()->SetIsNotVATPayer(true);
    setup.SetVATLowValue(9); // unchanged: nothing
    ASSERT_EQ(order.entries.size(), 2u);
    EXPECT_EQ(order.entries[0].prop, QStringLiteral("VATLowValue"));
    EXPECT_EQ(order.entries[0].source, &setup);
    EXPECT_EQ(order.entries[0].sender, &setup);
    EXPECT_EQ(order.entries[1].prop, QStringLiteral("IsNotVATPayer"));
    EXPECT_EQ(order.entries[1].source, setup.Supplier());
    EXPECT_EQ(order.entries[1].sender, &setup);
    EXPECT_EQ(refreshed, (QStringList{"VATLowValue", "IsNotVATPayer"}));

    // The order's own changes that reach the setup are not sent back.
    order.entries.clear();
    setup.DataChanged(&order, &order, QStringLiteral("Caption"));
    EXPECT_TRUE(order.entries.empty());

    // Another setup (a copy) concerns nobody.
    TSetup other;
    other.SetVATLowValue(7);
    other.Supplier()->SetTown(QStringLiteral("Brno"));
    EXPECT_TRUE(order.entries.empty());
}

TEST_F(SetupTest, SaveCreatesMissingFoldersAndFailureKeepsModified) {
    TSetup setup;
    setup.SetSheetsZoom(400);
    const QString nested = path("config/Lintaro/lintaro.INI");
    ASSERT_TRUE(setup.SaveToFile(nested));
    EXPECT_FALSE(setup.Modified());
    TSetup reread;
    ASSERT_TRUE(reread.LoadFromFile(nested));
    EXPECT_EQ(reread.SheetsZoom(), 400);

    // A plain file where a folder should be: nothing can be written.
    ASSERT_TRUE(test::writeFileBytes(path("blocker"), "x"));
    setup.SetSheetsZoom(500);
    EXPECT_FALSE(setup.SaveToFile(path("blocker/sub/lintaro.INI")));
    EXPECT_TRUE(setup.Modified());
    EXPECT_FALSE(setup.SaveToFile(QString()));
    EXPECT_TRUE(setup.Modified());
}

TEST_F(SetupTest, AssignCopiesEverythingAndClearResetsTheSupplierInPlace) {
    TSetup source;
    fillAll(source);
    TSetup copy;
    copy.Assign(&source);
    EXPECT_EQ(fileText(copy), fileText(source));
    EXPECT_NE(copy.Supplier(), source.Supplier());

    TAddress* supplier = copy.Supplier();
    copy.Clear();
    EXPECT_EQ(copy.Supplier(), supplier);
    EXPECT_EQ(fileText(copy), fileText(TSetup()));
    EXPECT_EQ(copy.ComponentCount(), 1);
}

TEST_F(SetupTest, SettersAnnounceThePropertyName) {
    TSetup setup;
    TOrderListener order;
    TApplicationLinks::SetSetup(&setup);
    TApplicationLinks::SetOrder(&order);
    fillAll(setup);
    QStringList names;
    for (const auto& e : order.entries)
        if (e.source == &setup)
            names << e.prop;
    const QStringList expected =
        QStringLiteral(
            "VATZeroValue VATLowValue VATHighValue MaterialCutWidth MaterialHasOrientation "
            "MaterialMinRecyArea "
            "MaterialMinRecyDim MaterialPrice MaterialVATMode MaterialVATRate OrderAddAutoPartsArea "
            "OrderAddAutoPartsCircuit OrderNote1 OrderNote2 OrderNumber OrderPrefix OrderVATMode "
            "PartOrientation "
            "SheetsAddExtractToOrder SheetsErlangeFont SheetsMaxCutLength SheetsReductionTimeMax "
            "SheetsReductionTimeMin SheetsShowCaptionsOnParts SheetsZoom SupplierLogoFileName")
            .split(u' ');
    EXPECT_EQ(names, expected);
}

TEST_F(SetupTest, ProgramSetupIsLoadedFromTheSettingsFileAndRegistered) {
    ASSERT_TRUE(test::writeFileBytes(path("lintaro.INI"), "[Sheets]\r\nZoom=400\r\n"));
    SetIniFileNameOverride(path("lintaro.INI"));
    TSetup* setup = InitProgramSetup();
    SetIniFileNameOverride(QString());
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(TApplicationLinks::Setup(), setup);
    EXPECT_EQ(setup->SheetsZoom(), 400);
    EXPECT_FALSE(setup->Modified());
    EXPECT_EQ(InitProgramSetup(), setup); // the one setup
}

} // namespace

TEST_F(SetupTest, ImproveSettingsLiveInTheSheetsSection) {
    struct Row {
        const char* text;
        bool improve;
        int seconds;
    };
    const Row rows[] = {
        {"[Sheets]\r\nImprove=1\r\nImproveTime=5\r\n", true, 5},
        {"[Sheets]\r\nImprove=0\r\n", false, 2},                 // the default time
        {"[Sheets]\r\nImprove=1\r\nImproveTime=0\r\n", true, 1}, // at least a second
        {"[Sheets]\r\nImproveTime=100000\r\n", true, 600},       // at most ten minutes
        {"[Sheets]\r\nImproveTime=soon\r\n", true, 2},
        {"[Sheets]\r\nImprove=1\r\n", true, 2},
        {"[Order]\r\nNumber=3\r\n", true, 2}, // settings without the key: on, 2 s
    };
    for (const Row& row : rows) {
        TSetup setup;
        ASSERT_TRUE(loadText(setup, row.text));
        EXPECT_EQ(setup.SheetsImprove(), row.improve) << row.text;
        EXPECT_EQ(setup.SheetsImproveTime(), row.seconds) << row.text;
    }
    TSetup setup;
    setup.SetPropAsString("SheetsImprove", "1");
    setup.SetPropAsString("SheetsImproveTime", "9");
    EXPECT_EQ(setup.GetPropAsString("SheetsImprove"), "1");
    EXPECT_EQ(setup.GetPropAsString("SheetsImproveTime"), "9");
    setup.SetSheetsImproveTime(-3);
    EXPECT_EQ(setup.SheetsImproveTime(), 1);
    TINI ini;
    setup.SaveToINI(ini);
    TSetup copy;
    copy.LoadFromINI(ini);
    EXPECT_TRUE(copy.SheetsImprove());
    EXPECT_EQ(copy.SheetsImproveTime(), 1);
}

TEST_F(SetupTest, TheImprovementStageIsOnInNewSettingsAndSavedOffStaysOff) {
    TSetup fresh;
    EXPECT_TRUE(fresh.SheetsImprove());
    EXPECT_EQ(fresh.SheetsImproveTime(), 2);
    fresh.SetSheetsImprove(false);
    TINI ini;
    fresh.SaveToINI(ini);
    TSetup loaded;
    loaded.LoadFromINI(ini);
    EXPECT_FALSE(loaded.SheetsImprove());
    EXPECT_EQ(loaded.SheetsImproveTime(), 2);
}
