#include "foundation/NumberFormat.h"

#include "platform/Locale.h"

#include <cmath>

namespace lintaro {

QString FormatThousands(long double value, int decimals) {
    const long double scale = std::pow(10.0L, decimals);
    long double scaled = std::nearbyint(value * scale);
    const bool negative = scaled < 0;
    scaled = std::fabs(scaled);
    QString digits = QString::number(static_cast<qulonglong>(scaled));
    while (digits.size() <= decimals)
        digits.prepend(u'0');
    const QString whole = digits.left(digits.size() - decimals);
    const QChar separator = Locale::thousandsSeparator();
    QString text;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            text += separator;
        text += whole[i];
    }
    if (decimals > 0)
        text += Locale::decimalSeparator() + digits.right(decimals);
    return negative ? u'-' + text : text;
}

QString FormatWithUnit(Currency value, int decimals, const QString& unit) {
    return FormatThousands(value, decimals) + u' ' + unit;
}

QString FormatMoney(Currency value) { return Locale::formatMoney(value.toValue()); }

} // namespace lintaro
