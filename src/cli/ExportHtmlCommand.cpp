// lintaro-cli export-html: the order as an HTML offer from the shipped templates.
#include "cli/Command.h"

#include "model/HtmlExport.h"
#include "model/Order.h"

namespace lintaro::cli {

namespace {
class TExportHtmlCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("export-html"); }
    QList<TOptionSpec> Options() const override { return CommonOptions(); }

    int Run(TSession& session, const TCommandLine& line, QTextStream&) override {
        RequirePositionals(line, 2, QStringLiteral("export-html ORDER.LNO OUT.HTM"));
        session.LoadOrder(line.Positionals().at(0));
        QString error;
        if (!SaveOrderToHTML(session.Order(), line.Positionals().at(1), &error)) {
            QTextStream(stderr) << line.Positionals().at(1) << ": " << error << '\n';
            return 1;
        }
        return 0;
    }
};
} // namespace

std::unique_ptr<TCommand> MakeExportHtmlCommand() {
    return std::make_unique<TExportHtmlCommand>();
}

} // namespace lintaro::cli
