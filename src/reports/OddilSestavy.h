#pragma once
// The sections of a report ("oddíly"): the five main ones by type index (report start, page head,
// body, report end, page foot) followed by the start and end section of every group. Each section
// owns its elements.
#include "reports/SiReportElement.h"

#include <QString>
#include <vector>

namespace lintaro {

enum TSectionType {
    stReportStart = 0, // "Z", "Začátek sestavy"
    stPageHead = 1,    // "H", "Hlava stránky"
    stBody = 2,        // "T", "Tělo sestavy"
    stReportEnd = 3,   // "K", "Konec sestavy"
    stPageFoot = 4,    // "P", "Pata stránky"
    stGroupBase = 5,   // group n: start 5 + 2n ("S" + n), end 6 + 2n ("U" + n)
};

// Option bits of the main sections.
enum TSectionOption {
    soBreakAfterStart = 1, // report start: "Odstránkovat po začátku sestavy"
    soNoHeadOnFirst = 1,   // page head: "Na první stránce netisknout hlavu"
    soBodyOnNewPage = 1,   // body: "Nové tělo na novou stránku"
    soBreakBeforeEnd = 1,  // report end: "Odstránkovat před koncem sestavy"
    soEndAtFoot = 2,       // report end: "Konec sestavy zarovnat k patě"
    soNoFootOnLast = 1,    // page foot: "Na poslední stránce netisknout patu"
};

class TOddilSestavy {
public:
    int TypeIndex = 0;
    int Height = 0;
    bool Visible = false;
    int Options = 0;
    int Columns = 1;   // copied from the page set-up
    int ColumnGap = 0; // copied from the page set-up
    std::vector<TSiReportElement> Elements;

    // The line tag of a section type: "Z", "H", "T", "K", "P", "S0", "U0", …
    static QString Tag(int typeIndex);
};

class TListOddilu {
public:
    // Five main sections and the two of each group, all empty and hidden.
    void Reset(int groupCount);
    int Count() const { return static_cast<int>(items_.size()); }
    TOddilSestavy& Item(int typeIndex) { return items_[static_cast<size_t>(typeIndex)]; }
    const TOddilSestavy& Item(int typeIndex) const { return items_[static_cast<size_t>(typeIndex)]; }
    // The number of elements in all sections.
    int ElementCount() const;

private:
    std::vector<TOddilSestavy> items_;
};

} // namespace lintaro
