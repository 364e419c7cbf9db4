#pragma once
// Numbers as the program shows them: with the locale's thousands separator and a fixed number of
// decimals ("1 234,50"), and money in the locale's currency format.
#include "foundation/Currency.h"

#include <QString>

namespace lintaro {

// value rounded to `decimals` places (ties to even) with thousands separators: "12 345,50".
QString FormatThousands(long double value, int decimals);
inline QString FormatThousands(Currency value, int decimals) { return FormatThousands(value.toValue(), decimals); }
// The same followed by a blank and a unit text: "600,00 mm".
QString FormatWithUnit(Currency value, int decimals, const QString& unit);
// Money in the locale's currency format with its currency decimals: "1 234,50 Kč".
QString FormatMoney(Currency value);

} // namespace lintaro
