#include "foundation/Units.h"

#include "platform/Locale.h"

namespace lintaro {

namespace {
constexpr long double kMmPerInch = 25.4L;
constexpr long double kSqFtPerSqM = 10.7639111056L;
constexpr long double kSqMPerSqFt = 0.092903034054205725396L;
constexpr long double kFtPerM = 3.28084L;
} // namespace

bool IsImperial() {
    return Locale::isImperial();
}

QString DimUnit() {
    return IsImperial() ? QStringLiteral("in") : QStringLiteral("mm");
}
QString AreaUnit() {
    return IsImperial() ? QStringLiteral("ft2") : QStringLiteral("m2");
}
QString LengthUnit() {
    return IsImperial() ? QStringLiteral("ft") : QStringLiteral("m");
}

Currency InchToMm(Currency inches) {
    return inches * kMmPerInch;
}
Currency MmToInch(Currency mm) {
    return mm * (1.0L / kMmPerInch);
}
Currency SqMToSqFt(Currency squareMetres) {
    return squareMetres * kSqFtPerSqM;
}
Currency SqFtToSqM(Currency squareFeet) {
    return squareFeet * kSqMPerSqFt;
}
Currency MToFt(Currency metres) {
    return metres * kFtPerM;
}

Currency LengthToUser(Currency mm) {
    return IsImperial() ? MmToInch(mm) : mm;
}
Currency LengthFromUser(Currency userLength) {
    return IsImperial() ? InchToMm(userLength) : userLength;
}
Currency AreaToUser(Currency squareMetres) {
    return IsImperial() ? SqMToSqFt(squareMetres) : squareMetres;
}
Currency AreaFromUser(Currency userArea) {
    return IsImperial() ? SqFtToSqM(userArea) : userArea;
}
Currency CircuitToUser(Currency metres) {
    return IsImperial() ? MToFt(metres) : metres;
}

bool SizeFromUser(Currency userValue, Currency& mm) {
    const Currency limit = Currency::fromInteger(SizeLimitMm);
    if (userValue.raw() <= 0 || userValue >= limit)
        return false;
    const Currency value = LengthFromUser(userValue);
    if (value.raw() <= 0 || value >= limit)
        return false;
    mm = value;
    return true;
}

} // namespace lintaro
