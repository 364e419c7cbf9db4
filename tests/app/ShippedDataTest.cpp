// The shipped LNTR.TXS and picture strip against every control and picture name the main window and
// the print preview use.
#include "app/Pages.h"
#include "app/WindowDecorations.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/Program.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace lintaro {
namespace {

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

// Per page P: header, side-menu blocks, tip label, tip images and banners.
QStringList perPageNames() {
    QStringList names;
    for (TPage page : kPages)
        for (const char* prefix :
             {"ImageTop", "ImageMenuCollapsed", "ImageMenuExpanded", "NBMenu", "LabelTip", "ImageTip",
              "ImageTipPrev", "ImageTipNext", "ImageBB", "ImageRB"})
            names << QLatin1String(prefix) + PageName(page);
    return names;
}

const char* const kMenuItems =
    "MenuOrderFile MenuOrderFileNew MenuOrderFileOpen MenuOrderFileSave MenuOrderFileSaveAs "
    "MenuOrderFileSaveAsHTML MenuOrderFilePrint MenuOrderFileExit MenuOrderHelp MenuOrderHelpAbout "
    "MenuPartsFile MenuPartsFileSave MenuPartsFileSaveAsCSV MenuPartsFileLoadAsCSV MenuPartsFilePrint "
    "MenuPartsFileExit MenuPartsEdit MenuPartsEditDelete MenuPartsEditDeleteAll MenuPartsHelp "
    "MenuPartsHelpAbout "
    "MenuMaterialFile MenuMaterialFileNew MenuMaterialFileOpen MenuMaterialFileSave MenuMaterialFileSaveAs "
    "MenuMaterialFilePrint MenuMaterialFileExit MenuMaterialEdit MenuMaterialEditDelete MenuMaterialHelp "
    "MenuMaterialHelpAbout MenuSheetsFile MenuSheetsFileExport MenuSheetsFilePrint MenuSheetsFileExit "
    "MenuSheetsView MenuSheetsViewParams MenuSheetsViewSheets MenuSheetsViewResults "
    "MenuSheetsViewSaveAsDefault "
    "MenuSheetsHelp MenuSheetsHelpAbout MenuSetupFile MenuSetupFileSave MenuSetupFileLoadLogo "
    "MenuSetupFilePrint "
    "MenuSetupFileExit MenuSetupHelp MenuSetupHelpAbout";

const char* const kMainControls =
    // side-menu labels
    "LabelMenuOrderNew LabelMenuOrderOpen LabelMenuOrderSave LabelMenuOrderSaveAs LabelMenuOrderSaveAsHTML "
    "LabelMenuOrderPrint LabelMenuOrderSaveAsDefault LabelMenuPartsSave LabelMenuPartsSaveAsCSV "
    "LabelMenuPartsLoadAsCSV LabelMenuPartsPrint LabelMenuPartsDelete LabelMenuPartsDeleteAll "
    "LabelMenuPartsSaveAsDefault LabelMenuMaterialNew LabelMenuMaterialOpen LabelMenuMaterialSave "
    "LabelMenuMaterialSaveAs LabelMenuMaterialPrint LabelMenuMaterialDelete LabelMenuMaterialSaveAsDefault "
    "LabelMenuSheetsParams LabelMenuSheetsSheets LabelMenuSheetsResults LabelMenuSheetsPrint "
    "LabelMenuSheetsSaveAsDefault LabelMenuSetupSave LabelMenuSetupLoadLogo LabelMenuSetupPrint "
    // icon buttons
    "ImageIconOrderNew ImageIconOrderOpen ImageIconOrderSave ImageIconOrderSaveAs ImageIconOrderPrint "
    "ImageIconPartsSave ImageIconPartsSaveAsCSV ImageIconPartsLoadAsCSV ImageIconPartsPrint "
    "ImageIconPartsDelete "
    "ImageIconPartsDeleteAll ImageIconMaterialNew ImageIconMaterialOpen ImageIconMaterialSave "
    "ImageIconMaterialSaveAs ImageIconMaterialPrint ImageIconMaterialDelete ImageIconSheetsPrev "
    "ImageIconSheetsNext ImageIconSheetsZoomOut ImageIconSheetsZoomIn ImageIconSheetsPrint "
    "ImageIconSetupSave "
    "ImageIconSetupLoadLogo ImageIconSetupPrint "
    // Order page
    "EditOrderCaption EditOrderDateCreate EditOrderCustomerCaption EditOrderCustomerStreet "
    "EditOrderCustomerZIP "
    "EditOrderCustomerTown EditOrderCustomerINO EditOrderCustomerTIN EditOrderCustomerPerson "
    "EditOrderCustomerPhone EditOrderCustomerEmail EditOrderCustomerNote MemoOrderNote1 MemoOrderNote2 "
    "LBOrderItems PanelOrderItemEdit EditOrderItemCaption EditOrderItemPrice EditOrderItemVATRate "
    "EditOrderItemAmount EditOrderItemMU EditOrderItemPriceTotal EditOrderPriceTotalwoVAT "
    "EditOrderPriceTotalwVAT CBOrderVATMode LabelOrderCustomer LabelOrderItemsCaption LabelOrderItemsPrice "
    "LabelOrderItemsVATRate LabelOrderItemsAmount LabelOrderItemsPriceTotal LabelOrderPriceTotalwoVAT "
    "LabelOrderPriceTotalwVAT "
    // Parts page
    "LBParts PanelPartsEdit EditPartsID EditPartsCaption EditPartsX EditPartsY EditPartsOrient "
    "EditPartsCount "
    "EditPartsTotalArea EditPartsTotalCircuit EditPartsTotalCount CBAddAutoPartsArea CBAddAutoPartsCircuit "
    "LabelPartsName LabelPartsDimX LabelPartsDimY LabelPartsOrientation LabelPartsCount LabelPartsTotalArea "
    "LabelPartsTotalCircuit LabelPartsTotalCount "
    // Material page
    "EditMaterialCaption EditMaterialNote EditMaterialPrice EditMaterialVATRate EditMaterialCutWidth "
    "EditMaterialMinRecyArea EditMaterialMinRecyDim EditMaterialAmount EditMaterialTotalPrice "
    "CBMaterialPriceIsWithVAT CBMaterialHasOrientation LBDims PanelMaterialEdit EditMaterialDimCaption "
    "EditMaterialDimY EditMaterialDimX EditMaterialDimOrientation EditMaterialDimCount CBMaterialDimIsRest "
    "CBMaterialDimIsDefault CBMaterialDimIsPrefered CBMaterialDimIsStopped LabelMaterialCaption "
    "LabelMaterialNote LabelMaterialPrice LabelMaterialCutWidth LabelMaterialMinRecyArea LabelMaterialParams "
    "LabelMaterialDimCaption LabelMaterialDimY LabelMaterialDimX LabelMaterialDimOrientation "
    "LabelMaterialDimCount LabelMaterialDimIsDefault LabelMaterialDimIsPrefered LabelMaterialDimIsStopped "
    "LabelMaterialAmount LabelMaterialTotalPrice "
    // Sheets page
    "NBSheets EditSheetsOrderCaption EditSheetsMaterialCaption EditSheetsPartsCount EditSheetsPartsArea "
    "EditSheetsMaterialCutWidth EditSheetsMaterialMinRecyArea EditSheetsMaterialMinRecyDim "
    "EditSheetsPartsUnusedCount EditSheetsPartsUnusedArea EditSheetsPhase EditSheetsExtractBrutto "
    "EditSheetsExtractNetto ProgressBarSheetsSheet ProgressBarSheetsTotal CBSheetsAddExtractToOrder "
    "ButtonSheetsStartStop ButtonSheetsMaterialTakeOffDims ButtonSheetsMaterialBackRests "
    "LabelSheetsOrderCaption LabelSheetsMaterialCaption LabelSheetsPartsCount LabelSheetsMaterialCutWidth "
    "LabelSheetsMaterialRecy LabelSheetsMaterialExtract LabelSheetsPartsGroup LabelSheetsPartsUnusedCount "
    "LabelSheetsMaterialGroup LabelSheetsCalculationGroup ImageSheetsView MemoSheetsResults "
    // Setup page
    "EditSetupSupplierCaption EditSetupSupplierStreet EditSetupSupplierZIP EditSetupSupplierTown "
    "EditSetupSupplierINO EditSetupSupplierTIN EditSetupSupplierPerson EditSetupSupplierPhone "
    "EditSetupSupplierEmail EditSetupSupplierWWW EditSetupSupplierLogoFileName EditSetupOrderPrefix "
    "EditSetupOrderNumber EditSetupZeroVATValue EditSetupLowVATValue EditSetupHighVATValue "
    "EditSetupSheetsMaxCutLength MemoSetupSupplierNote CBSetupSupplierIsNotVATPayer CBSetupSheetsErlangeFont "
    "CBSetupSheetsShowCaptionsOnParts LabelSetupSupplier LabelSetupNumbers LabelSetupVATValues "
    "LabelSetupOrderNumber LabelSetupOrderPrefix LabelSetupZeroVATValue LabelSetupLowVATValue "
    "LabelSetupHighVATValue LabelSetupSheets LabelSetupSheetsMaxCutLength "
    // window
    "NBMain ImageTop ImageLogo LabelCopyright StatusBar ButtonTemp OpenDialog SaveDialog";

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
