#pragma once
// The rotating tips of the pages: one counter per page into the lines of the page's tips section
// ("OrderTips", …), advanced every 34 seconds and by clicks on the tip image and arrows.
#include "widgets/Pages.h"

#include <QString>
#include <QStringList>

namespace lintaro {

class TINI;

enum TTipMode { tmCurrent = 0, tmPrevious = 1, tmNext = 2 };

constexpr double kTipInterval = 34;

// The counter after a step over `count` lines: previous wraps from 0 to the last line, next wraps
// from the last line to 0, current keeps it. A count of 0 keeps the counter.
int StepTipCounter(int counter, int count, TTipMode mode);

// "OrderTips", "PartsTips", …
QString TipsSectionName(TPage page);
// The lines of the page's tips section; empty when the section is missing.
QStringList TipLines(const TINI& texts, TPage page);

} // namespace lintaro
