#include "reports/Expression.h"

#include "platform/Locale.h"
#include "reports/ReportFormat.h"
#include "reports/ReportMessages.h"

#include <QLocale>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace lintaro {

TCalcType TCalcType::FromNumber(double number) {
    TCalcType v;
    v.Kind = ckNumber;
    v.Number = number;
    v.Text = FloatToText(number);
    return v;
}

TCalcType TCalcType::FromText(const QString& text) {
    TCalcType v;
    v.Kind = ckText;
    v.Text = text;
    double n = 0;
    if (TextToFloat(text, n) && std::isfinite(n))
        v.Number = n;
    return v;
}

namespace {

constexpr int kMaxOperands = 20;
constexpr int kMaxNameLength = 32;

enum Error {
    eUnknownIdentifier = 1,
    eSyntax = 2,
    eStackOverflow = 3,
    eTooFewOpening = 4,
    eMissingClosing = 5,
    eNumeric = 6,
    eBadNumber = 7,
    eTooManyVariables = 8,
    eBadVariableName = 9,
    eCommaExpected = 10,
    eTooManyCommas = 11,
    eBadString = 12,
    eBadSet = 13,
};

struct Failure {
    int code;
    int position; // 0-based
};

enum Op {
    opNeg,
    opNot,
    opPow,
    opMul,
    opDiv,
    opAnd,
    opAdd,
    opSub,
    opOr,
    opEq,
    opLt,
    opGt,
    opNe,
    opLe,
    opGe,
    opIn,
};

int priority(Op op) {
    switch (op) {
    case opNeg:
    case opNot:
        return 1;
    case opPow:
        return 2;
    case opMul:
    case opDiv:
    case opAnd:
        return 3;
    case opAdd:
    case opSub:
    case opOr:
        return 4;
    default:
        return 5;
    }
}

enum Builtin {
    fnAbs,
    fnInt,
    fnSgn,
    fnMax,
    fnMin,
    fnIif,
    fnLeft,
    fnRight,
    fnSubstr,
    fnUpper,
    fnLower,
    fnLtrim,
    fnRtrim,
    fnAlltrim,
    fnFormat,
    fnSin,
    fnCos,
    fnTan,
    fnCotg,
    fnExp,
    fnLog,
    fnAsin,
    fnAcos,
    fnAtan,
    fnAcotg,
    fnChr,
    fnOrd,
};

struct BuiltinInfo {
    const char* name;
    Builtin id;
    int args;
};

constexpr std::array<BuiltinInfo, 27> kBuiltins{{
    {"ABS", fnAbs, 1},       {"INT", fnInt, 1},         {"SGN", fnSgn, 1},       {"MAX", fnMax, 2},
    {"MIN", fnMin, 2},       {"IIF", fnIif, 3},         {"LEFT", fnLeft, 2},     {"RIGHT", fnRight, 2},
    {"SUBSTR", fnSubstr, 3}, {"UPPER", fnUpper, 1},     {"LOWER", fnLower, 1},   {"LTRIM", fnLtrim, 1},
    {"RTRIM", fnRtrim, 1},   {"ALLTRIM", fnAlltrim, 1}, {"FORMAT", fnFormat, 2}, {"SIN", fnSin, 1},
    {"COS", fnCos, 1},       {"TAN", fnTan, 1},         {"COTG", fnCotg, 1},     {"EXP", fnExp, 1},
    {"LOG", fnLog, 1},       {"ASIN", fnAsin, 1},       {"ACOS", fnAcos, 1},     {"ATAN", fnAtan, 1},
    {"ACOTG", fnAcotg, 1},   {"CHR", fnChr, 1},         {"ORD", fnOrd, 1},
}};

// The characters of the Central European Windows code page, by code, for CHR and ORD.
const std::array<QChar, 256>& codePage() {
    static const std::array<QChar, 256> table = [] {
        std::array<QChar, 256> t{};
        QStringDecoder decoder("windows-1250", QStringConverter::Flag::Stateless);
        for (int i = 0; i < 256; ++i) {
            const char byte = static_cast<char>(i);
            const QString s = decoder.decode(QByteArrayView(&byte, 1));
            t[static_cast<size_t>(i)] = s.isEmpty() ? QChar(i) : s[0];
        }
        return t;
    }();
    return table;
}

// A count or position from a number, without undefined conversions of huge or missing values.
int toCount(double value) {
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(std::round(value), -1e9, 1e9));
}

