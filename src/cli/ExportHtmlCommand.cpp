// lintaro-cli export-html: the order as an HTML offer from the shipped templates.
#include "cli/Command.h"
#include "cli/OutputTarget.h"

#include "model/HtmlExport.h"
#include "model/Order.h"

namespace lintaro::cli {

namespace {
class TExportHtmlCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("export-html"); }
    QList<TOptionSpec> Options() const override { return CommonOptions(); }
    QString Synopsis() const override { return QStringLiteral("export-html ORDER.LNO OUT.htm"); }
    QString Help() const override {
        return QStringLiteral(
            "Writes the order as an HTML offer from the shipped templates (LNTR.HTS): customer,\n"
            "supplier from the settings, order items with VAT, parts and notes.\n"
            "\n"
            "Example:\n"
            "  lintaro-cli export-html Kitchen-result.LNO kitchen.htm --settings samples/Sample.INI\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream&) override {
        RequirePositionals(line, 2, *this);
        const QString target = RequireOutputTarget(line.Positionals().at(1));
        session.LoadOrder(line.Positionals().at(0));
        session.WarnIfResultOutOfDate("export-html", line.Positionals().at(0));
        QString error;
        if (!SaveOrderToHTML(session.Order(), target, &error)) {
            QTextStream(stderr) << "lintaro-cli export-html: cannot save " << WithFileName(target, error)
                                << '\n';
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
