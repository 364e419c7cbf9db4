#include "calc/SheetDrawing.h"

#include "foundation/DataComponentList.h"
#include "foundation/Program.h"
#include "foundation/TextFile.h"
#include "foundation/Units.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Setup.h"
#include "model/Sheets.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QSvgGenerator>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace lintaro {

namespace {

const QString kSection = QStringLiteral("TSheets");
constexpr int kDimSize = 110;
constexpr int kDimMinimum = 15;
constexpr int kParamsSize = 200;
constexpr int kParamsPitch = 20;
constexpr int kParamsLabelEnd = 60;
constexpr int kParamsValueGap = 5;
// The vertical fonts' pixel heights are those of a screen at this resolution.
constexpr int kVerticalFontResolution = 96;
// A stock only hundredths of a millimetre wide would otherwise be drawn at millions of pixels per
// unit; at most this many keeps every coordinate of the largest stock far inside the int range.
constexpr long double kMaxScale = 100;
// Larger pictures (256 MiB of pixels) are refused rather than allocated.
constexpr qint64 kMaxPicturePixels = 64LL * 1024 * 1024;

TDrawingResolutionSource& resolutionSource() {
    static TDrawingResolutionSource source;
    return source;
}

int resolutionOrDefault(int resolution) {
    return resolution > 0 ? resolution : DrawingResolution();
}

// Windows converts point sizes as MulDiv(points, resolution, 72), rounding to the nearest.
int pointsToPixels(int points, int resolution) {
    const int dpi = resolutionOrDefault(resolution);
    return std::max(1, (points * dpi + 36) / 72);
}

// A length drawn at scale s: the product with four decimals, then the nearest whole pixel, halves
// to even.
int scaled(Currency length, Currency scale) {
    constexpr int64_t limit = int64_t{1} << 29; // so that a box's origin plus its size still fits
    const int64_t raw = std::clamp((length * scale).raw(), -limit * Currency::Scale, limit * Currency::Scale);
    const int64_t whole = raw / Currency::Scale;
    const int64_t rest = std::llabs(raw % Currency::Scale);
    const int64_t away = raw < 0 ? -1 : 1;
    if (rest > Currency::Scale / 2 || (rest == Currency::Scale / 2 && (whole % 2) != 0))
        return static_cast<int>(whole + away);
    return static_cast<int>(whole);
}

QString sizeText(Currency xMm, Currency yMm) {
    return LengthToUser(xMm).toText() + u'x' + LengthToUser(yMm).toText();
}

const TSheets* owningSheets(const TCuttingSheet& sheet) {
    return FindOwnerOfClass<TSheets>(&sheet);
}

struct DrawingSettings {
    int zoom = 200;
    bool erlangeFont = false;
    bool captions = false;
};

DrawingSettings drawingSettings() {
    DrawingSettings s;
    if (const TSetup* setup = TApplicationLinks::Setup()) {
        s.zoom = setup->SheetsZoom();
        s.erlangeFont = setup->SheetsErlangeFont();
        s.captions = setup->SheetsShowCaptionsOnParts();
    }
    return s;
}

TSheetText makeText(const QString& text, const QFont& font, TSheetFont kind, bool bold, int pointSize) {
    TSheetText t;
    t.Text = text;
    t.Kind = kind;
    t.Bold = bold;
    t.PointSize = pointSize;
    t.Font = font;
    t.Extent = SheetTextExtent(font, text);
    return t;
}

TSheetText horizontalText(const QString& text, int pointSize, bool bold, int resolution) {
    return makeText(text, SheetHorizontalFont(pointSize, bold, resolution), sfHorizontal, bold, pointSize);
}

TSheetText verticalText(const QString& text, TSheetFont kind, bool large, int resolution) {
    return makeText(text, SheetVerticalFont(kind, large, resolution), kind, false, 0);
}

// The rectangle as the canvas draws it: the outline covers left … right − 1 and top … bottom − 1,
// the inside filled with the current brush.
void drawRectangle(QPainter& p, const QRect& r) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    if (r.width() < 2 || r.height() < 2) {
        p.fillRect(r, p.pen().color());
        return;
    }
    p.drawRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
}

