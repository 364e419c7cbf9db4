#pragma once
// Numbers, dates and counters as reports print them. Every separator, name and money form comes from
// platform/Locale, so the fixed test locales apply.
#include <QDateTime>
#include <QString>

namespace lintaro {

// Number formats of user functions.
enum TFloatFormat { ffGeneral = 0, ffExponent = 1, ffFixed = 2, ffNumber = 3, ffCurrency = 4 };

// The shortest general form of a number (up to 15 significant digits) with the locale's decimal
// separator: the text that a number carries in expressions.
QString FloatToText(double value);
// Reads a number written with the locale's decimal separator or a point; blanks around it are
// allowed. False (and value untouched) when the text is not a number.
bool TextToFloat(const QString& text, double& value);

// value in the given format: precision is the number of significant digits (1…18; anything below 1
// means 15), digits the decimals (Fixed, Number, Currency) or the least exponent digits (General,
// Exponent). Fixed and Number switch to the exponent form when the integer part has more digits
// than the precision.
QString FormatFloatF(double value, TFloatFormat format, int precision, int digits);

// value formatted with a pattern such as "#,##0.00": "0" a digit always shown, "#" a digit shown
// when significant, "." the decimal separator, "," anywhere among the digit places groups thousands,
// "E+0"/"E-0" the exponent form, text in quotes and any other character as it stands, and up to
// three sections separated by ";" for positive, negative and zero values. An empty pattern gives
// FloatToText.
QString FormatFloatPattern(double value, const QString& pattern);

// A date and time with a pattern: d dd ddd dddd ddddd (short date), m mm mmm mmmm (minutes right after
// an hour), yy yyyy, h hh, n nn, s ss, z zzz, t (short time), tt (long time), c (short date and long
// time), am/pm, a/p, "/" the date separator, ":" the time separator, quoted text as it stands.
QString FormatDateTimePattern(const QDateTime& value, const QString& pattern);
// The short date and time forms used when a date or time variable has no pattern.
QString ShortDateText(const QDate& date);
QString ShortTimeText(const QTime& time);

// A counter with a printf-like pattern: "%d" (also with "-", "0", a width and a precision), "%x",
// "%s" for the number, "%%" for a percent sign; other text as it stands. An empty pattern gives the
// plain number.
QString FormatCounter(const QString& pattern, qint64 value);

} // namespace lintaro
