#pragma once
// The bar-separated record: the one-line text form in which every record class writes its whole
// state. Each field is preceded by "|" and the last one is followed by a closing "|"; fields cannot
// contain "|", empty fields are allowed. The readers accept a text with a missing first or last bar.
#include <QString>

namespace lintaro {

// "" and "|" give "||" (one empty field); otherwise a missing leading or trailing "|" is added.
QString NormalizeBarList(const QString& text);

// The number of fields of the normalized text: its bars except the last one ("||" has 1).
int BarFieldCount(const QString& text);

// The field at the 0-based index of the normalized text; empty when the index is out of range.
QString GetBarField(const QString& text, int index);
// The field as an integer; 0 when it is empty or not an integer of the 32-bit range.
int GetBarFieldInt(const QString& text, int index);

// The fields of a followed by those of b. An empty a gives NormalizeBarList(b); an empty b adds one
// empty field.
QString JoinBarLists(const QString& a, const QString& b);

} // namespace lintaro