void drawText(QPainter& p, const TSheetText& t) {
    if (t.Text.isEmpty())
        return;
    p.setFont(t.Font);
    const qreal ascent = qCeil(QFontMetricsF(t.Font).ascent());
    if (!t.Vertical()) {
        p.drawText(QPointF(t.Origin.x(), t.Origin.y() + ascent), t.Text);
        return;
    }
    p.save();
    p.translate(t.Origin);
    p.rotate(-90);
    p.drawText(QPointF(0, ascent), t.Text);
    p.restore();
}

void beginPicture(QPainter& p) {
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::white);
}

void endPicture(QPainter& p, QPicture& picture, QSize size) {
    p.end();
    picture.setBoundingRect(QRect(QPoint(0, 0), size));
}

// The whole picture around its thumbnail, parameter block and scheme of these sizes: the thumbnail
// above the block in a column as wide as the wider of them, the scheme beside it, 10 pixels of
// margin around and 20 between.
QSize imageSize(QSize dim, QSize params, QSize scheme) {
    const int a = std::max(dim.width(), params.width());
    return {scheme.width() + a + 40, std::max(scheme.height() + 20, dim.height() + params.height() + 40)};
}

// ---- Caption layouts ----

class CaptionPlacer {
public:
    CaptionPlacer(TCaptionBox& box, bool erlangeFont, const TSheetDrawingScale& scale)
        : box_(box), large_(erlangeFont), resolution_(scale.Resolution), smallest_(scale.SmallestPointSize),
          l_(SheetLargePointSize(erlangeFont)), s_(SheetSmallPointSize(erlangeFont)), left_(box.Rect.left()),
          top_(box.Rect.top()), w_(box.Rect.width()), h_(box.Rect.height()) {
        e1_ = SheetTextExtent(SheetHorizontalFont(l_, true, resolution_), box.T1);
        e2_ = SheetTextExtent(SheetHorizontalFont(l_, false, resolution_), box.T2);
        e3_ = SheetTextExtent(SheetHorizontalFont(s_, false, resolution_), box.T3);
    }

    bool fits(TCaptionLayout layout) const {
        switch (layout) {
        case clTwoHorizontal:
            return std::max(e1_.width(), e2_.width()) < w_ && e1_.height() + e2_.height() < h_;
        case clThreeHorizontal:
            return std::max({e1_.width(), e2_.width(), e3_.width()}) < w_ &&
                   e1_.height() + e2_.height() + e3_.height() < h_;
        case clTwoVertical:
            return e1_.height() + e2_.height() < w_ && std::max(e1_.width(), e2_.width()) < h_;
        case clThreeVertical:
            return e1_.height() + e2_.height() + e3_.height() < w_ &&
                   std::max({e1_.width(), e2_.width(), e3_.width()}) < h_;
        case clOneHorizontal:
        case clOneVertical:
            return true;
        }
        return false;
    }