bool isBlank(QChar c) {
    return c.unicode() <= 32;
}

struct StackEntry {
    enum Type { Operator, Paren, Call } type;
    Op op = opAdd;
    Builtin fn = fnAbs;
    int required = 0;
    int args = 0;
    int position = 0;
};

class Evaluator {
public:
    Evaluator(const QString& text, TExpressionResolver* resolver) : s_(text), resolver_(resolver) {}

    TCalcType run() {
        bool expectOperand = true;
        for (;;) {
            skipBlanks();
            const int start = pos_;
            if (pos_ >= s_.size()) {
                if (expectOperand)
                    fail(eSyntax, start);
                while (!ops_.empty()) {
                    if (ops_.back().type != StackEntry::Operator)
                        fail(eMissingClosing, start);
                    applyTop();
                }
                if (vals_.size() != 1)
                    fail(eSyntax, start);
                return vals_.back();
            }
            const QChar c = s_[pos_];
            if (expectOperand) {
                if (c.isDigit()) {
                    push(readNumber(), start);
                    expectOperand = false;
                } else if (c == u'\'') {
                    push(TCalcType::FromText(readString()), start);
                    expectOperand = false;
                } else if (c == u'[') {
                    if (ops_.empty() || ops_.back().type != StackEntry::Operator || ops_.back().op != opIn)
                        fail(eSyntax, start);
                    push(readSet(), start);
                    expectOperand = false;
                } else if (c == u'#' || c == u'&' || c == u'@') {
                    push(readReference(), start);
                    expectOperand = false;
                } else if (c == u'(') {
                    ++pos_;
                    ops_.push_back({StackEntry::Paren, opAdd, fnAbs, 0, 0, start});
                } else if (c == u'-') {
                    ++pos_;
                    ops_.push_back({StackEntry::Operator, opNeg, fnAbs, 0, 0, start});
                } else if (c.isLetter()) {
                    const QString word = readWord().toUpper();
                    if (word == QLatin1String("NOT")) {
                        ops_.push_back({StackEntry::Operator, opNot, fnAbs, 0, 0, start});
                        continue;
                    }
                    if (word == QLatin1String("AND") || word == QLatin1String("OR") ||
                        word == QLatin1String("IN"))
                        fail(eSyntax, start);
                    const BuiltinInfo* info = findBuiltin(word);
                    if (!info)
                        fail(eUnknownIdentifier, start);
                    skipBlanks();
                    if (pos_ >= s_.size() || s_[pos_] != u'(')
                        fail(eSyntax, pos_);
                    ++pos_;
                    ops_.push_back({StackEntry::Call, opAdd, info->id, info->args, 1, start});
                } else {
                    fail(eSyntax, start);
                }
                continue;
            }
            // An operator, a closing parenthesis or a comma is expected here.
            if (c == u')') {
                ++pos_;
                StackEntry marker = unwindTo(start, eTooFewOpening);
                if (marker.type == StackEntry::Call) {
                    if (marker.args < marker.required)
                        fail(eCommaExpected, start);
                    callBuiltin(marker);
                }
                continue;
            }
            if (c == u',') {
                ++pos_;
                while (!ops_.empty() && ops_.back().type == StackEntry::Operator)
                    applyTop();
                if (ops_.empty() || ops_.back().type != StackEntry::Call)
                    fail(eTooManyCommas, start);
                if (++ops_.back().args > ops_.back().required)
                    fail(eTooManyCommas, start);
                expectOperand = true;
                continue;
            }
            Op op;
            if (!readBinaryOperator(op))
                fail(eSyntax, start);
            while (!ops_.empty() && ops_.back().type == StackEntry::Operator &&
                   priority(ops_.back().op) <= priority(op))
                applyTop();
            ops_.push_back({StackEntry::Operator, op, fnAbs, 0, 0, start});
            expectOperand = true;
        }
    }

