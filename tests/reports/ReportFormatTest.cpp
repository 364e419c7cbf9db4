#include "reports/ReportFormat.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace lintaro;

namespace {

struct PatternCase {
    double value;
    const char* pattern;
    const char* czech;
    const char* unitedStates;
};

std::ostream& operator<<(std::ostream& os, const PatternCase& c) {
    return os << c.pattern << " " << c.value;
}

class FloatPattern : public ::testing::TestWithParam<PatternCase> {};

TEST_P(FloatPattern, FormatsUnderBothLocales) {
    const PatternCase& c = GetParam();
    {
        const ScopedLocale locale(Locale::czech());
        EXPECT_EQ(FormatFloatPattern(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.czech));
    }
    const ScopedLocale locale(Locale::unitedStates());
    EXPECT_EQ(FormatFloatPattern(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.unitedStates));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FloatPattern,
    ::testing::Values(
        PatternCase{1234.567, "#,##0.00", "1 234,57", "1,234.57"},
        PatternCase{-1234.567, "#,##0.00", "-1 234,57", "-1,234.57"}, PatternCase{0.5, "#.##", ",5", ".5"},
        PatternCase{0.5, "0.0#", "0,5", "0.5"}, PatternCase{12.346, "0.0#", "12,35", "12.35"},
        PatternCase{7, "000", "007", "007"}, PatternCase{1234.5, "0.00E+00", "1,23E+03", "1.23E+03"},
        PatternCase{0.00012, "0.0E-0", "1,2E-4", "1.2E-4"}, PatternCase{-5, "0;(0);nula", "(5)", "(5)"},
        PatternCase{0, "0;(0);nula", "nula", "nula"}, PatternCase{0.001, "0.00;-0.00;'zero'", "zero", "zero"},
        PatternCase{42, "'Celkem: '0' ks'", "Celkem: 42 ks", "Celkem: 42 ks"},
        PatternCase{3.5, "", "3,5", "3.5"},
        PatternCase{1e20, "#,##0", "100 000 000 000 000 000 000", "100,000,000,000,000,000,000"}));

TEST(ReportFormat, FloatTextIsTheShortestGeneralForm) {
    const ScopedLocale locale(Locale::czech());
    EXPECT_EQ(FloatToText(2.5), QStringLiteral("2,5"));
    EXPECT_EQ(FloatToText(100), QStringLiteral("100"));
    EXPECT_EQ(FloatToText(0.1 + 0.2), QStringLiteral("0,3"));
    EXPECT_EQ(FloatToText(1e20), QStringLiteral("1E+20"));
    EXPECT_EQ(FloatToText(-0.0), QStringLiteral("0"));
    double v = 0;
    EXPECT_TRUE(TextToFloat(QStringLiteral(" 2,5 "), v));
    EXPECT_EQ(v, 2.5);
    EXPECT_TRUE(TextToFloat(QStringLiteral("2.5"), v));
    EXPECT_FALSE(TextToFloat(QStringLiteral("abc"), v));
}

TEST(ReportFormat, DateTimePatterns) {
    const QDateTime t(QDate(2026, 3, 7), QTime(14, 5, 9, 42));
    {
        const ScopedLocale locale(Locale::czech());
        EXPECT_EQ(FormatDateTimePattern(t, QStringLiteral("d.m.yyyy hh:mm:ss")),
                  QStringLiteral("7.3.2026 14:05:09"));
        EXPECT_EQ(FormatDateTimePattern(t, QStringLiteral("dd/mm/yy")), QStringLiteral("07.03.26"));
        EXPECT_EQ(FormatDateTimePattern(t, QStringLiteral("dddd d. mmmm")),
                  QStringLiteral("sobota 7. března"));
        EXPECT_EQ(FormatDateTimePattern(t, QStringLiteral("ddddd t")), QStringLiteral("07.03.2026 14:05"));
        EXPECT_EQ(FormatDateTimePattern(t, QStringLiteral("h:nn zzz \"h\"")), QStringLiteral("14:05 042 h"));
        EXPECT_EQ(ShortDateText(t.date()), QStringLiteral("07.03.2026"));
        EXPECT_EQ(ShortTimeText(t.time()), QStringLiteral("14:05"));
    }
    const ScopedLocale locale(Locale::unitedStates());
    EXPECT_EQ(FormatDateTimePattern(t, QStringLiteral("mm/dd/yyyy h:nn am/pm")),
              QStringLiteral("03/07/2026 2:05 pm"));
    EXPECT_EQ(FormatDateTimePattern(t, QStringLiteral("ddd, mmm d")), QStringLiteral("Sat, Mar 7"));
    EXPECT_EQ(FormatDateTimePattern(t, QStringLiteral("c")), QStringLiteral("3/7/2026 14:05:09"));
}

TEST(ReportFormat, CounterPatterns) {
    EXPECT_EQ(FormatCounter(QString(), 12), QStringLiteral("12"));
    EXPECT_EQ(FormatCounter(QStringLiteral("Strana %d"), 3), QStringLiteral("Strana 3"));
    EXPECT_EQ(FormatCounter(QStringLiteral("%3d."), 7), QStringLiteral("  7."));
    EXPECT_EQ(FormatCounter(QStringLiteral("%-3d|"), 7), QStringLiteral("7  |"));
    EXPECT_EQ(FormatCounter(QStringLiteral("%.3d"), 7), QStringLiteral("007"));
    EXPECT_EQ(FormatCounter(QStringLiteral("%x %%"), 255), QStringLiteral("FF %"));
    EXPECT_EQ(FormatCounter(QStringLiteral("%q %"), 1), QStringLiteral("%q %"));
}

} // namespace
