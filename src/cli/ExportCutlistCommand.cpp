// lintaro-cli export-cutlist: one row per placed piece of the order's result, for the saw.
#include "cli/Command.h"
#include "cli/CutList.h"
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
    QList<TOptionSpec> Options() const override { return CommonOptions() << TOptionSpec{"json", false}; }
    QString Synopsis() const override { return QStringLiteral("export-cutlist ORDER.LNO OUT.csv [--json]"); }
    QString Help() const override {
        return QStringLiteral(
            "Writes the cut list of the order's calculation result: a header line, then one row per\n"
            "placed piece with the result sheet, the count of identical sheets cut to that plan,\n"
            "the part's ID and caption, its place x and y on the sheet, its width and length as\n"
            "cut, and whether it is turned against the order. Places and sizes are in the user's\n"
            "length unit (mm, or inches under the U.S. measurement system); fields are separated\n"
            "by \";\" with the locale's decimal separator.\n"
            "\n"
            "  --json   the same rows as a JSON array\n"
            "\n"
            "Example:\n"
            "  lintaro-cli export-cutlist Kitchen-result.LNO kitchen-cuts.csv\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        RequirePositionals(line, 2, *this);
        const QString source = line.Positionals().at(0);
        const QString target = RequireOutputTarget(line.Positionals().at(1));
        session.LoadOrder(source);
        if (session.Order().Sheets()->CuttingSheets()->ItemCount() == 0)
            throw InputError(QStringLiteral("%1: the order has no calculated sheets").arg(source));
        session.WarnIfResultOutOfDate("export-cutlist", source);
        const QList<TCutListRow> rows = CutListRows(session.Order());
        const QByteArray bytes = line.Has("json")
                                     ? QJsonDocument(CutListJson(rows)).toJson(QJsonDocument::Indented)
                                     : CutListCsv(rows).toUtf8();
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
