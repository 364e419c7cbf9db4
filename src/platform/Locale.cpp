#include "platform/Locale.h"

#include <QCollator>
#include <cmath>
#include <memory>

namespace lintaro {

namespace {
const LocaleSettings* g_override = nullptr;

// A collator is costly to build; keep one for the locale last asked for.
QCollator& collatorFor(const QLocale& locale) {
    static std::unique_ptr<QCollator> collator;
    if (!collator || collator->locale() != locale) {
        collator = std::make_unique<QCollator>(locale);
        collator->setCaseSensitivity(Qt::CaseInsensitive);
    }
    return *collator;
}

QString groupDigits(const QString& digits, QChar separator) {
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}
} // namespace

LocaleSettings Locale::fromQLocale(const QLocale& locale) {
    LocaleSettings s;
    s.qtLocale = locale;
    s.imperial = locale.measurementSystem() == QLocale::ImperialUSSystem;
    const QString dp = locale.decimalPoint();
    s.decimalSeparator = dp.isEmpty() ? QChar(u'.') : dp.at(0);
    const QString gs = locale.groupSeparator();
    s.thousandsSeparator = gs.isEmpty() ? QChar(u' ') : gs.at(0);
    s.currencySymbol = locale.currencySymbol();
    const QString sample = locale.toCurrencyString(1.0);
    s.currencySymbolFirst = !s.currencySymbol.isEmpty() && sample.startsWith(s.currencySymbol);
    s.shortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    return s;
}

LocaleSettings Locale::current() {
    if (g_override)
        return *g_override;
    return fromQLocale(QLocale::system());
}

bool Locale::isImperial() { return g_override ? g_override->imperial : current().imperial; }
QChar Locale::decimalSeparator() { return g_override ? g_override->decimalSeparator : current().decimalSeparator; }
QChar Locale::thousandsSeparator() {
    return g_override ? g_override->thousandsSeparator : current().thousandsSeparator;
}

QString Locale::toUpper(const QString& text) {
    return g_override ? g_override->qtLocale.toUpper(text) : QLocale::system().toUpper(text);
}

int Locale::compareText(const QString& a, const QString& b) {
    const QLocale loc = g_override ? g_override->qtLocale : QLocale::system();
    return collatorFor(loc).compare(a, b);
}

bool Locale::sameText(const QString& a, const QString& b) {
    if (a.size() == b.size() && a == b)
        return true;
    return toUpper(a) == toUpper(b);
}

QString Locale::formatMoney(long double value) {
    const LocaleSettings s = current();
    const bool negative = value < 0;
    long double scaled = std::nearbyint(std::fabs(value) * std::pow(10.0L, s.currencyDecimals));
    QString digits = QString::number(static_cast<qulonglong>(scaled));
    while (digits.size() <= s.currencyDecimals)
        digits.prepend(u'0');
    QString intPart = digits.left(digits.size() - s.currencyDecimals);
    QString text = groupDigits(intPart, s.thousandsSeparator);
    if (s.currencyDecimals > 0)
        text += s.decimalSeparator + digits.right(s.currencyDecimals);
    if (!s.currencySymbol.isEmpty())
        text = s.currencySymbolFirst ? s.currencySymbol + text : text + u' ' + s.currencySymbol;
    return negative ? u'-' + text : text;
}

QString Locale::formatDate(const QDate& date) { return date.toString(current().shortDateFormat); }

QDate Locale::parseDate(const QString& text) { return QDate::fromString(text.trimmed(), current().shortDateFormat); }

LocaleSettings Locale::czech() {
    LocaleSettings s;
    s.qtLocale = QLocale(QLocale::Czech, QLocale::Czechia);
    s.imperial = false;
    s.decimalSeparator = u',';
    s.thousandsSeparator = u' ';
    s.currencySymbol = QStringLiteral("Kč");
    s.currencySymbolFirst = false;
    s.currencyDecimals = 2;
    s.shortDateFormat = QStringLiteral("dd.MM.yyyy");
    return s;
}

LocaleSettings Locale::unitedStates() {
    LocaleSettings s;
    s.qtLocale = QLocale(QLocale::English, QLocale::UnitedStates);
    s.imperial = true;
    s.decimalSeparator = u'.';
    s.thousandsSeparator = u',';
    s.currencySymbol = QStringLiteral("$");
    s.currencySymbolFirst = true;
    s.currencyDecimals = 2;
    s.shortDateFormat = QStringLiteral("M/d/yyyy");
    return s;
}

ScopedLocale::ScopedLocale(const LocaleSettings& settings) : previous_(g_override), settings_(settings) {
    g_override = &settings_;
}

ScopedLocale::~ScopedLocale() { g_override = previous_; }

} // namespace lintaro
