// The grain patterns of the cutting-sheet thumbnail. The thumbnail copies the area of its inner
// rectangle out of the same place of the picture, so each pattern covers the whole 110 × 110 square.
#include "Catalogue.h"

namespace lintaro::tools {

namespace {

constexpr int kSize = 110;
constexpr int kSpacing = 7;
const QColor kBoard(243, 231, 207);
const QColor kGrain(176, 141, 87);

void plain(QPainter& p, const QRect& area) {
    p.fillRect(area, kBoard);
}

// Hatching along the grain: lines at a shallow slope (one across for three along) in the grain's
// direction.
void hatched(QPainter& p, const QRect& area, bool alongX) {
    plain(p, area);
    p.setPen(QPen(kGrain, 1));
    // Each line passes through a point of the left (top) edge, kSpacing apart, running three steps
    // along the grain for one step across.
    const int n = area.width() + area.height();
    for (int k = -n; k < 2 * n; k += kSpacing) {
        if (alongX)
            p.drawLine(area.left() - 3 * n, area.top() + k + n, area.left() + 3 * n, area.top() + k - n);
        else
            p.drawLine(area.left() + k + n, area.top() - 3 * n, area.left() + k - n, area.top() + 3 * n);
    }
}

} // namespace

void AddPatternPictures(TPictureSources& sources) {
    const QSize size(kSize, kSize);
    sources.push_back(
        {QStringLiteral("PatternX"), size, [](QPainter& p, const QRect& a) { hatched(p, a, true); }});
    sources.push_back(
        {QStringLiteral("PatternY"), size, [](QPainter& p, const QRect& a) { hatched(p, a, false); }});
    sources.push_back({QStringLiteral("PatternN"), size, plain});
}

} // namespace lintaro::tools
