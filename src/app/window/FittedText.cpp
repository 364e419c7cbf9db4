#include "app/window/FittedText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include <algorithm>

namespace lintaro {

QFont FittedFont(const QFont& font, const QString& text, int width, int alignment) {
    if (!(alignment & Qt::AlignRight) || QFontMetrics(font).horizontalAdvance(text) <= width)
        return font;
    const bool points = font.pointSizeF() > 0;
    const double size = points ? font.pointSizeF() : font.pixelSize();
    QFont smaller = font;
    // Steps of a twentieth of the size, so that the text stays as large as the room allows.
    for (int step = 1; 1.0 - 0.05 * step >= kSmallestTextScale - 1e-9; ++step) {
        const double scale = 1.0 - 0.05 * step;
        if (points)
            smaller.setPointSizeF(size * scale);
        else
            smaller.setPixelSize(std::max(1, int(size * scale)));
        if (QFontMetrics(smaller).horizontalAdvance(text) <= width)
            break;
    }
    return smaller;
}

void DrawFittedText(QPainter& painter, const QRect& area, int alignment, const QString& text,
                    Qt::TextElideMode elide) {
    const QFont original = painter.font();
    painter.setFont(FittedFont(original, text, area.width(), alignment));
    painter.drawText(area, alignment, painter.fontMetrics().elidedText(text, elide, area.width()));
    painter.setFont(original);
}

} // namespace lintaro