    void place(TCaptionLayout layout) {
        box_.Layout = layout;
        box_.Texts.clear();
        switch (layout) {
        case clTwoHorizontal: {
            TSheetText t1 = horizontalText(box_.T1, l_, true, resolution_);
            TSheetText t2 = horizontalText(box_.T2, l_, false, resolution_);
            t1.Origin = {centredX(t1), top_ + h_ / 2 - t1.Extent.height()};
            t2.Origin = {centredX(t2), top_ + h_ / 2};
            box_.Texts = {t1, t2};
            break;
        }
        case clThreeHorizontal: {
            TSheetText t1 = horizontalText(box_.T1, l_, true, resolution_);
            TSheetText t2 = horizontalText(box_.T2, l_, false, resolution_);
            TSheetText t3 = horizontalText(box_.T3, s_, false, resolution_);
            const int middleTop = top_ + (h_ - t2.Extent.height()) / 2;
            t2.Origin = {centredX(t2), middleTop};
            t1.Origin = {centredX(t1), middleTop - t1.Extent.height()};
            t3.Origin = {centredX(t3), top_ + (h_ + t2.Extent.height()) / 2};
            box_.Texts = {t1, t2, t3};
            break;
        }
        case clOneHorizontal:
            box_.Texts = {oneHorizontal()};
            break;
        case clTwoVertical: {
            TSheetText t1 = verticalText(box_.T1, sfVerticalSemiBold, large_, resolution_);
            TSheetText t2 = verticalText(box_.T2, sfVerticalRegular, large_, resolution_);
            t1.Origin = {left_ + w_ / 2 - t1.Extent.height(), upwardY(t1)};
            t2.Origin = {left_ + w_ / 2, upwardY(t2)};
            box_.Texts = {t1, t2};
            break;
        }
        case clThreeVertical: {
            TSheetText t1 = verticalText(box_.T1, sfVerticalSemiBold, large_, resolution_);
            TSheetText t2 = verticalText(box_.T2, sfVerticalRegular, large_, resolution_);
            TSheetText t3 = verticalText(box_.T3, sfVerticalSmaller, large_, resolution_);
            const int middleLeft = left_ + (w_ - t2.Extent.height()) / 2;
            t2.Origin = {middleLeft, upwardY(t2)};
            t1.Origin = {middleLeft - t1.Extent.height(), upwardY(t1)};
            t3.Origin = {left_ + (w_ + t2.Extent.height()) / 2, upwardY(t3)};
            box_.Texts = {t1, t2, t3};
            break;
        }
        case clOneVertical: {
            TSheetText t = verticalText(box_.T1, sfVerticalSemiBold, large_, resolution_);
            if (w_ < t.Extent.height()) {
                t = verticalText(box_.T1, sfVerticalRegular, large_, resolution_);
                if (w_ < t.Extent.height())
                    t = verticalText(box_.T1, sfVerticalSmaller, large_, resolution_);
            }
            t.Origin = {left_ + (w_ - t.Extent.height()) / 2, upwardY(t)};
            box_.Texts = {t};
            break;
        }
        }
    }

private:
    int centredX(const TSheetText& t) const { return left_ + (w_ - t.Extent.width()) / 2; }
    int centredY(const TSheetText& t) const { return top_ + (h_ - t.Extent.height()) / 2; }
    int upwardY(const TSheetText& t) const { return top_ + (h_ + t.Extent.width()) / 2; }

    // T1 alone: too wide, it loses what precedes its first point, then shrinks to size S, then
    // loses its bold style; too high, it shrinks to S, loses bold and shrinks further down to the
    // smallest size (5 points).
    TSheetText oneHorizontal() const {
        QString text = box_.T1;
        int size = l_;
        bool bold = true;
        TSheetText t = horizontalText(text, size, bold, resolution_);
        if (t.Extent.width() > w_) {
            const int point = text.indexOf(u'.');
            if (point >= 0) {
                text = text.mid(point + 1);
                t = horizontalText(text, size, bold, resolution_);
            }
            if (t.Extent.width() > w_) {
                size = s_;
                t = horizontalText(text, size, bold, resolution_);
                if (t.Extent.width() > w_) {
                    bold = false;
                    t = horizontalText(text, size, bold, resolution_);
                }
            }
        } else if (t.Extent.height() > h_) {
            size = s_;
            t = horizontalText(text, size, bold, resolution_);
            if (t.Extent.height() > h_) {
                bold = false;
                t = horizontalText(text, size, bold, resolution_);
                while (t.Extent.height() > h_ && size > smallest_) {
                    --size;
                    t = horizontalText(text, size, bold, resolution_);
                }
            }
        }
        t.Origin = {centredX(t), centredY(t)};
        return t;
    }

    TCaptionBox& box_;
    bool large_;
    int resolution_;
    int smallest_;
    int l_, s_;
    int left_, top_, w_, h_;
    QSize e1_, e2_, e3_;
};

} // namespace

// ---- Reference device ----

void SetDrawingResolutionSource(TDrawingResolutionSource source) {
    resolutionSource() = std::move(source);
}

int DrawingResolution() {
    if (const TDrawingResolutionSource& source = resolutionSource()) {
        int dpi = 0;
        try {
            dpi = source();
        } catch (...) {
            dpi = 0; // a failure while asking counts as no printer
        }
        if (dpi > 0)
            return dpi;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const int dpi = qRound(screen->logicalDotsPerInchY());
            if (dpi > 0)
                return dpi;
        }
    return 96;
}

// ---- Fonts ----

int SheetLargePointSize(bool erlangeFont) {
    return erlangeFont ? 10 : 8;
}

int SheetSmallPointSize(bool erlangeFont) {
    return erlangeFont ? 9 : 7;
}

