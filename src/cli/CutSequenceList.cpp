#include "cli/CutSequenceList.h"

#include "cli/Command.h"
#include "foundation/Units.h"
#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Sheets.h"
#include "workshop/CutSequence.h"

#include <QJsonObject>

namespace lintaro::cli {

namespace {

Currency user(int64_t raw) {
    return LengthToUser(Currency::fromRaw(raw));
}

QString freedKind(workshop::TFreedKind kind) {
    switch (kind) {
    case workshop::fkPart:
        return QStringLiteral("part");
    case workshop::fkRest:
        return QStringLiteral("rest");
    case workshop::fkWaste:
        return QStringLiteral("waste");
    case workshop::fkStrip:
        break;
    }
    return QStringLiteral("strip");
}

} // namespace

QList<TCutSequenceRow> CutSequenceRows(const TOrder& order, const QString& source) {
    const int64_t kerf = workshop::ResultKerf(order);
    QList<TCutSequenceRow> rows;
    const TCuttingSheetList* sheets = order.Sheets()->CuttingSheets();
    for (int i = 0; i < sheets->ItemCount(); ++i) {
        const TCuttingSheet* sheet = sheets->Sheet(i);
        const workshop::TCutSequence sequence = workshop::MakeCutSequence(*sheet, kerf);
        if (!sequence.Guillotine)
            throw InputError(
                QStringLiteral("%1: sheet %2 is not cut by guillotine cuts: it has no cut sequence")
                    .arg(source)
                    .arg(i + 1));
        for (const workshop::TCut& cut : sequence.Cuts) {
            TCutSequenceRow row;
            row.Sheet = i + 1;
            row.Count = sheet->Count();
            row.Cut = cut.Number;
            row.Stage = cut.Stage;
            row.AlongY = cut.AlongY;
            row.Fence = user(cut.Fence);
            row.Length = user(cut.Length);
            row.Frees = freedKind(cut.FreedKind);
            if (cut.FreedKind == workshop::fkPart)
                row.PartID = sheet->Parts()->PartOut(cut.FreedIndex)->PartID();
            row.FreedX = user(cut.Freed.Width());
            row.FreedY = user(cut.Freed.Height());
            rows << row;
        }
    }
    return rows;
}

QString CutSequenceCsv(const QList<TCutSequenceRow>& rows) {
    const QString unit = DimUnit();
    QString text = QStringLiteral("Sheet;Count;Cut;Stage;Line along;Fence (%1);Length (%1);Frees;Part;"
                                  "Freed X (%1);Freed Y (%1)\r\n")
                       .arg(unit);
    for (const TCutSequenceRow& r : rows) {
        text += QStringLiteral("%1;%2;%3;%4;%5;%6;%7;%8;%9;%10;%11\r\n")
                    .arg(r.Sheet)
                    .arg(r.Count)
                    .arg(r.Cut)
                    .arg(r.Stage)
                    .arg(r.AlongY ? QStringLiteral("Y") : QStringLiteral("X"), r.Fence.toText(),
                         r.Length.toText(), r.Frees, r.PartID ? QString::number(r.PartID) : QString(),
                         r.FreedX.toText(), r.FreedY.toText());
    }
    return text;
}

QJsonArray CutSequenceJson(const QList<TCutSequenceRow>& rows) {
    QJsonArray list;
    for (const TCutSequenceRow& r : rows) {
        QJsonObject o;
        o["sheet"] = r.Sheet;
        o["count"] = r.Count;
        o["cut"] = r.Cut;
        o["stage"] = r.Stage;
        o["along"] = r.AlongY ? QStringLiteral("Y") : QStringLiteral("X");
        o["fence"] = double(r.Fence.toValue());
        o["length"] = double(r.Length.toValue());
        o["frees"] = r.Frees;
        if (r.PartID)
            o["part"] = r.PartID;
        o["freedX"] = double(r.FreedX.toValue());
        o["freedY"] = double(r.FreedY.toValue());
        list.append(o);
    }
    return list;
}

} // namespace lintaro::cli
