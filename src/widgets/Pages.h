#pragma once
// The five pages of the main window, in notebook order.
#include <QString>

#include <array>

namespace lintaro {

enum TPage { pgOrder, pgParts, pgMaterial, pgSheets, pgSetup };
constexpr int kPageCount = 5;
constexpr std::array<TPage, kPageCount> kPages = {pgOrder, pgParts, pgMaterial, pgSheets, pgSetup};

// "Order", "Parts", "Material", "Sheets", "Setup": the part of control, section and picture names
// that names the page.
inline QString PageName(TPage page) {
    static const char* const names[kPageCount] = {"Order", "Parts", "Material", "Sheets", "Setup"};
    return QLatin1String(names[page]);
}

} // namespace lintaro
