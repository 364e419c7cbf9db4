#include "foundation/ConversionError.h"
#include "foundation/Currency.h"
#include "foundation/NumberEntry.h"
#include "foundation/Units.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace lintaro;

namespace {

// In the texts of a table "#" stands for the locale's decimal separator and "~" for the other one.
QString localized(const char* pattern, QChar own) {
    const QChar other = own == u',' ? u'.' : u',';
    QString text = QString::fromUtf8(pattern);
    for (QChar& c : text) {
        if (c == u'#')
            c = own;
        else if (c == u'~')
            c = other;
    }
    return text;
}

const std::vector<LocaleSettings> kBothLocales = {Locale::czech(), Locale::unitedStates()};

// round4 ---------------------------------------------------------------------------------------------

TEST(CurrencyRound4, TiesGoToEven) {
    // Multiples of 1/32 are exact in binary and their × 10 000 is an exact tie (312.5, 937.5, 1562.5),
    // so the tie rule is tested free of representation error.
    struct Row {
        long double value;
        int64_t raw;
    };
    const std::vector<Row> rows = {
        {0.03125L, 312},   {0.09375L, 938}, {0.15625L, 1562},  {0.21875L, 2188},    {-0.03125L, -312},
        {-0.09375L, -938}, {2.5L, 25000},   {1.23456L, 12346}, {-1.23454L, -12345}, {0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Currency::fromValue(row.value).raw(), row.raw) << static_cast<double>(row.value);
        EXPECT_EQ(round4(row.value), static_cast<long double>(row.raw) / 10000.0L)
            << static_cast<double>(row.value);
    }
}

TEST(CurrencyRound4, FromValueSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(Currency::fromValue(1e30L).raw(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ(Currency::fromValue(-1e30L).raw(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ(Currency::fromValue(std::nanl("")).raw(), 0);
    EXPECT_FALSE(Currency::fitsValue(1e15L));
    EXPECT_TRUE(Currency::fitsValue(1e14L));
    EXPECT_FALSE(Currency::fitsValue(std::nanl("")));
}

TEST(CurrencyValue, ConvertsToLongDouble) {
    EXPECT_EQ(Currency::fromRaw(25000).toValue(), 2.5L);
    EXPECT_EQ(Currency::fromInteger(-3).raw(), -30000);
    EXPECT_EQ(Currency().raw(), 0);
}

// Arithmetic ----------------------------------------------------------------------------------------

TEST(CurrencyArithmetic, AddsSubtractsAndCompares) {
    const Currency a = Currency::fromRaw(25000); // 2.5
    const Currency b = Currency::fromRaw(2500);  // 0.25
    EXPECT_EQ((a + b).raw(), 27500);
    EXPECT_EQ((a - b).raw(), 22500);
    EXPECT_EQ((-a).raw(), -25000);
    EXPECT_TRUE(b < a);
    EXPECT_TRUE(a >= a);
    EXPECT_NE(a, b);
    Currency c = a;
    c += b;
    EXPECT_EQ(c.raw(), 27500);
    c -= a;
    EXPECT_EQ(c, b);
}

TEST(CurrencyArithmetic, MultipliesAndDividesThroughRound4) {
    const Currency a = Currency::fromRaw(25000);
    EXPECT_EQ((a * 2).raw(), 50000);
    EXPECT_EQ((3 * a).raw(), 75000);
    EXPECT_EQ((a * Currency::fromRaw(2500)).raw(), 6250);
    EXPECT_EQ((a / 4).raw(), 6250);
    EXPECT_EQ((Currency::fromInteger(100) / 3).raw(), 333333);
    EXPECT_EQ((Currency::fromInteger(1) * (1.0L / 3)).raw(), 3333);
    EXPECT_THROW(a / 0, ConversionError);
}

// Scaled text of files ------------------------------------------------------------------------------

TEST(CurrencyScaledText, WritesTheScaledInteger) {
    EXPECT_EQ(Currency::fromRaw(254000).toScaledText(), QStringLiteral("254000"));
    EXPECT_EQ(Currency::fromRaw(-5).toScaledText(), QStringLiteral("-5"));
    EXPECT_EQ(Currency().toScaledText(), QStringLiteral("0"));
}

TEST(CurrencyScaledText, ReadsOnlyThirtyTwoBitIntegers) {
    struct Row {
        const char* text;
        bool ok;
        int64_t raw;
    };
    const std::vector<Row> rows = {
        {"254000", true, 254000},
        {"-5", true, -5},
        {"+7", true, 7},
        {" 42 ", true, 42},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483648LL},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"12345678901", false, 0},
        {"99999999999999999999999", false, 0},
        {"12.5", false, 0},
        {"12,5", false, 0},
        {"1e3", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"abc", false, 0},
        {"0x10", false, 0},
    };
    for (const auto& row : rows) {
        bool ok = !row.ok;
        const Currency c = Currency::fromScaledText(QString::fromUtf8(row.text), &ok);
        EXPECT_EQ(ok, row.ok) << row.text;
        EXPECT_EQ(c.raw(), row.raw) << row.text;
    }
}

TEST(CurrencyScaledText, ValueBeyondThirtyTwoBitsDoesNotReadBack) {
    const Currency big = Currency::fromRaw(3000000000LL);
    bool ok = true;
    const Currency back = Currency::fromScaledText(big.toScaledText(), &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(back.raw(), 0);
    // The largest length a setter accepts (214 748) still fits.
    const Currency largest = Currency::fromInteger(214748);
    EXPECT_EQ(Currency::fromScaledText(largest.toScaledText(), &ok), largest);
    EXPECT_TRUE(ok);
}

// Display text --------------------------------------------------------------------------------------

TEST(CurrencyText, ShortestFormInTheLocale) {
    struct Row {
        int64_t raw;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {25000, "2#5"},
        {333333, "33#3333"},
        {120000, "12"},
        {-5000, "-0#5"},
        {1, "0#0001"},
        {0, "0"},
        {12345678000, "1234567#8"},
        {-120000, "-12"},
        {std::numeric_limits<int64_t>::min(), "-922337203685477#5808"},
    };
    for (const auto& settings : kBothLocales) {
        ScopedLocale guard(settings);
        for (const auto& row : rows)
            EXPECT_EQ(Currency::fromRaw(row.raw).toText(), localized(row.expected, settings.decimalSeparator))
                << row.raw;
    }
}

TEST(CurrencyText, ReadsWithTheLocaleSeparator) {
    struct Row {
        const char* text;
        bool ok;
        int64_t raw;
    };
    const std::vector<Row> rows = {
        {"2#5", true, 25000}, {" 12 ", true, 120000}, {"-0#5", true, -5000}, {"1#23456", true, 12346},
        {"#5", true, 5000},   {"2~5", false, 0},      {"", false, 0},        {"1 234", false, 0},
        {"abc", false, 0},    {"1e20", false, 0},     {"-", false, 0},       {"2#5 mm", false, 0},
    };
    for (const auto& settings : kBothLocales) {
        ScopedLocale guard(settings);
        for (const auto& row : rows) {
            bool ok = !row.ok;
            const Currency c = Currency::fromText(localized(row.text, settings.decimalSeparator), &ok);
            EXPECT_EQ(ok, row.ok) << row.text;
            EXPECT_EQ(c.raw(), row.raw) << row.text;
        }
    }
}

TEST(CurrencyText, FormatNumberRoundsLikeRound4) {
    for (const auto& settings : kBothLocales) {
        ScopedLocale guard(settings);
        const QChar sep = settings.decimalSeparator;
        EXPECT_EQ(FormatNumber(2.5L), localized("2#5", sep));
        EXPECT_EQ(FormatNumber(100.0L / 3), localized("33#3333", sep));
        EXPECT_EQ(FormatNumber(12), QStringLiteral("12"));
        EXPECT_EQ(FormatNumber(2.0L / 3, 2), localized("0#67", sep));
        EXPECT_EQ(FormatNumber(0.03125L), localized("0#0312", sep)) << "tie to even";
        EXPECT_EQ(FormatNumber(1234567.25L, 0), QStringLiteral("1234567"));
        EXPECT_EQ(FormatNumber(-0.00001L), QStringLiteral("0")) << "no negative zero";
    }
}

// Units ---------------------------------------------------------------------------------------------

TEST(Units, MetricLocaleKeepsStoredUnits) {
    ScopedLocale guard(Locale::czech());
    EXPECT_FALSE(IsImperial());
    EXPECT_EQ(DimUnit(), QStringLiteral("mm"));
    EXPECT_EQ(AreaUnit(), QStringLiteral("m2"));
    EXPECT_EQ(LengthUnit(), QStringLiteral("m"));
    const Currency v = Currency::fromRaw(254000);
    EXPECT_EQ(LengthToUser(v), v);
    EXPECT_EQ(LengthFromUser(v), v);
    EXPECT_EQ(AreaToUser(v), v);
    EXPECT_EQ(AreaFromUser(v), v);
    EXPECT_EQ(CircuitToUser(v), v);
}

TEST(Units, UsLocaleShowsInchesAndSquareFeet) {
    ScopedLocale guard(Locale::unitedStates());
    EXPECT_TRUE(IsImperial());
    EXPECT_EQ(DimUnit(), QStringLiteral("in"));
    EXPECT_EQ(AreaUnit(), QStringLiteral("ft2"));
    EXPECT_EQ(LengthUnit(), QStringLiteral("ft"));
    EXPECT_EQ(LengthToUser(Currency::fromValue(25.4L)), Currency::fromInteger(1));
    EXPECT_EQ(LengthFromUser(Currency::fromInteger(1)), Currency::fromRaw(254000));
    EXPECT_EQ(LengthToUser(Currency::fromInteger(1000)), Currency::fromRaw(393701));
    EXPECT_EQ(AreaToUser(Currency::fromInteger(1)), Currency::fromRaw(107639));
    EXPECT_EQ(AreaFromUser(Currency::fromInteger(1)), Currency::fromRaw(929));
    EXPECT_EQ(AreaFromUser(Currency::fromRaw(107639)), Currency::fromInteger(1));
    EXPECT_EQ(CircuitToUser(Currency::fromInteger(1)), Currency::fromRaw(32808));
}

TEST(Units, EnteringOneInchStoresTwentyFivePointFourMm) {
    ScopedLocale guard(Locale::unitedStates());
    const Currency stored = Currency::fromInteger(100);
    const Currency entered = EntryToCurrency(QStringLiteral("1 in"), LengthToUser(stored));
    EXPECT_EQ(LengthFromUser(entered), Currency::fromRaw(254000));
    EXPECT_EQ(LengthToUser(LengthFromUser(entered)).toText(), QStringLiteral("1"));
}

TEST(Units, ConversionsIgnoreTheLocale) {
    ScopedLocale guard(Locale::czech());
    EXPECT_EQ(MmToInch(Currency::fromInteger(254)), Currency::fromInteger(10));
    EXPECT_EQ(InchToMm(Currency::fromValue(0.5L)), Currency::fromRaw(127000));
    EXPECT_EQ(SqMToSqFt(Currency::fromInteger(2)), Currency::fromRaw(215278));
    EXPECT_EQ(SqFtToSqM(Currency::fromInteger(1)), Currency::fromRaw(929));
    EXPECT_EQ(MToFt(Currency::fromInteger(10)), Currency::fromRaw(328084));
    EXPECT_EQ(MmToInch(Currency::fromRaw(-254000)), Currency::fromInteger(-1));
}

TEST(Units, MeasurementSystemIsReadAtEveryCall) {
    ScopedLocale outer(Locale::czech());
    EXPECT_EQ(DimUnit(), QStringLiteral("mm"));
    {
        ScopedLocale inner(Locale::unitedStates());
        EXPECT_EQ(DimUnit(), QStringLiteral("in"));
        EXPECT_EQ(LengthToUser(Currency::fromRaw(254000)), Currency::fromInteger(1));
    }
    EXPECT_EQ(DimUnit(), QStringLiteral("mm"));
    EXPECT_EQ(LengthToUser(Currency::fromRaw(254000)), Currency::fromRaw(254000));
}

} // namespace
