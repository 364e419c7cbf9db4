#include "reports/OrvelCanvas.h"

#include "foundation/TextFile.h"
#include "reports/Barcode.h"
#include "reports/PaperFormat.h"
#include "reports/ReportPictures.h"
#include "reports/RichText.h"
#include "reports/SestavaTyp.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace lintaro {

TOrvelCanvas::TOrvelCanvas(QPainter& painter, const QPaintDevice& device) : painter_(painter) {
    painter_.scale(device.logicalDpiX() / 100.0, device.logicalDpiY() / 100.0);
}

TOrvelCanvas::TOrvelCanvas(QPainter& painter) : painter_(painter) {}

QColor TOrvelCanvas::PaletteColor(int index) {
    static const QRgb palette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                     0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    return index >= 0 && index < 16 ? QColor(palette[index]) : QColor(Qt::black);
}

QFont TOrvelCanvas::ScaledFont(const TSiReportElement& element) {
    QFont font(element.FontName.isEmpty() ? QStringLiteral("Sans Serif") : element.FontName);
    const double units = std::max(1.0, element.FontPoints()) * 100.0 / 72.0;
    font.setPixelSize(std::max(1, qRound(units * kFontScale)));
    font.setBold(element.FontStyle & 1);
    font.setItalic(element.FontStyle & 2);
    font.setUnderline(element.FontStyle & 4);
    font.setStrikeOut(element.FontStyle & 8);
    if (element.Spacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, element.Spacing * kFontScale);
    return font;
}

void TOrvelCanvas::DrawPage(const TStranaPrvku& page) {
    for (const TVystPrvek& element : page.Prvky)
        DrawElement(element);
}

namespace {

Qt::PenStyle penStyle(int style) {
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle brushStyle(int style) {
    static const Qt::BrushStyle styles[8] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                             Qt::VerPattern,   Qt::FDiagPattern,    Qt::BDiagPattern,
                                             Qt::CrossPattern, Qt::DiagCrossPattern};
    return style >= 0 && style < 8 ? styles[style] : Qt::SolidPattern;
}

} // namespace

void TOrvelCanvas::DrawElement(const TVystPrvek& element) {
    const TSiReportElement& s = element.Style;
    const QRect& box = element.Box;
    painter_.save();
    if (s.IsTextKind()) {
        drawText(element);
    } else if (s.IsGraphicKind()) {
        // A line wider than one unit is always solid.
        QPen pen(PaletteColor(s.PenColor), std::max(1, s.PenWidth),
                 s.PenWidth > 1 && s.Kind == ekLine ? Qt::SolidLine : penStyle(s.PenStyle));
        painter_.setPen(pen);
        painter_.setBrush(QBrush(PaletteColor(s.BrushColor), brushStyle(s.BrushStyle)));
        switch (s.Kind) {
        case ekLine:
            painter_.drawLine(box.left(), box.top(), box.left() + box.width(), box.top());
            break;
        case ekRectangle:
            painter_.drawRect(box);
            break;
        case ekRoundRect:
            painter_.drawRoundedRect(box, 10, 10);
            break;
        case ekEllipse:
            painter_.drawEllipse(box);
            break;
        case ekPicture:
        case ekPaintBox:
            drawPicture(element);
            break;
        case ekBarcode: {
            TBarcodeOptions options;
            options.Type = s.PenStyle;
            options.Step = s.PenWidth - 4;
            options.CheckDigit = s.DrawFlags & efStretch;
            options.ShowText = s.DrawFlags & efKeepAspect;
            options.Angle = s.Angle;
            DrawBarcode(painter_, box, element.Text, options);
            break;
        }
        default:
            break;
        }
    }
    painter_.restore();
    drawFrame(element);
}

void TOrvelCanvas::drawText(const TVystPrvek& element) {
    const TSiReportElement& s = element.Style;
    if (s.Alignment & eaRichText) {
        TRichText::Shared(s, element.Text, element.Box.width())
            ->Draw(painter_, element.Box, element.TextOffset, s.FontColor);
        return;
    }
    const QRectF box = element.Box;
    painter_.setPen(PaletteColor(s.FontColor));
    painter_.setFont(ScaledFont(s));
    painter_.translate(box.topLeft());
    if (s.Angle != 0)
        painter_.rotate(-s.Angle / 10.0);
    painter_.scale(1.0 / kFontScale, 1.0 / kFontScale);
    const QFontMetricsF metrics(painter_.font());
    const double width = box.width() * kFontScale;
    const double lineHeight = std::max<double>(metrics.height(), element.LinePitch * kFontScale);
    const int horizontal = s.Alignment & eaHorizontalMask;
    const QStringList lines = element.Text.split(u'\n');
    double y = 0;
    for (qsizetype i = 0; i < lines.size(); ++i, y += lineHeight) {
        const QString& line = lines[i];
        const bool justify = (s.Alignment & eaJustify) && i + 1 < lines.size() && line.contains(u' ');
        if (justify) {
            const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
            double used = 0;
            for (const QString& w : words)
                used += metrics.horizontalAdvance(w);
            const double gap = words.size() > 1 ? (width - used) / (words.size() - 1) : 0;
            double x = 0;
            for (const QString& w : words) {
                painter_.drawText(QPointF(x, y + metrics.ascent()), w);
                x += metrics.horizontalAdvance(w) + gap;
            }
            continue;
        }
        const double advance = metrics.horizontalAdvance(line);
        const double x = horizontal == eaRight    ? width - advance
                         : horizontal == eaCenter ? (width - advance) / 2
                                                  : 0;
        painter_.drawText(QPointF(x, y + metrics.ascent()), line);
    }
}

