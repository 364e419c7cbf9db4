#pragma once
// The drawings of a cutting sheet: a thumbnail of the stock dimension with its grain pattern, the
// block of labelled parameters, the scheme (a scaled plan of the sheet with every placed part and
// rest outlined and labelled), and the whole picture with the three side by side.
//
// Every Get… function returns a new picture (a QPicture value, owned by the caller) whose bounding
// rectangle is the picture's size, in pixels of the reference device (x to the right, y downwards).
// The Layout… functions compute what the pictures draw: rectangles, the caption layout chosen for
// each rectangle and every text with its font and place; the pictures paint exactly these layouts,
// so the window, the printers and the tests see the same decisions.
//
// Needs a QGuiApplication (fonts). Nothing throws. A sheet without an owning order or sheets
// container draws the parameter labels without the missing values, the thumbnail with the plain
// pattern and its rests labelled "R"; a missing pattern picture leaves the thumbnail white.
#include "foundation/Currency.h"

#include <QFont>
#include <QList>
#include <QPicture>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

class QImage;

namespace lintaro {

class TCuttingSheet;

// ---- Reference device --------------------------------------------------------------------------

// Answers the reference device's resolution in dots per inch, or 0 when it has none (no printer
// installed, or asking for it failed).
using TDrawingResolutionSource = std::function<int()>;
// The print layer registers the default printer here; an empty source removes it.
void SetDrawingResolutionSource(TDrawingResolutionSource source);
// The registered source's answer when above 0, else the primary screen's logical resolution, else 96.
int DrawingResolution();

// How large a cutting sheet is drawn. The defaults draw for the window: fonts sized for the drawing
// resolution and the scheme at the settings' zoom. The sheets printer draws for the page: fonts sized
// for the resolution at which a strip fills the page's width, and a larger scheme where one fits.
struct TSheetDrawingScale {
    int Resolution = 0;        // dots per inch the fonts are sized for; 0: DrawingResolution()
    int Zoom = 0;              // pixels the dimension's Y is drawn high; 0: the settings' zoom
    int SmallestPointSize = 5; // a single label too high for its part shrinks down to this size
};

// ---- Fonts --------------------------------------------------------------------------------------

enum TSheetFont { sfHorizontal, sfVerticalSemiBold, sfVerticalRegular, sfVerticalSmaller };

// The canvas font: "Arial" at a point size converted with the resolution (0: the reference
// resolution), bold or regular.
QFont SheetHorizontalFont(int pointSize, bool bold, int resolution = 0);
// The default font of the drawing canvas (the parameter block's texts): "Arial" 8 points.
QFont SheetCanvasFont(int resolution = 0);
// One of the six fonts for text written upwards (the font itself is upright; the drawing rotates it):
// the large set with `large`, else the small set. sfHorizontal gives the semi-bold one. Their
// heights are fixed pixels; for a given resolution they are pixels at 96 dpi, scaled to it.
QFont SheetVerticalFont(TSheetFont which, bool large, int resolution = 0);
// The horizontal point sizes L and S of the settings' font choice.
int SheetLargePointSize(bool erlangeFont);
int SheetSmallPointSize(bool erlangeFont);
// A text's extent (its width along the text × the font's height) in whole pixels.
QSize SheetTextExtent(const QFont& font, const QString& text);

// ---- Layouts ------------------------------------------------------------------------------------

// One drawn text. A horizontal text's origin is its top-left corner; a vertical text is drawn from
// its origin upwards: the origin is the bottom-left corner of the rotated text.
struct TSheetText {
    QString Text;
    QPoint Origin;
    TSheetFont Kind = sfHorizontal;
    bool Bold = false; // horizontal texts
    int PointSize = 0; // horizontal texts
    QFont Font;        // ready to paint, upright
    QSize Extent;      // width along the text × height, pixels
    bool Vertical() const { return Kind != sfHorizontal; }
};

// The caption layouts, named by their lines.
enum TCaptionLayout {
    clThreeHorizontal,
    clThreeVertical,
    clTwoHorizontal,
    clTwoVertical,
    clOneHorizontal,
    clOneVertical
};
QString CaptionLayoutName(TCaptionLayout layout);

// A rectangle of width w and height h (pixels) with labels T1 (bold), T2 and T3, the caption shown
// only when captionsOn. mayBeUpright: the rectangle is higher than wide on the sheet.
struct TCaptionBox {
    QRect Rect;
    bool MayBeUpright = false;
    QString T1, T2, T3;
    bool CaptionsOn = false;
    TCaptionLayout Layout = clOneHorizontal;
    QList<TSheetText> Texts;
};
// Chooses the first layout whose fit test passes and places its texts, with the horizontal sizes and
// vertical font set of the settings' font choice.
void LayoutCaptions(TCaptionBox& box, bool erlangeFont, const TSheetDrawingScale& scale = {});

struct TSchemeBox : TCaptionBox {
    bool IsRest = false;
    int Index = 0; // position in the sheet's part or rest list
};

struct TSchemeLayout {
    Currency Scale;       // pixels per length unit, four decimals
    Currency ShownLength; // the drawn length along X, user's length unit
    bool Shortened = false;
    QSize Frame;             // the drawn sheet; the picture is 10 pixels larger each way
    QList<TSchemeBox> Boxes; // placed parts, then rests, in list order
};
TSchemeLayout LayoutImageScheme(const TCuttingSheet& sheet, const TSheetDrawingScale& scale = {});

struct TImageDimLayout {
    QRect Frame;       // the dimension's rectangle in the 110 × 110 square
    QRect PatternArea; // the inner area filled from the same area of the pattern picture
    QString PatternName;
};
TImageDimLayout LayoutImageDim(const TCuttingSheet& sheet);

// The rows are 20 pixels apart and the labels end at x = 60, the values beginning 5 pixels further;
// larger fonts move the rows apart and the values right, so that no label runs out of the block.
struct TImageParamRow {
    QString LabelKey;                // key in section "TSheets" of the texts
    TSheetText Label;                // ends at the label column's right edge
    std::optional<TSheetText> Value; // 5 pixels right of it; none when its object does not exist
};
QList<TImageParamRow> LayoutImageParams(const TCuttingSheet& sheet, int resolution = 0);
// The parameter block's size: 200 × 200, or more where its texts need it.
QSize ImageParamsSize(const QList<TImageParamRow>& rows);

// The size GetImage gives the whole picture, from the layouts alone.
QSize SheetImageSize(const TCuttingSheet& sheet, const TSheetDrawingScale& scale = {});
// The largest zoom at which the whole picture fits in width × height pixels, at least 1.
int SheetZoomToFit(const TCuttingSheet& sheet, QSize room, int resolution = 0);

// ---- Pictures -----------------------------------------------------------------------------------

// The whole picture: the thumbnail and the parameter block above each other, the scheme beside them.
QPicture GetImage(const TCuttingSheet& sheet, const TSheetDrawingScale& scale = {});
// 110 × 110.
QPicture GetImageDim(const TCuttingSheet& sheet);
// ImageParamsSize of its rows.
QPicture GetImageParams(const TCuttingSheet& sheet, int resolution = 0);
QPicture GetImageScheme(const TCuttingSheet& sheet, const TSheetDrawingScale& scale = {});

// True when a picture of these bounds has more pixels than a drawing may allocate.
bool PictureTooLarge(const QRect& bounds);
// The picture painted on white, the size of its bounding rectangle; a null image when it is empty
// or too large.
QImage RenderSheetPicture(const QPicture& picture);
// Writes the picture as PNG or SVG, chosen by the extension of path (".png", ".svg", any case),
// atomically. False with a reason in *error (when given) for another extension or a failed write.
bool WriteSheetPicture(const QPicture& picture, const QString& path, QString* error);

} // namespace lintaro
