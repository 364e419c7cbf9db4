#include "reports/RadekFunkce.h"
#include "platform/Locale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace lintaro;

namespace {

// One data item per record; std::nullopt is a null value.
class Records : public TExpressionResolver {
public:
    std::optional<double> current;
    TCalcType DataItem(int index) override {
        if (index != 0)
            return {};
        TCalcType v = current ? TCalcType::FromNumber(*current) : TCalcType();
        v.Kind = TCalcType::ckNumber;
        v.IsNull = !current;
        return v;
    }
    TCalcType Parameter(int) override { return {}; }
    TCalcType Function(int) override { return {}; }
    int DataItemIndex(const QString&) override { return -1; }
    int FunctionIndex(const QString&) override { return -1; }
};

const std::vector<std::optional<double>> kRecords{2, 4, std::nullopt, 4, 4, 5, 5, 7, 9};

double aggregate(int aggregation, bool skipNull) {
    TListFunkci list;
    TRadekFunkce& f = list.Add();
    f.Expression = QStringLiteral("#1");
    f.Aggregation = aggregation;
    list.SetSkipNull(skipNull);
    list.Reset(-1);
    Records records;
    for (const auto& value : kRecords) {
        records.current = value;
        list.ComputeAll(&records);
    }
    return f.Value.Number;
}

struct AggregationCase {
    int aggregation;
    double skipped;    // the null record left out: 2 4 4 4 5 5 7 9
    double notSkipped; // the null record counted as 0
};

class Aggregation : public ::testing::TestWithParam<AggregationCase> {};

TEST_P(Aggregation, MatchesTheHandWorkedValues) {
    const AggregationCase& c = GetParam();
    EXPECT_NEAR(aggregate(c.aggregation, true), c.skipped, 1e-12);
    EXPECT_NEAR(aggregate(c.aggregation, false), c.notSkipped, 1e-12);
}

// Sums 40; squares 232; deviation √(32 / 7) over eight values, √((232 − 1600 / 9) / 8) over nine.
INSTANTIATE_TEST_SUITE_P(
    Table, Aggregation,
    ::testing::Values(AggregationCase{agCount, 8, 9}, AggregationCase{agSum, 40, 40},
                      AggregationCase{agAverage, 5, 40.0 / 9}, AggregationCase{agMinimum, 2, 0},
                      AggregationCase{agMaximum, 9, 9},
                      AggregationCase{agStdDeviation, 2.138089935299395, 2.6034165586355518},
                      AggregationCase{agRelStdDeviation, 0.427617987059879, 0.5857687256929991}));

TEST(RadekFunkce, WithoutAggregationTheValueIsTheLastResult) {
    EXPECT_EQ(aggregate(agNone, false), 9);
}

TEST(RadekFunkce, DeviationNeedsTwoValues) {
    TRadekFunkce f;
    f.Expression = QStringLiteral("3");
    f.Aggregation = agStdDeviation;
    f.ResetPending = true;
    f.Compute(nullptr);
    EXPECT_EQ(f.Value.Kind, TCalcType::ckNone);
    f.Compute(nullptr);
    EXPECT_EQ(f.Value.Number, 0);
    EXPECT_EQ(f.Value.Kind, TCalcType::ckNumber);
}

TEST(RadekFunkce, AverageOverNoRecordsPrintsTheInitialValue) {
    const ScopedLocale czech(Locale::czech());
    TListFunkci list;
    TRadekFunkce& f = list.Add();
    f.Expression = QStringLiteral("#1");
    f.Aggregation = agAverage;
    f.InitialValue = QStringLiteral("7,5");
    f.Decimals = 1;
    list.Reset(-1);
    EXPECT_EQ(f.Text(), QStringLiteral("7,5"));
    // Only null records: nothing is averaged, so the initial value stays.
    list.SetSkipNull(true);
    Records records;
    list.ComputeAll(&records);
    EXPECT_EQ(f.Count, 0);
    EXPECT_EQ(f.Text(), QStringLiteral("7,5"));
}

TEST(RadekFunkce, ResetCodesSelectTheFunctions) {
    TListFunkci list;
    for (int reset : {0, 1, 3}) {
        TRadekFunkce& f = list.Add();
        f.Reset = reset;
        f.Expression = QStringLiteral("1");
        f.Aggregation = agSum;
    }
    list.Reset(-1);
    list.ComputeAll(nullptr);
    list.ComputeAll(nullptr);
    list.Reset(TRadekFunkce::rsGroup + 1);
    list.ComputeAll(nullptr);
    EXPECT_EQ(list.Item(0).Value.Number, 3);
    EXPECT_EQ(list.Item(1).Value.Number, 3);
    EXPECT_EQ(list.Item(2).Value.Number, 1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("FUNKCE")), 0);
    EXPECT_EQ(list.IndexOf(QStringLiteral("Other")), -1);
}

TEST(RadekFunkce, AFailingExpressionCountsAsAFreshValue) {
    TRadekFunkce f;
    f.Expression = QStringLiteral("1 / 0");
    f.Aggregation = agCount;
    f.ResetPending = true;
    f.Compute(nullptr);
    EXPECT_EQ(f.LastError, 6);
    EXPECT_EQ(f.LastErrorPosition, 3);
    EXPECT_EQ(f.Value.Number, 1);
}

struct TextCase {
    int format;
    int width;
    int decimals;
    double value;
    const char* czech;
    const char* unitedStates;
};

class FunctionText : public ::testing::TestWithParam<TextCase> {};

TEST_P(FunctionText, FormatsTheNumber) {
    const TextCase& c = GetParam();
    TRadekFunkce f;
    f.SetNumberFormat(c.format);
    f.Width = c.width;
    f.Decimals = c.decimals;
    f.Value = TCalcType::FromNumber(c.value);
    {
        const ScopedLocale locale(Locale::czech());
        EXPECT_EQ(f.Text(), QString::fromUtf8(c.czech));
    }
    const ScopedLocale locale(Locale::unitedStates());
    EXPECT_EQ(f.Text(), QString::fromUtf8(c.unitedStates));
}

INSTANTIATE_TEST_SUITE_P(Table, FunctionText,
                         ::testing::Values(TextCase{ffGeneral, 15, 0, 1234.5, "1234,5", "1234.5"},
                                           TextCase{ffGeneral, 3, 0, 1234.5, "1,23E+3", "1.23E+3"},
                                           TextCase{ffExponent, 4, 2, 1234.56, "1,235E+03", "1.235E+03"},
                                           TextCase{ffFixed, 15, 2, -1234.567, "-1234,57", "-1234.57"},
                                           TextCase{ffFixed, 15, 2, -0.001, "0,00", "0.00"},
                                           TextCase{ffNumber, 15, 2, 1234567.891, "1 234 567,89",
                                                    "1,234,567.89"},
                                           TextCase{ffCurrency, 15, 2, 1234.5, "1 234,50 Kč", "$1,234.50"},
                                           TextCase{ffCurrency, 15, 0, -12, "-12 Kč", "-$12"},
                                           TextCase{7, 15, 1, 2.26, "2,3", "2.3"}));

TEST(RadekFunkce, TextFunctionsPrintTheirTextAndNullsPrintNothingWhenSkipped) {
    TRadekFunkce f;
    f.ValueType = TRadekFunkce::thText;
    f.Value = TCalcType::FromText(QStringLiteral("abc"));
    EXPECT_EQ(f.Text(), QStringLiteral("abc"));
    f.Value.IsNull = true;
    EXPECT_EQ(f.Text(), QStringLiteral("abc"));
    f.SkipNull = true;
    EXPECT_EQ(f.Text(), QString());
}

} // namespace
