#pragma once
// Exact integer rounding shared by the sheet search and the improvement stage, so that both rank
// rests and areas by the same keys.
#include <cstdint>

namespace lintaro {

// num / den rounded to the nearest integer, ties to even; num ≥ 0, den > 0.
inline int64_t DivRound(int64_t num, int64_t den) {
    int64_t q = num / den;
    const int64_t rem = num % den;
    if (2 * rem > den || (2 * rem == den && (q & 1)))
        ++q;
    return q;
}

// round4(X × Y) in mm², raw: the rest order of the search.
inline int64_t RestAreaKey(int64_t x, int64_t y) {
    return DivRound(x * y, 10000);
}

} // namespace lintaro
