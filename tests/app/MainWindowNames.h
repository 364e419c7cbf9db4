#pragma once
// The names of the main window's menus and controls, as the window and the shipped texts know them.
#include "widgets/Pages.h"

#include <QString>
#include <QStringList>

namespace lintaro::test {

inline QStringList words(const char* text) {
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

// Per page P: header, side-menu blocks, tip label, tip images and banners.
inline QStringList perPageNames() {
    QStringList names;
    for (TPage page : kPages)
        for (const char* prefix :
             {"ImageTop", "ImageMenuCollapsed", "ImageMenuExpanded", "NBMenu", "LabelTip", "ImageTip",
              "ImageTipPrev", "ImageTipNext", "ImageBB", "ImageRB"})
            names << QLatin1String(prefix) + PageName(page);
    return names;
}

inline const char* const kMenuItems =
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

inline const char* const kMainControls =
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

} // namespace lintaro::test
