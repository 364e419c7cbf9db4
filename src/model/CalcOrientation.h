#pragma once
// Grain rules inside a calculation: of a part type and of a free rectangle of stock.
namespace lintaro {

enum TCSPartInOrientation { cspioNone = 0, cspioX = 1, cspioY = 2 };
enum TCSDimOutOrientation { csdooNone = 0, csdooX = 1, csdooY = 2 };

} // namespace lintaro
