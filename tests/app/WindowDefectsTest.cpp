// The window as a user drives it, with real key and mouse events, page by page: what the controls
// show is what the data holds, the keys run the page's commands, nothing unsaved is lost without a
// question, and a result that no longer fits says so.
#include "AppFormFixture.h"

#include "app/window/ItemList.h"
#include "calc/Calculator.h"
#include "foundation/DataComponentList.h"
#include "foundation/Program.h"
#include "model/ApplicationLinks.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Clock.h"
#include "print/PrintHost.h"
#include "widgets/WindowTexts.h"

#include <QAction>
#include <QCheckBox>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextStream>

namespace lintaro {
namespace {

class WindowDefects : public AppForm {
protected:
    // Presses a key on the focused control, as a user does.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void focusField(const QString& name) {
        QTest::mouseClick(find<QWidget>(name), Qt::LeftButton);
        QApplication::processEvents();
    }
    // Opens the two samples: the order brings the material along.
    TLNEAppForm& openShop() {
        sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("Board18.LNM"));
        TLNEAppForm& window = open(sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO")));
        activate(window);
        return window;
    }
};

class RecordingHost : public TPrintHost {
public:
    void Preview(TSestava&, int&) override { ++previews; }
    void Design(TSestava&) override {}
    int previews = 0;
};

// ---- Material page ---------------------------------------------------------------------------

TEST_F(WindowDefects, MaterialGrainBoxIsSavedAndReadBack) {
    TLNEAppForm& window = open();
    activate(window);
    window.SwitchPage(pgMaterial);
    auto* grain = find<QCheckBox>(QStringLiteral("CBMaterialHasOrientation"));
    const bool before = window.Material()->HasOrientation();
    QTest::mouseClick(grain, Qt::LeftButton, {}, QPoint(6, grain->height() / 2));
    ASSERT_EQ(window.Material()->HasOrientation(), !before);
    ASSERT_TRUE(window.Material()->SaveToFile(path("grain.LNM")));
    TMaterial reread;
    ASSERT_TRUE(reread.LoadFromFile(path("grain.LNM")));
    EXPECT_EQ(reread.HasOrientation(), !before);
}

TEST_F(WindowDefects, MaterialPassingThroughTheAreaFieldChangesNothing) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("board.LNM")));
    activate(window);
    ASSERT_FALSE(window.Material()->GetModified());
    const Currency area = window.Material()->StoredMinRecyArea();
    focusField(QStringLiteral("EditMaterialMinRecyArea"));
    focusField(QStringLiteral("EditMaterialNote"));
    EXPECT_EQ(window.Material()->StoredMinRecyArea(), area);
    EXPECT_FALSE(window.Material()->GetModified());
}

TEST_F(WindowDefects, MaterialSaveAsDefaultCopiesLargePricesAreasAndGrain) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("board.LNM")));
    activate(window);
    typeInto(QStringLiteral("EditMaterialPrice"), QStringLiteral("1200"));
    typeInto(QStringLiteral("EditMaterialMinRecyArea"), QStringLiteral("0,75"));
    typeInto(QStringLiteral("EditMaterialMinRecyDim"), QStringLiteral("1000"));
    ASSERT_TRUE(window.Material()->HasOrientation());
    window.RunCommand(QStringLiteral("MaterialSaveAsDefault"));
    TSetup* setup = TApplicationLinks::Setup();
    EXPECT_EQ(setup->MaterialPrice(), Currency::fromInteger(1200));
    EXPECT_EQ(setup->MaterialMinRecyArea(), Currency::fromScaledText(QStringLiteral("7500")));
    EXPECT_EQ(setup->MaterialMinRecyDim(), Currency::fromInteger(1000));
    EXPECT_TRUE(setup->MaterialHasOrientation());
}

