#include "reports/ReportFormat.h"

#include "platform/Locale.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lintaro {

namespace {

constexpr int kMaxDigits = 18;

QString withSeparators(QString text, bool thousands) {
    const QChar dec = Locale::decimalSeparator();
    const qsizetype point = text.indexOf(u'.');
    if (point >= 0)
        text[point] = dec;
    if (!thousands)
        return text;
    const qsizetype intEnd = point >= 0 ? point : text.size();
    qsizetype intStart = 0;
    while (intStart < intEnd && !text[intStart].isDigit())
        ++intStart;
    QString grouped;
    const qsizetype digits = intEnd - intStart;
    for (qsizetype i = 0; i < digits; ++i) {
        if (i > 0 && (digits - i) % 3 == 0)
            grouped += Locale::thousandsSeparator();
        grouped += text[intStart + i];
    }
    return text.left(intStart) + grouped + text.mid(intEnd);
}

QString specialText(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// "1.2345e+07" from printf into mantissa digits and a decimal exponent.
QString printfText(const char* format, int digits, double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, digits, value);
    return QString::fromLatin1(buffer);
}

// Exponent form: mantissa with `decimals` places (trailing zeros cut when trim), "E", sign, at least
// expDigits exponent digits.
QString exponentForm(double value, int decimals, bool trim, int expDigits, bool plusSign = true) {
    QString s = printfText("%.*e", decimals, value);
    const qsizetype e = s.indexOf(u'e');
    QString mantissa = s.left(e);
    int exponent = s.mid(e + 1).toInt();
    if (trim && mantissa.contains(u'.')) {
        while (mantissa.endsWith(u'0'))
            mantissa.chop(1);
        if (mantissa.endsWith(u'.'))
            mantissa.chop(1);
    }
    QString exp = QString::number(std::abs(exponent)).rightJustified(std::clamp(expDigits, 0, 4), u'0');
    const QString sign = exponent < 0 ? QStringLiteral("-") : (plusSign ? QStringLiteral("+") : QString());
    return withSeparators(mantissa, false) + u'E' + sign + exp;
}

// Number of digits before the decimal point of value rounded to `precision` significant digits.
int integerDigits(double value, int precision) {
    if (value == 0)
        return 0;
    const QString s = printfText("%.*e", precision - 1, value);
    return s.mid(s.indexOf(u'e') + 1).toInt() + 1;
}

QString generalForm(double value, int precision, int expDigits) {
    if (!std::isfinite(value))
        return specialText(value);
    if (value == 0)
        return QStringLiteral("0");
    const int intDigits = integerDigits(value, precision);
    if (intDigits > precision || std::fabs(value) < 0.00001)
        return exponentForm(value, precision - 1, true, expDigits);
    const int decimals = std::max(0, precision - intDigits);
    QString s = printfText("%.*f", decimals, value);
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return withSeparators(s, false);
}

bool hasNonZeroDigit(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'1' && c <= u'9'; });
}

int clampPrecision(int precision) {
    return precision < 1 ? 15 : std::min(precision, kMaxDigits);
}

} // namespace

QString FloatToText(double value) {
    return generalForm(value, 15, 0);
}

bool TextToFloat(const QString& text, double& value) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const QChar dec = Locale::decimalSeparator();
    if (dec != u'.')
        t.replace(dec, u'.');
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

QString FormatFloatF(double value, TFloatFormat format, int precision, int digits) {
    if (!std::isfinite(value))
        return specialText(value);
    precision = clampPrecision(precision);
    digits = std::clamp(digits, 0, kMaxDigits);
    switch (format) {
    case ffGeneral:
        return generalForm(value, precision, digits);
    case ffExponent:
        return exponentForm(value, precision - 1, false, digits);
    case ffFixed:
    case ffNumber: {
        if (integerDigits(value, precision) > precision)
            return exponentForm(value, precision - 1, true, 0);
        const double rounded = value == 0 ? 0 : printfText("%.*e", precision - 1, value).toDouble();
        QString s = printfText("%.*f", digits, rounded);
        if (s.startsWith(u'-') && s.mid(1).count(u'0') + (s.contains(u'.') ? 1 : 0) == s.size() - 1)
            s.remove(0, 1); // no "-0,00"
        return withSeparators(s, format == ffNumber);
    }
    case ffCurrency:
    default: {
        const double rounded = value == 0 ? 0 : printfText("%.*e", precision - 1, value).toDouble();
        const LocaleSettings loc = Locale::current();
        QString number = withSeparators(printfText("%.*f", digits, std::fabs(rounded)), true);
        const bool negative = rounded < 0 && hasNonZeroDigit(number);
        if (loc.currencySymbol.isEmpty())
            return negative ? u'-' + number : number;
        QString text =
            loc.currencySymbolFirst ? loc.currencySymbol + number : number + u' ' + loc.currencySymbol;
        return negative ? u'-' + text : text;
    }
    }
}

