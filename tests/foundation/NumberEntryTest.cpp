#include "foundation/NumberEntry.h"
#include "foundation/ConversionError.h"
#include "foundation/Currency.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

using namespace lintaro;

namespace {

// Every table runs under both fixed locales. In the texts of a table "#" stands for the locale's
// decimal separator and "~" for the other one, so one row checks "2,5" under Czech and "2.5" under
// the U.S. locale, and likewise the wrong separator.
enum class TestLocale { Czech, UnitedStates };

LocaleSettings settingsOf(TestLocale locale) {
    return locale == TestLocale::Czech ? Locale::czech() : Locale::unitedStates();
}

const char* nameOf(TestLocale locale) {
    return locale == TestLocale::Czech ? "Czech" : "UnitedStates";
}

QString localized(const char* pattern, TestLocale locale) {
    const QChar own = locale == TestLocale::Czech ? u',' : u'.';
    const QChar other = locale == TestLocale::Czech ? u'.' : u',';
    QString text = QString::fromUtf8(pattern);
    for (QChar& c : text) {
        if (c == u'#')
            c = own;
        else if (c == u'~')
            c = other;
    }
    return text;
}

template <typename Row> struct Localized {
    TestLocale locale;
    Row row;
};

template <typename Row> std::vector<Localized<Row>> underBothLocales(const std::vector<Row>& rows) {
    std::vector<Localized<Row>> out;
    for (TestLocale locale : {TestLocale::Czech, TestLocale::UnitedStates})
        for (const Row& row : rows)
            out.push_back({locale, row});
    return out;
}

template <typename Row> std::string paramName(const testing::TestParamInfo<Localized<Row>>& info) {
    return std::string(nameOf(info.param.locale)) + "_" + std::to_string(info.index);
}

// ---------------------------------------------------------------------------------------------------
// EvalExpression

struct EvalRow {
    const char* input;
    bool ok;
    int64_t raw4; // the value after round4, as the scaled integer a Currency property stores
};

void PrintTo(const Localized<EvalRow>& p, std::ostream* os) {
    *os << nameOf(p.locale) << " \"" << p.row.input << "\"";
}

const std::vector<EvalRow> kEvalRows = {
    {"3-5*2", true, -70000},
    {"2*3+4", true, 100000},
    {"10/4", true, 25000},
    {"", true, 0},
    {"abc", true, 0},
    {"12 mm", true, 120000},
    {"10+", true, 100000},
    {"100/3", true, 333333},
    {"2#5", true, 25000},
    {"2~5", true, 0}, // the wrong separator does not convert and counts as 0
    {"-5", true, -50000},
    {"-2#5*2", true, -50000},
    {"1+2*3-4/2", true, 50000},
    {"8/2/2", true, 20000},
    {"2*3*4", true, 240000},
    {"(2+3)*2", true, 80000}, // no parentheses: they are removed
    {"3*-2", true, -20000},   // "*" takes an empty number, then "-2" starts a new term
    {"+-3", true, -30000},
    {"1#5#5", true, 0},
    {"#5", true, 5000},
    {"5#", true, 50000},
    {"1#5e3", true, 15300}, // letters are removed before the numbers are read
    {"1 234", true, 12340000},
    {"12\u00a0345", true, 123450000},
    {"99999999999999", true, 999999999999990000},
    {"0#0001*1+1", true, 10001},
    // Products below 0.00001 come back from the sum text in exponent form: not ok.
    {"0#000001*1+1", false, 0},
    {"0#000001", false, 0},
    {"5+0#0000015", false, 0},
    // So do values of more than 15 integer digits.
    {"1000000000000000+1", false, 0},
};

class NumberEntryEval : public testing::TestWithParam<Localized<EvalRow>> {};

TEST_P(NumberEntryEval, EvaluatesFlatExpression) {
    const auto& [locale, row] = GetParam();
    ScopedLocale guard(settingsOf(locale));
    long double value = -123;
    const bool ok = EvalExpression(localized(row.input, locale), value);
    ASSERT_EQ(ok, row.ok);
    if (ok)
        EXPECT_EQ(Currency::fromValue(value).raw(), row.raw4);
    else
        EXPECT_EQ(value, -123) << "a failed evaluation leaves the value alone";
}

INSTANTIATE_TEST_SUITE_P(BothLocales, NumberEntryEval, testing::ValuesIn(underBothLocales(kEvalRows)),
                         paramName<EvalRow>);

void PrintTo(const Localized<const char*>& p, std::ostream* os) {
    *os << nameOf(p.locale) << " \"" << p.row << "\"";
}

class NumberEntryDivision : public testing::TestWithParam<Localized<const char*>> {};

TEST_P(NumberEntryDivision, DivisionByZeroThrows) {
    const auto& [locale, input] = GetParam();
    ScopedLocale guard(settingsOf(locale));
    long double value = 0;
    try {
        EvalExpression(localized(input, locale), value);
        FAIL() << "no ConversionError for " << input;
    } catch (const ConversionError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Division by zero"))) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(BothLocales, NumberEntryDivision,
                         testing::ValuesIn(underBothLocales(std::vector<const char*>{"5/0", "5/", "0/0",
                                                                                     "1+2/0#0", "2/~5"})),
                         paramName<const char*>);

TEST(NumberEntryEvalExact, KeepsExtendedPrecisionOfSimpleResults) {
    ScopedLocale guard(Locale::czech());
    long double value = 0;
    ASSERT_TRUE(EvalExpression(QStringLiteral("10/4"), value));
    EXPECT_EQ(value, 2.5L);
    ASSERT_TRUE(EvalExpression(QStringLiteral("3-5*2"), value));
    EXPECT_EQ(value, -7.0L);
    // The second pass reads the quotient back from its 15-digit text.
    ASSERT_TRUE(EvalExpression(QStringLiteral("100/3"), value));
    EXPECT_EQ(FloatToStrGeneral(value), QStringLiteral("33,3333333333333"));
}

// ---------------------------------------------------------------------------------------------------
// CleanNumber

struct CleanRow {
    const char* input;
    long double fallback;
    const char* expected;
};

void PrintTo(const Localized<CleanRow>& p, std::ostream* os) {
    *os << nameOf(p.locale) << " \"" << p.row.input << "\"";
}

const std::vector<CleanRow> kCleanRows = {
    {"  12 345#5 mm", 0, "12345#5"},
    {"  12 345~5 mm", 0, "12345#5"}, // either separator becomes the locale's
    {"1-2", 0, "12"},
    {"-", 7.5L, "7#5"},
    {"", 3, "3"},
    {"abc", 2.5L, "2#5"},
    {"length: -12#5 mm", 0, "-12#5"},
    {"12\u00a0345", 0, "12345"},
    {"12\t345", 0, "12"}, // only blanks and non-breaking spaces are skipped inside
    {"12 mm 5", 0, "12"},
    {"1#2#3", 0, "1#23"},
    {"1#2~3", 0, "1#23"},
    {"#", 4, "4"},
    {"-#", 4, "-#"}, // returned as it is; converting it fails later
    {"5 - 3", 0, "53"},
    {"--5", 0, "-5"},
    {"x5y6", 0, "5"},
    {"", 0.000001L, "1E-6"},
    {"", 1e15L, "1E15"},
    {"", -0.5L, "-0#5"},
    {"", 0, "0"},
};

class NumberEntryClean : public testing::TestWithParam<Localized<CleanRow>> {};

TEST_P(NumberEntryClean, ExtractsOneNumber) {
    const auto& [locale, row] = GetParam();
    ScopedLocale guard(settingsOf(locale));
    EXPECT_EQ(CleanNumber(localized(row.input, locale), row.fallback), localized(row.expected, locale));
}

INSTANTIATE_TEST_SUITE_P(BothLocales, NumberEntryClean, testing::ValuesIn(underBothLocales(kCleanRows)),
                         paramName<CleanRow>);

TEST(NumberEntryCleanUs, ThousandsCommaBecomesTheDecimalSeparator) {
    // A U.S. user typing digit groups gets the first comma as the decimal point.
    ScopedLocale guard(Locale::unitedStates());
    EXPECT_EQ(CleanNumber(QStringLiteral("1,234.5"), 0), QStringLiteral("1.2345"));
}

// ---------------------------------------------------------------------------------------------------
// General float format

struct FormatRow {
    long double value;
    const char* expected;
};

void PrintTo(const Localized<FormatRow>& p, std::ostream* os) {
    *os << nameOf(p.locale) << " " << static_cast<double>(p.row.value);
}

const std::vector<FormatRow> kFormatRows = {
    {0, "0"},
    {12, "12"},
    {-7, "-7"},
    {2.5L, "2#5"},
    {0.1L, "0#1"},
    {100.0L / 3, "33#3333333333333"},
    {2.0L / 3, "0#666666666666667"},
    {1234.5L, "1234#5"},
    {999999999999999.0L, "999999999999999"},
    {1e15L, "1E15"},
    {123456789012345678.0L, "1#23456789012346E17"},
    {-1.5e20L, "-1#5E20"},
    {1e100L, "1E100"},
    {0.0001L, "0#0001"},
    {0.00001L, "0#00001"},
    {0.0000099L, "9#9E-6"},
    {0.000001L, "1E-6"},
    {1.5e-7L, "1#5E-7"},
    {-2.25e-12L, "-2#25E-12"},
};

class NumberEntryFormat : public testing::TestWithParam<Localized<FormatRow>> {};

TEST_P(NumberEntryFormat, WritesGeneralFloatFormat) {
    const auto& [locale, row] = GetParam();
    ScopedLocale guard(settingsOf(locale));
    EXPECT_EQ(FloatToStrGeneral(row.value), localized(row.expected, locale));
}

INSTANTIATE_TEST_SUITE_P(BothLocales, NumberEntryFormat, testing::ValuesIn(underBothLocales(kFormatRows)),
                         paramName<FormatRow>);

// ---------------------------------------------------------------------------------------------------
// The common entry rule

template <typename F> QString conversionMessage(F&& f) {
    try {
        f();
    } catch (const ConversionError& e) {
        return e.message();
    }
    return QStringLiteral("<no ConversionError>");
}

class NumberEntryRule : public testing::TestWithParam<TestLocale> {
protected:
    void SetUp() override { guard_.emplace(settingsOf(GetParam())); }
    QString l(const char* pattern) const { return localized(pattern, GetParam()); }

private:
    std::optional<ScopedLocale> guard_;
};

TEST_P(NumberEntryRule, NumberUsesEvaluatedValue) {
    EXPECT_EQ(EntryToNumber(l("2#5"), 9), 2.5L);
    EXPECT_EQ(EntryToNumber(l("2~5"), 9), 0.0L) << "evaluates to 0, which length setters ignore";
    EXPECT_EQ(EntryToNumber(l("12 mm"), 9), 12.0L);
}

TEST_P(NumberEntryRule, NumberFallsBackToCleanedText) {
    // Evaluation fails on the exponent form, the cleaned text still converts.
    EXPECT_EQ(EntryToNumber(l("0#000001"), 9), 0.000001L);
    EXPECT_EQ(EntryToNumber(l("1000000000000000+1"), 9), 1e15L);
    // Nothing usable: the current value stays.
    EXPECT_EQ(EntryToNumber(l("-+0#000001"), 7.5L), 7.5L);
}

TEST_P(NumberEntryRule, NumberThrowsWhenCleanedTextDoesNotConvert) {
    EXPECT_EQ(conversionMessage([&] { EntryToNumber(l("-#+0#000001"), 1); }),
              l("'-#' is not a valid floating point value"));
    EXPECT_EQ(conversionMessage([&] { EntryToNumber(l("4/0"), 1); }), QStringLiteral("Division by zero"));
}

TEST_P(NumberEntryRule, IntegerRoundsTiesToEven) {
    EXPECT_EQ(EntryToInteger(l("7"), 1), 7);
    EXPECT_EQ(EntryToInteger(l("10/4"), 1), 2);
    EXPECT_EQ(EntryToInteger(l("2#5"), 1), 2);
    EXPECT_EQ(EntryToInteger(l("3#5"), 1), 4);
    EXPECT_EQ(EntryToInteger(l("-2#5"), 1), -2);
    EXPECT_EQ(EntryToInteger(l("2#6"), 1), 3);
    EXPECT_EQ(EntryToInteger(l("abc"), 1), 0);
    EXPECT_EQ(EntryToInteger(l("-+0#000001"), 5), 5);
}

TEST_P(NumberEntryRule, IntegerThrowsForDecimalCleanedTextAndOverflow) {
    EXPECT_EQ(conversionMessage([&] { EntryToInteger(l("2#5+0#000001"), 1); }),
              l("'2#5' is not a valid integer value"));
    EXPECT_NE(conversionMessage([&] { EntryToInteger(l("99999999999"), 1); }),
              QStringLiteral("<no ConversionError>"));
    EXPECT_EQ(conversionMessage([&] { EntryToInteger(l("1/0"), 1); }), QStringLiteral("Division by zero"));
}

TEST_P(NumberEntryRule, CurrencyStoresRound4) {
    const Currency current = Currency::fromInteger(3);
    EXPECT_EQ(EntryToCurrency(l("100/3"), current).raw(), 333333);
    EXPECT_EQ(EntryToCurrency(l("2#5"), current).raw(), 25000);
    EXPECT_EQ(EntryToCurrency(l("2~5"), current).raw(), 0);
    EXPECT_EQ(EntryToCurrency(l("  12 345#5 mm"), current).raw(), 123455000);
    EXPECT_EQ(EntryToCurrency(l("0#000001"), current).raw(), 0);
    EXPECT_EQ(EntryToCurrency(l("-+0#000001"), Currency::fromRaw(25000)).raw(), 25000);
}

TEST_P(NumberEntryRule, CurrencyThrowsOnOverflowAndDivisionByZero) {
    EXPECT_NE(conversionMessage([&] { EntryToCurrency(l("1000000000000000+1"), Currency()); }),
              QStringLiteral("<no ConversionError>"));
    EXPECT_EQ(conversionMessage([&] { EntryToCurrency(l("2/0"), Currency()); }),
              QStringLiteral("Division by zero"));
}

INSTANTIATE_TEST_SUITE_P(BothLocales, NumberEntryRule,
                         testing::Values(TestLocale::Czech, TestLocale::UnitedStates),
                         [](const testing::TestParamInfo<TestLocale>& info) { return nameOf(info.param); });

} // namespace