TEST_F(WindowDefects, MaterialAPriceTheLocaleCannotReadShowsTheEntryMessage) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("board.LNM")));
    activate(window);
    const Currency price = window.Material()->Price();
    // The Czech decimal separator is ",".
    typeInto(QStringLiteral("EditMaterialPrice"), QStringLiteral("2.5"));
    EXPECT_EQ(window.Material()->Price(), price);
    ASSERT_EQ(dialogs_->errors.size(), 1);
    EXPECT_TRUE(dialogs_->errors[0].contains(QStringLiteral("2.5")));
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("EditMaterialPrice"))->text(),
              window.Material()->GetPropAsString(QStringLiteral("Price")));
}

TEST_F(WindowDefects, MaterialCtrlArrowsStopAtTheRowsReadOnlyCells) {
    TLNEAppForm& window = openShop();
    window.SwitchPage(pgMaterial);
    focusField(QStringLiteral("EditMaterialDimY"));
    press(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>(QStringLiteral("EditMaterialDimY")));
    window.SwitchPage(pgParts);
    focusField(QStringLiteral("EditPartsCaption"));
    press(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>(QStringLiteral("EditPartsCaption")));
    press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>(QStringLiteral("EditPartsX")));
}

// ---- Order page ------------------------------------------------------------------------------

TEST_F(WindowDefects, OrderShortcutsComeFromTheActivePagesMenu) {
    TLNEAppForm& window = open();
    activate(window);
    EXPECT_EQ(find<QAction>(QStringLiteral("MenuOrderFileSave"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_TRUE(find<QAction>(QStringLiteral("MenuMaterialFileSave"))->shortcut().isEmpty());

    dialogs_->saveName = path("keys.LNO");
    focusField(QStringLiteral("EditOrderCaption"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Shelves"));
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(path("keys.LNO")));
    EXPECT_EQ(window.Order()->Caption(), QStringLiteral("Shelves")) << "the field commits before the command";

    dialogs_->openName.clear();
    press(Qt::Key_O, Qt::ControlModifier);
    ASSERT_FALSE(dialogs_->requests.empty());
    EXPECT_EQ(dialogs_->requests.back().defaultExtension, QStringLiteral("LNO"));

    window.SwitchPage(pgSetup);
    focusField(QStringLiteral("EditSetupSupplierCaption"));
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs_->requests.back().defaultExtension, QStringLiteral("BMP"));
}

// An order opened with its own material is unchanged: New asks nothing. Had the material's price
// changed since the order was saved, the order's items take the new price, and that is a change.
TEST_F(WindowDefects, OrderOpenedWithItsMaterialIsUnchangedUnlessThePriceMoved) {
    for (const bool priceMoved : {false, true}) {
        QFile::remove(path(QStringLiteral("Board18.LNM")));
        QFile::remove(path(QStringLiteral("kitchen.LNO")));
        const QString material = sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("Board18.LNM"));
        if (priceMoved) {
            TMaterial m;
            ASSERT_TRUE(m.LoadFromFile(material));
            m.SetPropAsString(QStringLiteral("Price"), QStringLiteral("30"));
            ASSERT_TRUE(m.SaveToFile(material));
        }
        TLNEAppForm& window = open(sampleCopy(QStringLiteral("Kitchen.LNO"), QStringLiteral("kitchen.LNO")));
        activate(window);
        dialogs_->questions.clear();
        dialogs_->answers = {QMessageBox::No};
        click(QStringLiteral("LabelMenuOrderNew"));
        EXPECT_EQ(dialogs_->questions.size(), priceMoved ? 1 : 0) << "price moved: " << priceMoved;
        EXPECT_TRUE(window.Order()->FileName().isEmpty()) << "a new order";
    }
}

TEST_F(WindowDefects, OrderOpenAsksAboutUnsavedStockFirst) {
    TLNEAppForm& window = open(sampleCopy(QStringLiteral("Board18.LNM"), QStringLiteral("Board18.LNM")));
    activate(window);
    typeInto(QStringLiteral("EditMaterialDimCount"), QStringLiteral("9"));
    ASSERT_TRUE(window.Material()->GetModified());
    dialogs_->openName = sampleCopy(QStringLiteral("ShopFitting.LNO"), QStringLiteral("shop.LNO"));
    const QString question =
        TextWithLineBreaks(GetText(QStringLiteral("Material"), QStringLiteral("SaveQuestion")));

    // The order's own question may come first; the material's follows before anything is read.
    dialogs_->answers = {QMessageBox::No, QMessageBox::Cancel};
    if (!window.Order()->GetModified())
        dialogs_->answers.erase(dialogs_->answers.begin());
    window.RunCommand(QStringLiteral("OrderOpen"));
    ASSERT_FALSE(dialogs_->questions.isEmpty());
    EXPECT_EQ(dialogs_->questions.last(), question);
    EXPECT_TRUE(window.Order()->FileName().isEmpty()) << "Cancel ends the command";
    EXPECT_TRUE(window.Material()->GetModified());

    dialogs_->answers = {QMessageBox::No, QMessageBox::No};
    window.RunCommand(QStringLiteral("OrderOpen"));
    EXPECT_EQ(window.Order()->FileName(), dialogs_->openName);
    EXPECT_FALSE(window.Material()->GetModified());
}

TEST_F(WindowDefects, OrderTabLeavesTheNotesAndEnterLeavesTheVATBox) {
    TLNEAppForm& window = open();
    activate(window);
    auto* note = find<QPlainTextEdit>(QStringLiteral("MemoOrderNote1"));
    focusField(QStringLiteral("MemoOrderNote1"));
    QTest::keyClick(note, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(note, QStringLiteral("Deliver"));
    press(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), note);
    EXPECT_EQ(window.Order()->GetPropAsString(QStringLiteral("Note1")), QStringLiteral("Deliver"));

    window.SwitchPage(pgMaterial);
    auto* vat = find<QCheckBox>(QStringLiteral("CBMaterialPriceIsWithVAT"));
    vat->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), vat);
}

