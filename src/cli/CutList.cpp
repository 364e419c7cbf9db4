#include "cli/CutList.h"

#include "cli/Command.h"
#include "foundation/Units.h"
#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Sheets.h"

#include <QJsonObject>

namespace lintaro::cli {

QList<TCutListRow> CutListRows(const TOrder& order) {
    QList<TCutListRow> rows;
    const TCuttingSheetList* sheets = order.Sheets()->CuttingSheets();
    for (int i = 0; i < sheets->ItemCount(); ++i) {
        const TCuttingSheet* sheet = sheets->Sheet(i);
        for (int k = 0; k < sheet->Parts()->ItemCount(); ++k) {
            const TCSPartOut* piece = sheet->Parts()->PartOut(k);
            TCutListRow row;
            row.Sheet = i + 1;
            row.Count = sheet->Count();
            row.PartID = piece->PartID();
            if (const TDataComponent* part = order.Parts()->FindItem(-piece->PartID()))
                row.Caption = part->Caption();
            row.X = LengthToUser(piece->OX());
            row.Y = LengthToUser(piece->OY());
            row.Width = LengthToUser(piece->X());
            row.Length = LengthToUser(piece->Y());
            row.Turned = piece->IsRotated();
            rows << row;
        }
    }
    return rows;
}

namespace {
// A caption with the separator or a quote is quoted, so that a spreadsheet keeps the columns.
QString csvField(const QString& text) {
    if (!text.contains(u';') && !text.contains(u'"'))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}
} // namespace

QString CutListCsv(const QList<TCutListRow>& rows) {
    const QString unit = DimUnit();
    QString text =
        QStringLiteral("Sheet;Count;Part;Caption;X (%1);Y (%1);Width (%1);Length (%1);Turned\r\n").arg(unit);
    for (const TCutListRow& r : rows) {
        text += QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8;%9\r\n")
                    .arg(r.Sheet)
                    .arg(r.Count)
                    .arg(r.PartID)
                    .arg(csvField(r.Caption), r.X.toText(), r.Y.toText(), r.Width.toText(), r.Length.toText(),
                         r.Turned ? QStringLiteral("yes") : QStringLiteral("no"));
    }
    return text;
}

QJsonArray CutListJson(const QList<TCutListRow>& rows) {
    QJsonArray list;
    for (const TCutListRow& r : rows) {
        QJsonObject o;
        o["sheet"] = r.Sheet;
        o["count"] = r.Count;
        o["part"] = r.PartID;
        o["caption"] = r.Caption;
        o["x"] = double(r.X.toValue());
        o["y"] = double(r.Y.toValue());
        o["width"] = double(r.Width.toValue());
        o["length"] = double(r.Length.toValue());
        o["turned"] = r.Turned;
        list.append(o);
    }
    return list;
}

} // namespace lintaro::cli
