#include "widgets/WindowDecorations.h"

#include "WidgetApplication.h"
#include "foundation/Ini.h"
#include "foundation/Pictures.h"
#include "platform/Clock.h"
#include "platform/Keyboard.h"
#include "platform/UserSettings.h"
#include "platform/WebLinks.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

TEST(StepTipCounter, WrapsBothWays) {
    struct Case {
        int counter, count;
        TTipMode mode;
        int expected;
    };
    const Case cases[] = {
        {2, 3, tmNext, 0},     {0, 3, tmNext, 1},     {1, 3, tmNext, 2},
        {0, 3, tmPrevious, 2}, {2, 3, tmPrevious, 1}, {1, 3, tmCurrent, 1},
        {5, 0, tmNext, 5},     {7, 3, tmCurrent, 7},  {-4, 3, tmNext, -3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepTipCounter(c.counter, c.count, c.mode), c.expected) << c.counter << " of " << c.count;
}

QImage picture(int width) {
    QImage image(width, 10, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

class Decorations : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureWidgetApplication();
        owner = std::make_unique<QWidget>();
        window = owner.get();
        for (TPage page : kPages)
            for (const char* prefix :
                 {"LabelTip", "ImageTip", "ImageTipPrev", "ImageTipNext", "ImageBB", "ImageRB"})
                (new QLabel(window))->setObjectName(QLatin1String(prefix) + PageName(page));
        (new QLabel(window))->setObjectName("ImageLogo");
        texts.FromText("[Common]\nLogo=|Lintaro|https://lintaro.example.org/|\n"
                       "[OrderTips]\nfirst\nsecond¶line\nthird\n"
                       "[PartsTips]\nonly\n");
        clock.SetTime(1000);
    }

    QLabel* label(const QString& name) { return window->findChild<QLabel*>(name); }

    // A banner folder: four bottom banners (names out of order on purpose), a text file and a folder
    // that match the pattern, two right banners and links for one banner of each strip.
    QString bannerFolder() {
        const QDir dir(folder.path());
        for (const auto& [name, width] : std::vector<std::pair<const char*, int>>{{"BottomBanner4.png", 4},
                                                                                  {"BottomBanner1.png", 1},
                                                                                  {"bottomBanner3.png", 3},
                                                                                  {"BottomBanner2.bmp", 2},
                                                                                  {"RightBanner1.png", 11},
                                                                                  {"RightBanner2.png", 12}})
            EXPECT_TRUE(picture(width).save(dir.filePath(name)));
        QFile text(dir.filePath("BottomBanner0.txt"));
        EXPECT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("not a picture");
        text.close();
        EXPECT_TRUE(dir.mkdir("BottomBanner9.png"));
        QFile links(dir.filePath("Links.TXS"));
        EXPECT_TRUE(links.open(QIODevice::WriteOnly));
        links.write("BottomBanner2.bmp=Offers priced with VAT|https://lintaro.example.org/offers\r\n"
                    "RightBanner2.png=Grain|https://lintaro.example.org/grain\r\n");
        links.close();
        return folder.path();
    }

    std::unique_ptr<QWidget> owner;
    QWidget* window = nullptr;
    TINI texts;
    TPictureList pictures;
    VirtualClock clock;
    QTemporaryDir folder;
};

TEST_F(Decorations, TipsAdvanceEvery34SecondsFromTheStoredCounter) {
    TWindowDecorations decorations(window, clock, texts, pictures);
    decorations.SetTipCounter(pgOrder, 2);
    decorations.Start();
    QLabel* tip = label("LabelTipOrder");
    EXPECT_EQ(tip->text(), "third");
    EXPECT_EQ(label("LabelTipParts")->text(), "only");
    EXPECT_EQ(label("LabelTipSetup")->text(), "") << "a missing tips section leaves the tip blank";
    clock.Advance(33);
    decorations.OnIdle();
    EXPECT_EQ(tip->text(), "third");
    QStringList shown;
    for (int i = 0; i < 4; ++i) {
        clock.Advance(34);
        decorations.OnIdle();
        shown << tip->text();
    }
    EXPECT_EQ(shown, (QStringList{"first", "second\nline", "third", "first"}));
    EXPECT_DOUBLE_EQ(decorations.NextTipTime(pgOrder), clock.Now() + 34);
}

TEST_F(Decorations, TipImageAndArrowsStepTheTip) {
    TWindowDecorations decorations(window, clock, texts, pictures);
    decorations.Start();
    QLabel* tip = label("LabelTipOrder");
    EXPECT_EQ(tip->text(), "first");
    QTest::mouseClick(label("ImageTipPrevOrder"), Qt::LeftButton);
    EXPECT_EQ(tip->text(), "third") << "back from the first tip goes to the last";
    QTest::mouseClick(label("ImageTipNextOrder"), Qt::LeftButton);
    EXPECT_EQ(tip->text(), "first");
    QTest::mouseClick(label("ImageTipOrder"), Qt::LeftButton);
    EXPECT_EQ(tip->text(), "second\nline");
}

TEST_F(Decorations, CounterOutsideTheTipsLeavesTheLabel) {
    TWindowDecorations decorations(window, clock, texts, pictures);
    label("LabelTipOrder")->setText("as it was");
    decorations.SetTipCounter(pgOrder, 7);
    decorations.ShowTip(pgOrder, tmCurrent);
    EXPECT_EQ(label("LabelTipOrder")->text(), "as it was");
    decorations.ShowTip(pgOrder, tmNext);
    EXPECT_EQ(label("LabelTipOrder")->text(), "first");
}

TEST_F(Decorations, BannersRotateInFileNameOrderAndAStoredCounterPastTheEndStartsAtTheFirst) {
    TWindowDecorations decorations(window, clock, texts, pictures);
    decorations.LoadBanners(bannerFolder());
    ASSERT_EQ(decorations.BottomStrip().Count(), 4) << "the text file and the folder are left out";
    decorations.BottomStrip().SetCounter(9);
    decorations.Start();
    QStringList widths;
    for (int i = 0; i < 5; ++i) {
        widths << QString::number(label("ImageBBSheets")->pixmap().width());
        clock.Advance(43);
        decorations.OnIdle();
    }
    EXPECT_EQ(widths, (QStringList{"1", "2", "3", "4", "1"}));
    EXPECT_EQ(label("ImageRBOrder")->pixmap().width(), 12)
        << "the right strip rotates once per idle call here";
}

TEST_F(Decorations, ABannerWithoutALinkHasNoHintNoHandAndOpensNothing) {
    ScopedWebLinkRecorder recorder;
    TWindowDecorations decorations(window, clock, texts, pictures);
    decorations.LoadBanners(bannerFolder());
    decorations.Start(); // bottom banner 1: no link line
    QLabel* banner = label("ImageBBOrder");
    EXPECT_EQ(banner->toolTip(), "");
    EXPECT_EQ(banner->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseClick(banner, Qt::LeftButton);
    EXPECT_TRUE(recorder.Opened().isEmpty());

    decorations.ShowBottomBanner(); // banner 2 has a link
    EXPECT_EQ(banner->toolTip(), "Offers priced with VAT");
    EXPECT_EQ(banner->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(label("ImageBBParts"), Qt::LeftButton);
    QTest::mouseClick(label("ImageLogo"), Qt::LeftButton);
    EXPECT_EQ(recorder.Opened(),
              (QStringList{"https://lintaro.example.org/offers", "https://lintaro.example.org/"}));
}

TEST_F(Decorations, MissingFolderAndTextsStartWithEmptyStrips) {
    ScopedWebLinkRecorder recorder;
    TINI none;
    TWindowDecorations decorations(window, clock, none, pictures);
    decorations.LoadBanners(folder.filePath("missing"));
    decorations.Start();
    decorations.FollowBottomLink();
    decorations.FollowLogoLink();
    EXPECT_TRUE(label("ImageBBOrder")->pixmap().isNull());
    EXPECT_EQ(label("LabelTipOrder")->text(), "");
    EXPECT_TRUE(recorder.Opened().isEmpty());
}

TEST_F(Decorations, CountersGoThroughTheUserSettings) {
    ScopedUserSettingsFile file(folder.filePath("Lintaro.conf"));
    {
        TWindowDecorations decorations(window, clock, texts, pictures);
        decorations.SetTipCounter(pgOrder, 2);
        decorations.SetTipCounter(pgSetup, 5);
        decorations.BottomStrip().SetCounter(3);
        decorations.RightStrip().SetCounter(1);
        TUserSettings settings;
        ASSERT_TRUE(settings.Open(true));
        decorations.WriteCounters(settings);
    }
    TUserSettings settings;
    ASSERT_TRUE(settings.Open(false));
    EXPECT_FALSE(settings.ValueExists("TipSetupCounter")) << "the Setup page's tip starts at 0 on every run";
    TWindowDecorations decorations(window, clock, texts, pictures);
    decorations.ReadCounters(settings);
    EXPECT_EQ(decorations.TipCounter(pgOrder), 2);
    EXPECT_EQ(decorations.TipCounter(pgParts), 0);
    EXPECT_EQ(decorations.BottomStrip().Counter(), 3);
    EXPECT_EQ(decorations.RightStrip().Counter(), 1);
}

TEST_F(Decorations, ShiftAtStartKeepsTheStoredCountersAway) {
    ScopedUserSettingsFile file(folder.filePath("Lintaro.conf"));
    TWindowDecorations decorations(window, clock, texts, pictures);
    EXPECT_FALSE(decorations.ReadStoredCounters()) << "no stored values yet";
    EXPECT_FALSE(QFile::exists(folder.filePath("Lintaro.conf"))) << "reading does not create them";
    {
        TUserSettings settings;
        ASSERT_TRUE(settings.Open(true));
        settings.WriteInteger("TipPartsCounter", 4);
        settings.WriteInteger("RBCounter", 2);
    }
    {
        ScopedKeyboardState shift(true, false);
        EXPECT_FALSE(decorations.ReadStoredCounters());
        EXPECT_EQ(decorations.TipCounter(pgParts), 0);
    }
    EXPECT_TRUE(decorations.ReadStoredCounters());
    EXPECT_EQ(decorations.TipCounter(pgParts), 4);
    EXPECT_EQ(decorations.RightStrip().Counter(), 2);
}

TEST_F(Decorations, HoverImagesTurnHotWhileTheMouseIsOverThem) {
    for (int state = 1; state <= 3; ++state)
        pictures.Add(QStringLiteral("IconArrowRight%1").arg(state), picture(state));
    TWindowDecorations decorations(window, clock, texts, pictures);
    decorations.Start();
    QLabel* arrow = label("ImageTipNextOrder");
    EXPECT_EQ(arrow->pixmap().width(), 1);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(arrow, &enter);
    EXPECT_EQ(arrow->pixmap().width(), 2);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(arrow, &leave);
    EXPECT_EQ(arrow->pixmap().width(), 1);
}

} // namespace
} // namespace lintaro
