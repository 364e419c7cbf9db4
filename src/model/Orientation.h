#pragma once
// Grain rules: a part's orientation rule and a stock dimension's grain direction.
namespace lintaro {

enum TPartOrientation { poNone = 0, poX = 1, poY = 2 };
enum TDimensionOrientation { doNone = 0, doX = 1, doY = 2 };

} // namespace lintaro
