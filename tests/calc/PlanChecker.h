#pragma once
// An independent check of a cutting plan, used on every calculation the tests run: every piece lies
// inside its sheet, no two overlap, the plan can be cut with guillotine cuts of the kerf's width,
// no cut is longer than MaxCut and every piece with a grain rule lies along the stock's grain.
// A plan that fails it is a fault of the search, never of the checker.
#include <cstdint>
#include <string>
#include <vector>

namespace lintaro::test {

struct CheckPiece {
    int64_t ox = 0, oy = 0, w = 0, h = 0; // raw mm (× 10 000)
    int grainRule = 0;                    // 0 none, 1 along X, 2 along Y (of the ordered part)
    bool rotated = false;
    // The ordered part's size, raw mm. A part may share its type with the part of the exchanged size
    // and crossed rule, so the grain is checked on the piece's extent along the stock's grain; 0:
    // checked on the rotation instead.
    int64_t partX = 0, partY = 0;
};

struct CheckSheet {
    int64_t x = 0, y = 0; // raw mm
    int grain = 0;        // 0 none, 1 X, 2 Y
    int64_t kerf = 0;
    int64_t maxCut = 0;
    std::vector<CheckPiece> pieces;
};

// Empty when the plan is sound, else what is wrong.
std::string CheckSheetPlan(const CheckSheet& sheet);

} // namespace lintaro::test
