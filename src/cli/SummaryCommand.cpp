// lintaro-cli summary: the figures of an order and its result, as "Key: value" lines or JSON.
#include "cli/Command.h"

#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Sheets.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace lintaro::cli {

namespace {

const char* stateName(TSheetsState s) {
    switch (s) {
    case ssNone:
        return "ssNone";
    case ssCalculating:
        return "ssCalculating";
    case ssCalculatedOK:
        return "ssCalculatedOK";
    case ssCalculatedError:
        return "ssCalculatedError";
    case ssPartsChanged:
        return "ssPartsChanged";
    }
    return "ssNone";
}

double mm(Currency c) {
    return double(c.toValue());
}

class TSummaryCommand : public TCommand {
public:
    QString Name() const override { return QStringLiteral("summary"); }
    QList<TOptionSpec> Options() const override { return CommonOptions() << TOptionSpec{"json", false}; }

    int Run(TSession& session, const TCommandLine& line, QTextStream& out) override {
        RequirePositionals(line, 1, QStringLiteral("summary ORDER.LNO [--json]"));
        session.LoadOrder(line.Positionals().at(0));
        TOrder& order = session.Order();
        const TPartList* parts = order.Parts();
        const TSheets* sheets = order.Sheets();
        const TCuttingSheetList* result = sheets->CuttingSheets();

        if (line.Has("json")) {
            QJsonObject o;
            o["caption"] = order.Caption();
            o["partsCount"] = parts->PartsCount();
            o["partTypes"] = parts->ValidItemCount();
            o["partsArea"] = double(parts->Area().toValue());
            o["areaUnit"] = parts->GetPropAsString("AREA").section(u' ', -1);
            o["state"] = stateName(sheets->State());
            o["stateText"] = TSheets::StateText(sheets->State());
            o["extractBrutto"] = double(sheets->ExtractBrutto().toValue());
            o["extractNetto"] = double(sheets->ExtractNetto().toValue());
            o["partsUnused"] = sheets->PartsUnusedCount();
            QJsonArray list;
            for (int i = 0; i < result->ItemCount(); ++i) {
                const TCuttingSheet* s = result->Sheet(i);
                QJsonObject j;
                j["index"] = i + 1;
                j["x"] = mm(s->Dimension()->StoredX());
                j["y"] = mm(s->Dimension()->StoredY());
                j["count"] = s->Count();
                j["parts"] = s->Parts()->ItemCount();
                j["extractNetto"] = double(s->ExtractNetto().toValue());
                list.append(j);
            }
            o["sheets"] = list;
            out << QJsonDocument(o).toJson(QJsonDocument::Indented);
            return 0;
        }
        out << "Order: " << order.Caption() << '\n';
        out << "Parts: " << parts->PartsCount() << " pieces of " << parts->ValidItemCount() << " parts\n";
        out << "Parts area: " << parts->GetPropAsString("AREA") << '\n';
        out << "State: " << stateName(sheets->State()) << " (" << TSheets::StateText(sheets->State())
            << ")\n";
        out << "Gross extract: " << sheets->GetPropAsString("EXTRACTBRUTTO") << '\n';
        out << "Net extract: " << sheets->GetPropAsString("EXTRACTNETTO") << '\n';
        out << "Unplaced pieces: " << sheets->PartsUnusedCount() << '\n';
        out << "Sheets: " << result->ItemCount() << '\n';
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