QFont SheetHorizontalFont(int pointSize, bool bold, int resolution) {
    QFont f = SheetCanvasFont(resolution);
    f.setPixelSize(pointsToPixels(pointSize, resolution));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

QFont SheetCanvasFont(int resolution) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pointsToPixels(8, resolution));
    f.setWeight(QFont::Normal);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    return f;
}

QFont SheetVerticalFont(TSheetFont which, bool large, int resolution) {
    // The six fonts by weight and character height in pixels: large semi-bold, small semi-bold,
    // large regular, large smaller, small regular, small smaller. A QFont is only a description, so
    // each call makes its own rather than keeping font objects beyond the application's life.
    struct Params {
        int weight;
        int height;
    };
    static constexpr std::array<Params, 6> fonts = {
        {{600, 13}, {600, 11}, {400, 13}, {400, 12}, {400, 11}, {400, 9}}};
    size_t index = large ? 0 : 1;
    if (which == sfVerticalRegular)
        index = large ? 2 : 4;
    else if (which == sfVerticalSmaller)
        index = large ? 3 : 5;
    QFont f = SheetCanvasFont();
    f.setWeight(QFont::Weight(fonts[index].weight));
    const int height = fonts[index].height;
    f.setPixelSize(resolution > 0 ? std::max(1, (height * resolution + kVerticalFontResolution / 2) /
                                                    kVerticalFontResolution)
                                  : height);
    return f;
}

QSize SheetTextExtent(const QFont& font, const QString& text) {
    const QFontMetricsF fm(font);
    // Whole pixels as the canvas measures them; the small allowance keeps an exact width exact.
    const int width = text.isEmpty() ? 0 : qCeil(fm.horizontalAdvance(text) - 1e-6);
    return QSize(width, qCeil(fm.ascent() - 1e-6) + qCeil(fm.descent() - 1e-6));
}

// ---- Layouts ----

QString CaptionLayoutName(TCaptionLayout layout) {
    switch (layout) {
    case clThreeHorizontal:
        return QStringLiteral("three horizontal lines");
    case clThreeVertical:
        return QStringLiteral("three vertical lines");
    case clTwoHorizontal:
        return QStringLiteral("two horizontal lines");
    case clTwoVertical:
        return QStringLiteral("two vertical lines");
    case clOneHorizontal:
        return QStringLiteral("one horizontal line");
    case clOneVertical:
        return QStringLiteral("one vertical line");
    }
    return {};
}

void LayoutCaptions(TCaptionBox& box, bool erlangeFont, const TSheetDrawingScale& scale) {
    box.CaptionsOn = box.CaptionsOn && !box.T3.isEmpty();
    std::vector<TCaptionLayout> order;
    if (box.MayBeUpright) {
        if (box.CaptionsOn)
            order = {clThreeHorizontal, clThreeVertical, clTwoHorizontal, clTwoVertical, clOneVertical};
        else
            order = {clTwoHorizontal, clTwoVertical, clOneVertical};
    } else {
        if (box.CaptionsOn)
            order = {clThreeHorizontal, clTwoHorizontal, clOneHorizontal};
        else
            order = {clTwoHorizontal, clOneHorizontal};
    }
    CaptionPlacer placer(box, erlangeFont, scale);
    for (TCaptionLayout layout : order)
        if (placer.fits(layout)) {
            placer.place(layout);
            return;
        }
}

