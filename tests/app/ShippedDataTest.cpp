// The shipped LNTR.TXS and picture strip against every control and picture name the main window and
// the print preview use.
#include "MainWindowNames.h"
#include "widgets/Pages.h"
#include "widgets/WindowDecorations.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/Program.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

using test::kMainControls;
using test::kMenuItems;
using test::perPageNames;
using test::words;

const char* const kMenuSections = "MenuOrder MenuParts MenuMaterial MenuSheets MenuSetup";

class ShippedTexts : public ::testing::Test {
protected:
    void SetUp() override { test::initProgramForTests(); }
    static bool hasValue(const QString& section, const QString& key) {
        return !GetText(section, key).isEmpty();
    }
    static QString labelCaption(const QString& key) {
        return GetBarField(GetText(QStringLiteral("Labels"), key), 0);
    }
};

TEST_F(ShippedTexts, EveryMenuItemHasACaption) {
    const QStringList sections = words(kMenuSections);
    for (const QString& item : words(kMenuItems)) {
        const auto section =
            std::ranges::find_if(sections, [&](const QString& s) { return item.startsWith(s); });
        ASSERT_NE(section, sections.end()) << qPrintable(item);
        EXPECT_TRUE(hasValue(*section, item.mid(section->size()))) << qPrintable(item);
    }
}

TEST_F(ShippedTexts, EveryControlHasTheTextItsKindTakes) {
    const QStringList names = words(kMainControls) + perPageNames();
    int checked = 0;
    for (const QString& name : names) {
        if (name.startsWith("LabelTip"))
            continue; // shows the tips
        if (name.startsWith("Label")) {
            EXPECT_FALSE(labelCaption(name.mid(5)).isEmpty()) << qPrintable(name);
        } else if ((name.startsWith("CB") || name.startsWith("Button")) && name != "ButtonTemp") {
            EXPECT_FALSE(labelCaption(name).isEmpty()) << qPrintable(name);
        } else if (name.startsWith("Edit") || name.startsWith("Memo")) {
            // The long hint is the empty field's placeholder.
            const QString hint = GetText("Hints", name);
            EXPECT_FALSE(hint.section(u'|', -1).isEmpty()) << qPrintable(name);
        } else if (name.startsWith("ImageIcon") || name.startsWith("ImageTip") ||
                   name.startsWith("ImageMenuCollapsed") || name == "ImageLogo") {
            EXPECT_FALSE(GetText("Hints", name).isEmpty()) << qPrintable(name);
        } else {
            continue; // notebooks, panels, lists, banners and headers need no text
        }
        ++checked;
    }
    EXPECT_GT(checked, 200);
}

TEST_F(ShippedTexts, ShellSectionsAndKeysAreFilled) {
    const char* const keys[][2] = {
        {"TSheets", "ButtonCalculationStart"},
        {"TSheets", "ButtonCalculationStop"},
        {"Common", "Question"},
        {"Common", "CSVFileFilter"},
        {"Common", "CSVOpenDialogTitle"},
        {"Common", "CSVSaveDialogTitle"},
        {"Common", "HTMLFileFilter"},
        {"Common", "HTMLSaveDialogTitle"},
        {"Common", "BMPFileFilter"},
        {"Common", "BMPOpenDialogTitle"},
        {"Order", "FileFilter"},
        {"Order", "OpenDialogTitle"},
        {"Order", "SaveDialogTitle"},
        {"Order", "SaveQuestion"},
        {"Order", "PriceTotalwoVAT"},
        {"Order", "PriceTotalwVAT"},
        {"Order", "PriceTotal"},
        {"Order", "ItemsPrice"},
        {"Order", "ItemsPriceTotal"},
        {"Order", "ItemsPricewoVAT"},
        {"Order", "ItemsPriceTotalwoVAT"},
        {"Order", "ItemsPricewVAT"},
        {"Order", "ItemsPriceTotalwVAT"},
        {"Material", "FileFilter"},
        {"Material", "OpenDialogTitle"},
        {"Material", "SaveDialogTitle"},
        {"Material", "SaveQuestion"},
        {"Material", "DeleteDimTitle"},
        {"Parts", "DeletePartTitle"},
        {"Parts", "DeletePartsTitle"},
        {"TPrintPreviewForm", "DefaultPrinterCaption"},
        {"TPrintPreviewForm", "Page"},
        {"TPrintPreviewForm", "Zoom"},
    };
    for (const auto& [section, key] : keys)
        EXPECT_TRUE(hasValue(section, key)) << section << "/" << key;
    for (const char* question :
         {"Material/DeleteDimQuestion", "Parts/DeletePartQuestion", "Parts/DeletePartsQuestion"}) {
        const QStringList at = QString(question).split('/');
        EXPECT_EQ(GetText(at[0], at[1]).count("%s"), 1) << question;
    }
    EXPECT_TRUE(GetBarField(GetText("Common", "Logo"), 1).startsWith("https://"));
}

