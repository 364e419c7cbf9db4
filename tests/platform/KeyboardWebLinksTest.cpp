#include "platform/Keyboard.h"
#include "platform/WebLinks.h"

#include <gtest/gtest.h>

namespace lintaro {
namespace {

TEST(Keyboard, ScopedStateNestsAndRestores) {
    EXPECT_FALSE(Keyboard::ShiftHeld()) << "no GUI application: nothing is held";
    {
        ScopedKeyboardState shift(true, false);
        EXPECT_TRUE(Keyboard::ShiftHeld());
        EXPECT_FALSE(Keyboard::CtrlHeld());
        {
            ScopedKeyboardState both(true, true);
            EXPECT_TRUE(Keyboard::CtrlHeld());
        }
        EXPECT_FALSE(Keyboard::CtrlHeld());
    }
    EXPECT_FALSE(Keyboard::ShiftHeld());
}

TEST(WebLinks, RecorderCollectsAddressesAndEmptyOnesOpenNothing) {
    ScopedWebLinkRecorder recorder;
    EXPECT_FALSE(OpenWebLink(""));
    EXPECT_FALSE(OpenWebLink("   "));
    EXPECT_TRUE(OpenWebLink(" https://lintaro.example.org/ "));
    EXPECT_EQ(recorder.Opened(), QStringList{"https://lintaro.example.org/"});
}

TEST(WebLinks, WithoutADesktopNothingOpens) {
    EXPECT_FALSE(OpenWebLink("https://lintaro.example.org/"));
}

} // namespace
} // namespace lintaro
