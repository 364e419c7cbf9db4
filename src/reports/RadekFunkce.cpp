#include "reports/RadekFunkce.h"

#include "platform/Locale.h"

#include <cmath>

namespace lintaro {

void TRadekFunkce::DoReset() {
    if (!ResetPending)
        return;
    TCalcType v;
    double number = 0;
    if (ValueType == thText) {
        v = TCalcType::FromText(InitialValue);
    } else if (TextToFloat(InitialValue, number) && std::isfinite(number)) {
        v.Number = number;
        v.Text = InitialValue;
    }
    v.Kind = ValueType == thText ? TCalcType::ckText : TCalcType::ckNumber;
    Value = v;
    Count = 0;
    Total = 0;
    SumOfSquares = 0;
    ResetPending = false;
}

void TRadekFunkce::Compute(TExpressionResolver* resolver) {
    DoReset();
    const TExpressionResult result = EvaluateExpression(Expression, resolver);
    LastError = result.Error;
    LastErrorPosition = result.Position;
    const TCalcType& v = result.Value;
    const bool accumulate = !(SkipNull && v.IsNull);
    if (accumulate || Aggregation == agNone)
        ++Count;
    if (accumulate) {
        if (Aggregation == agSum || Aggregation == agAverage || Aggregation == agStdDeviation ||
            Aggregation == agRelStdDeviation)
            Total += v.Number;
        if (Aggregation == agStdDeviation || Aggregation == agRelStdDeviation)
            SumOfSquares += v.Number * v.Number;
    }
    auto deviation = [this] {
        const double variance = (SumOfSquares - Total * Total / Count) / (Count - 1);
        return std::sqrt(std::max(0.0, variance)); // rounding may push a zero variance below 0
    };
    switch (Aggregation) {
    case agNone:
        Value = v;
        break;
    case agCount:
        Value = TCalcType::FromNumber(Count);
        break;
    case agSum:
        Value = TCalcType::FromNumber(Total);
        break;
    case agAverage:
        // With nothing averaged yet the value stays what the reset made it: the initial value.
        if (Count > 0)
            Value = TCalcType::FromNumber(Total / Count);
        break;
    case agMinimum:
    case agMaximum:
        if (accumulate &&
            (Count == 1 || (Aggregation == agMinimum ? v.Number < Value.Number : v.Number > Value.Number)))
            Value = v;
        break;
    case agStdDeviation:
        Value = Count > 1 ? TCalcType::FromNumber(deviation()) : TCalcType();
        break;
    case agRelStdDeviation:
        Value = Count > 1 && Total != 0 ? TCalcType::FromNumber(deviation() * Count / Total) : TCalcType();
        break;
    default:
        Value = v;
        break;
    }
}

QString TRadekFunkce::Text() const {
    if (ResetPending) {
        // Not computed since the reset: it prints the value the reset gives.
        TRadekFunkce reset = *this;
        reset.DoReset();
        return reset.Text();
    }
    if (SkipNull && Value.IsNull)
        return {};
    if (ValueType == thText)
        return Value.Text;
    return FormatFloatF(Value.Number, static_cast<TFloatFormat>(numberFormat_), Width, Decimals);
}

TRadekFunkce& TListFunkci::Add(const TRadekFunkce& function) {
    items_.push_back(function);
    return items_.back();
}

int TListFunkci::IndexOf(const QString& name) const {
    for (int i = 0; i < Count(); ++i)
        if (Locale::sameText(items_[static_cast<size_t>(i)].Name, name))
            return i;
    return -1;
}

void TListFunkci::Reset(int code) {
    for (TRadekFunkce& f : items_)
        if (code < 0 || f.Reset == code)
            f.ResetPending = true;
}

void TListFunkci::ComputeAll(TExpressionResolver* resolver) {
    for (TRadekFunkce& f : items_)
        f.Compute(resolver);
}

void TListFunkci::SetSkipNull(bool skip) {
    for (TRadekFunkce& f : items_)
        f.SkipNull = skip;
}

} // namespace lintaro