void TOrvelCanvas::drawFrame(const TVystPrvek& element) {
    const int flags = element.Style.IsTextKind() ? element.Style.Flags2 : element.Style.DrawFlags;
    if ((flags & 15) == 0)
        return;
    const QRect& b = element.Box;
    const int r = b.left() + b.width();
    const int bottom = b.top() + b.height();
    painter_.save();
    painter_.setPen(QPen(Qt::black, 0));
    if (flags & efFrameLeft)
        painter_.drawLine(b.left(), b.top(), b.left(), bottom);
    if (flags & efFrameTop)
        painter_.drawLine(b.left(), b.top(), r, b.top());
    if (flags & efFrameRight)
        painter_.drawLine(r, b.top(), r, bottom);
    if (flags & efFrameBottom)
        painter_.drawLine(b.left(), bottom, r, bottom);
    painter_.restore();
}

void TOrvelCanvas::drawPicture(const TVystPrvek& element) {
    if (!element.Drawing.isNull()) {
        drawDrawing(element);
        return;
    }
    const QImage& picture = element.Picture;
    if (picture.isNull())
        return;
    const QRect& box = element.Box;
    const int flags = element.Style.DrawFlags;
    if (element.Kind == ekPaintBox || (flags & efStretch)) {
        QRectF target = box;
        if (element.Kind != ekPaintBox && (flags & efKeepAspect)) {
            const QSizeF size = QSizeF(picture.size()).scaled(box.size(), Qt::KeepAspectRatio);
            target = QRectF(box.topLeft(), size);
        }
        painter_.drawImage(target, picture);
    } else {
        // At its own size: its pixels at its own resolution.
        const double dpi = picture.dotsPerMeterX() > 0 ? picture.dotsPerMeterX() * 0.0254 : 96.0;
        painter_.drawImage(QRectF(box.topLeft(), QSizeF(picture.width(), picture.height()) * (100.0 / dpi)),
                           picture);
    }
}

void TOrvelCanvas::drawDrawing(const TVystPrvek& element) {
    const QRect bounds = element.Drawing.boundingRect();
    if (bounds.isEmpty())
        return;
    const QRect& box = element.Box;
    // Stretched into the box like a picture; otherwise at 100 of its units per inch.
    QSizeF size(bounds.width(), bounds.height());
    if (element.Style.DrawFlags & efStretch)
        size = size.scaled(box.size(), (element.Style.DrawFlags & efKeepAspect) ? Qt::KeepAspectRatio
                                                                                : Qt::IgnoreAspectRatio);
    painter_.save();
    painter_.setClipRect(box);
    painter_.translate(box.topLeft());
    painter_.scale(size.width() / bounds.width(), size.height() / bounds.height());
    // A picture replayed on a device of another resolution scales itself by the ratio: undone here,
    // the box alone decides its size.
    if (const QPaintDevice* device = painter_.device();
        device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter_.scale(double(element.Drawing.logicalDpiX()) / device->logicalDpiX(),
                       double(element.Drawing.logicalDpiY()) / device->logicalDpiY());
    painter_.drawPicture(-bounds.topLeft(), element.Drawing);
    painter_.restore();
}

QPicture PageAsPicture(const TSestVystup& output, int index) {
    QPicture picture;
    if (index < 0 || index >= output.PageCount())
        return picture;
    QPainter painter(&picture);
    TOrvelCanvas(painter).DrawPage(output.Page(index));
    painter.end();
    return picture;
}

QImage PageImage(const TSestVystup& output, int index, const TPageSetup& page,
                 const TPageBackground* background, int scale) {
    if (index < 0 || index >= output.PageCount())
        return {};
    QImage image(PaperSize(page).expandedTo(QSize(1, 1)) * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    if (background && !background->IsEmpty())
        DrawBackground(painter, *background);
    painter.translate(page.Left, page.Top);
    TOrvelCanvas(painter).DrawPage(output.Page(index));
    return image;
}

bool ExportPdf(const TSestVystup& output, const TPageSetup& page, const QString& fileName,
               const QString& title, QString& error, int first, int last, const TPageBackground* background) {
    first = std::max(first, 1);
    last = std::min(last, output.PageCount());
    const bool landscape = page.Orientation == 1;
    auto cannotWrite = [&](const QString& reason) {
        error = QStringLiteral("Soubor %1 nelze zapsat.").arg(fileName);
        if (!reason.isEmpty())
            error += u' ' + reason;
        return false;
    };
    // Written aside and put in place only when complete: a full disk or a failing device leaves the
    // previous file as it was, never a cut-off PDF.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Lintaro"));
        writer.setResolution(1200);
        writer.setPageLayout(
            QPageLayout(QPageSize(QSizeF(page.Width / 100.0, page.Height / 100.0), QPageSize::Inch),
                        landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            return cannotWrite({});
        TOrvelCanvas canvas(painter, writer);
        for (int p = first; p <= last; ++p) {
            if (p > first)
                writer.newPage();
            if (background && background->Print)
                DrawBackground(painter, *background);
            painter.save();
            painter.translate(page.Left, page.Top);
            canvas.DrawPage(output.Page(p - 1));
            painter.restore();
        }
        if (!painter.end())
            return cannotWrite({});
    }
    QString reason;
    if (!WriteFileAtomically(fileName, bytes, &reason))
        return cannotWrite(reason);
    return true;
}

} // namespace lintaro
