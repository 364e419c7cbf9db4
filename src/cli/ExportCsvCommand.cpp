// lintaro-cli export-csv: the order's part list as CSV in the user's units.
#include "cli/Command.h"
#include "cli/OutputTarget.h"

#include "model/Order.h"
#include "model/Part.h"

namespace lintaro::cli {

namespace {
class TExportCsvCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("export-csv"); }
    QList<TOptionSpec> Options() const override { return CommonOptions(); }
    QString Synopsis() const override { return QStringLiteral("export-csv ORDER.LNO OUT.csv"); }
    QString Help() const override {
        return QStringLiteral(
            "Writes the order's part list as CSV, one part per line, in the form calculate --parts\n"
            "reads (see lintaro-cli help calculate). For the placed pieces of a result use\n"
            "export-cutlist.\n"
            "\n"
            "Example:\n"
            "  lintaro-cli export-csv Kitchen.LNO kitchen-parts.csv\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream&) override {
        RequirePositionals(line, 2, *this);
        const QString target = RequireOutputTarget(line.Positionals().at(1));
        session.LoadOrder(line.Positionals().at(0));
        TPartList* parts = session.Order().Parts();
        if (!parts->SaveAsCSV(target)) {
            QTextStream(stderr) << "lintaro-cli export-csv: cannot save "
                                << WithFileName(target, parts->ErrorString()) << '\n';
            return 1;
        }
        return 0;
    }
};
} // namespace

std::unique_ptr<TCommand> MakeExportCsvCommand() {
    return std::make_unique<TExportCsvCommand>();
}

} // namespace lintaro::cli
