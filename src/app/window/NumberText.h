#pragma once
// What the window does to a typed number before the data's entry rule sees it: the unit text that
// the field shows after the value ("0.250 m2", "18 mm") is not part of the number, nor are the
// thousands separators of a shown amount ("1,000.00"); and a number the user's locale cannot read
// ("2,5" where the decimal separator is ".") is refused with a message instead of being read as 0.
#include <QString>

namespace lintaro {

// The text without a trailing unit text of lengths, areas or perimeters (metric or imperial) and
// without thousands separators between digit groups of three.
QString NormalisedNumberText(const QString& text);
// Empty when every number of the (normalised) text reads in the user's locale; otherwise the entry
// message naming the first number that does not.
QString UnreadableNumberMessage(const QString& text);

} // namespace lintaro
