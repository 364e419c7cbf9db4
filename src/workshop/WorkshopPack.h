#pragma once
// The workshop pack of a calculated order: a cover page, one full-page diagram per distinct plan
// with its cut list and cut sequence under it (continued on pages of their own when they are
// long), the offcut list, and the labels for every piece and every rest. The pages are laid out
// once and painted with one painter for the screen, PDF and printers (PackCanvas's units).
// Needs a QGuiApplication (fonts). Nothing throws.
#include "workshop/PackCanvas.h"
#include "workshop/PackData.h"

#include <QDate>
#include <QSizeF>

#include <functional>
#include <vector>

QT_BEGIN_NAMESPACE
class QImage;
QT_END_NAMESPACE

namespace lintaro::workshop {

enum TPackPaper { ppA4, ppA3, ppLetter };
enum TLabelStock { lsNone, lsA4_3x8, lsA4_2x7, lsRoll62x29, lsRoll100x50 };

struct TPackOptions {
    TPackPaper Paper = ppA4;
    TLabelStock Labels = lsA4_3x8;
    bool Sequence = true; // the cut sequence on the diagrams and in their tables
    QDate Date;           // printed on the cover and the rest labels; invalid: today
};

// The paper's size in millimetres, portrait.
QSizeF PaperSizeMm(TPackPaper paper);

struct TPackPage {
    QSizeF SizeMm; // as it is printed: landscape pages are wider than high
    QString Title; // for the table of contents
    bool InContents = true;
    std::function<void(TPackCanvas&)> Paint;
};

class TWorkshopPack {
public:
    TWorkshopPack(const TOrder& order, const TPackOptions& options);
    // The pages refer to the pack's own data.
    TWorkshopPack(const TWorkshopPack&) = delete;
    TWorkshopPack& operator=(const TWorkshopPack&) = delete;

    int PageCount() const { return int(pages_.size()); }
    // Why the pack has no pages (an order asking for more sheets than a pack is made for); empty
    // when it has them.
    QString Problem() const;
    const TPackPage& Page(int index) const { return pages_[size_t(index)]; }
    // Paints page `index` on a painter whose unit is already 0.1 mm from the page's top left.
    void PaintPage(int index, QPainter& painter, QList<TDrawnText>* log = nullptr) const;
    const TPackData& Data() const { return data_; }
    const TPackOptions& Options() const { return options_; }

private:
    void addCover();
    void addDiagrams();
    void addOffcuts();
    void addLabels();

    TPackData data_;
    TPackOptions options_;
    std::vector<TPackPage> pages_;
};

// The text a label's barcode holds: order number, part ID and piece number ("K-2024-17/12/3").
QString PieceBarcodeText(const QString& orderNumber, int partID, int piece);

} // namespace lintaro::workshop
