#pragma once
// The fixed-point decimal of every length, area, perimeter, price and amount: the value × 10 000 in
// a signed 64-bit integer. Arithmetic goes through long double (the 80-bit extended type on x86-64)
// and ends with round4 wherever a value is stored, so results do not depend on the order of
// intermediate roundings.
#include <QString>
#include <compare>
#include <cstdint>
#include <iosfwd>

namespace lintaro {

// x rounded to the nearest 1/10 000, ties to even (x × 10 000 rounded in the default rounding mode).
long double round4(long double x);

// Reads a number written with the locale's decimal separator: an optional sign, digits with at most
// one decimal separator (at least one digit), an optional exponent "E" (so that the general float
// format of a fallback value reads back). No blanks, no thousands separator. False when the text
// does not convert or lies outside the range of long double; value is then untouched.
bool TextToFloat(const QString& text, long double& value);

// value rounded to `decimals` places (ties to even), in its shortest form: the locale's decimal
// separator, no thousands separator, no trailing zeros ("2,5", "33,3333", "12").
QString FormatNumber(long double value, int decimals = 4);

class Currency {
public:
    static constexpr int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(int64_t raw) {
        Currency c;
        c.raw_ = raw;
        return c;
    }
    static constexpr Currency fromInteger(int64_t whole) { return fromRaw(whole * Scale); }
    // round4 of value. A value beyond the 64-bit range saturates and NaN gives 0; callers that take
    // user input check fitsValue first and report the overflow instead.
    static Currency fromValue(long double value);
    static bool fitsValue(long double value);

    constexpr int64_t raw() const { return raw_; }
    long double toValue() const;

    // The form of files and records: the scaled integer in decimal. Files hold it as a 32-bit
    // integer, so reading fails (ok = false, result 0) for anything that is not a decimal integer
    // within the 32-bit signed range.
    QString toScaledText() const;
    static Currency fromScaledText(const QString& text, bool* ok = nullptr);

    // Display text in the user's locale, shortest form: "2,5" under a "," locale, "12" for 12.
    QString toText() const;
    // Reads a display text (surrounding blanks ignored) with the locale's decimal separator;
    // ok = false and 0 when it does not convert or does not fit.
    static Currency fromText(const QString& text, bool* ok = nullptr);

    friend constexpr bool operator==(Currency a, Currency b) = default;
    friend constexpr auto operator<=>(Currency a, Currency b) = default;

    friend constexpr Currency operator+(Currency a, Currency b) { return fromRaw(a.raw_ + b.raw_); }
    friend constexpr Currency operator-(Currency a, Currency b) { return fromRaw(a.raw_ - b.raw_); }
    friend constexpr Currency operator-(Currency a) { return fromRaw(-a.raw_); }
    constexpr Currency& operator+=(Currency b) {
        raw_ += b.raw_;
        return *this;
    }
    constexpr Currency& operator-=(Currency b) {
        raw_ -= b.raw_;
        return *this;
    }

    // Products and quotients in long double, then round4.
    friend Currency operator*(Currency a, long double factor);
    friend Currency operator*(long double factor, Currency a);
    // Exact: the product rounded to four decimals, ties to even.
    friend Currency operator*(Currency a, Currency b);
    // Throws ConversionError on a zero divisor rather than storing an infinite value.
    friend Currency operator/(Currency a, long double divisor);

    // Readable values in test failure messages.
    friend void PrintTo(const Currency& c, std::ostream* os);

private:
    int64_t raw_ = 0;
};

// The area in m² of X × Y mm, rounded exactly to four decimals (ties to even).
Currency SquareMetres(Currency xMm, Currency yMm);

} // namespace lintaro
