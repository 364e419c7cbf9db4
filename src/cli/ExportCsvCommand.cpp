// lintaro-cli export-csv: the order's part list as CSV in the user's units.
#include "cli/Command.h"

#include "model/Order.h"
#include "model/Part.h"

namespace lintaro::cli {

namespace {
class TExportCsvCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("export-csv"); }
    QList<TOptionSpec> Options() const override { return CommonOptions(); }

    int Run(TSession& session, const TCommandLine& line, QTextStream&) override {
        RequirePositionals(line, 2, QStringLiteral("export-csv ORDER.LNO OUT.CSV"));
        session.LoadOrder(line.Positionals().at(0));
        TPartList* parts = session.Order().Parts();
        if (!parts->SaveAsCSV(line.Positionals().at(1))) {
            QTextStream(stderr) << line.Positionals().at(1) << ": " << parts->ErrorString() << '\n';
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
