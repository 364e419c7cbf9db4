#pragma once
// Text drawn into a cell or field too narrow for it. A number cut short ("135…" for 1357.5) reads
// as another number, so a right-aligned text (the numbers) that does not fit is drawn a little
// smaller first; only what does not fit even then is elided. Other texts are elided at their size.
#include <QFont>
#include <QString>
#include <Qt>

QT_BEGIN_NAMESPACE
class QPainter;
class QRect;
QT_END_NAMESPACE

namespace lintaro {

// The smallest size a text is drawn at, as a share of the painter's font.
constexpr double kSmallestTextScale = 0.75;

// The font `text` is drawn in within `width`: `font`, or, aligned right and too wide, the largest
// of its sizes down to kSmallestTextScale in which it fits (the smallest when none does).
QFont FittedFont(const QFont& font, const QString& text, int width, int alignment);

// Draws `text` into `area` with the painter's font, or, aligned right, smaller down to
// kSmallestTextScale so that it fits; a text too wide even then is elided with `elide`.
void DrawFittedText(QPainter& painter, const QRect& area, int alignment, const QString& text,
                    Qt::TextElideMode elide);

} // namespace lintaro
