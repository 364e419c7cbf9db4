#include "workshop/PackData.h"

#include "foundation/Program.h"
#include "foundation/Units.h"
#include "model/Address.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Sheets.h"

#include <QMap>

namespace lintaro::workshop {

namespace {
// Everything that makes two result sheets the same plan for the saw.
QString planKey(const TCuttingSheet& sheet) {
    QString key = QStringLiteral("%1x%2;")
                      .arg(sheet.Dimension()->StoredX().raw())
                      .arg(sheet.Dimension()->StoredY().raw());
    key += sheet.Dimension()->IsRest() ? u'R' : u'S';
    key += QString::number(sheet.Dimension()->ID()) + u';';
    for (int i = 0; i < sheet.Parts()->ItemCount(); ++i) {
        const TCSPartOut* p = sheet.Parts()->PartOut(i);
        key += QStringLiteral("%1:%2,%3,%4,%5;")
                   .arg(p->PartID())
                   .arg(p->OX().raw())
                   .arg(p->OY().raw())
                   .arg(p->X().raw())
                   .arg(p->Y().raw());
    }
    for (int i = 0; i < sheet.Rests()->ItemCount(); ++i) {
        const TCSDimOut* r = sheet.Rests()->Rest(i);
        key += QStringLiteral("R%1,%2,%3,%4;")
                   .arg(r->OX().raw())
                   .arg(r->OY().raw())
                   .arg(r->X().raw())
                   .arg(r->Y().raw());
    }
    return key;
}
} // namespace

TPackData CollectPackData(const TOrder& order) {
    TPackData data;
    data.Order = &order;
    data.Material = ResultMaterial(order);
    data.Kerf = ResultKerf(order);
    if (data.Material)
        data.MaterialCaption = data.Material->Caption();
    data.OrderNumber = order.Caption();
    data.Customer = order.Customer() ? order.Customer()->Caption() : QString();
    const TCuttingSheetList* sheets = order.Sheets()->CuttingSheets();
    for (int i = 0; i < sheets->ItemCount(); ++i)
        data.AskedSheets += std::max(1, sheets->Sheet(i)->Count());
    if (data.AskedSheets > kMaxPackSheets)
        return data;
    QMap<QString, int> plans; // key → position in data.Plans
    int number = 0;
    for (int i = 0; i < sheets->ItemCount(); ++i) {
        const TCuttingSheet* sheet = sheets->Sheet(i);
        const int count = std::max(0, sheet->Count());
        const QString key = planKey(*sheet);
        auto found = plans.find(key);
        if (found == plans.end()) {
            TPackPlan plan;
            plan.Sheet = sheet;
            plan.Sequence = MakeCutSequence(*sheet, data.Kerf);
            found = plans.insert(key, int(data.Plans.size()));
            data.Plans << plan;
        }
        for (int k = 0; k < count; ++k)
            data.Plans[*found].SheetNumbers << ++number;
    }
    // A plan whose sheets all count 0 still shows, as sheet numbers are what the saw works from.
    for (TPackPlan& plan : data.Plans)
        if (plan.SheetNumbers.isEmpty())
            plan.SheetNumbers << ++number;
    data.TotalSheets = number;
    return data;
}

QString PackText(const QString& key) {
    const QString text = GetText(QStringLiteral("Workshop"), key);
    return text.isEmpty() ? key : text;
}

QString LengthText(int64_t raw) {
    return LengthToUser(Currency::fromRaw(raw)).toText();
}

QString SizeText(int64_t rawX, int64_t rawY) {
    return LengthText(rawX) + QStringLiteral(" × ") + LengthText(rawY);
}

QString SizeTextWithUnit(int64_t rawX, int64_t rawY) {
    return SizeText(rawX, rawY) + u' ' + DimUnit();
}

QString NumberRanges(const QList<int>& numbers) {
    QStringList parts;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        parts << (j == i ? QString::number(numbers[i])
                         : QStringLiteral("%1–%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

QString SheetNumbersText(const QList<int>& numbers, int total) {
    return PackText(numbers.size() == 1 ? QStringLiteral("SheetOf") : QStringLiteral("SheetsOf"))
        .arg(NumberRanges(numbers))
        .arg(total);
}

QString PercentText(Currency percent) {
    return QString::number(double(percent.toValue()), 'f', 1) + u'%';
}

} // namespace lintaro::workshop
