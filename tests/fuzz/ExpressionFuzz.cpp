// libFuzzer target: evaluating any expression, and formatting with any pattern, never crashes or
// hangs; errors stay within their codes and positions within the text.
#include "reports/Expression.h"
#include "reports/RadekFunkce.h"
#include "reports/ReportFormat.h"

#include <QDateTime>

#include <cstdint>
#include <cstdlib>

using namespace lintaro;

namespace {

// A report with a few data items, parameters and functions, found by name too.
class Operands : public TExpressionResolver {
public:
    TCalcType DataItem(int index) override {
        if (index == 0)
            return TCalcType::FromText(QStringLiteral("Deska 18 mm"));
        if (index == 1)
            return TCalcType::FromNumber(-2.5);
        TCalcType v;
        v.IsNull = index == 2;
        return v;
    }
    TCalcType Parameter(int index) override { return TCalcType::FromText(QString::number(index * 7)); }
    TCalcType Function(int index) override { return TCalcType::FromNumber(index * 1e300); }
    int DataItemIndex(const QString& name) override { return name.size() % 4 - 1; }
    int FunctionIndex(const QString& name) override { return name.size() % 3 - 1; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size > 4096)
        return 0;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    Operands operands;
    for (TExpressionResolver* resolver :
         {static_cast<TExpressionResolver*>(&operands), static_cast<TExpressionResolver*>(nullptr)}) {
        const TExpressionResult r = EvaluateExpression(text, resolver);
        if (r.Error < 0 || r.Error > 13 || (r.Error != 0 && (r.Position < 1 || r.Position > text.size() + 1)))
            std::abort();
        if (r.Error == 0 && r.Value.Kind != TCalcType::ckNone && r.Value.Kind != TCalcType::ckNumber &&
            r.Value.Kind != TCalcType::ckText)
            std::abort();
    }
    TListFunkci functions;
    for (int aggregation = 0; aggregation <= 7; ++aggregation) {
        TRadekFunkce& f = functions.Add();
        f.Expression = text;
        f.Aggregation = aggregation;
        f.InitialValue = text;
        f.SetNumberFormat(aggregation % 5);
        f.Width = static_cast<int>(size % 25) - 2;
        f.Decimals = static_cast<int>(size % 21) - 1;
    }
    functions.Reset(-1);
    functions.ComputeAll(&operands);
    functions.ComputeAll(&operands);
    for (int i = 0; i < functions.Count(); ++i)
        (void)functions.Item(i).Text();
    // The same text as every kind of pattern.
    (void)FormatFloatPattern(-1234.5678, text);
    (void)FormatFloatPattern(1e300, text);
    (void)FormatDateTimePattern(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58, 999)), text);
    (void)FormatCounter(text, -42);
    return 0;
}
