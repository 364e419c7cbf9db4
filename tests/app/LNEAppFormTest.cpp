// The main window under the offscreen platform: the forms carry every named control, the start-up
// file opens, the side menu switches pages, and Shift keeps the stored user values untouched.
#include "AppFormFixture.h"
#include "MainWindowNames.h"
#include "WidgetApplication.h"

#include "app/window/EditLook.h"
#include "app/window/ItemList.h"
#include "app/window/LNEAppForm.h"
#include "app/window/UserDialogs.h"
#include "calc/Calculator.h"
#include "foundation/Currency.h"
#include "foundation/Files.h"
#include "foundation/Program.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/DimOut.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/OrderItem.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Clock.h"
#include "platform/Keyboard.h"
#include "platform/Locale.h"
#include "platform/UserSettings.h"
#include "print/PrintHost.h"
#include "support/TestSupport.h"
#include "widgets/WindowDecorations.h"
#include "widgets/WindowTexts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace lintaro {
namespace {

TEST_F(AppForm, FormsCarryEveryNamedControlAndMenuItem) {
    open();
    // The file dialogs are not controls of the window; they come from the user-dialog interface.
    for (const QString& name :
         test::words(test::kMainControls) + test::perPageNames() + test::words(test::kMenuItems)) {
        if (name != QLatin1String("OpenDialog") && name != QLatin1String("SaveDialog")) {
            EXPECT_NE(window_->findChild<QObject*>(name), nullptr) << qPrintable(name);
        }
    }
}

TEST_F(AppForm, TextsAndPicturesAreApplied) {
    open();
    EXPECT_EQ(find<QLabel>(QStringLiteral("LabelMenuOrderNew"))->text(), QStringLiteral("New"));
    EXPECT_EQ(find<QMenu>(QStringLiteral("MenuOrderFile"))->title(), QStringLiteral("&File"));
    EXPECT_FALSE(find<QLabel>(QStringLiteral("ImageTop"))->pixmap().isNull());
    EXPECT_FALSE(find<QLabel>(QStringLiteral("ImageMenuExpandedOrder"))->pixmap().isNull());
    EXPECT_FALSE(find<QLabel>(QStringLiteral("ImageIconOrderNew"))->pixmap().isNull());
}

TEST_F(AppForm, StartFileOpensByExtensionInAnyCase) {
    const QString order = sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.lno"));
    TLNEAppForm& window = open(order);
    EXPECT_EQ(window.Order()->FileName(), order);
    EXPECT_EQ(window.ActivePage(), pgOrder);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lintaro - shop.lno"));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("EditOrderCaption"))->text(), window.Order()->Caption());

    const QString material = sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("board.Lnm"));
    TLNEAppForm& second = open(material);
    EXPECT_EQ(second.Material()->FileName(), material);
    EXPECT_EQ(second.ActivePage(), pgMaterial);
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("EditMaterialCaption"))->text(), second.Material()->Caption());
}

TEST_F(AppForm, MissingStartFileStartsANewOrder) {
    TLNEAppForm& window = open(path("missing.LNO"));
    EXPECT_TRUE(window.Order()->FileName().isEmpty());
    EXPECT_EQ(window.ActivePage(), pgOrder);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lintaro"));
}

TEST_F(AppForm, OpeningAnOrderWhoseMaterialCannotBeReadSaysWhich) {
    TLNEAppForm& window = open();
    const QString order = sampleCopy(QStringLiteral("Kitchen.LNO"), QStringLiteral("kitchen.LNO"));
    dialogs_->openName = order; // Board18.LNM lies beside the sample, not beside the copy
    window.RunCommand(QStringLiteral("OrderOpen"));
    EXPECT_EQ(window.Order()->FileName(), order);
    ASSERT_EQ(dialogs_->errors.size(), 1);
    EXPECT_TRUE(dialogs_->errors[0].contains(QLatin1String("Board18.LNM")))
        << dialogs_->errors[0].toStdString();
    EXPECT_EQ(dialogs_->errors[0], window.Order()->MaterialProblem());

    dialogs_->openName = test::samplePath(QStringLiteral("Kitchen.LNO"));
    window.RunCommand(QStringLiteral("OrderOpen"));
    EXPECT_EQ(dialogs_->errors.size(), 1) << "a material that can be read is not mentioned";
}

