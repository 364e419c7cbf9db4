#pragma once
// Entry of numbers typed by the user: a tiny flat arithmetic evaluator, a forgiving number cleaner,
// and the common entry rule every numeric property applies to a typed text. All texts use the
// locale's decimal separator (platform/Locale). Failures reach the caller as ConversionError, whose
// message is shown to the user; the property being set keeps its value.
#include "foundation/Currency.h"

#include <QString>

namespace lintaro {

// The general float format: 15 significant digits, trailing zeros removed; fixed notation when the
// magnitude is at least 0.00001 (or the value is 0) and it has at most 15 integer digits, otherwise
// scientific as "1E-6", "1,5E-7", "1E15" (sign of the exponent only when negative, no leading
// zeros). NaN and infinities give "NAN", "INF", "-INF".
QString FloatToStrGeneral(long double value);

// Evaluates a flat sequence of numbers and + - * / (* and / bind tighter, no parentheses); every
// character other than digits, ".", ",", and the four operators is removed first. True with the
// value unless a product that the general float format writes with an exponent (below 0.00001, or
// beyond 15 integer digits) meets the evaluator's second pass, which reads the exponent letter as
// an error. A number that does not convert with the locale's separator counts as 0.
// Throws ConversionError on a division by zero instead of producing an infinite value.
bool EvalExpression(const QString& text, long double& value);

// Extracts one number text from free text: leading text is skipped, blanks and non-breaking spaces
// inside the number are skipped, "." and "," become the locale's decimal separator (only the first
// one is kept), a "-" counts only in front; any other character ends the number. Without a usable
// number the result is `fallback` in the general float format.
QString CleanNumber(const QString& text, long double fallback);

// The common entry rule: the evaluated value when EvalExpression succeeds, else CleanNumber with
// `current` (the property's value in the user's units) as fallback, converted with the locale's
// separator. Throws ConversionError ("'-,' is not a valid floating point value") when that does not
// convert, and on a division by zero.
long double EntryToNumber(const QString& text, long double current);

// The entry rule for an integer property: the evaluated value rounded to the nearest integer (ties
// to even); a cleaned text must be an integer. Throws ConversionError for a decimal cleaned text, a
// value outside the int range and a division by zero.
int EntryToInteger(const QString& text, int current);
// The settings' integer entry: no evaluation, the text passed through CleanNumber with `current` as
// fallback must be an integer. Throws ConversionError otherwise ("2,5", a value outside int).
int CleanedEntryToInteger(const QString& text, int current);

// The entry rule for a Currency property: round4 of EntryToNumber with current as fallback. Throws
// ConversionError as EntryToNumber does, and when the value does not fit a Currency.
Currency EntryToCurrency(const QString& text, Currency current);

} // namespace lintaro
