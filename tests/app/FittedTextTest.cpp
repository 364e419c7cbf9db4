#include "app/window/FittedText.h"

#include "WidgetApplication.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

// A number in a cell a little too narrow is drawn smaller, whole; a caption keeps its size and is
// elided; a number far too wide goes no smaller than the smallest size.
TEST(FittedText, NumbersShrinkToFitCaptionsKeepTheirSize) {
    test::ensureWidgetApplication();
    QFont font;
    font.setPointSizeF(10);
    const QString number = QStringLiteral("1357.5");
    const int full = QFontMetrics(font).horizontalAdvance(number);
    const int narrow = full * 9 / 10;

    const QFont fitted = FittedFont(font, number, narrow, Qt::AlignRight);
    EXPECT_LT(fitted.pointSizeF(), 10);
    EXPECT_GE(fitted.pointSizeF(), 10 * kSmallestTextScale - 1e-6);
    EXPECT_LE(QFontMetrics(fitted).horizontalAdvance(number), narrow);

    EXPECT_EQ(FittedFont(font, number, narrow, Qt::AlignLeft).pointSizeF(), 10);
    EXPECT_EQ(FittedFont(font, number, full, Qt::AlignRight).pointSizeF(), 10);
    EXPECT_NEAR(FittedFont(font, number, full / 4, Qt::AlignRight).pointSizeF(), 10 * kSmallestTextScale,
                1e-6);
}

} // namespace
} // namespace lintaro