TEST_F(AppForm, ClickingACollapsedBlockSwitchesPageAndMenus) {
    TLNEAppForm& window = open();
    window.show();
    EXPECT_EQ(visibleMenus(), (QStringList{"MenuOrderFile", "MenuOrderHelp"}));
    QTest::mouseClick(find<QLabel>(QStringLiteral("ImageMenuCollapsedParts")), Qt::LeftButton);
    EXPECT_EQ(window.ActivePage(), pgParts);
    EXPECT_EQ(find<QStackedWidget>(QStringLiteral("NBMain"))->currentIndex(), int(pgParts));
    EXPECT_EQ(find<QStackedWidget>(QStringLiteral("NBMenuParts"))->currentIndex(), 1);
    EXPECT_EQ(find<QStackedWidget>(QStringLiteral("NBMenuOrder"))->currentIndex(), 0);
    EXPECT_EQ(visibleMenus(), (QStringList{"MenuPartsFile", "MenuPartsEdit", "MenuPartsHelp"}));
    // The blocks stay stacked without gaps: the expanded one pushes the others down.
    const auto* parts = find<QStackedWidget>(QStringLiteral("NBMenuParts"));
    EXPECT_EQ(find<QStackedWidget>(QStringLiteral("NBMenuMaterial"))->y(), parts->y() + parts->height());
}

TEST_F(AppForm, ViewCommandsShowTheSheetsInnerPages) {
    TLNEAppForm& window = open();
    window.show();
    auto* inner = find<QStackedWidget>(QStringLiteral("NBSheets"));
    find<QAction>(QStringLiteral("MenuSheetsViewResults"))->trigger();
    EXPECT_EQ(window.ActivePage(), pgSheets);
    EXPECT_EQ(inner->currentIndex(), 2);
    find<QAction>(QStringLiteral("MenuSheetsViewSheets"))->trigger();
    EXPECT_EQ(inner->currentIndex(), 1);
    QTest::mouseClick(find<QLabel>(QStringLiteral("LabelMenuSheetsParams")), Qt::LeftButton);
    EXPECT_EQ(inner->currentIndex(), 0);
    EXPECT_FALSE(find<QAction>(QStringLiteral("MenuSheetsFileExport"))->isEnabled());
}

TEST_F(AppForm, ShiftAtCloseLeavesUserValuesButSavesSettings) {
    {
        ScopedKeyboardState shift(true, false);
        open().close();
        window_.reset();
    }
    EXPECT_FALSE(QFile::exists(path("user.conf")));
    EXPECT_TRUE(QFile::exists(path("Lintaro.ini")));

    open().close();
    TUserSettings settings;
    ASSERT_TRUE(settings.Open(false));
    EXPECT_TRUE(settings.ValueExists(QStringLiteral("Width")));
    EXPECT_TRUE(settings.ValueExists(QStringLiteral("BBCounter")));
}

TEST_F(AppForm, ShiftAtStartIgnoresTheStoredPositionAndCounters) {
    {
        TUserSettings settings;
        ASSERT_TRUE(settings.Open(true));
        settings.WriteInteger(QStringLiteral("Left"), 3);
        settings.WriteInteger(QStringLiteral("Top"), 4);
        settings.WriteInteger(QStringLiteral("Width"), 901);
        settings.WriteInteger(QStringLiteral("Height"), 602);
        settings.WriteInteger(QStringLiteral("TipOrderCounter"), 2);
    }
    for (const bool shift : {false, true}) {
        ScopedKeyboardState keyboard(shift, false);
        TLNEAppForm& window = open();
        window.show();
        EXPECT_EQ(window.width() == 901, !shift) << "shift " << shift;
        EXPECT_EQ(window.Decorations()->TipCounter(pgOrder) == 2, !shift) << "shift " << shift;
        window.close();
        window_.reset();
    }
}