    [[noreturn]] void fail(int code, int position) { throw Failure{code, position}; }

private:
    void skipBlanks() {
        while (pos_ < s_.size() && s_[pos_] == u' ')
            ++pos_;
    }

    void push(const TCalcType& v, int position) {
        if (vals_.size() >= kMaxOperands)
            fail(eStackOverflow, position);
        vals_.push_back(v);
    }

    TCalcType pop() {
        TCalcType v = vals_.back();
        vals_.pop_back();
        return v;
    }

    TCalcType readNumber() {
        const int start = pos_;
        while (pos_ < s_.size() && s_[pos_].isDigit())
            ++pos_;
        if (pos_ < s_.size() && s_[pos_] == u'.') {
            ++pos_;
            while (pos_ < s_.size() && s_[pos_].isDigit())
                ++pos_;
        }
        if (pos_ < s_.size() && (s_[pos_] == u'E' || s_[pos_] == u'e')) {
            ++pos_;
            if (pos_ < s_.size() && (s_[pos_] == u'+' || s_[pos_] == u'-'))
                ++pos_;
            if (pos_ >= s_.size() || !s_[pos_].isDigit())
                fail(eBadNumber, start);
            while (pos_ < s_.size() && s_[pos_].isDigit())
                ++pos_;
        }
        if (pos_ < s_.size() && (s_[pos_].isLetterOrNumber() || s_[pos_] == u'.' || s_[pos_] == u'_'))
            fail(eBadNumber, start);
        bool ok = false;
        const double value = QLocale::c().toDouble(QStringView(s_).mid(start, pos_ - start), &ok);
        if (!ok || !std::isfinite(value))
            fail(eBadNumber, start);
        return TCalcType::FromNumber(value);
    }

    QString readString() {
        const int start = pos_;
        const qsizetype end = s_.indexOf(u'\'', pos_ + 1);
        if (end < 0)
            fail(eBadString, start);
        pos_ = static_cast<int>(end) + 1;
        return s_.mid(start + 1, end - start - 1);
    }

    // "[" constants separated by commas "]"; a constant is a number (with an optional minus) or a text.
    TCalcType readSet() {
        const int start = pos_;
        ++pos_;
        TCalcType set;
        set.Kind = TCalcType::ckSet;
        set_.clear();
        skipBlanks();
        if (pos_ < s_.size() && s_[pos_] == u']') {
            ++pos_;
            setValues_.push_back(set_);
            set.Number = static_cast<double>(setValues_.size() - 1);
            return set;
        }
        for (;;) {
            skipBlanks();
            if (pos_ >= s_.size())
                fail(eBadSet, start);
            bool negative = false;
            if (s_[pos_] == u'-') {
                negative = true;
                ++pos_;
                skipBlanks();
            }
            if (pos_ >= s_.size())
                fail(eBadSet, start);
            if (s_[pos_].isDigit()) {
                TCalcType n;
                try {
                    n = readNumber();
                } catch (const Failure&) {
                    fail(eBadSet, start);
                }
                set_.push_back(negative ? TCalcType::FromNumber(-n.Number) : n);
            } else if (s_[pos_] == u'\'' && !negative) {
                const qsizetype end = s_.indexOf(u'\'', pos_ + 1);
                if (end < 0)
                    fail(eBadSet, start);
                set_.push_back(TCalcType::FromText(s_.mid(pos_ + 1, end - pos_ - 1)));
                pos_ = static_cast<int>(end) + 1;
            } else {
                fail(eBadSet, start);
            }
            skipBlanks();
            if (pos_ < s_.size() && s_[pos_] == u',') {
                ++pos_;
                continue;
            }
            if (pos_ < s_.size() && s_[pos_] == u']') {
                ++pos_;
                break;
            }
            fail(eBadSet, start);
        }
        setValues_.push_back(set_);
        set.Number = static_cast<double>(setValues_.size() - 1);
        return set;
    }

