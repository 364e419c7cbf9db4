#pragma once
// The calculation of an order as a document: on the sheets page's cutting-sheet view (page 1) the
// drawing of every cutting sheet, cut into strips that fit the page's width, one strip per row
// (template "ReportSheetsCuttingSheets"); on any other page the calculation's parameters and yield
// over an empty dataset (template "ReportSheetsParams").
#include "print/DocumentPrinter.h"

#include <QPicture>
#include <vector>

namespace lintaro {

class TMaterial;
class TOrder;

// Width of one image strip in drawing units, and how much of the strip before each later strip
// repeats.
constexpr int kStripWidth = 1155;
constexpr int kStripOverlap = 50;

// Where the strips of a drawing of this width begin: 0, then every kStripWidth − kStripOverlap
// units until the drawing's end is covered. Nothing for an empty drawing.
std::vector<int> StripOffsets(int drawingWidth);
// The strips of one drawing, each kStripWidth wide and as high as the drawing.
std::vector<QPicture> CutIntoStrips(const QPicture& drawing);

class TSheetsPrinter : public TDocumentPrinter {
public:
    TSheetsPrinter();
    // Not owned: the order whose calculation is printed and the material open in the window.
    TOrder* Order = nullptr;
    TMaterial* Material = nullptr;
    // The sheets page's inner page: 1 the cutting-sheet view, any other value the parameters.
    int SheetsPage = 0;

    QString SectionName() const override;
    bool HasSubject() const override { return Order != nullptr; }
    // One row per strip on page 1 (the strip's index), else none.
    QStringList Rows() const override;
    QStringList NactiSeznamObrazu() const override;
    bool NactiObraz(const QString& name, QImage& picture) override;
    // The current row's strip as a vector drawing, for "IMAGE".
    bool NactiKresbu(const QString& name, QPicture& drawing) const;
    // The template's strip picture takes the height the current row's strip needs at the picture's
    // width, and the body grows or shrinks with it: a strip fills the width whatever its height.
    void FitStripBox(TSestava& report) const;

    const std::vector<QPicture>& Strips() const { return strips_; }
    // Cuts every cutting sheet's drawing into strips, in list order; the previous strips go first.
    void BuildStrips();
    // The resolution at which a strip fills the template's strip picture, in dots per inch; 0 when
    // the template has none.
    int StripResolution();

protected:
    QList<TSource> Sources() const override;
    void PrepareRows() override;
    void ReleaseRows() override { strips_.clear(); }

private:
    const TMaterial* SourceMaterial() const;
    std::vector<QPicture> strips_;
};

} // namespace lintaro
