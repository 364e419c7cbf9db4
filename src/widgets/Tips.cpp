#include "widgets/Tips.h"

#include "foundation/Ini.h"

namespace lintaro {

int StepTipCounter(int counter, int count, TTipMode mode) {
    if (count <= 0)
        return counter;
    switch (mode) {
    case tmPrevious:
        return counter - 1 < 0 ? count - 1 : counter - 1;
    case tmNext:
        return counter + 1 >= count ? 0 : counter + 1;
    case tmCurrent:
        break;
    }
    return counter;
}

QString TipsSectionName(TPage page) {
    return PageName(page) + QStringLiteral("Tips");
}

QStringList TipLines(const TINI& texts, TPage page) {
    const QStringList* lines = texts.FindSection(TipsSectionName(page));
    return lines ? *lines : QStringList();
}

} // namespace lintaro