TSchemeLayout LayoutImageScheme(const TCuttingSheet& sheet, const TSheetDrawingScale& scale) {
    TSchemeLayout out;
    DrawingSettings settings = drawingSettings();
    if (scale.Zoom > 0)
        settings.zoom = scale.Zoom;
    const TDimension* dim = sheet.Dimension();
    const Currency x = dim->X();
    const Currency y = dim->Y();
    if (y.raw() > 0)
        out.Scale =
            Currency::fromValue(std::min(static_cast<long double>(settings.zoom) / y.toValue(), kMaxScale));
    const Currency s = out.Scale;

    // A sheet much longer than its parts reach is drawn only a sheet's width past them.
    const Currency partsLength = LengthToUser(sheet.StoredPartsLength());
    out.Shortened = y < x - partsLength;
    out.ShownLength = out.Shortened ? partsLength + y : x;
    out.Frame = QSize(scaled(out.ShownLength, s), scaled(y, s));

    const TCSPartOutList* parts = sheet.Parts();
    for (int i = 0; i < parts->ItemCount(); ++i) {
        const TCSPartOut* p = parts->PartOut(i);
        TSchemeBox box;
        box.Index = i;
        box.Rect = QRect(scaled(LengthToUser(p->OX()), s), scaled(LengthToUser(p->OY()), s),
                         scaled(LengthToUser(p->X()), s), scaled(LengthToUser(p->Y()), s));
        box.MayBeUpright = p->Y() > p->X();
        box.T1 = QString::number(p->PartID());
        box.T2 = sizeText(p->X(), p->Y());
        box.T3 = p->Caption();
        box.CaptionsOn = settings.captions;
        LayoutCaptions(box, settings.erlangeFont, scale);
        out.Boxes.append(box);
    }

    const TSheets* container = owningSheets(sheet);
    const bool returned = container && container->RestReturned();
    const TCSDimOutList* rests = sheet.Rests();
    for (int i = 0; i < rests->ItemCount(); ++i) {
        const TCSDimOut* r = rests->Rest(i);
        const Currency ox = LengthToUser(r->OX());
        Currency width = LengthToUser(r->X());
        // A rest reaching past the drawn length is cut at the drawing's edge; one wholly beyond it
        // is not drawn.
        if (out.Shortened && ox + width > out.ShownLength)
            width = out.ShownLength - ox;
        if (width.raw() <= 0)
            continue;
        const Currency height = LengthToUser(r->Y());
        TSchemeBox box;
        box.IsRest = true;
        box.Index = i;
        box.Rect =
            QRect(scaled(ox, s), scaled(LengthToUser(r->OY()), s), scaled(width, s), scaled(height, s));
        box.MayBeUpright = height > width;
        box.T1 = returned ? r->Caption() : QStringLiteral("R");
        box.T2 = sizeText(r->X(), r->Y());
        LayoutCaptions(box, settings.erlangeFont, scale);
        out.Boxes.append(box);
    }
    return out;
}

TImageDimLayout LayoutImageDim(const TCuttingSheet& sheet) {
    TImageDimLayout out;
    const TDimension* dim = sheet.Dimension();
    const Currency x = dim->X();
    const Currency y = dim->Y();
    const Currency larger = std::max(x, y);
    Currency scale;
    if (larger.raw() > 0)
        scale = Currency::fromValue(static_cast<long double>(kDimSize) / larger.toValue());
    const int w = std::max(kDimMinimum, static_cast<int>((x * scale).raw() / Currency::Scale));
    const int h = std::max(kDimMinimum, static_cast<int>((y * scale).raw() / Currency::Scale));
    const int left = (kDimSize - w) / 2;
    const int top = (kDimSize - h) / 2;
    out.Frame = QRect(left, top, w, h);
    out.PatternArea = QRect(left + 1, top + 2, w - 2, h - 4);

    out.PatternName = QStringLiteral("PatternN");
    const TSheets* container = owningSheets(sheet);
    if (container && container->Material() && container->Material()->HasOrientation()) {
        if (dim->Orientation() == doX)
            out.PatternName = QStringLiteral("PatternX");
        else if (dim->Orientation() == doY)
            out.PatternName = QStringLiteral("PatternY");
    }
    return out;
}

