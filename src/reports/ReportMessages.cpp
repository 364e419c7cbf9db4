#include "reports/ReportMessages.h"

#include "foundation/Program.h"

namespace lintaro::ReportMessages {

QString EngineText(const char* key, const QString& czech) {
    const QString text = GetText(QStringLiteral("ReportEngine"), QString::fromLatin1(key));
    return text.isEmpty() ? czech : text;
}

QString ExpressionErrorText(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("Neznamý identifikátor");
    case 2:
        return QStringLiteral("Syntaktická chyba");
    case 3:
        return QStringLiteral("Přetečení zásobníku");
    case 4:
        return QStringLiteral("Málo otevíracích závorek");
    case 5:
        return QStringLiteral("Chybí uzavírací závorky");
    case 6:
        return QStringLiteral("Numerická chyba");
    case 7:
        return QStringLiteral("Chybný zápis čísla");
    case 8:
        return QStringLiteral("Příliš mnoho proměnných");
    case 9:
        return QStringLiteral("Chybný název proměnné");
    case 10:
        return QStringLiteral("Očekávám čárku");
    case 11:
        return QStringLiteral("Příliš mnoho čárek");
    case 12:
        return QStringLiteral("Chybný zápis řetězce");
    case 13:
        return QStringLiteral("Chybný zápis množiny");
    case 14:
        return QStringLiteral("Ukončeno uživatelem");
    default:
        return {};
    }
}

} // namespace lintaro::ReportMessages
