#pragma once
// Rich text from data may nest without limit, and the text layout's work grows with the depth (each
// level of nested tables doubles it; thousands of levels exhaust the stack). Before a text reaches the
// layout its structure is bounded here, in one pass: tags deeper than the bound are left out, so the
// text inside them stands flattened into the level above, and tables nest only a few levels deep.
#include <QString>

namespace lintaro {

// Elements open at once at most; deeper tags are left out.
constexpr int kMaxRichTextDepth = 64;
// Tables inside tables at most; a deeper table's cells run on as text of the cell around it.
constexpr int kMaxRichTextTables = 4;

// html with its nesting bounded; a text within the bounds comes back unchanged.
QString BoundRichTextNesting(const QString& html);

} // namespace lintaro