TEST_F(WindowDefects, OrderRefusedFilesAreNamed) {
    TLNEAppForm& window = open();
    activate(window);
    const QString newer = path("newer.LNO");
    {
        QFile file(newer);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        QTextStream(&file) << "[Order]\r\nVersion=2\r\nMinVersion=2\r\n";
    }
    dialogs_->openName = newer;
    window.RunCommand(QStringLiteral("OrderOpen"));
    ASSERT_EQ(dialogs_->errors.size(), 1);
    EXPECT_TRUE(dialogs_->errors[0].contains(newer)) << qPrintable(dialogs_->errors[0]);

    dialogs_->saveName = path("missing/folder/x.LNO");
    window.RunCommand(QStringLiteral("OrderSaveAs"));
    ASSERT_EQ(dialogs_->errors.size(), 2);
    EXPECT_TRUE(dialogs_->errors[1].contains(dialogs_->saveName)) << qPrintable(dialogs_->errors[1]);
}

// ---- Parts page ------------------------------------------------------------------------------

TEST_F(WindowDefects, PartsAClickIntoAnotherRowsCellEditsThatCell) {
    TLNEAppForm& window = openShop();
    window.SwitchPage(pgParts);
    TPartList* parts = window.Order()->Parts();
    parts->SetItemFocused(parts->Item(0));
    focusField(QStringLiteral("EditPartsCaption"));
    TPart* next = parts->Part(1);
    const QString caption = next->Caption();
    auto* view = find<QListView>(QStringLiteral("LBParts"));
    QWidget* panel = find<QWidget>(QStringLiteral("PanelPartsEdit"));
    QWidget* lengthX = find<QWidget>(QStringLiteral("EditPartsX"));
    const QRect row = view->visualRect(view->model()->index(1, 0));
    const int x = panel->x() - view->x() - view->viewport()->x() + lengthX->x() + lengthX->width() / 2;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
    QApplication::processEvents();
    ASSERT_EQ(parts->ItemFocused(), next);
    EXPECT_EQ(QApplication::focusWidget(), lengthX);
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1300"));
    press(Qt::Key_Tab);
    EXPECT_EQ(next->Caption(), caption);
    EXPECT_EQ(next->StoredX(), Currency::fromInteger(1300));
}