    QString readWord() {
        const int start = pos_;
        while (pos_ < s_.size() && (s_[pos_].isLetterOrNumber() || s_[pos_] == u'_'))
            ++pos_;
        return s_.mid(start, pos_ - start);
    }

    TCalcType readReference() {
        const int start = pos_;
        const QChar sigil = s_[pos_++];
        if (pos_ < s_.size() && s_[pos_].isDigit()) {
            int digits = 0;
            int number = 0;
            while (pos_ < s_.size() && s_[pos_].isDigit()) {
                if (++digits > 3)
                    fail(eTooManyVariables, start);
                number = number * 10 + s_[pos_].digitValue();
                ++pos_;
            }
            if (number < 1)
                fail(eBadVariableName, start);
            return resolve(sigil, number - 1);
        }
        if (sigil == u'&' || pos_ >= s_.size() || !s_[pos_].isLetter())
            fail(eBadVariableName, start);
        const QString name = readWord();
        if (name.size() > kMaxNameLength)
            fail(eBadVariableName, start);
        const int index = !resolver_      ? -1
                          : sigil == u'#' ? resolver_->DataItemIndex(name)
                                          : resolver_->FunctionIndex(name);
        if (index < 0)
            fail(eBadVariableName, start);
        return resolve(sigil, index);
    }

    TCalcType resolve(QChar sigil, int index) {
        if (!resolver_)
            return {};
        if (sigil == u'#')
            return resolver_->DataItem(index);
        if (sigil == u'&')
            return resolver_->Parameter(index);
        return resolver_->Function(index);
    }

    static const BuiltinInfo* findBuiltin(const QString& word) {
        for (const BuiltinInfo& info : kBuiltins)
            if (word == QLatin1String(info.name))
                return &info;
        return nullptr;
    }

    bool readBinaryOperator(Op& op) {
        const QChar c = s_[pos_];
        const QChar next = pos_ + 1 < s_.size() ? s_[pos_ + 1] : QChar();
        int length = 1;
        switch (c.unicode()) {
        case '+':
            op = opAdd;
            break;
        case '-':
            op = opSub;
            break;
        case '*':
            op = opMul;
            break;
        case '/':
            op = opDiv;
            break;
        case '^':
            op = opPow;
            break;
        case '=':
            op = opEq;
            break;
        case '<':
            if (next == u'>') {
                op = opNe;
                length = 2;
            } else if (next == u'=') {
                op = opLe;
                length = 2;
            } else {
                op = opLt;
            }
            break;
        case '>':
            if (next == u'=') {
                op = opGe;
                length = 2;
            } else {
                op = opGt;
            }
            break;
        default: {
            if (!c.isLetter())
                return false;
            const int save = pos_;
            const QString word = readWord().toUpper();
            if (word == QLatin1String("AND"))
                op = opAnd;
            else if (word == QLatin1String("OR"))
                op = opOr;
            else if (word == QLatin1String("IN"))
                op = opIn;
            else {
                pos_ = save;
                return false;
            }
            return true;
        }
        }
        pos_ += length;
        return true;
    }

    // Applies operators down to the nearest parenthesis or call, which is removed and returned.
    StackEntry unwindTo(int position, int errorWhenMissing) {
        while (!ops_.empty() && ops_.back().type == StackEntry::Operator)
            applyTop();
        if (ops_.empty())
            fail(errorWhenMissing, position);
        StackEntry marker = ops_.back();
        ops_.pop_back();
        return marker;
    }

    static bool equalValues(const TCalcType& a, const TCalcType& b) {
        if (a.Kind == TCalcType::ckText && b.Kind == TCalcType::ckText)
            return a.Text == b.Text;
        return a.Number == b.Number;
    }

    TCalcType number(double value, int position, bool isNull) {
        if (!std::isfinite(value) && !std::isinf(value))
            fail(eNumeric, position);
        TCalcType v = TCalcType::FromNumber(value);
        v.IsNull = isNull;
        return v;
    }

