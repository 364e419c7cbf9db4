// lintaro-cli summary: the figures of an order and its result, as "Key: value" lines or JSON with
// every sheet, placed piece and rest.
#include "cli/Command.h"
#include "cli/ResultSummary.h"

#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Sheets.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lintaro::cli {

namespace {

class TSummaryCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("summary"); }
    QList<TOptionSpec> Options() const override { return CommonOptions() << TOptionSpec{"json", false}; }
    QString Synopsis() const override { return QStringLiteral("summary ORDER.LNO [--json]"); }
    QString Help() const override {
        return QStringLiteral(
            "Prints the order's parts and the figures of its calculation result: sheets used per\n"
            "stock size, gross and net yield, sheet area, area used and wasted, reusable rests,\n"
            "pieces placed and unplaced, number and length of the cuts, the lower bound (the fewest\n"
            "sheets, or with several stock sizes the least stock area, any plan could need) and the\n"
            "gap to it, calculation time.\n"
            "\n"
            "  --json   the same as JSON, with every result sheet, every placed piece (part ID,\n"
            "           caption, x, y, width, length, turned) and every rest, in the user's units\n"
            "\n"
            "Example:\n"
            "  lintaro-cli summary Kitchen-result.LNO --json > plan.json\n");
    }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        RequirePositionals(line, 1, *this);
        session.LoadOrder(line.Positionals().at(0));
        session.WarnIfResultOutOfDate("summary", line.Positionals().at(0));
        const TOrder& order = session.Order();
        const TPartList* parts = order.Parts();
        const TResultSummary summary = SummariseResult(order);

        if (line.Has("json")) {
            QJsonObject o;
            o["caption"] = order.Caption();
            o["partsCount"] = parts->PartsCount();
            o["partTypes"] = parts->ValidItemCount();
            o["partsArea"] = double(parts->Area().toValue());
            AddSummaryJson(summary, o);
            o["sheets"] = SheetsJson(order);
            out << QJsonDocument(o).toJson(QJsonDocument::Indented);
            return 0;
        }
        out << "Order: " << order.Caption() << '\n';
        out << "Parts: " << parts->PartsCount() << " pieces of " << parts->ValidItemCount() << " parts\n";
        out << "Parts area: " << parts->GetPropAsString("AREA") << '\n';
        WriteSummary(summary, out);
        const TCuttingSheetList* result = order.Sheets()->CuttingSheets();
        for (int i = 0; i < result->ItemCount(); ++i) {
            const TCuttingSheet* s = result->Sheet(i);
            out << "Sheet " << i + 1 << ": " << s->GetPropAsString("X") << " x " << s->GetPropAsString("Y")
                << ", count " << s->Count() << ", " << s->Parts()->ItemCount() << " parts, net "
                << s->GetPropAsString("ExtractNetto") << '\n';
        }
        return 0;
    }
};

} // namespace

std::unique_ptr<TCommand> MakeSummaryCommand() {
    return std::make_unique<TSummaryCommand>();
}

} // namespace lintaro::cli
