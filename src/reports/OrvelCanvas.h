#pragma once
// Drawing of built pages. The canvas works in hundredths of an inch on any device: the painter is
// scaled to the device's resolution and fonts are sized in those units, so a font of N points
// measures N/72 inch on the page whatever the device or screen. Pages are replayed from their
// element lists into a QPicture (our page metafile), a PDF file or any other paint device.
#include "reports/SestVystup.h"

#include <QFont>
#include <QPicture>

QT_BEGIN_NAMESPACE
class QPainter;
class QPaintDevice;
QT_END_NAMESPACE

namespace lintaro {

struct TPageSetup;
struct TPageBackground;

class TOrvelCanvas {
public:
    // Fonts are set this many times larger and drawn scaled down, so that their sizes keep a tenth
    // of a unit of precision.
    static constexpr int kFontScale = 8;

    // painter's unit becomes a hundredth of an inch on device (which painter is active on).
    TOrvelCanvas(QPainter& painter, const QPaintDevice& device);
    explicit TOrvelCanvas(QPainter& painter); // the painter already draws in hundredths of an inch

    // Draws every element of page, positions relative to the printable area's top left corner.
    void DrawPage(const TStranaPrvku& page);
    void DrawElement(const TVystPrvek& element);

    // The element's font at kFontScale times the canvas unit.
    static QFont ScaledFont(const TSiReportElement& element);
    // Palette index 0–15 as a colour; anything else is black.
    static QColor PaletteColor(int index);

private:
    void drawText(const TVystPrvek& element);
    void drawFrame(const TVystPrvek& element);
    void drawPicture(const TVystPrvek& element);
    void drawDrawing(const TVystPrvek& element);
    QPainter& painter_;
};

// The page as our metafile: a picture in hundredths of an inch, empty past the last page.
QPicture PageAsPicture(const TSestVystup& output, int index);

// The page on white paper of the page set-up's size, scale pixels per unit, over the background when
// one is given; a null image past the last page.
QImage PageImage(const TSestVystup& output, int index, const TPageSetup& page,
                 const TPageBackground* background = nullptr, int scale = 1);

// Writes pages first..last (1-based, clamped) to a PDF file with the page set-up's paper and margins
// and title as the document title. False with a reason when the file could not be written; the file
// is replaced only once the whole PDF has reached the disk, so a failure keeps the previous one.
// A background whose printing is enabled is drawn under every page.
bool ExportPdf(const TSestVystup& output, const TPageSetup& page, const QString& fileName,
               const QString& title, QString& error, int first = 1, int last = 9999,
               const TPageBackground* background = nullptr);

} // namespace lintaro
