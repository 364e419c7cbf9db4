#pragma once
// The built pages of a report: each page a list of output elements, placed and resolved when the run
// reached them. Preview, printer and exports draw these lists; none of them runs the report again.
#include "reports/SiReportElement.h"

#include <QImage>
#include <QPicture>
#include <QRect>
#include <QString>
#include <vector>

namespace lintaro {

// One placed element: its kind and box on the page (hundredths of an inch, from the printable
// area's top left corner), its text (lines separated by '\n') or picture, and the style of the
// template element it came from.
struct TVystPrvek {
    int Kind = ekText;
    QRect Box;
    QString Text;
    QImage Picture;
    // A named picture given as a vector drawing (OnNactiKresbu); drawn in place of Picture.
    QPicture Drawing;
    TSiReportElement Style;
    // Rich text cut across pages: how far down its content this part starts, hundredths of an inch.
    int TextOffset = 0;
    // Multi-line text: the distance between its lines, hundredths of an inch; 0 takes the font's.
    int LinePitch = 0;
};

struct TStranaPrvku {
    std::vector<TVystPrvek> Prvky;
};

class TSestVystup {
public:
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TStranaPrvku& Page(int index) { return pages_[static_cast<size_t>(index)]; }
    const TStranaPrvku& Page(int index) const { return pages_[static_cast<size_t>(index)]; }
    TStranaPrvku& AddPage() { return pages_.emplace_back(); }
    void Clear() { pages_.clear(); }

    // One line per output element: 1-based page, kind, box as left,top,width,height, and the text
    // with its line breaks shown as "|".
    QString Dump() const;

private:
    std::vector<TStranaPrvku> pages_;
};

} // namespace lintaro
