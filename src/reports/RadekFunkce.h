#pragma once
// User functions of a report: a named expression over the current record, optionally accumulated
// over records (count, sum, average, minimum, maximum, standard and relative deviation) and reset
// at the start of the report, of a page or of a group. TListFunkci owns its functions.
#include "reports/Expression.h"
#include "reports/ReportFormat.h"

#include <QString>
#include <vector>

namespace lintaro {

enum TAgregace {
    agNone = 0,
    agCount = 1,
    agSum = 2,
    agAverage = 3,
    agMinimum = 4,
    agMaximum = 5,
    agStdDeviation = 6,
    agRelStdDeviation = 7,
};

class TRadekFunkce {
public:
    enum TTypHodnoty { thNumeric = 0, thText = 1 };
    // Reset codes: report start, page start, and 2 + n for the start of group n.
    enum { rsReport = 0, rsPage = 1, rsGroup = 2 };

    QString Name = QStringLiteral("Funkce");
    QString Popis;
    int ValueType = thNumeric;
    QString InitialValue;
    int Reset = rsReport;
    QString Expression;
    int Aggregation = agNone;
    int Width = 15;   // significant digits of numeric output
    int Decimals = 2; // decimal places of numeric output

    int NumberFormat() const { return numberFormat_; }
    // A value outside 0…4 becomes Fixed.
    void SetNumberFormat(int format) {
        numberFormat_ = format >= ffGeneral && format <= ffCurrency ? format : ffFixed;
    }

    // Run-time state.
    TCalcType Value;
    int Count = 0;
    double Total = 0;
    double SumOfSquares = 0;
    bool ResetPending = false;
    bool SkipNull = false; // null results are not accumulated and print as empty text
    int LastError = 0;     // the last evaluation's error code, 0 when it succeeded
    int LastErrorPosition = 0;

    // Runs a pending reset: the value becomes the initial value.
    void DoReset();
    // Runs a pending reset, evaluates the expression (a failure counts as a fresh value) and applies
    // the aggregation.
    void Compute(TExpressionResolver* resolver);
    // The printed form of the current value.
    QString Text() const;

private:
    int numberFormat_ = ffFixed;
};

class TListFunkci {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TRadekFunkce& Item(int index) { return items_[static_cast<size_t>(index)]; }
    const TRadekFunkce& Item(int index) const { return items_[static_cast<size_t>(index)]; }
    TRadekFunkce& Add(const TRadekFunkce& function = {});
    void Clear() { items_.clear(); }
    // The index of the function of that name (without regard to case), -1 when none.
    int IndexOf(const QString& name) const;

    // Marks every function with that reset code as reset-pending; a negative code marks them all.
    void Reset(int code);
    // Computes every function in order, so a function may use those before it on the same record.
    void ComputeAll(TExpressionResolver* resolver);
    void SetSkipNull(bool skip);

private:
    std::vector<TRadekFunkce> items_;
};

} // namespace lintaro