QList<TImageParamRow> LayoutImageParams(const TCuttingSheet& sheet, int resolution) {
    const QFont font = SheetCanvasFont(resolution);
    const TDimension* dim = sheet.Dimension();
    const TSheets* container = owningSheets(sheet);
    const TOrder* order = FindOwnerOfClass<TOrder>(&sheet);
    const TMaterial* material = container ? container->Material() : nullptr;
    const auto* list = dynamic_cast<const TDataComponentList*>(sheet.Owner());

    struct Row {
        const char* key;
        std::optional<QString> value;
    };
    const std::array<Row, 10> rows = {{
        {"ImageParamsOrder", order ? std::optional<QString>(order->Caption()) : std::nullopt},
        {"ImageParamsMaterial", material ? std::optional<QString>(material->Caption()) : std::nullopt},
        {"ImageParamsCuttingSheet",
         list ? std::optional<QString>(sheet.GetPropAsString(QStringLiteral("Index")) + u'/' +
                                       QString::number(list->ItemCount()))
              : std::nullopt},
        {"ImageParamsDimCaption", dim->Caption()},
        // Length X before width Y, as the window and every list name a size.
        {"ImageParamsDimX", dim->GetPropAsString(QStringLiteral("X"))},
        {"ImageParamsDimY", dim->GetPropAsString(QStringLiteral("Y"))},
        {"ImageParamsDimCount", dim->GetPropAsString(QStringLiteral("Count"))},
        {"ImageParamsExtractBrutto", sheet.GetPropAsString(QStringLiteral("ExtractBrutto"))},
        {"ImageParamsExtractNetto", sheet.GetPropAsString(QStringLiteral("ExtractNetto"))},
        {"ImageParamsPartsLength", sheet.GetPropAsString(QStringLiteral("PartsLength"))},
    }};

    QList<TImageParamRow> out;
    int labelEnd = kParamsLabelEnd;
    int pitch = kParamsPitch;
    for (const Row& row : rows) {
        TImageParamRow r;
        r.LabelKey = QLatin1String(row.key);
        r.Label = makeText(GetText(kSection, r.LabelKey), font, sfHorizontal, false, 8);
        if (row.value)
            r.Value = makeText(*row.value, font, sfHorizontal, false, 8);
        labelEnd = std::max(labelEnd, r.Label.Extent.width());
        // Half a line between the rows, as the 20 pixels give the 8-point font on a screen.
        pitch = std::max(pitch, (r.Label.Extent.height() * 3 + 1) / 2);
        out.append(r);
    }
    int y = 0;
    for (TImageParamRow& r : out) {
        r.Label.Origin = {labelEnd - r.Label.Extent.width(), y};
        if (r.Value)
            r.Value->Origin = {labelEnd + kParamsValueGap, y};
        y += pitch;
    }
    return out;
}

QSize ImageParamsSize(const QList<TImageParamRow>& rows) {
    QSize size(kParamsSize, kParamsSize);
    for (const TImageParamRow& r : rows) {
        const QRect label(r.Label.Origin, r.Label.Extent);
        size = size.expandedTo(QSize(label.right() + 1, label.bottom() + 1));
        if (r.Value) {
            const QRect value(r.Value->Origin, r.Value->Extent);
            size = size.expandedTo(QSize(value.right() + 1, value.bottom() + 1));
        }
    }
    return size;
}

QSize SheetImageSize(const TCuttingSheet& sheet, const TSheetDrawingScale& scale) {
    return imageSize(QSize(kDimSize, kDimSize), ImageParamsSize(LayoutImageParams(sheet, scale.Resolution)),
                     LayoutImageScheme(sheet, scale).Frame + QSize(10, 10));
}

int SheetZoomToFit(const TCuttingSheet& sheet, QSize room, int resolution) {
    // The picture is the scheme plus the left column (the thumbnail or the parameter block, the
    // wider) and 40 pixels of margins; the scheme is 10 pixels larger than the drawn sheet, which is
    // the zoom high and the shown length at the zoom's scale wide.
    const int left = std::max(kDimSize, ImageParamsSize(LayoutImageParams(sheet, resolution)).width());
    const TSchemeLayout probe = LayoutImageScheme(sheet, {resolution, kDimSize});
    const long double y = LengthToUser(sheet.Dimension()->Y()).toValue();
    const long double shown = probe.ShownLength.toValue();
    long double zoom = room.height() - 30;
    if (shown > 0 && y > 0)
        zoom = std::min(zoom, (room.width() - left - 50) * y / shown);
    int fit = std::max(1, static_cast<int>(zoom));
    // The scheme's lengths are rounded one by one: step back while the picture is still too large.
    while (fit > 1) {
        const QSize size = SheetImageSize(sheet, {resolution, fit});
        if (size.width() <= room.width() && size.height() <= room.height())
            break;
        --fit;
    }
    return fit;
}

// ---- Pictures ----

QPicture GetImageDim(const TCuttingSheet& sheet) {
    const TImageDimLayout layout = LayoutImageDim(sheet);
    QPicture picture;
    QPainter p(&picture);
    beginPicture(p);
    drawRectangle(p, layout.Frame);
    const QImage pattern = FindPicture(layout.PatternName);
    const QRect area = layout.PatternArea.intersected(pattern.rect());
    if (!pattern.isNull() && !area.isEmpty())
        p.drawImage(area.topLeft(), pattern, area);
    endPicture(p, picture, QSize(kDimSize, kDimSize));
    return picture;
}

