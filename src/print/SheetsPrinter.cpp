#include "print/SheetsPrinter.h"

#include "calc/SheetDrawing.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "reports/SestavaTyp.h"

#include <QPainter>
#include <algorithm>

namespace lintaro {

namespace {

// The tallest strip as a share of its width: a sheet higher than that is drawn smaller, so that two
// strips of ordinary sheets still share a page.
constexpr int kStripHeightPercent = 60;
// A strip picture of a designed template narrower than an inch or wider than the page still draws at
// a sensible size.
constexpr int kLeastStripResolution = 48;
constexpr int kMostStripResolution = 1200;

bool isStripPicture(const TSiReportElement& e) {
    return e.Kind == ekPicture && e.FileName.compare(QLatin1String("IMAGE"), Qt::CaseInsensitive) == 0 &&
           e.Width > 0;
}

// The zoom a sheet is printed at. The settings' zoom is the size it is drawn at least; on paper a
// sheet stays on one strip, filling it, as long as that draws it at least half as large. A longer
// sheet takes as many strips as the settings' zoom needs, filled.
int printZoom(const TCuttingSheet& sheet, int zoom, int resolution) {
    const int height = kStripWidth * kStripHeightPercent / 100;
    const int one = SheetZoomToFit(sheet, {kStripWidth, height}, resolution);
    if (one * 2 >= zoom)
        return one;
    const int width = SheetImageSize(sheet, {resolution, zoom}).width();
    const int strips = static_cast<int>(StripOffsets(width).size());
    const int cover = (strips - 1) * (kStripWidth - kStripOverlap) + kStripWidth;
    return std::max(zoom, SheetZoomToFit(sheet, {cover, height}, resolution));
}

} // namespace

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
    // Each strip's row is as high as its own drawing needs at the page's width.
    Sestava.OnTiskOddilu = [this](TSestava& report, int section, bool&) {
        if (section == stBody)
            FitStripBox(report);
    };
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

int TSheetsPrinter::StripResolution() {
    // The template's strip picture is as wide as a strip: kStripWidth units over its width in
    // hundredths of an inch.
    TPredloha predloha;
    NactiPredlohu(Sestava, predloha);
    TSestavaTyp layout;
    layout.SetPredloha(predloha);
    const TOddilSestavy& body = layout.Oddily().Item(stBody);
    for (const TSiReportElement& e : body.Elements)
        if (isStripPicture(e))
            return std::clamp((kStripWidth * 100 + e.Width / 2) / e.Width, kLeastStripResolution,
                              kMostStripResolution);
    return 0;
}

void TSheetsPrinter::BuildStrips() {
    strips_.clear();
    if (!Order)
        return;
    // Labels at their own point sizes on paper.
    const int resolution = StripResolution();
    const int zoom = TApplicationLinks::Setup() ? TApplicationLinks::Setup()->SheetsZoom() : 200;
    const TCuttingSheetList* sheets = Order->Sheets()->CuttingSheets();
    for (int i = 0; i < sheets->ItemCount(); ++i) {
        const TCuttingSheet& sheet = *sheets->Sheet(i);
        // No label below 6 points on paper: a single number may then reach past a thin part.
        const TSheetDrawingScale scale{resolution, printZoom(sheet, std::max(1, zoom), resolution), 6};
        for (QPicture& strip : CutIntoStrips(GetImage(sheet, scale)))
            strips_.push_back(std::move(strip));
    }
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
    const int index = RowId();
    if (index < 0 || static_cast<size_t>(index) >= strips_.size())
        return;
    const int tall = strips_[static_cast<size_t>(index)].boundingRect().height();
    if (tall <= 0)
        return;
    TOddilSestavy& body = report.Oddily().Item(stBody);
    for (TSiReportElement& e : body.Elements) {
        if (!isStripPicture(e))
            continue;
        const int height = (e.Width * tall + kStripWidth - 1) / kStripWidth;
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