TEST_F(AppForm, ANonVATPayerHasNoRateFieldAndAWideAmount) {
    TLNEAppForm& window = open();
    activate(window);
    window.SwitchPage(pgSetup);
    auto* rate = find<QLineEdit>(QStringLiteral("EditOrderItemVATRate"));
    auto* amount = find<QLineEdit>(QStringLiteral("EditOrderItemAmount"));
    auto* payer = find<QCheckBox>(QStringLiteral("CBSetupSupplierIsNotVATPayer"));
    const int totalY = find<QWidget>(QStringLiteral("EditOrderPriceTotalwoVAT"))->y();
    ASSERT_EQ(amount->width(), 42);
    // On the box, not in the middle of its long caption.
    const QPoint box(6, payer->height() / 2);
    QTest::mouseClick(payer, Qt::LeftButton, {}, box);
    EXPECT_TRUE(TApplicationLinks::Setup()->Supplier()->IsNotVATPayer());
    EXPECT_TRUE(rate->isHidden());
    EXPECT_EQ(amount->width(), 74);
    EXPECT_EQ(amount->x(), rate->x());
    EXPECT_TRUE(find<QWidget>(QStringLiteral("CBOrderVATMode"))->isHidden());
    EXPECT_TRUE(find<QWidget>(QStringLiteral("EditMaterialVATRate"))->isHidden());
    EXPECT_EQ(find<QWidget>(QStringLiteral("EditOrderPriceTotalwVAT"))->y(), totalY);
    EXPECT_EQ(find<QLabel>(QStringLiteral("LabelOrderPriceTotalwVAT"))->text(),
              GetText(QStringLiteral("Order"), QStringLiteral("PriceTotal")));
    QTest::mouseClick(payer, Qt::LeftButton, {}, box);
    EXPECT_FALSE(rate->isHidden());
    EXPECT_EQ(amount->width(), 42);
}

TEST_F(AppForm, AmountTakesAProductAndTheTotalFollows) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO")));
    activate(window);
    auto* item = static_cast<TOrderItem*>(window.Order()->OrderItems()->ItemFocused());
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(find<QWidget>(QStringLiteral("PanelOrderItemEdit"))->isVisible());
    ASSERT_NE(item->Amount(), Currency::fromInteger(12));
    const Currency totalBefore = item->PriceTotal();
    typeInto(QStringLiteral("EditOrderItemAmount"), QStringLiteral("3*4"));
    EXPECT_EQ(item->Amount(), Currency::fromInteger(12));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("EditOrderItemAmount"))->text(), QStringLiteral("12"));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("EditOrderItemPriceTotal"))->text(),
              item->GetPropAsString("PriceTotal"));
    if (item->Price().raw() != 0) {
        EXPECT_NE(item->PriceTotal(), totalBefore);
    }
}

TEST_F(AppForm, LeavingAPlaceholderStoresEmptyAndShowsItGrey) {
    TLNEAppForm& window = open();
    activate(window);
    auto* street = find<QLineEdit>(QStringLiteral("EditOrderCustomerStreet"));
    const QString placeholder = PlaceholderOf(street);
    EXPECT_EQ(street->text(), placeholder);
    EXPECT_EQ(TextColour(street), kPlaceholderColour);
    QTest::mouseClick(street, Qt::LeftButton);
    EXPECT_EQ(TextColour(street), kFilledTextColour);
    QTest::keyClick(street, Qt::Key_Tab);
    EXPECT_TRUE(window.Order()->Customer()->GetPropAsString(QStringLiteral("Street")).isEmpty());
    EXPECT_EQ(street->text(), placeholder);
    EXPECT_EQ(TextColour(street), kPlaceholderColour);

    typeInto(QStringLiteral("EditOrderCustomerStreet"), QStringLiteral("Main Street 1"));
    EXPECT_EQ(window.Order()->Customer()->GetPropAsString(QStringLiteral("Street")),
              QStringLiteral("Main Street 1"));
    EXPECT_EQ(TextColour(street), kFilledTextColour);
}

TEST_F(AppForm, EnterInTheLastItemsTotalMovesToTheNextControl) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO")));
    activate(window);
    TDataComponentList* items = window.Order()->OrderItems();
    ASSERT_GE(items->ItemCount(), 2);
    items->SetItemFocused(items->Item(0));
    auto* total = find<QLineEdit>(QStringLiteral("EditOrderItemPriceTotal"));
    QTest::mouseClick(total, Qt::LeftButton);
    QTest::keyClick(total, Qt::Key_Return);
    EXPECT_EQ(items->ItemFocused(), items->Item(1)) << "Enter in a row's last field goes on to the next item";
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>(QStringLiteral("EditOrderItemCaption")));

    items->SetItemFocused(items->Item(items->ItemCount() - 1));
    QTest::mouseClick(total, Qt::LeftButton);
    QTest::keyClick(total, Qt::Key_Return);
    EXPECT_EQ(items->ItemFocused(), items->Item(items->ItemCount() - 1));
    EXPECT_NE(QApplication::focusWidget(), total);
    EXPECT_NE(QApplication::focusWidget()->parentWidget(),
              find<QWidget>(QStringLiteral("PanelOrderItemEdit")));
}