QPicture GetImageParams(const TCuttingSheet& sheet, int resolution) {
    const QList<TImageParamRow> rows = LayoutImageParams(sheet, resolution);
    QPicture picture;
    QPainter p(&picture);
    beginPicture(p);
    for (const TImageParamRow& row : rows) {
        drawText(p, row.Label);
        if (row.Value)
            drawText(p, *row.Value);
    }
    endPicture(p, picture, ImageParamsSize(rows));
    return picture;
}

QPicture GetImageScheme(const TCuttingSheet& sheet, const TSheetDrawingScale& scale) {
    const TSchemeLayout layout = LayoutImageScheme(sheet, scale);
    QPicture picture;
    QPainter p(&picture);
    beginPicture(p);
    drawRectangle(p, QRect(QPoint(0, 0), layout.Frame));
    p.setBrush(Qt::NoBrush);
    for (const TSchemeBox& box : layout.Boxes) {
        drawRectangle(p, box.Rect);
        for (const TSheetText& t : box.Texts)
            drawText(p, t);
    }
    endPicture(p, picture, layout.Frame + QSize(10, 10));
    return picture;
}

QPicture GetImage(const TCuttingSheet& sheet, const TSheetDrawingScale& scale) {
    const QPicture d = GetImageDim(sheet);
    const QPicture params = GetImageParams(sheet, scale.Resolution);
    const QPicture s = GetImageScheme(sheet, scale);
    const QSize dSize = d.boundingRect().size();
    const QSize pSize = params.boundingRect().size();
    const QSize size = imageSize(dSize, pSize, s.boundingRect().size());
    const int a = std::max(dSize.width(), pSize.width());

    QPicture picture;
    QPainter p(&picture);
    beginPicture(p);
    p.drawPicture((a - dSize.width()) / 2 + 10, 10, d);
    p.drawPicture((a - pSize.width()) / 2 + 10, dSize.height() + 30, params);
    p.drawPicture(a + 30, 10, s);
    endPicture(p, picture, size);
    return picture;
}

bool PictureTooLarge(const QRect& bounds) {
    return static_cast<qint64>(bounds.width()) * bounds.height() > kMaxPicturePixels;
}

QImage RenderSheetPicture(const QPicture& picture) {
    const QRect bounds = picture.boundingRect();
    if (bounds.isEmpty() || PictureTooLarge(bounds))
        return {};
    QImage image(bounds.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.drawPicture(-bounds.topLeft(), picture);
    p.end();
    return image;
}

bool WriteSheetPicture(const QPicture& picture, const QString& path, QString* error) {
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QRect bounds = picture.boundingRect();
    if (bounds.isEmpty())
        return fail(QStringLiteral("the picture is empty"));
    const QString suffix = QFileInfo(path).suffix().toLower();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (suffix == QLatin1String("png")) {
        if (PictureTooLarge(bounds))
            return fail(QStringLiteral(
                            "the picture would be %1 × %2 pixels, too large to draw (check the stock's size)")
                            .arg(bounds.width())
                            .arg(bounds.height()));
        if (!RenderSheetPicture(picture).save(&buffer, "PNG"))
            return fail(QStringLiteral("cannot encode the picture as PNG"));
    } else if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(bounds.size());
        svg.setViewBox(QRect(QPoint(0, 0), bounds.size()));
        svg.setResolution(DrawingResolution());
        QPainter p;
        if (!p.begin(&svg))
            return fail(QStringLiteral("cannot encode the picture as SVG"));
        p.fillRect(QRect(QPoint(0, 0), bounds.size()), Qt::white);
        p.drawPicture(-bounds.topLeft(), picture);
        p.end();
    } else {
        return fail(QStringLiteral("%1: unknown picture type (use .svg or .png)").arg(path));
    }
    buffer.close();
    QString reason;
    if (!WriteFileAtomically(path, bytes, &reason))
        return fail(reason.isEmpty() ? QStringLiteral("cannot write %1").arg(path) : reason);
    return true;
}

} // namespace lintaro
