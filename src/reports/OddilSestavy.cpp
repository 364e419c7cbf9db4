#include "reports/OddilSestavy.h"

namespace lintaro {

QString TOddilSestavy::Tag(int typeIndex) {
    static const char* const main[] = {"Z", "H", "T", "K", "P"};
    if (typeIndex >= 0 && typeIndex < stGroupBase)
        return QString::fromLatin1(main[typeIndex]);
    const int group = (typeIndex - stGroupBase) / 2;
    return ((typeIndex - stGroupBase) % 2 == 0 ? QStringLiteral("S") : QStringLiteral("U")) +
           QString::number(group);
}

void TListOddilu::Reset(int groupCount) {
    items_.assign(static_cast<size_t>(stGroupBase + 2 * groupCount), TOddilSestavy());
    for (int i = 0; i < Count(); ++i)
        items_[static_cast<size_t>(i)].TypeIndex = i;
}

int TListOddilu::ElementCount() const {
    int n = 0;
    for (const TOddilSestavy& s : items_)
        n += static_cast<int>(s.Elements.size());
    return n;
}

} // namespace lintaro
