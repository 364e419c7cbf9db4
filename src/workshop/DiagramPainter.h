#pragma once
// The full-size diagram of one plan: the stock with its waste shaded, every piece outlined with its
// number, finished size and (where it fits) caption, grain arrows and turned marks, the reusable
// rests hatched and labelled, the dimension chains of the first-stage cuts along the sheet's edges
// and, with the sequence, every cut's line and number. Texts never go under 6 pt and never overlap
// each other; a piece too small for any text at 6 pt is listed in Unnumbered.
#include "workshop/PackCanvas.h"
#include "workshop/PackData.h"

namespace lintaro::workshop {

struct TDiagramResult {
    QList<int> Unnumbered; // positions in the sheet's part list
};

// The drawn sheet's scale (page units per stored raw unit) for a plan drawn into area.
double DiagramScale(const TPackPlan& plan, const QRectF& area);
TDiagramResult PaintDiagram(TPackCanvas& canvas, const QRectF& area, const TPackData& data,
                            const TPackPlan& plan, bool sequence);

} // namespace lintaro::workshop
