#pragma once
// The labels of the workshop pack: one per piece to be cut (every piece of every sheet, so a plan
// cut on three sheets gives three labels for each of its pieces), then one per rest returned to
// stock. A piece's label holds the order, the customer, the part's number and caption, its finished
// length × width, the grain arrow, the sheet number and a Code 128 barcode of order, part and piece
// number; a rest's label holds the material, its size, the sheet and the date. Label sheets (A4
// 3 × 8, A4 2 × 7) take many labels a page; roll labels are one label a page of the label's size.
#include "workshop/WorkshopPack.h"

namespace lintaro::workshop {

struct TLabelGeometry {
    QSizeF Page;   // mm
    QSizeF Label;  // mm
    QPointF First; // top left of the first label, mm
    QSizeF Pitch;  // from one label to the next, mm
    int Columns = 1, Rows = 1;
};
TLabelGeometry LabelGeometry(TLabelStock stock);

struct TPackLabel {
    bool Rest = false;
    int PartID = 0;
    int Piece = 0;        // 1-based, counted over the whole order per part
    int Sheet = 0;        // physical sheet number
    int64_t X = 0, Y = 0; // the part's own width X and length Y (a rest: as it lies), raw mm
    QString Caption;
    bool Grain = false;            // the part has a grain rule on a sheet with grain
    bool GrainAlongLength = false; // the rule keeps the part's length (Y) along the grain
    QString Barcode;
};
QList<TPackLabel> PackLabels(const TPackData& data);

std::vector<TPackPage> MakeLabelPages(const TPackData& data, const TPackOptions& options);

} // namespace lintaro::workshop