TEST_F(WindowDefects, PartsCtrlDelInTheCaptionDeletesThePartAfterItsQuestion) {
    TLNEAppForm& window = openShop();
    window.SwitchPage(pgParts);
    TPartList* parts = window.Order()->Parts();
    const int count = parts->ItemCount();
    parts->SetItemFocused(parts->Item(0));
    focusField(QStringLiteral("EditPartsCaption"));
    const QString caption = parts->Item(0)->Caption();
    dialogs_->answers = {QMessageBox::Yes};
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dialogs_->questions.size(), 1);
    EXPECT_EQ(parts->ItemCount(), count - 1);
    EXPECT_EQ(parts->FindItem(caption), nullptr);
}

// ---- Sheets page -----------------------------------------------------------------------------

TEST_F(WindowDefects, SheetsAChangedPartMarksTheResultOutOfDate) {
    VirtualClock clock(1000);
    SetCurrentClock(&clock);
    const std::shared_ptr<void> restoreClock(nullptr, [](void*) { SetCurrentClock(nullptr); });
    InstallCalculator();
    TLNEAppForm& window = openShop();
    window.SwitchPage(pgSheets);
    auto* mark = find<QLabel>(QStringLiteral("LabelSheetsOutOfDate"));
    QTest::mouseClick(find<QPushButton>(QStringLiteral("ButtonSheetsStartStop")), Qt::LeftButton);
    ASSERT_EQ(window.Order()->Sheets()->State(), ssCalculatedOK)
        << qPrintable(window.Order()->Sheets()->CalculationReport().join(u'\n'));
    EXPECT_FALSE(mark->isVisible());
    EXPECT_EQ(find<QLineEdit>(QStringLiteral("EditSheetsPhase"))->text(), TSheets::StateText(ssCalculatedOK));

    window.SwitchPage(pgParts);
    TPartList* parts = window.Order()->Parts();
    parts->SetItemFocused(parts->Item(0));
    const QString count = parts->Part(0)->GetPropAsString(QStringLiteral("Count"));
    typeInto(QStringLiteral("EditPartsCount"), QStringLiteral("99"));
    window.SwitchPage(pgSheets);
    EXPECT_TRUE(mark->isVisible());
    EXPECT_FALSE(mark->text().isEmpty());

    RecordingHost host;
    TScopedPrintHost scoped(&host);
    dialogs_->answers = {QMessageBox::No};
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dialogs_->questions.size(), 1);
    EXPECT_EQ(host.previews, 0);

    window.SwitchPage(pgParts);
    typeInto(QStringLiteral("EditPartsCount"), count);
    window.SwitchPage(pgSheets);
    EXPECT_FALSE(mark->isVisible()) << "the parts are what was calculated again";
}

// ---- The window ------------------------------------------------------------------------------

TEST_F(WindowDefects, WindowListsAndTheSheetViewGrowWithTheWindow) {
    TLNEAppForm& window = openShop();
    window.resize(1590, 960);
    window.SwitchPage(pgParts);
    QApplication::processEvents();
    // The 61 parts fill what the page offers below its header, not the form's 13 rows.
    auto* parts = find<QListView>(QStringLiteral("LBParts"));
    EXPECT_GT(parts->height(), 600);
    EXPECT_GT(find<QWidget>(QStringLiteral("CBAddAutoPartsArea"))->y(), parts->geometry().bottom());
    window.RunCommand(QStringLiteral("SheetsSheets"));
    QApplication::processEvents();
    EXPECT_GT(find<QScrollArea>(QStringLiteral("ScrollBoxSheetsView"))->height(), 700);
}

} // namespace
} // namespace lintaro
