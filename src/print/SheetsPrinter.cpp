#include "print/SheetsPrinter.h"

#include "calc/SheetDrawing.h"
#include "model/Address.h"
#include "model/CuttingSheet.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Sheets.h"

#include <QPainter>
#include <algorithm>

namespace lintaro {

std::vector<int> StripOffsets(int drawingWidth) {
    std::vector<int> offsets;
    if (drawingWidth <= 0)
        return offsets;
    // Each later strip starts kStripOverlap before the end of the one before, so a part cut by a
    // strip's edge shows whole on one of the two and nothing of the drawing is left out.
    for (int start = 0;; start += kStripWidth - kStripOverlap) {
        offsets.push_back(start);
        if (start + kStripWidth >= drawingWidth)
            break;
    }
    return offsets;
}

std::vector<QPicture> CutIntoStrips(const QPicture& drawing) {
    std::vector<QPicture> strips;
    const QRect bounds = drawing.boundingRect();
    for (const int offset : StripOffsets(bounds.width())) {
        QPicture strip;
        const QRect box(0, 0, kStripWidth, bounds.height());
        QPainter painter(&strip);
        painter.setClipRect(box);
        painter.drawPicture(QPoint(-offset - bounds.left(), -bounds.top()), drawing);
        painter.end();
        strip.setBoundingRect(box);
        strips.push_back(std::move(strip));
    }
    return strips;
}

TSheetsPrinter::TSheetsPrinter() : TDocumentPrinter(QStringLiteral("Sheets")) {
    // The printed "ID" is the calculation's own; the stored one is the strip's index.
    DataSet().OnGetIdText = [this](TDataField&) { return FieldText(QStringLiteral("ID")); };
    Sestava.OnNactiKresbu = [this](TSestava&, const QString& name, QPicture& drawing) {
        return NactiKresbu(name, drawing);
    };
    Sestava.OnSetPredloha = [this](TSestava& report) { FitStripBox(report); };
    for (const auto& [name, size] :
         std::initializer_list<std::pair<const char*, int>>{{"State", 40},
                                                            {"ExtractBrutto", 20},
                                                            {"ExtractNetto", 20},
                                                            {"AddExtractToOrder", 10},
                                                            {"CalculationReport", 255},
                                                            {"PartsInArea", 20},
                                                            {"PartsInCount", 20},
                                                            {"PartsUnusedArea", 20},
                                                            {"PartsUnusedCount", 10},
                                                            {"OrderCaption", 40},
                                                            {"OrderDateCreate", 15}})
        AddField(QString::fromLatin1(name), size);
    AddAddressFields(QStringLiteral("Customer"), false);
    for (const auto& [name, size] :
         std::initializer_list<std::pair<const char*, int>>{{"MaterialCaption", 40},
                                                            {"MaterialCutWidth", 20},
                                                            {"MaterialHasOrientation", 10},
                                                            {"MaterialMinRecyArea", 20},
                                                            {"MaterialMinRecyDim", 20}})
        AddField(QString::fromLatin1(name), size);
}

QString TSheetsPrinter::SectionName() const {
    return SheetsPage == 1 ? QStringLiteral("ReportSheetsCuttingSheets")
                           : QStringLiteral("ReportSheetsParams");
}

QStringList TSheetsPrinter::Rows() const {
    QStringList rows;
    if (SheetsPage == 1)
        for (size_t i = 0; i < strips_.size(); ++i)
            rows << QString::number(i);
    return rows;
}

void TSheetsPrinter::BuildStrips() {
    strips_.clear();
    if (!Order)
        return;
    const TCuttingSheetList* sheets = Order->Sheets()->CuttingSheets();
    for (int i = 0; i < sheets->ItemCount(); ++i)
        for (QPicture& strip : CutIntoStrips(GetImage(*sheets->Sheet(i))))
            strips_.push_back(std::move(strip));
}

void TSheetsPrinter::PrepareRows() {
    if (SheetsPage == 1)
        BuildStrips();
}

QStringList TSheetsPrinter::NactiSeznamObrazu() const {
    return {QStringLiteral("LOGO"), QStringLiteral("IMAGE")};
}

bool TSheetsPrinter::NactiObraz(const QString& name, QImage& picture) {
    if (name.compare(QLatin1String("IMAGE"), Qt::CaseInsensitive) != 0)
        return TDocumentPrinter::NactiObraz(name, picture);
    const int index = RowId();
    if (index < 0 || static_cast<size_t>(index) >= strips_.size())
        return false;
    // Twice the drawing's resolution, so the strip stays sharp when the page enlarges it.
    const QPicture& strip = strips_[static_cast<size_t>(index)];
    const QRect bounds = strip.boundingRect();
    QImage image(bounds.size() * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(2, 2);
    painter.drawPicture(-bounds.topLeft(), strip);
    painter.end();
    picture = image;
    return true;
}

bool TSheetsPrinter::NactiKresbu(const QString& name, QPicture& drawing) const {
    const int index = RowId();
    if (name.compare(QLatin1String("IMAGE"), Qt::CaseInsensitive) != 0 || index < 0 ||
        static_cast<size_t>(index) >= strips_.size())
        return false;
    drawing = strips_[static_cast<size_t>(index)];
    return true;
}

void TSheetsPrinter::FitStripBox(TSestava& report) const {
    int tallest = 0;
    for (const QPicture& strip : strips_)
        tallest = std::max(tallest, strip.boundingRect().height());
    if (tallest <= 0)
        return;
    TOddilSestavy& body = report.Oddily().Item(stBody);
    for (TSiReportElement& e : body.Elements) {
        if (e.Kind != ekPicture || e.FileName.compare(QLatin1String("IMAGE"), Qt::CaseInsensitive) != 0 ||
            e.Width <= 0)
            continue;
        const int height = (e.Width * tallest + kStripWidth - 1) / kStripWidth;
        const int grow = height - e.Height;
        for (TSiReportElement& below : body.Elements)
            if (below.Top > e.Top)
                below.Top += grow;
        e.Height = height;
        body.Height = std::max(0, body.Height + grow);
        return;
    }
}

const TMaterial* TSheetsPrinter::SourceMaterial() const {
    if (Order && Order->Sheets()->State() != ssNone)
        return Order->Sheets()->Material();
    return Material;
}

QList<TDocumentPrinter::TSource> TSheetsPrinter::Sources() const {
    using Object = const TDataComponent*;
    return {
        {QStringLiteral("DBSheetsOrder"), [this]() -> Object { return Order; }},
        {QStringLiteral("DBSheetsCustomer"),
         [this]() -> Object { return Order ? Order->Customer() : nullptr; }},
        {QStringLiteral("DBSheetsMaterial"), [this]() -> Object { return SourceMaterial(); }},
        {QStringLiteral("DBSheets"), [this]() -> Object { return Order ? Order->Sheets() : nullptr; }},
    };
}

} // namespace lintaro
