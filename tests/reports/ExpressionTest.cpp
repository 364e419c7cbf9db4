#include "reports/Expression.h"
#include "platform/Locale.h"
#include "reports/ReportMessages.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

using namespace lintaro;

namespace {

// A report with three data items (a text, a number and a null one), two parameters and a function.
class FakeReport : public TExpressionResolver {
public:
    TCalcType DataItem(int index) override {
        switch (index) {
        case 0:
            return TCalcType::FromText(QStringLiteral("Board"));
        case 1: {
            TCalcType v = TCalcType::FromText(QStringLiteral("12,5"));
            v.Kind = TCalcType::ckNumber;
            return v;
        }
        case 2: {
            TCalcType v;
            v.Kind = TCalcType::ckNumber;
            v.IsNull = true;
            return v;
        }
        default:
            return {};
        }
    }
    TCalcType Parameter(int index) override {
        return index == 0 ? TCalcType::FromText(QStringLiteral("Ing. Novák")) : TCalcType();
    }
    TCalcType Function(int index) override { return index == 0 ? TCalcType::FromNumber(100) : TCalcType(); }
    int DataItemIndex(const QString& name) override {
        const QStringList names{QStringLiteral("Name"), QStringLiteral("Price"), QStringLiteral("Note")};
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    int FunctionIndex(const QString& name) override {
        return name.compare(QLatin1String("Total"), Qt::CaseInsensitive) == 0 ? 0 : -1;
    }
};

struct ValueCase {
    const char* expression;
    int kind;
    double number;
    const char* text; // nullptr: not checked
    bool isNull = false;
};

std::ostream& operator<<(std::ostream& os, const ValueCase& c) {
    return os << c.expression;
}

class ExpressionValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ExpressionValue, Evaluates) {
    const ScopedLocale czech(Locale::czech());
    FakeReport report;
    const ValueCase& c = GetParam();
    const TExpressionResult r = EvaluateExpression(QString::fromUtf8(c.expression), &report);
    ASSERT_EQ(r.Error, 0) << "at " << r.Position;
    EXPECT_EQ(r.Value.Kind, c.kind);
    EXPECT_NEAR(r.Value.Number, c.number, 1e-12);
    if (c.text) {
        EXPECT_EQ(r.Value.Text, QString::fromUtf8(c.text));
    }
    EXPECT_EQ(r.Value.IsNull, c.isNull);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionValue,
    ::testing::Values(
        // Texts join, numbers add; a number keeps its text form.
        ValueCase{"'A' + 'B'", 2, 0, "AB"}, ValueCase{"'1' + 2", 1, 3, nullptr},
        ValueCase{"1.5 + 1", 1, 2.5, "2,5"}, ValueCase{"'Strana ' + 3", 1, 3, "Strana 3"},
        // Priorities and left-to-right association.
        ValueCase{"2 + 3 * 4 ^ 2", 1, 50, "50"}, ValueCase{"NOT 0 AND 1", 1, 1, nullptr},
        ValueCase{"1 < 2 = 1", 1, 1, nullptr}, ValueCase{"2 - 3 - 4", 1, -5, nullptr},
        ValueCase{"2 ^ 3 ^ 2", 1, 64, nullptr}, ValueCase{"(2 + 3) * 4", 1, 20, nullptr},
        ValueCase{"-3 + 5", 1, 2, nullptr}, ValueCase{"1 OR 0 AND 0", 1, 1, nullptr},
        ValueCase{"NOT -1", 1, 1, nullptr},
        // Comparisons: texts compare as texts only with "=" and "<>".
        ValueCase{"'abc' = 'ABC'", 1, 0, nullptr}, ValueCase{"'abc' <> 'ABC'", 1, 1, nullptr},
        ValueCase{"'10' < '9'", 1, 0, nullptr}, ValueCase{"'2' = 2", 1, 1, nullptr},
        ValueCase{"2 >= 2", 1, 1, nullptr}, ValueCase{"2 <= 1", 1, 0, nullptr},
        ValueCase{"3 IN [1, 3, 5]", 1, 1, nullptr}, ValueCase{"'b' IN ['a', 'b']", 1, 1, nullptr},
        ValueCase{"-2 IN [2, -2]", 1, 1, nullptr}, ValueCase{"4 IN []", 1, 0, nullptr},
        // Built-in functions.
        ValueCase{"ABS(-2.5)", 1, 2.5, nullptr}, ValueCase{"INT(-2.7)", 1, -2, nullptr},
        ValueCase{"SGN(-5) + SGN(0)", 1, -1, nullptr}, ValueCase{"MAX(2, 7) - MIN(2, 7)", 1, 5, nullptr},
        ValueCase{"IIF(1 > 0, 'yes', 'no')", 2, 0, "yes"}, ValueCase{"IIF(0, 'yes', 5)", 1, 5, nullptr},
        ValueCase{"LEFT('abcdef', 2.6)", 2, 0, "abc"}, ValueCase{"RIGHT('abcdef', 2)", 2, 0, "ef"},
        ValueCase{"SUBSTR('abcdef', 2, 3)", 2, 0, "bcd"}, ValueCase{"SUBSTR('abc', 5, 1)", 2, 0, ""},
        ValueCase{"UPPER('čaj')", 2, 0, "ČAJ"}, ValueCase{"LOWER('ŽÁK')", 2, 0, "žák"},
        ValueCase{"LTRIM('  x  ')", 2, 0, "x  "}, ValueCase{"RTRIM('  x  ')", 2, 0, "  x"},
        ValueCase{"ALLTRIM('  x  ')", 2, 0, "x"},
        ValueCase{"FORMAT(1234.5, '#,##0.00')", 2, 1234.5, "1 234,50"},
        ValueCase{"SIN(0) + COS(0)", 1, 1, nullptr}, ValueCase{"TAN(0)", 1, 0, nullptr},
        ValueCase{"COTG(1)", 1, 1 / std::tan(1.0), nullptr}, ValueCase{"EXP(0)", 1, 1, nullptr},
        ValueCase{"LOG(EXP(2))", 1, 2, nullptr}, ValueCase{"ASIN(1)", 1, std::numbers::pi / 2, nullptr},
        ValueCase{"ACOS(1)", 1, 0, nullptr}, ValueCase{"ATAN(1)", 1, std::numbers::pi / 4, nullptr},
        ValueCase{"ACOTG(0)", 1, std::numbers::pi / 2, nullptr}, ValueCase{"CHR(65) + CHR(138)", 2, 0, "AŠ"},
        ValueCase{"CHR(0) + CHR(256)", 2, 0, ""}, ValueCase{"ORD('Š') + ORD('')", 1, 138, nullptr},
        ValueCase{"abs(-1)", 1, 1, nullptr},
        // References by number and by name through the report.
        ValueCase{"#1", 2, 0, "Board"}, ValueCase{"#Price * 2", 1, 25, nullptr},
        ValueCase{"#price + 1", 1, 13.5, nullptr}, ValueCase{"&1", 2, 0, "Ing. Novák"},
        ValueCase{"@Total / 4", 1, 25, nullptr}, ValueCase{"@1 + 1", 1, 101, nullptr},
        ValueCase{"#Note + 1", 1, 1, nullptr, true}, ValueCase{"IIF(#3, 1, 2)", 1, 2, nullptr, true},
        ValueCase{"#9", 0, 0, ""}));

TEST(Expression, WithoutAReportEveryReferenceIsAFreshRecord) {
    for (const char* text : {"#1", "&2", "@3"}) {
        const TExpressionResult r = EvaluateExpression(QString::fromLatin1(text));
        EXPECT_EQ(r.Error, 0) << text;
        EXPECT_EQ(r.Value.Kind, TCalcType::ckNone) << text;
        EXPECT_EQ(r.Value.Number, 0) << text;
        EXPECT_TRUE(r.Value.Text.isEmpty()) << text;
        EXPECT_FALSE(r.Value.IsNull) << text;
    }
}

struct ErrorCase {
    QString expression;
    int code;
    int position;
};

std::ostream& operator<<(std::ostream& os, const ErrorCase& c) {
    return os << c.expression.toStdString();
}

class ExpressionError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ExpressionError, FailsWithCodeAndPosition) {
    FakeReport report;
    const ErrorCase& c = GetParam();
    const TExpressionResult r = EvaluateExpression(c.expression, &report);
    EXPECT_EQ(r.Error, c.code);
    EXPECT_EQ(r.Position, c.position);
    EXPECT_EQ(r.Value.Kind, TCalcType::ckNone);
    EXPECT_EQ(r.Value.Number, 0);
}

