#pragma once
// Whether a report's page can hold anything at all: paper larger than its margins, and room left
// between the page head and the page foot. A page that cannot would give page after page without a
// single row, so the run stops before the first page with the reason.
#include <QString>

namespace lintaro {

class TSestavaTyp;

// The reason in the engine's words, or an empty text when the page can be laid out.
QString PageLayoutProblem(const TSestavaTyp& report);

} // namespace lintaro