namespace {

struct PatternSection {
    QString prefix;
    QString suffix;
    int intZeros = 0;  // "0" before the point: the least integer digits
    int decZeros = 0;  // "0" after the point: decimals always shown
    int decHashes = 0; // "#" after the point: decimals shown when significant
    bool thousands = false;
    bool exponent = false;
    bool expPlus = false;
    int expDigits = 0;
    bool hasDigits = false;
};

QStringList splitSections(const QString& pattern) {
    QStringList sections{QString()};
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

PatternSection parseSection(const QString& text) {
    PatternSection s;
    bool afterPoint = false;
    bool inDigits = false;
    bool doneDigits = false;
    constexpr int kMaxPlaces = 40;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        QString* literal = inDigits || doneDigits ? &s.suffix : &s.prefix;
        if (c == u'"' || c == u'\'') {
            const qsizetype end = text.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? text.size() : end;
            *literal += text.mid(i + 1, stop - i - 1);
            i = stop;
            if (inDigits) {
                inDigits = false;
                doneDigits = true;
            }
            continue;
        }
        if (!doneDigits && (c == u'0' || c == u'#')) {
            inDigits = true;
            s.hasDigits = true;
            if (afterPoint) {
                if (c == u'0' && s.decHashes == 0)
                    s.decZeros = std::min(s.decZeros + 1, kMaxPlaces);
                else
                    s.decHashes = std::min(s.decHashes + 1, kMaxPlaces);
            } else if (c == u'0') {
                s.intZeros = std::min(s.intZeros + 1, kMaxPlaces);
            }
            continue;
        }
        if (!doneDigits && c == u'.' && !afterPoint) {
            afterPoint = true;
            inDigits = true;
            s.hasDigits = true;
            continue;
        }
        if (!doneDigits && c == u',' && (inDigits || s.prefix.isEmpty())) {
            s.thousands = true;
            continue;
        }
        if (inDigits && (c == u'E' || c == u'e') && i + 1 < text.size() &&
            (text[i + 1] == u'+' || text[i + 1] == u'-')) {
            s.exponent = true;
            s.expPlus = text[i + 1] == u'+';
            i += 2;
            while (i < text.size() && text[i] == u'0') {
                s.expDigits = std::min(s.expDigits + 1, 4);
                ++i;
            }
            --i;
            inDigits = false;
            doneDigits = true;
            continue;
        }
        if (inDigits) {
            inDigits = false;
            doneDigits = true;
        }
        (doneDigits ? s.suffix : s.prefix) += c;
    }
    return s;
}

// The absolute value by one section, without any sign.
QString applySection(double value, const PatternSection& s) {
    const double v = std::fabs(value);
    if (!s.hasDigits)
        return s.prefix + s.suffix;
    const int maxDec = s.decZeros + s.decHashes;
    QString number;
    if (s.exponent) {
        QString e = exponentForm(v, maxDec, false, s.expDigits, s.expPlus);
        // cut optional decimals
        const qsizetype ePos = e.indexOf(u'E');
        QString mantissa = e.left(ePos);
        const QString rest = e.mid(ePos);
        const QChar dec = Locale::decimalSeparator();
        if (mantissa.contains(dec)) {
            int optional = s.decHashes;
            while (optional-- > 0 && mantissa.endsWith(u'0'))
                mantissa.chop(1);
            if (mantissa.endsWith(dec) && s.decZeros == 0)
                mantissa.chop(1);
        }
        number = mantissa + rest;
    } else {
        QString t = printfText("%.*f", maxDec, v);
        if (t.contains(u'.')) {
            int optional = s.decHashes;
            while (optional-- > 0 && t.endsWith(u'0'))
                t.chop(1);
            if (t.endsWith(u'.'))
                t.chop(1);
        }
        qsizetype point = t.indexOf(u'.');
        QString intPart = point >= 0 ? t.left(point) : t;
        const QString decPart = point >= 0 ? t.mid(point) : QString();
        if (intPart == QLatin1String("0") && s.intZeros == 0)
            intPart.clear();
        while (intPart.size() < s.intZeros)
            intPart.prepend(u'0');
        number = withSeparators(intPart + decPart, s.thousands);
    }
    return s.prefix + number + s.suffix;
}

bool roundsToZero(double value, const PatternSection& s) {
    if (s.exponent)
        return value == 0;
    const int maxDec = s.decZeros + s.decHashes;
    return !hasNonZeroDigit(printfText("%.*f", maxDec, std::fabs(value)));
}

} // namespace

