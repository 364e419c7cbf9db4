#pragma once
// The report engine's own wording. The engine carries it itself, in Czech, kept together here; the
// texts file may give each message in another language (section "ReportEngine", one key per message,
// the function's name; the progress, printer and margin messages prefixed "Progress", "Printer",
// "Margin"). A message the texts file lacks stands in Czech.
#include <QString>

namespace lintaro::ReportMessages {

// The texts file's wording of the message key, else czech.
QString EngineText(const char* key, const QString& czech);

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
    return EngineText("NoTemplatePath", QStringLiteral("Není definována cesta a název souboru s předlohou."));
}
// %s: the template file's name.
inline QString TemplateNotFound() {
    return EngineText("TemplateNotFound",
                      QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%s\""));
}
inline QString TemplateNotCreated() {
    return EngineText("TemplateNotCreated",
                      QStringLiteral("Soubor s předlohou se nepodařilo vytvořit. \"%s\""));
}
inline QString TemplateNotSaved() {
    return EngineText("TemplateNotSaved", QStringLiteral("Soubor s předlohou se nepodařilo uložit."));
}
inline QString DesignerNotSaved() {
    return EngineText("DesignerNotSaved", QStringLiteral("Předlohou se nepodařilo uložit."));
}
inline QString SaveChangesQuestion() {
    return EngineText("SaveChangesQuestion",
                      QStringLiteral("V předloze sestavy byly provedeny změny. Uložit?"));
}
inline QString ConfirmTitle() {
    return EngineText("ConfirmTitle", QStringLiteral("Potvrzení"));
}
inline QString UnknownAlias() {
    return EngineText("UnknownAlias", QStringLiteral("Neznámý alias: %s\rBude použito stand. nastavení"));
}
inline QString AliasWithoutDatabase() {
    return EngineText(
        "AliasWithoutDatabase",
        QStringLiteral("Nelze použít alias, protože není definován zdroj dat nebo není typu TDBDataSet"));
}
inline QString SaveDialogFilter() {
    return EngineText("SaveDialogFilter", QStringLiteral("Předlohy tiskových sestav (*.pts)|*.PTS"));
}
inline QString SaveDialogTitle() {
    return EngineText("SaveDialogTitle", QStringLiteral("Výběr souboru"));
}

// The data check before a run.
inline QString NoDataSource() {
    return EngineText("NoDataSource", QStringLiteral("Není definován zdroj dat."));
}
inline QString NoTable() {
    return EngineText("NoTable", QStringLiteral("Ke zdroji dat není připojena žádná tabulka."));
}
inline QString OpenTableQuestion() {
    return EngineText("OpenTableQuestion", QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?"));
}
inline QString TableNotOpened() {
    return EngineText("TableNotOpened", QStringLiteral("Připojenou tabulku se nepodařilo otevřít."));
}

// Expression checks.
inline QString ExpressionOK() {
    return EngineText("ExpressionOK", QStringLiteral("Výraz je v pořádku."));
}
// %s: the error text, %d: its 1-based position.
// A run or a text output that would outgrow any real report; %d: the bound.
inline QString TooManyElements() {
    return EngineText("TooManyElements",
                      QStringLiteral("Sestava je příliš rozsáhlá: na stranách by bylo více než %d prvků."));
}
inline QString TextTooLarge() {
    return EngineText("TextTooLarge",
                      QStringLiteral("Textový výstup sestavy je příliš rozsáhlý: více než %d znaků."));
}
inline QString ExpressionErrorAt() {
    return EngineText("ExpressionErrorAt", QStringLiteral("Chyba : \"%s\" na pozici %d"));
}
// The text of an expression error code 1…14; empty for any other code.
QString ExpressionErrorText(int code);

} // namespace lintaro::ReportMessages
