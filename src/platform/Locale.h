#pragma once
// What the program asks of "the user's locale": measurement system, separators, money and date
// formats, upper-casing and case-insensitive comparison. Every query reads the locale anew, so a
// change takes effect without a restart. Tests install a fixed locale with ScopedLocale.
#include <QChar>
#include <QDate>
#include <QLocale>
#include <QString>

namespace lintaro {

struct LocaleSettings {
    QLocale qtLocale = QLocale::c(); // upper-casing and collation follow this locale
    bool imperial = false;           // U.S. measurement system: inches, square feet, feet
    QChar decimalSeparator = u'.';
    QChar thousandsSeparator = u',';
    QString currencySymbol;
    bool currencySymbolFirst = false; // "$1,234.50" rather than "1 234,50 Kč"
    int currencyDecimals = 2;
    QString shortDateFormat = QStringLiteral("yyyy-MM-dd");
};

class Locale {
public:
    // The settings in force: the innermost ScopedLocale, else the system's locale.
    static LocaleSettings current();
    static LocaleSettings fromQLocale(const QLocale& locale);

    static bool isImperial();
    static QChar decimalSeparator();
    static QChar thousandsSeparator();

    static QString toUpper(const QString& text);
    // Locale-aware comparison without regard to case: negative, 0 or positive.
    static int compareText(const QString& a, const QString& b);
    // Equality of the two texts upper-cased by the locale.
    static bool sameText(const QString& a, const QString& b);

    // Money with the locale's separators and currency symbol, e.g. "1 234,50 Kč".
    static QString formatMoney(long double value);
    static QString formatDate(const QDate& date);
    static QDate parseDate(const QString& text);

    // The fixed locales of the tests.
    static LocaleSettings czech();
    static LocaleSettings unitedStates();
};

// Installs fixed locale settings for its lifetime (nests; restores the previous ones).
class ScopedLocale {
public:
    explicit ScopedLocale(const LocaleSettings& settings);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    const LocaleSettings* previous_;
    LocaleSettings settings_;
};

} // namespace lintaro
