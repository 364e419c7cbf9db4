#include "foundation/NumberEntry.h"

#include "foundation/ConversionError.h"
#include "platform/Locale.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace lintaro {

namespace {

constexpr QChar kErrorOperator = u'E';
constexpr int kGeneralDigits = 15;

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isNumberChar(QChar c) {
    return isAsciiDigit(c) || c == u'.' || c == u',';
}
bool isOperator(QChar c) {
    return c == u'+' || c == u'-' || c == u'*' || c == u'/';
}

QString notFloatMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}
QString notIntegerMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

struct Token {
    QChar op;
    long double number = 0;
};

// One operator and the number after it, from `pos` on; false when the rest is empty. Both passes of
// the evaluator share it, which is why the second pass stumbles over an exponent letter.
bool nextToken(const QString& text, qsizetype& pos, Token& token) {
    if (pos >= text.size())
        return false;
    const QChar c = text[pos];
    if (isOperator(c)) {
        token.op = c;
        ++pos;
    } else if (isNumberChar(c)) {
        token.op = u'+';
    } else {
        token.op = kErrorOperator;
    }
    const qsizetype start = pos;
    while (pos < text.size() && isNumberChar(text[pos]))
        ++pos;
    long double number = 0;
    if (!TextToFloat(text.mid(start, pos - start), number))
        number = 0;
    token.number = number;
    return true;
}

long double divide(long double a, long double b) {
    if (b == 0)
        throw ConversionError(QStringLiteral("Division by zero"));
    return a / b;
}

} // namespace

QString FloatToStrGeneral(long double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // Scientific with 15 significant digits gives the rounded digits and the decimal exponent in a
    // form that does not depend on the process locale: "-d.dddddddddddddde+XX".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                      kGeneralDigits - 1);
    const std::string text(buffer, result.ptr);
    const bool negative = text[0] == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i) {
        if (text[i] != '.')
            digits += text[i];
    }
    const int exponent = std::stoi(text.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const QChar separator = Locale::decimalSeparator();
    const QString d = QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
    QString out;
    if (exponent >= -5 && exponent < kGeneralDigits) {
        if (exponent >= 0) {
            const qsizetype wholeDigits = exponent + 1;
            if (d.size() <= wholeDigits) {
                out = d + QString(wholeDigits - d.size(), u'0');
            } else {
                out = d.left(wholeDigits) + separator + d.mid(wholeDigits);
            }
        } else {
            out = QStringLiteral("0") + separator + QString(-exponent - 1, u'0') + d;
        }
    } else {
        out = d.left(1);
        if (d.size() > 1)
            out += separator + d.mid(1);
        out += u'E';
        if (exponent < 0)
            out += u'-';
        out += QString::number(std::abs(exponent));
    }
    if (negative)
        out.prepend(u'-');
    return out;
}

bool EvalExpression(const QString& text, long double& value) {
    QString cleaned;
    cleaned.reserve(text.size());
    for (const QChar c : text) {
        if (isNumberChar(c) || isOperator(c))
            cleaned += c;
    }

    // First pass: products and quotients are worked out; each "+" or "-" closes one of them into the
    // sum text, written in the general float format.
    long double a = 0;
    QString sum;
    QChar last;
    Token token;
    qsizetype pos = 0;
    while (nextToken(cleaned, pos, token)) {
        last = token.op;
        if (token.op == u'+' || token.op == u'-') {
            sum += FloatToStrGeneral(a) + token.op;
            a = token.number;
        } else if (token.op == u'*') {
            a *= token.number;
        } else if (token.op == u'/') {
            a = divide(a, token.number);
        } else {
            break;
        }
    }

    // Second pass over the sum text: the products come back as numbers, so one written with an
    // exponent ends the pass at its letter.
    if (!sum.isEmpty()) {
        sum += FloatToStrGeneral(a);
        a = 0;
        pos = 0;
        while (nextToken(sum, pos, token)) {
            last = token.op;
            if (token.op == u'+')
                a += token.number;
            else if (token.op == u'-')
                a -= token.number;
            else if (token.op == u'*')
                a *= token.number;
            else if (token.op == u'/')
                a = divide(a, token.number);
            else
                break;
        }
    }

    if (last == kErrorOperator)
        return false;
    value = a;
    return true;
}

QString CleanNumber(const QString& text, long double fallback) {
    const QChar separator = Locale::decimalSeparator();
    QString r;
    for (QChar c : text) {
        if (isNumberChar(c) || c == u'-') {
            if (c == u'.' || c == u',')
                c = separator;
            if (c == u'-' && !r.isEmpty())
                continue; // a minus only counts in front: "1-2" gives "12"
            if (c == separator && r.contains(separator))
                continue;
            r += c;
        } else if (r.isEmpty()) {
            continue; // leading text such as a caption is ignored
        } else if (c == u' ' || c == QChar(0x00A0)) {
            continue; // digit groups typed with blanks
        } else {
            break;
        }
    }
    if (r.isEmpty() || r == QStringLiteral("-") || r == QString(separator))
        return FloatToStrGeneral(fallback);
    return r;
}

long double EntryToNumber(const QString& text, long double current) {
    long double value = 0;
    if (EvalExpression(text, value))
        return value;
    const QString cleaned = CleanNumber(text, current);
    if (!TextToFloat(cleaned, value))
        throw ConversionError(notFloatMessage(cleaned));
    return value;
}

int EntryToInteger(const QString& text, int current) {
    long double value = 0;
    if (EvalExpression(text, value)) {
        const long double rounded = std::nearbyint(value); // ties to even in the default rounding mode
        if (!(rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max()))
            throw ConversionError(notIntegerMessage(FloatToStrGeneral(value)));
        return static_cast<int>(rounded);
    }
    return CleanedEntryToInteger(text, current);
}

int CleanedEntryToInteger(const QString& text, int current) {
    const QString cleaned = CleanNumber(text, current);
    qsizetype i = cleaned.startsWith(u'-') ? 1 : 0;
    bool valid = i < cleaned.size();
    for (; valid && i < cleaned.size(); ++i)
        valid = isAsciiDigit(cleaned[i]);
    bool fits = false;
    const int result = valid ? cleaned.toInt(&fits, 10) : 0;
    if (!valid || !fits)
        throw ConversionError(notIntegerMessage(cleaned));
    return result;
}

Currency EntryToCurrency(const QString& text, Currency current) {
    const long double value = EntryToNumber(text, current.toValue());
    if (!Currency::fitsValue(value))
        throw ConversionError(QStringLiteral("'%1' is out of range").arg(text.trimmed()));
    return Currency::fromValue(value);
}

} // namespace lintaro