QString FormatFloatPattern(double value, const QString& pattern) {
    if (pattern.isEmpty() || !std::isfinite(value))
        return FloatToText(value);
    const QStringList texts = splitSections(pattern);
    const PatternSection first = parseSection(texts[0]);
    if (texts.size() >= 3 && !texts[2].isEmpty() && (value == 0 || roundsToZero(value, first)))
        return applySection(0, parseSection(texts[2]));
    if (value < 0 && texts.size() >= 2 && !texts[1].isEmpty())
        return applySection(value, parseSection(texts[1]));
    QString text = applySection(value, first);
    if (value < 0 && !roundsToZero(value, first))
        text.prepend(u'-');
    return text;
}

namespace {

QChar dateSeparator() {
    for (const QChar c : Locale::current().shortDateFormat)
        if (!c.isLetter())
            return c;
    return u'/';
}

// Count of the same letter (case-insensitive) at position i.
int runLength(const QString& p, qsizetype i) {
    int n = 1;
    while (i + n < p.size() && p[i + n].toLower() == p[i].toLower())
        ++n;
    return n;
}

} // namespace

QString ShortDateText(const QDate& date) {
    return Locale::formatDate(date);
}

QString ShortTimeText(const QTime& time) {
    return FormatDateTimePattern(QDateTime(QDate(2000, 1, 1), time), "h:nn");
}

