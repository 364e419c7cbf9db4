#include "foundation/Currency.h"

#include "foundation/ConversionError.h"
#include "platform/Locale.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <system_error>

namespace lintaro {

namespace {

constexpr long double kInt64Bound = 9223372036854775808.0L; // 2^63, exact in long double

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A scaled integer (magnitude and sign) as shortest decimal text: the last `decimals` digits are the
// fraction; trailing fraction zeros and a bare separator are dropped.
QString scaledToText(uint64_t magnitude, bool negative, int decimals, QChar separator) {
    QString digits = QString::number(static_cast<qulonglong>(magnitude));
    while (digits.size() <= decimals)
        digits.prepend(u'0');
    QString text = digits.left(digits.size() - decimals);
    QString fraction = digits.right(decimals);
    while (!fraction.isEmpty() && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (!fraction.isEmpty())
        text += separator + fraction;
    if (negative && magnitude != 0)
        text.prepend(u'-');
    return text;
}

// Saturating conversion of an already rounded value; NaN gives 0.
int64_t clampToInt64(long double rounded) {
    if (std::isnan(rounded))
        return 0;
    if (rounded >= kInt64Bound)
        return std::numeric_limits<int64_t>::max();
    if (rounded < -kInt64Bound)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(rounded);
}

} // namespace

long double round4(long double x) {
    return std::nearbyint(x * 10000.0L) / 10000.0L;
}

bool TextToFloat(const QString& text, long double& value) {
    const QChar separator = Locale::decimalSeparator();
    const qsizetype n = text.size();
    qsizetype i = 0;
    std::string number;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    std::string whole;
    std::string fraction;
    bool seenSeparator = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c))
            (seenSeparator ? fraction : whole) += static_cast<char>(c.unicode());
        else if (c == separator && !seenSeparator)
            seenSeparator = true;
        else
            break;
    }
    if (whole.empty() && fraction.empty())
        return false;
    number += whole.empty() ? std::string("0") : whole;
    number += '.';
    number += fraction.empty() ? std::string("0") : fraction;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        number += 'e';
        if (i < n && (text[i] == u'-' || text[i] == u'+')) {
            if (text[i] == u'-')
                number += '-';
            ++i;
        }
        bool expDigits = false;
        for (; i < n && isAsciiDigit(text[i]); ++i) {
            number += static_cast<char>(text[i].unicode());
            expDigits = true;
        }
        if (!expDigits)
            return false;
    }
    if (i != n)
        return false;
    // from_chars ignores the process locale, which Qt sets from the environment at start.
    long double parsed = 0;
    const char* begin = number.data();
    const char* end = begin + number.size();
    const auto result = std::from_chars(begin, end, parsed);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

QString FormatNumber(long double value, int decimals) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (decimals < 0)
        decimals = 0;
    if (decimals > 18)
        decimals = 18;
    long double factor = 1.0L;
    for (int i = 0; i < decimals; ++i)
        factor *= 10.0L;
    const QChar separator = Locale::decimalSeparator();
    const long double scaled = std::nearbyint(value * factor);
    if (std::fabs(scaled) < kInt64Bound) {
        const auto raw = static_cast<int64_t>(scaled);
        const uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
        return scaledToText(magnitude, raw < 0, decimals, separator);
    }
    // Too large for the scaled integer: fixed notation straight from the binary value.
    char buffer[128];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text.replace(u'.', separator);
}

Currency Currency::fromValue(long double value) {
    return fromRaw(clampToInt64(std::nearbyint(value * static_cast<long double>(Scale))));
}

bool Currency::fitsValue(long double value) {
    const long double scaled = std::nearbyint(value * static_cast<long double>(Scale));
    return !std::isnan(scaled) && scaled < kInt64Bound && scaled >= -kInt64Bound;
}

long double Currency::toValue() const {
    return static_cast<long double>(raw_) / static_cast<long double>(Scale);
}

QString Currency::toScaledText() const {
    return QString::number(static_cast<qlonglong>(raw_));
}

Currency Currency::fromScaledText(const QString& text, bool* ok) {
    // Decimal digits only, with an optional sign; the 32-bit limit is checked on a 64-bit value, and
    // more than ten digits cannot fit anyway.
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    const qsizetype digits = t.size() - i;
    bool valid = digits > 0 && digits <= 10;
    int64_t magnitude = 0;
    for (; valid && i < t.size(); ++i) {
        if (!isAsciiDigit(t[i]))
            valid = false;
        else
            magnitude = magnitude * 10 + (t[i].unicode() - u'0');
    }
    const int64_t value = negative ? -magnitude : magnitude;
    if (valid && (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()))
        valid = false;
    if (ok)
        *ok = valid;
    return valid ? fromRaw(value) : Currency();
}

QString Currency::toText() const {
    const uint64_t magnitude = raw_ < 0 ? 0 - static_cast<uint64_t>(raw_) : static_cast<uint64_t>(raw_);
    return scaledToText(magnitude, raw_ < 0, 4, Locale::decimalSeparator());
}

Currency Currency::fromText(const QString& text, bool* ok) {
    long double value = 0;
    const bool valid = TextToFloat(text.trimmed(), value) && fitsValue(value);
    if (ok)
        *ok = valid;
    return valid ? fromValue(value) : Currency();
}

Currency operator*(Currency a, long double factor) {
    return Currency::fromValue(a.toValue() * factor);
}

Currency operator*(long double factor, Currency a) {
    return Currency::fromValue(factor * a.toValue());
}

namespace {
// num / den rounded to the nearest integer, ties to even, exactly.
int64_t divideRounded(__int128 num, int64_t den) {
    const bool negative = num < 0;
    if (negative)
        num = -num;
    __int128 q = num / den;
    const __int128 rem = num % den;
    if (2 * rem > den || (2 * rem == den && (q & 1)))
        ++q;
    return static_cast<int64_t>(negative ? -q : q);
}
} // namespace

Currency operator*(Currency a, Currency b) {
    return Currency::fromRaw(divideRounded(__int128(a.raw()) * b.raw(), Currency::Scale));
}

Currency SquareMetres(Currency xMm, Currency yMm) {
    return Currency::fromRaw(divideRounded(__int128(xMm.raw()) * yMm.raw(), 10000000000LL));
}

Currency operator/(Currency a, long double divisor) {
    if (divisor == 0)
        throw ConversionError(QStringLiteral("Division by zero"));
    return Currency::fromValue(a.toValue() / divisor);
}

void PrintTo(const Currency& c, std::ostream* os) {
    const int64_t raw = c.raw();
    const uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
    *os << scaledToText(magnitude, raw < 0, 4, u'.').toStdString() << " (raw " << raw << ")";
}

} // namespace lintaro