TEST_F(AppForm, CtrlArrowsStayWithinTheRow) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO")));
    activate(window);
    auto* total = find<QLineEdit>(QStringLiteral("EditOrderItemPriceTotal"));
    auto* caption = find<QLineEdit>(QStringLiteral("EditOrderItemCaption"));
    QTest::mouseClick(total, Qt::LeftButton);
    QTest::keyClick(total, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), total);
    QTest::keyClick(total, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>(QStringLiteral("EditOrderItemMU")));
    QTest::mouseClick(caption, Qt::LeftButton);
    QTest::keyClick(caption, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), caption);
}

TEST_F(AppForm, UpAndDownFocusTheNeighbouringItems) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO")));
    activate(window);
    TDataComponentList* parts = window.Order()->Parts();
    ASSERT_GE(parts->ItemCount(), 2);
    parts->SetItemFocused(parts->Item(0));
    QTest::mouseClick(find<QLabel>(QStringLiteral("ImageMenuCollapsedParts")), Qt::LeftButton);
    auto* caption = find<QLineEdit>(QStringLiteral("EditPartsCaption"));
    QTest::mouseClick(caption, Qt::LeftButton);
    QTest::keyClick(caption, Qt::Key_Down);
    EXPECT_EQ(parts->ItemFocused(), parts->Item(1));
    EXPECT_EQ(caption->text(), parts->Item(1)->Caption());
    QTest::keyClick(caption, Qt::Key_PageUp);
    QTest::keyClick(caption, Qt::Key_Up);
    EXPECT_EQ(parts->ItemFocused(), parts->Item(0));
}

TEST_F(AppForm, NoDimensionsHidesTheRowEditor) {
    TLNEAppForm& window = open();
    activate(window);
    QTest::mouseClick(find<QLabel>(QStringLiteral("ImageMenuCollapsedMaterial")), Qt::LeftButton);
    EXPECT_TRUE(find<QWidget>(QStringLiteral("PanelMaterialEdit"))->isVisible());
    // Emptying the list in one go announces nothing afterwards; the refresh is what a reload sends.
    window.Material()->Dims()->DeleteItems(true);
    window.UpdateControls(window.Material()->Dims(), QStringLiteral("Items"));
    EXPECT_EQ(window.Material()->Dims()->ItemCount(), 0);
    EXPECT_FALSE(find<QWidget>(QStringLiteral("PanelMaterialEdit"))->isVisible());
}

TEST_F(AppForm, ClosingAsksAboutTheMaterialFirstAndCancelKeepsTheWindow) {
    TLNEAppForm& window = open();
    window.show();
    window.Material()->SetCaption(QStringLiteral("Oak"));
    window.Order()->SetCaption(QStringLiteral("Shelves"));
    const QString materialQuestion =
        TextWithLineBreaks(GetText(QStringLiteral("Material"), QStringLiteral("SaveQuestion")));
    const QString orderQuestion =
        TextWithLineBreaks(GetText(QStringLiteral("Order"), QStringLiteral("SaveQuestion")));
    struct Case {
        std::vector<QMessageBox::StandardButton> answers;
        QStringList asked;
        bool closes;
    };
    const Case cases[] = {
        {{QMessageBox::Cancel}, {materialQuestion}, false},
        {{QMessageBox::No, QMessageBox::Cancel}, {materialQuestion, orderQuestion}, false},
        {{QMessageBox::No, QMessageBox::No}, {materialQuestion, orderQuestion}, true},
    };
    for (const Case& c : cases) {
        dialogs_->answers = c.answers;
        dialogs_->questions.clear();
        EXPECT_EQ(window.close(), c.closes);
        EXPECT_EQ(dialogs_->questions, c.asked);
        EXPECT_EQ(window.isVisible(), !c.closes);
    }
}