QString FormatDateTimePattern(const QDateTime& value, const QString& pattern) {
    const QDate date = value.date();
    const QTime time = value.time();
    const QLocale loc = Locale::current().qtLocale;
    // "am/pm" anywhere makes the hours 12-hour ones.
    const bool twelveHour = pattern.contains(QLatin1String("am/pm"), Qt::CaseInsensitive) ||
                            pattern.contains(QLatin1String("a/p"), Qt::CaseInsensitive) ||
                            pattern.contains(QLatin1String("ampm"), Qt::CaseInsensitive);
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        const QChar lc = c.toLower();
        if (c == u'"' || c == u'\'') {
            const qsizetype end = pattern.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (pattern.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            out += time.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm");
            i += 5;
            continue;
        }
        if (pattern.mid(i, 4).compare(QLatin1String("ampm"), Qt::CaseInsensitive) == 0) {
            out += time.hour() < 12 ? loc.amText() : loc.pmText();
            i += 4;
            continue;
        }
        if (pattern.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
            out += time.hour() < 12 ? QStringLiteral("a") : QStringLiteral("p");
            i += 3;
            continue;
        }
        const int n = runLength(pattern, i);
        auto two = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
        if (lc == u'd') {
            const int used = std::min(n, 6);
            if (used == 1)
                out += QString::number(date.day());
            else if (used == 2)
                out += two(date.day());
            else if (used == 3)
                out += loc.dayName(date.dayOfWeek(), QLocale::ShortFormat);
            else if (used == 4)
                out += loc.dayName(date.dayOfWeek(), QLocale::LongFormat);
            else if (used == 5)
                out += ShortDateText(date);
            else
                out += loc.toString(date, QLocale::LongFormat);
            i += used;
        } else if (lc == u'm') {
            const int used = std::min(n, 4);
            if (afterHour && used <= 2)
                out += used == 1 ? QString::number(time.minute()) : two(time.minute());
            else if (used == 1)
                out += QString::number(date.month());
            else if (used == 2)
                out += two(date.month());
            else if (used == 3)
                out += loc.monthName(date.month(), QLocale::ShortFormat);
            else
                out += loc.monthName(date.month(), QLocale::LongFormat);
            afterHour = false;
            i += used;
        } else if (lc == u'y') {
            out += n <= 2 ? two(date.year() % 100) : QString::number(date.year()).rightJustified(4, u'0');
            i += n;
        } else if (lc == u'h') {
            const int used = std::min(n, 2);
            int hour = time.hour();
            if (twelveHour) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            out += used == 1 ? QString::number(hour) : two(hour);
            afterHour = true;
            i += used;
            continue;
        } else if (lc == u'n') {
            const int used = std::min(n, 2);
            out += used == 1 ? QString::number(time.minute()) : two(time.minute());
            i += used;
        } else if (lc == u's') {
            const int used = std::min(n, 2);
            out += used == 1 ? QString::number(time.second()) : two(time.second());
            i += used;
        } else if (lc == u'z') {
            const int used = n >= 3 ? 3 : 1;
            out += used == 1 ? QString::number(time.msec())
                             : QString::number(time.msec()).rightJustified(3, u'0');
            i += used;
        } else if (lc == u't') {
            const int used = std::min(n, 2);
            out +=
                FormatDateTimePattern(value, used == 1 ? QStringLiteral("h:nn") : QStringLiteral("h:nn:ss"));
            i += used;
        } else if (lc == u'c') {
            out += ShortDateText(date) + u' ' + FormatDateTimePattern(value, QStringLiteral("h:nn:ss"));
            i += 1;
        } else if (c == u'/') {
            out += dateSeparator();
            i += 1;
        } else {
            // ":" is the time separator of both locales; every other character stands as it is.
            out += c;
            i += 1;
            if (c.isLetter() || c.isDigit())
                afterHour = false;
            continue;
        }
        afterHour = false;
    }
    return out;
}

QString FormatCounter(const QString& pattern, qint64 value) {
    if (pattern.isEmpty())
        return QString::number(value);
    QString out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        qsizetype j = i + 1;
        if (j < pattern.size() && pattern[j] == u'%') {
            out += u'%';
            i = j;
            continue;
        }
        bool left = false;
        bool zero = false;
        while (j < pattern.size() && (pattern[j] == u'-' || pattern[j] == u'0')) {
            (pattern[j] == u'-' ? left : zero) = true;
            ++j;
        }
        int width = 0;
        while (j < pattern.size() && pattern[j].isDigit()) {
            width = std::min(width * 10 + pattern[j].digitValue(), 255);
            ++j;
        }
        int prec = -1;
        if (j < pattern.size() && pattern[j] == u'.') {
            prec = 0;
            ++j;
            while (j < pattern.size() && pattern[j].isDigit()) {
                prec = std::min(prec * 10 + pattern[j].digitValue(), 255);
                ++j;
            }
        }
        if (j >= pattern.size()) {
            out += pattern.mid(i);
            break;
        }
        const QChar type = pattern[j].toLower();
        QString text;
        if (type == u'd' || type == u'u' || type == u's')
            text = QString::number(std::llabs(value));
        else if (type == u'x')
            text = QString::number(static_cast<qulonglong>(std::llabs(value)), 16).toUpper();
        else {
            out += pattern.mid(i, j - i + 1);
            i = j;
            continue;
        }
        if (prec > 0 && type != u's')
            text = text.rightJustified(prec, u'0');
        if (value < 0)
            text.prepend(u'-');
        if (text.size() < width)
            text = left ? text.leftJustified(width, u' ')
                        : (zero && !text.startsWith(u'-') ? text.rightJustified(width, u'0')
                                                          : text.rightJustified(width, u' '));
        out += text;
        i = j;
    }
    return out;
}

} // namespace lintaro