TEST_F(ShippedTexts, PrintPreviewTexts) {
    for (const char* key : {"IconPagePrev", "IconPageNext", "IconZoomOut", "IconZoomIn", "IconPrint"})
        EXPECT_TRUE(hasValue("PrintHints", key)) << key;
    for (const char* item :
         {"MenuPrintFilePrint", "MenuPrintFileExit", "MenuPrintToolsPagePrev", "MenuPrintToolsPageNext",
          "MenuPrintToolsZoomOut", "MenuPrintToolsZoomIn", "MenuPrintHelpAbout"})
        EXPECT_TRUE(hasValue("MenuPrint", QString(item).mid(9))) << item;
    for (const char* item : {"PUMenuPrintPrint", "PUMenuPrintPagePrev", "PUMenuPrintPageNext",
                             "PUMenuPrintZoomOut", "PUMenuPrintZoomIn"})
        EXPECT_TRUE(hasValue("PUMenuPrint", QString(item).mid(11))) << item;
}

TEST_F(ShippedTexts, EveryPageHasAtLeastSixTips) {
    for (TPage page : kPages) {
        const QStringList* tips = Texts().FindSection(PageName(page) + "Tips");
        ASSERT_NE(tips, nullptr) << qPrintable(PageName(page));
        EXPECT_GE(tips->size(), 6) << qPrintable(PageName(page));
        for (const QString& tip : *tips)
            EXPECT_FALSE(tip.contains(u'=')) << "a tip line is not a key: " << qPrintable(tip);
    }
}

TEST(ShippedPictures, EveryNameTheWindowAndThePreviewUse) {
    test::initProgramForTests();
    QStringList threeStates;
    for (const THoverImageName& hover : MainWindowHoverImages())
        threeStates << hover.picture;
    threeStates << words(
        "IconArrowUp IconArrowDown IconPrintE IconPageNextC IconPagePrevD IconZoomInB IconZoomOutA");
    for (const QString& name : threeStates)
        for (const char* state : {"1", "2", "3"})
            EXPECT_FALSE(FindPicture(name + state).isNull()) << qPrintable(name + state);
    QStringList single =
        words("Top Logo Bullet TipBkg Tip TopPrint TopPrintSetup PatternX PatternY PatternN");
    for (TPage page : kPages)
        single << "Top" + PageName(page) << "MenuExpanded" + PageName(page);
    for (const QString& name : single)
        EXPECT_FALSE(FindPicture(name).isNull()) << qPrintable(name);
    // Each state of an icon is a picture of its own.
    EXPECT_NE(FindPicture("IconSaveC1"), FindPicture("IconSaveC2"));
    EXPECT_NE(FindPicture("IconSaveC1"), FindPicture("IconSaveC3"));
    // The collapsed block's height is that of its normal picture.
    EXPECT_LT(FindPicture("MenuCollapsedOrder1").height(), FindPicture("MenuExpandedOrder").height());
}

TEST(ShippedBanners, BothStripsHavePicturesAndOneHasALink) {
    test::initProgramForTests();
    TBannerStrip bottom, right;
    const QString folder = DataDir() + "BANNERS";
    bottom.Load(folder, "BottomBanner*.*");
    right.Load(folder, "RightBanner*.*");
    EXPECT_EQ(bottom.Count(), 2);
    EXPECT_EQ(right.Count(), 2);
    EXPECT_TRUE(std::ranges::any_of(std::vector<int>{0, 1}, [&](int i) {
        return bottom.Banner(i).fileName.endsWith(".jpg");
    })) << "one banner goes through the JPEG decoder";
    TLinkList links;
    links.Load(folder + "/Links.TXS");
    int linked = 0;
    for (const TBannerStrip* strip : {&bottom, &right})
        for (int i = 0; i < strip->Count(); ++i)
            if (links.HasLink(strip->Banner(i).fileName)) {
                ++linked;
                EXPECT_FALSE(links.Hint(strip->Banner(i).fileName).isEmpty());
                EXPECT_TRUE(links.Address(strip->Banner(i).fileName).startsWith("https://"));
            }
    EXPECT_GE(linked, 1);
}

} // namespace
} // namespace lintaro
