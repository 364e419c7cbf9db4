#pragma once
// Grain rules inside a calculation: of a part type and of a free rectangle of stock.
namespace lintaro {

enum TCSPartInOrientation { cspioNone = 0, cspioX = 1, cspioY = 2 };
enum TCSDimOutOrientation { csdooNone = 0, csdooX = 1, csdooY = 2 };

// Whether a piece of grain `p` may lie on stock of grain `s` straight (its X along the stock's X),
// or turned.
inline bool StraightAllowed(TCSPartInOrientation p, TCSDimOutOrientation s) {
    return p == cspioNone || s == csdooNone || (p == cspioX && s == csdooX) || (p == cspioY && s == csdooY);
}
inline bool TurnedAllowed(TCSPartInOrientation p, TCSDimOutOrientation s) {
    return p == cspioNone || s == csdooNone || (p == cspioY && s == csdooX) || (p == cspioX && s == csdooY);
}

} // namespace lintaro