    void applyTop() {
        const StackEntry e = ops_.back();
        ops_.pop_back();
        const int at = e.position;
        if (e.op == opNeg || e.op == opNot) {
            const TCalcType a = pop();
            vals_.push_back(number(e.op == opNeg ? -a.Number : (a.IsTrue() ? 0 : 1), at, a.IsNull));
            return;
        }
        const TCalcType b = pop();
        const TCalcType a = pop();
        const bool isNull = a.IsNull || b.IsNull;
        double r = 0;
        switch (e.op) {
        case opAdd: {
            TCalcType v;
            v.Number = a.Number + b.Number;
            // Texts join; two numbers keep the text form of their sum.
            const bool anyText = a.Kind == TCalcType::ckText || b.Kind == TCalcType::ckText;
            v.Text = anyText ? a.Text + b.Text : FloatToText(v.Number);
            v.Kind = a.Kind == TCalcType::ckText && b.Kind == TCalcType::ckText ? TCalcType::ckText
                                                                                : TCalcType::ckNumber;
            v.IsNull = isNull;
            vals_.push_back(v);
            return;
        }
        case opSub:
            r = a.Number - b.Number;
            break;
        case opMul:
            r = a.Number * b.Number;
            break;
        case opDiv:
            if (b.Number == 0)
                fail(eNumeric, at);
            r = a.Number / b.Number;
            break;
        case opPow:
            if (a.Number <= 0)
                fail(eNumeric, at);
            r = std::pow(a.Number, b.Number);
            break;
        case opEq:
            r = equalValues(a, b);
            break;
        case opNe:
            r = !equalValues(a, b);
            break;
        case opLt:
            r = a.Number < b.Number;
            break;
        case opGt:
            r = a.Number > b.Number;
            break;
        case opLe:
            r = a.Number <= b.Number;
            break;
        case opGe:
            r = a.Number >= b.Number;
            break;
        case opAnd:
            r = a.IsTrue() && b.IsTrue();
            break;
        case opOr:
            r = a.IsTrue() || b.IsTrue();
            break;
        case opIn: {
            if (b.Kind != TCalcType::ckSet || b.Number < 0 ||
                b.Number >= static_cast<double>(setValues_.size()))
                fail(eSyntax, at);
            const auto& items = setValues_[static_cast<size_t>(b.Number)];
            r = std::any_of(items.begin(), items.end(),
                            [&](const TCalcType& x) { return equalValues(a, x); });
            break;
        }
        default:
            break;
        }
        vals_.push_back(number(r, at, isNull));
    }