TEST_F(AppForm, ANewOrdersFirstSaveAsksForANameAndTheSecondDoesNot) {
    TLNEAppForm& window = open();
    window.show();
    dialogs_->saveName = path("first.LNO");
    click(QStringLiteral("LabelMenuOrderSave"));
    ASSERT_EQ(dialogs_->requests.size(), 1u);
    EXPECT_EQ(dialogs_->requests[0].defaultExtension, QStringLiteral("LNO"));
    EXPECT_EQ(dialogs_->requests[0].initialName, window.Order()->Caption());
    EXPECT_EQ(dialogs_->requests[0].filter, QStringLiteral("Orders (*.LNO *.lno);;All files (*)"));
    EXPECT_TRUE(QFile::exists(path("first.LNO")));
    EXPECT_EQ(window.Order()->FileName(), path("first.LNO"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lintaro - first.LNO"));
    QFile::remove(path("first.LNO"));
    click(QStringLiteral("ImageIconOrderSave"));
    EXPECT_EQ(dialogs_->requests.size(), 1u);
    EXPECT_TRUE(QFile::exists(path("first.LNO")));
}

TEST_F(AppForm, SaveAsHTMLOfAnUnsavedOrderProposesItsCaption) {
    TLNEAppForm& window = open();
    window.Order()->SetCaption(QStringLiteral("Shop 7"));
    dialogs_->saveName = path("shop.htm");
    click(QStringLiteral("LabelMenuOrderSaveAsHTML"));
    ASSERT_EQ(dialogs_->requests.size(), 1u);
    EXPECT_EQ(dialogs_->requests[0].initialName, QStringLiteral("Shop 7.HTM"));
    EXPECT_EQ(dialogs_->requests[0].defaultExtension, QStringLiteral("HTM"));
    EXPECT_TRUE(QFile::exists(path("shop.htm")));
}

// Records what the printers asked to show.
class RecordingPrintHost : public TPrintHost {
public:
    void Preview(TSestava&, int&) override { shown << QStringLiteral("preview"); }
    void Design(TSestava&) override { shown << QStringLiteral("design"); }
    QStringList shown;
};

TEST_F(AppForm, PrintOpensThePreviewAndShiftWithCtrlTheDesigner) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("Kitchen.LNO"), QStringLiteral("kitchen.LNO")));
    RecordingPrintHost host;
    TScopedPrintHost scoped(&host);
    const std::pair<bool, bool> keys[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto& [shift, ctrl] : keys) {
        ScopedKeyboardState keyboard(shift, ctrl);
        click(QStringLiteral("LabelMenuOrderPrint"));
    }
    EXPECT_EQ(host.shown, (QStringList{"preview", "preview", "preview", "design"}));
    window.SwitchPage(pgSetup);
    click(QStringLiteral("ImageIconSetupPrint"));
    EXPECT_EQ(host.shown.size(), 5);
}

TEST_F(AppForm, DeleteAllLeavesTheLastPart) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO")));
    window.show();
    TPartList* parts = window.Order()->Parts();
    ASSERT_GE(parts->ItemCount(), 3);
    TDataComponent* last = parts->Item(parts->ItemCount() - 1);
    parts->SetItemFocused(parts->Item(0));
    dialogs_->answers = {QMessageBox::No};
    click(QStringLiteral("LabelMenuPartsDeleteAll"));
    EXPECT_GE(parts->ItemCount(), 3);
    ASSERT_EQ(dialogs_->questions.size(), 1);
    EXPECT_TRUE(dialogs_->questions[0].contains(parts->Item(0)->Caption()));
    dialogs_->answers = {QMessageBox::Yes};
    click(QStringLiteral("ImageIconPartsDeleteAll"));
    ASSERT_EQ(parts->ItemCount(), 1);
    EXPECT_EQ(parts->Item(0), last);
}

TEST_F(AppForm, DeletingTheOnlyDimensionDoesNothing) {
    TLNEAppForm& window = open();
    window.show();
    TDimensionList* dims = window.Material()->Dims();
    ASSERT_EQ(dims->ItemCount(), 1);
    dialogs_->answers = {QMessageBox::Yes};
    click(QStringLiteral("LabelMenuMaterialDelete"));
    EXPECT_EQ(dims->ItemCount(), 1);
    EXPECT_TRUE(dialogs_->questions.isEmpty());

    TLNEAppForm& loaded = open(sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("board.LNM")));
    loaded.show();
    TDimensionList* stock = loaded.Material()->Dims();
    const int count = stock->ItemCount();
    ASSERT_GE(count, 2);
    dialogs_->answers = {QMessageBox::Yes};
    click(QStringLiteral("ImageIconMaterialDelete"));
    EXPECT_EQ(stock->ItemCount(), count - 1);
    EXPECT_EQ(dialogs_->questions.size(), 1);
}

