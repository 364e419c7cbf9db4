#pragma once
// The expression language of report functions and barcodes: numbers, texts in single quotes, sets
// for IN, references to data items (#), parameters (&) and user functions (@) by 1-based number or
// by name, operators and the built-in functions. Evaluation never throws: a failure gives a code
// 1…14 (ReportMessages::ExpressionErrorText) with the 1-based position where it was found.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace lintaro {

// One value: kind 0 none, 1 number, 2 text, 5 set. A number also carries its text form, so it can
// stand where a text is expected.
struct TCalcType {
    enum Kind : std::uint8_t { ckNone = 0, ckNumber = 1, ckText = 2, ckSet = 5 };
    std::uint8_t Kind = ckNone;
    double Number = 0;
    QString Text;
    bool IsNull = false;

    static TCalcType FromNumber(double number);
    // A text whose number is the text read as a number, 0 when it is not one.
    static TCalcType FromText(const QString& text);
    bool IsTrue() const { return Number > 0; }
};

// Where references get their values: the report that runs the expression. Indexes are 0-based.
class TExpressionResolver {
public:
    virtual ~TExpressionResolver() = default;
    virtual TCalcType DataItem(int index) = 0;
    virtual TCalcType Parameter(int index) = 0;
    virtual TCalcType Function(int index) = 0;
    // -1 when there is no such name (compared without regard to case).
    virtual int DataItemIndex(const QString& name) = 0;
    virtual int FunctionIndex(const QString& name) = 0;
};

struct TExpressionResult {
    TCalcType Value; // a fresh record when Error is not 0
    int Error = 0;
    int Position = 0; // 1-based; the length + 1 for a fault found at the end
};

// Evaluates text. Without a resolver (no active report) every reference reads as a fresh record and
// every name is unknown.
TExpressionResult EvaluateExpression(const QString& text, TExpressionResolver* resolver = nullptr);

// The syntax check of the expression editor: "Výraz je v pořádku." or the error with its position.
QString CheckExpression(const QString& text, TExpressionResolver* resolver = nullptr);

} // namespace lintaro
