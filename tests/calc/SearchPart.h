#pragma once
// A part type for the sheet layouts' tests, its sides in millimetres.
#include "calc/SheetSearch.h"

namespace lintaro::test {

inline TSearchPartType SearchPart(int id, double x, double y, int count, TCSPartInOrientation o = cspioNone) {
    TSearchPartType t;
    t.id = id;
    t.x = static_cast<int64_t>(x * 10000 + (x >= 0 ? 0.5 : -0.5));
    t.y = static_cast<int64_t>(y * 10000 + (y >= 0 ? 0.5 : -0.5));
    t.count = count;
    t.orientation = o;
    return t;
}

} // namespace lintaro::test
