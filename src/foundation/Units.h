#pragma once
// The measurement system. The program stores millimetres, square metres and metres; when the user's
// locale uses the U.S. system every length and area is shown and entered in inches, square feet and
// feet. The system is read from the locale at every call, so a change needs no restart.
#include "foundation/Currency.h"

#include <QString>

namespace lintaro {

bool IsImperial();

// Unit texts of the three quantities: "mm"/"in", "m2"/"ft2", "m"/"ft".
QString DimUnit();    // length of a part, dimension or cut
QString AreaUnit();   // area
QString LengthUnit(); // perimeter (circuit)

// Conversions regardless of the locale: multiplied in long double, then round4.
Currency InchToMm(Currency inches);
Currency MmToInch(Currency mm);
Currency SqMToSqFt(Currency squareMetres);
Currency SqFtToSqM(Currency squareFeet);
Currency MToFt(Currency metres);

// What getters and setters apply: the conversion only when the locale is imperial, else the value
// unchanged.
Currency LengthToUser(Currency mm);
Currency LengthFromUser(Currency userLength);
Currency AreaToUser(Currency squareMetres);
Currency AreaFromUser(Currency userArea);
Currency CircuitToUser(Currency metres);

// The largest size a part or stock dimension may have, in mm: the files hold sizes × 10 000 as
// 32-bit integers.
constexpr int64_t SizeLimitMm = 214748;
// A size typed in the user's unit as stored millimetres; false when it is not above 0 or reaches
// the limit, before or (for inches) after the conversion.
bool SizeFromUser(Currency userValue, Currency& mm);

} // namespace lintaro
