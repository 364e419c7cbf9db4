// lintaro-cli export-cutlist: one row per placed piece of the order's result, or with --cuts one
// row per cut, for the saw.
#include "cli/Command.h"
#include "cli/CutList.h"
#include "cli/CutSequenceList.h"
#include "cli/OutputTarget.h"

#include "foundation/TextFile.h"
#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Sheets.h"

#include <QJsonDocument>

namespace lintaro::cli {

namespace {
class TExportCutlistCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("export-cutlist"); }
    QList<TOptionSpec> Options() const override {
        return CommonOptions() << TOptionSpec{"json", false} << TOptionSpec{"cuts", false};
    }
    QString Synopsis() const override {
        return QStringLiteral("export-cutlist ORDER.LNO OUT.csv [--cuts] [--json]");
    }
    QString Help() const override {
        return QStringLiteral(
            "Writes the cut list of the order's calculation result: a header line, then one row per\n"
            "placed piece with the result sheet, the count of identical sheets cut to that plan,\n"
            "the part's ID and caption, its place x and y on the sheet, its width and length as\n"
            "cut, and whether it is turned against the order. Places and sizes are in the user's\n"
            "length unit (mm, or inches under the U.S. measurement system); fields are separated\n"
            "by \";\" with the locale's decimal separator.\n"
            "\n"
            "  --cuts   the cut sequence instead: one row per cut, sheet by sheet in the order a\n"
            "           panel saw makes them (the cuts across the whole sheet, then each strip's,\n"
            "           then further stages), with the stage, the direction of the line (X or Y),\n"
            "           the fence (the line's distance from the left or top edge of the piece\n"
            "           being cut, kerf of earlier cuts included), the cut's length, what it frees\n"
            "           (part and its ID, rest, waste or strip) and the freed size. A sheet that\n"
            "           guillotine cuts cannot take apart is refused.\n"
            "  --json   the same rows as a JSON array\n"
            "\n"
            "Examples:\n"
            "  lintaro-cli export-cutlist Kitchen-result.LNO kitchen-pieces.csv\n"
            "  lintaro-cli export-cutlist Kitchen-result.LNO kitchen-cuts.csv --cuts\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        RequirePositionals(line, 2, *this);
        const QString source = line.Positionals().at(0);
        const QString target = RequireOutputTarget(line.Positionals().at(1));
        session.LoadOrder(source);
        if (session.Order().Sheets()->CuttingSheets()->ItemCount() == 0)
            throw InputError(QStringLiteral("%1: the order has no calculated sheets").arg(source));
        session.WarnIfResultOutOfDate("export-cutlist", source);
        const bool json = line.Has("json");
        QByteArray bytes;
        if (line.Has("cuts")) {
            const QList<TCutSequenceRow> rows = CutSequenceRows(session.Order(), source);
            bytes = json ? QJsonDocument(CutSequenceJson(rows)).toJson(QJsonDocument::Indented)
                         : CutSequenceCsv(rows).toUtf8();
        } else {
            const QList<TCutListRow> rows = CutListRows(session.Order());
            bytes = json ? QJsonDocument(CutListJson(rows)).toJson(QJsonDocument::Indented)
                         : CutListCsv(rows).toUtf8();
        }
        QString error;
        if (!WriteFileAtomically(target, bytes, &error)) {
            QTextStream(stderr) << "lintaro-cli export-cutlist: cannot save " << WithFileName(target, error)
                                << '\n';
            return 1;
        }
        out << target << '\n';
        return 0;
    }
};
} // namespace

std::unique_ptr<TCommand> MakeExportCutlistCommand() {
    return std::make_unique<TExportCutlistCommand>();
}

} // namespace lintaro::cli
