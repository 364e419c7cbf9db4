#pragma once
// The report engine's own wording. Unlike every other text of the program these are not looked up in
// the text store: the engine carries them itself, in Czech, and they are kept together here.
#include <QString>

namespace lintaro::ReportMessages {

// Result codes of template and run operations.
enum TReportResult {
    rrOK = 0,
    rrNoPrinter = 2,
    rrCancelled = 3,
    rrNotLoaded = 4,
    rrNotSaved = 5,
    rrOutputError = 6,
    rrNothingDone = 7,
};

inline QString NoTemplatePath() {
    return QStringLiteral("Není definována cesta a název souboru s předlohou.");
}
// %s: the template file's name.
inline QString TemplateNotFound() {
    return QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%s\"");
}
inline QString TemplateNotCreated() {
    return QStringLiteral("Soubor s předlohou se nepodařilo vytvořit. \"%s\"");
}
inline QString TemplateNotSaved() {
    return QStringLiteral("Soubor s předlohou se nepodařilo uložit.");
}
inline QString DesignerNotSaved() {
    return QStringLiteral("Předlohou se nepodařilo uložit.");
}
inline QString SaveChangesQuestion() {
    return QStringLiteral("V předloze sestavy byly provedeny změny. Uložit?");
}
inline QString ConfirmTitle() {
    return QStringLiteral("Potvrzení");
}
inline QString UnknownAlias() {
    return QStringLiteral("Neznámý alias: %s\rBude použito stand. nastavení");
}
inline QString AliasWithoutDatabase() {
    return QStringLiteral("Nelze použít alias, protože není definován zdroj dat nebo není typu TDBDataSet");
}
inline QString SaveDialogFilter() {
    return QStringLiteral("Předlohy tiskových sestav (*.pts)|*.PTS");
}
inline QString SaveDialogTitle() {
    return QStringLiteral("Výběr souboru");
}

// The data check before a run.
inline QString NoDataSource() {
    return QStringLiteral("Není definován zdroj dat.");
}
inline QString NoTable() {
    return QStringLiteral("Ke zdroji dat není připojena žádná tabulka.");
}
inline QString OpenTableQuestion() {
    return QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?");
}
inline QString TableNotOpened() {
    return QStringLiteral("Připojenou tabulku se nepodařilo otevřít.");
}

// Expression checks.
inline QString ExpressionOK() {
    return QStringLiteral("Výraz je v pořádku.");
}
// %s: the error text, %d: its 1-based position.
inline QString ExpressionErrorAt() {
    return QStringLiteral("Chyba : \"%s\" na pozici %d");
}
// The text of an expression error code 1…14; empty for any other code.
QString ExpressionErrorText(int code);

} // namespace lintaro::ReportMessages
