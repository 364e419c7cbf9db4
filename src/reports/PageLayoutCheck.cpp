#include "reports/PageLayoutCheck.h"

#include "reports/OddilSestavy.h"
#include "reports/PaperFormat.h"
#include "reports/SestavaTyp.h"

#include <QSize>
#include <algorithm>

namespace lintaro {

namespace {

qint64 visibleHeight(const TOddilSestavy& section) {
    return section.Visible ? std::max(0, section.Height) : 0;
}

} // namespace

QString PageLayoutProblem(const TSestavaTyp& report) {
    const TPageSetup& page = report.PageSetup;
    const QSize paper = PaperSize(page);
    if (paper.width() <= 0 || paper.height() <= 0)
        return QStringLiteral("Rozměry stránky (%1 × %2 setin palce) nejsou platné.")
            .arg(paper.width())
            .arg(paper.height());
    // Widened: the margins of a damaged template may add up beyond an int.
    const qint64 width = qint64(paper.width()) - page.Left - page.Right;
    const qint64 height = qint64(paper.height()) - page.Top - page.Bottom;
    if (width <= 0 || height <= 0)
        return QStringLiteral("Okraje stránky (%1, %2, %3, %4 setin palce) se na stránku %5 × %6 nevejdou.")
            .arg(page.Left)
            .arg(page.Top)
            .arg(page.Right)
            .arg(page.Bottom)
            .arg(paper.width())
            .arg(paper.height());
    const qint64 head = visibleHeight(report.Oddily().Item(stPageHead));
    const qint64 foot = visibleHeight(report.Oddily().Item(stPageFoot));
    if (head + foot >= height)
        return QStringLiteral("Hlavička a patička stránky (%1 a %2 setin palce) jsou vyšší než tisknutelná "
                              "plocha stránky (%3 setin palce); na stránku se nevejde žádný řádek.")
            .arg(head)
            .arg(foot)
            .arg(height);
    return {};
}

} // namespace lintaro