    void callBuiltin(const StackEntry& call) {
        const int n = call.required;
        std::vector<TCalcType> args(vals_.end() - n, vals_.end());
        vals_.resize(vals_.size() - static_cast<size_t>(n));
        bool isNull = false;
        for (const TCalcType& a : args) {
            isNull = isNull || a.IsNull;
            if (a.Kind == TCalcType::ckSet)
                fail(eSyntax, call.position);
        }
        const int at = call.position;
        const double x = args[0].Number;
        auto numeric = [&](double r) {
            if (std::isnan(r))
                fail(eNumeric, at);
            vals_.push_back(number(r, at, isNull));
        };
        auto text = [&](const QString& t) {
            TCalcType v = TCalcType::FromText(t);
            v.IsNull = isNull;
            vals_.push_back(v);
        };
        const QString& s = args[0].Text;
        switch (call.fn) {
        case fnAbs:
            return numeric(std::fabs(x));
        case fnInt:
            return numeric(std::trunc(x));
        case fnSgn:
            return numeric(x > 0 ? 1 : (x < 0 ? -1 : 0));
        case fnMax:
            return numeric(std::max(x, args[1].Number));
        case fnMin:
            return numeric(std::min(x, args[1].Number));
        case fnIif: {
            TCalcType v = x > 0 ? args[1] : args[2];
            const bool bothText = args[1].Kind == TCalcType::ckText && args[2].Kind == TCalcType::ckText;
            v.Kind = bothText ? TCalcType::ckText : TCalcType::ckNumber;
            v.IsNull = isNull;
            vals_.push_back(v);
            return;
        }
        case fnLeft:
            return text(s.left(std::max(0, toCount(args[1].Number))));
        case fnRight:
            return text(s.right(std::max(0, toCount(args[1].Number))));
        case fnSubstr: {
            const int from = std::max(1, toCount(args[1].Number));
            const int count = std::max(0, toCount(args[2].Number));
            return text(from > s.size() ? QString() : s.mid(from - 1, count));
        }
        case fnUpper:
            return text(Locale::toUpper(s));
        case fnLower:
            return text(Locale::current().qtLocale.toLower(s));
        case fnLtrim:
        case fnRtrim:
        case fnAlltrim: {
            qsizetype first = 0;
            qsizetype last = s.size();
            if (call.fn != fnRtrim)
                while (first < last && isBlank(s[first]))
                    ++first;
            if (call.fn != fnLtrim)
                while (last > first && isBlank(s[last - 1]))
                    --last;
            return text(s.mid(first, last - first));
        }
        case fnFormat: {
            TCalcType v = TCalcType::FromText(FormatFloatPattern(x, args[1].Text));
            v.Number = x;
            v.IsNull = isNull;
            vals_.push_back(v);
            return;
        }
        case fnSin:
            return numeric(std::isinf(x) ? NAN : std::sin(x));
        case fnCos:
            return numeric(std::isinf(x) ? NAN : std::cos(x));
        case fnTan:
            if (std::isinf(x) || std::cos(x) == 0)
                fail(eNumeric, at);
            return numeric(std::sin(x) / std::cos(x));
        case fnCotg:
            if (std::isinf(x) || std::sin(x) == 0)
                fail(eNumeric, at);
            return numeric(std::cos(x) / std::sin(x));
        case fnExp:
            return numeric(std::exp(x));
        case fnLog:
            // The natural logarithm; it is defined for positive numbers only.
            if (!(x > 0))
                fail(eNumeric, at);
            return numeric(std::log(x));
        case fnAsin:
        case fnAcos:
            if (!(x >= -1 && x <= 1))
                fail(eNumeric, at);
            return numeric(call.fn == fnAsin ? std::asin(x) : std::acos(x));
        case fnAtan:
            return numeric(std::atan(x));
        case fnAcotg:
            return numeric(std::numbers::pi / 2 - std::atan(x));
        case fnChr: {
            const int code = toCount(x);
            return text(code > 0 && code < 256 ? QString(codePage()[static_cast<size_t>(code)]) : QString());
        }
        case fnOrd: {
            if (s.isEmpty())
                return numeric(0);
            const auto& table = codePage();
            const auto it = std::find(table.begin(), table.end(), s[0]);
            return numeric(it != table.end() ? static_cast<double>(it - table.begin()) : s[0].unicode());
        }
        }
    }

    const QString& s_;
    TExpressionResolver* resolver_;
    int pos_ = 0;
    std::vector<TCalcType> vals_;
    std::vector<StackEntry> ops_;
    std::vector<TCalcType> set_;
    std::vector<std::vector<TCalcType>> setValues_;
};

} // namespace

TExpressionResult EvaluateExpression(const QString& text, TExpressionResolver* resolver) {
    TExpressionResult result;
    Evaluator evaluator(text, resolver);
    try {
        result.Value = evaluator.run();
        if (result.Value.Kind == TCalcType::ckSet)
            evaluator.fail(eSyntax, 0);
    } catch (const Failure& f) {
        result.Value = TCalcType();
        result.Error = f.code;
        result.Position = f.position + 1;
    }
    return result;
}

QString CheckExpression(const QString& text, TExpressionResolver* resolver) {
    const TExpressionResult r = EvaluateExpression(text, resolver);
    if (r.Error == 0)
        return ReportMessages::ExpressionOK();
    QString message = ReportMessages::ExpressionErrorAt();
    message.replace(QLatin1String("%d"), QString::number(r.Position));
    return message.replace(QLatin1String("%s"), ReportMessages::ExpressionErrorText(r.Error));
}

} // namespace lintaro