TEST_F(AppForm, ZoomStaysWithinItsBounds) {
    open().show();
    // Zooming out works on the sheet view only.
    click(QStringLiteral("LabelMenuSheetsSheets"));
    TSetup* setup = TApplicationLinks::Setup();
    const int saved = setup->SheetsZoom();
    struct Case {
        int start;
        const char* icon;
        int expected;
    };
    for (const Case& c :
         {Case{100, "ImageIconSheetsZoomOut", 100}, Case{600, "ImageIconSheetsZoomIn", 600},
          Case{200, "ImageIconSheetsZoomIn", 300}, Case{200, "ImageIconSheetsZoomOut", 100}}) {
        setup->SetSheetsZoom(c.start);
        click(QLatin1String(c.icon));
        EXPECT_EQ(setup->SheetsZoom(), c.expected) << c.icon << " from " << c.start;
    }
    setup->SetSheetsZoom(saved);
}

// The shop-fitting sample calculated from the Sheets page, on a virtual clock of few steps per
// second so that the search's schedule ends soon and the plan is the same on any machine.
TEST_F(AppForm, CalculationFromTheSheetsPageAndBookingTheResult) {
    VirtualClock clock(1000);
    SetCurrentClock(&clock);
    const std::shared_ptr<void> restoreClock(nullptr, [](void*) { SetCurrentClock(nullptr); });
    InstallCalculator();
    sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("Board18.LNM"));
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO")));
    activate(window);
    click(QStringLiteral("LabelMenuSheetsParams"));
    TSheets* sheets = window.Order()->Sheets();
    auto* button = find<QPushButton>(QStringLiteral("ButtonSheetsStartStop"));
    auto* takeOff = find<QPushButton>(QStringLiteral("ButtonSheetsMaterialTakeOffDims"));
    auto* backRests = find<QPushButton>(QStringLiteral("ButtonSheetsMaterialBackRests"));
    const QString start = button->text();
    EXPECT_FALSE(takeOff->isEnabled());

    // Stop as soon as the first sheet's search shows progress.
    QString captionWhileRunning;
    auto* sheetBar = find<QProgressBar>(QStringLiteral("ProgressBarSheetsSheet"));
    const QMetaObject::Connection stopper =
        QObject::connect(sheetBar, &QProgressBar::valueChanged, [&](int value) {
            if (value == 0 || !captionWhileRunning.isEmpty())
                return;
            captionWhileRunning = button->text();
            click(QStringLiteral("LabelMenuOrderNew")); // ignored while calculating
            QTest::mouseClick(button, Qt::LeftButton);
        });
    QTest::mouseClick(button, Qt::LeftButton);
    QObject::disconnect(stopper);
    EXPECT_EQ(captionWhileRunning,
              GetText(QStringLiteral("TSheets"), QStringLiteral("ButtonCalculationStop")));
    EXPECT_EQ(dialogs_->questions.size(), 0);
    EXPECT_EQ(sheets->State(), ssCalculatedError);
    EXPECT_EQ(sheets->CuttingSheets()->ItemCount(), 0);
    EXPECT_TRUE(sheets->CalculationReport().join(u'\n').contains(QStringLiteral("ERROR #-1")));
    EXPECT_EQ(button->text(), start);
    EXPECT_FALSE(takeOff->isEnabled());

    int sheetProgressSteps = 0;
    QObject::connect(sheetBar, &QProgressBar::valueChanged, [&] { ++sheetProgressSteps; });
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(sheets->State(), ssCalculatedOK);
    const TCuttingSheetList* result = sheets->CuttingSheets();
    ASSERT_GT(result->ItemCount(), 1);
    EXPECT_GT(sheetProgressSteps, 1);
    EXPECT_TRUE(find<QPlainTextEdit>(QStringLiteral("MemoSheetsResults"))
                    ->toPlainText()
                    .endsWith(TSheets::StateText(ssCalculatedOK)));

    click(QStringLiteral("LabelMenuSheetsSheets"));
    EXPECT_FALSE(find<QLabel>(QStringLiteral("ImageSheetsView"))->pixmap().isNull());
    // A report that grew while its page was hidden opens at its end, where the outcome is; one
    // scrolled back by the user stays where it is when the page is shown again.
    for (int i = 0; i < 60; ++i)
        sheets->AppendReportLine(QStringLiteral("line %1").arg(i));
    click(QStringLiteral("LabelMenuSheetsResults"));
    QScrollBar* reportBar = find<QPlainTextEdit>(QStringLiteral("MemoSheetsResults"))->verticalScrollBar();
    EXPECT_GT(reportBar->maximum(), 0);
    EXPECT_EQ(reportBar->value(), reportBar->maximum());
    QTest::keyClick(find<QPlainTextEdit>(QStringLiteral("MemoSheetsResults")), Qt::Key_PageUp);
    const int readingAt = reportBar->value();
    EXPECT_LT(readingAt, reportBar->maximum());
    click(QStringLiteral("LabelMenuSheetsSheets"));
    click(QStringLiteral("LabelMenuSheetsResults"));
    EXPECT_EQ(reportBar->value(), readingAt);
    click(QStringLiteral("LabelMenuSheetsSheets"));
    EXPECT_FALSE(find<QLabel>(QStringLiteral("ImageIconSheetsPrev"))->isEnabled());
    click(QStringLiteral("ImageIconSheetsNext"));
    EXPECT_EQ(result->IndexOf(result->ItemFocused()), 1);
    EXPECT_TRUE(find<QLabel>(QStringLiteral("ImageIconSheetsPrev"))->isEnabled());

    // Taking off: every used size loses its sheets' pieces, not below 0.
    TDimensionList* dims = window.Material()->Dims();
    std::map<int, int> expected;
    for (int i = 0; i < dims->ItemCount(); ++i)
        expected[dims->Dimension(i)->ID()] = dims->Dimension(i)->Count();
    for (int i = 0; i < result->ItemCount(); ++i) {
        int& count = expected[result->Sheet(i)->Dimension()->ID()];
        count = std::max(0, count - result->Sheet(i)->Count());
    }
    click(QStringLiteral("LabelMenuSheetsParams"));
    QTest::mouseClick(takeOff, Qt::LeftButton);
    EXPECT_TRUE(sheets->DimsTakedOff());
    EXPECT_FALSE(takeOff->isEnabled());
    for (int i = 0; i < dims->ItemCount(); ++i)
        EXPECT_EQ(dims->Dimension(i)->Count(), expected[dims->Dimension(i)->ID()]) << i;

    // Returning the rests: each rest's size is in stock as a rest, matched or crossed.
    int rests = 0;
    for (int i = 0; i < result->ItemCount(); ++i)
        rests += result->Sheet(i)->Rests()->ItemCount();
    ASSERT_GT(rests, 0);
    QTest::mouseClick(backRests, Qt::LeftButton);
    EXPECT_TRUE(sheets->RestReturned());
    EXPECT_FALSE(backRests->isEnabled());
    for (int i = 0; i < result->ItemCount(); ++i)
        for (int r = 0; r < result->Sheet(i)->Rests()->ItemCount(); ++r) {
            const auto* rest = static_cast<const TCSDimOut*>(result->Sheet(i)->Rests()->Item(r));
            bool found = false;
            for (int d = 0; d < dims->ItemCount(); ++d) {
                const TDimension* dim = dims->Dimension(d);
                found |= dim->IsRest() && dim->Count() > 0 &&
                         ((dim->StoredX() == rest->X() && dim->StoredY() == rest->Y()) ||
                          (dim->StoredX() == rest->Y() && dim->StoredY() == rest->X()));
            }
            EXPECT_TRUE(found) << "sheet " << i << " rest " << r;
        }
}

TEST_F(AppForm, CommandsOfLabelsMenusAndIcons) {
    const std::pair<const char*, const char*> cases[] = {
        {"LabelMenuOrderNew", "OrderNew"},
        {"ImageIconPartsDeleteAll", "PartsDeleteAll"},
        {"MenuPartsEditDeleteAll", "PartsDeleteAll"},
        {"MenuSheetsViewResults", "SheetsResults"},
        {"MenuSheetsViewSaveAsDefault", "SheetsSaveAsDefault"},
        {"MenuMaterialHelpAbout", "About"},
        {"MenuSetupFileExit", "Exit"},
        {"MenuOrderFile", ""},
        {"ImageMenuCollapsedOrder", ""},
        {"LabelOrderCaption", ""},
    };
    for (const auto& [name, command] : cases)
        EXPECT_EQ(TLNEAppForm::CommandOf(QLatin1String(name)), QLatin1String(command)) << name;
}

} // namespace
} // namespace lintaro