QString deepNesting() {
    // 21 operands wait at once: one more than the stack holds.
    return QStringLiteral("1+(").repeated(20) + u'1' + QStringLiteral(")").repeated(20);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionError,
    ::testing::Values(ErrorCase{"2 + FOO(1)", 1, 5}, ErrorCase{"2 + * 3", 2, 5}, ErrorCase{"", 2, 1},
                      ErrorCase{"1 2", 2, 3}, ErrorCase{"ABS 1", 2, 5}, ErrorCase{"ABS()", 2, 5},
                      ErrorCase{deepNesting(), 3, 61}, ErrorCase{"1)", 4, 2}, ErrorCase{"(1", 5, 3},
                      ErrorCase{"ABS(1", 5, 6}, ErrorCase{"1/0", 6, 2}, ErrorCase{"-2 ^ 2", 6, 4},
                      ErrorCase{"LOG(0)", 6, 1}, ErrorCase{"ASIN(2)", 6, 1}, ErrorCase{"COTG(0)", 6, 1},
                      ErrorCase{"1.2.3", 7, 1}, ErrorCase{"2 + 1e", 7, 5}, ErrorCase{"12ab", 7, 1},
                      ErrorCase{"#1234", 8, 1}, ErrorCase{"1 + #Unknown", 9, 5}, ErrorCase{"&Name", 9, 1},
                      ErrorCase{"#0", 9, 1}, ErrorCase{"#", 9, 1}, ErrorCase{"@" + QString(33, u'a'), 9, 1},
                      ErrorCase{"MAX(1)", 10, 6}, ErrorCase{"ABS(1, 2)", 11, 6}, ErrorCase{"1, 2", 11, 2},
                      ErrorCase{"'abc", 12, 1}, ErrorCase{"1 IN [1, 2", 13, 6},
                      ErrorCase{"1 IN [1 2]", 13, 6}, ErrorCase{"1 IN [ABS]", 13, 6},
                      ErrorCase{"[1]", 2, 1}));

TEST(Expression, SyntaxCheckNamesTheErrorAndItsPosition) {
    EXPECT_EQ(CheckExpression(QStringLiteral("1 + 2")), QStringLiteral("Výraz je v pořádku."));
    EXPECT_EQ(CheckExpression(QStringLiteral("1 + (2")),
              QStringLiteral("Chyba : \"Chybí uzavírací závorky\" na pozici 7"));
}

TEST(Expression, EveryErrorCodeHasItsText) {
    EXPECT_EQ(ReportMessages::ExpressionErrorText(1), QStringLiteral("Neznamý identifikátor"));
    EXPECT_EQ(ReportMessages::ExpressionErrorText(14), QStringLiteral("Ukončeno uživatelem"));
    for (int code = 1; code <= 14; ++code)
        EXPECT_FALSE(ReportMessages::ExpressionErrorText(code).isEmpty()) << code;
    EXPECT_TRUE(ReportMessages::ExpressionErrorText(15).isEmpty());
}

} // namespace
