#pragma once
// The program's one window: the order, its parts, the material, the calculation and the settings on
// five pages laid out in Designer forms, with the side menu, tips and banners of the decorations.
// It owns the order and the material.
#include "widgets/Pages.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

QT_BEGIN_NAMESPACE
class QKeyEvent;
class QLabel;
class QStackedWidget;
QT_END_NAMESPACE

namespace Ui {
class LNEAppForm;
}

namespace lintaro {

class TComponent;
class TDataComponent;
class TItemList;
struct TBinding;
class TMaterial;
class TOrder;
class TUserDialogs;
class TWindowDecorations;
class TWindowPrintHost;
struct TFileDialogRequest;

class TLNEAppForm : public QMainWindow {
public:
    // Start-up: `startFile` is the first command-line argument (empty when there was none).
    explicit TLNEAppForm(const QString& startFile = {}, QWidget* parent = nullptr);
    ~TLNEAppForm() override;

    TOrder* Order() const { return order_; }
    TMaterial* Material() const { return material_; }
    TPage ActivePage() const { return page_; }
    TWindowDecorations* Decorations() const { return decorations_; }
    // The order items, the parts and the dimensions.
    TItemList* OrderItemList() const { return itemsList_; }
    TItemList* PartList() const { return partsList_; }
    TItemList* DimList() const { return dimsList_; }

    // Questions and file dialogs go through this; tests replace it.
    void SetUserDialogs(std::unique_ptr<TUserDialogs> dialogs);
    TUserDialogs& UserDialogs() const { return *dialogs_; }
    // Runs a command by its name ("OrderNew", "PartsDelete", "SheetsZoomIn", "About", ...), as its
    // side-menu label, menu item and icon do. Nothing while a calculation runs, but for its stop.
    void RunCommand(const QString& command);
    // The command of a side-menu label, menu item or icon; empty when it has none.
    static QString CommandOf(const QString& controlName);
    // The key of a command on its page's menu; empty when it has none.
    static QKeySequence ShortcutOf(const QString& command);

    // Collapses the other side-menu blocks, expands the page's block, shows the page and its menus.
    void SwitchPage(TPage page);
    // Refreshes the controls that show the property of the source; everything without a source.
    void UpdateControls(TComponent* source, const QString& propName);

    // The rows of the binding table whose control the forms lack (or whose control is not of the
    // row's kind); empty in a sound program, checked at start-up.
    QStringList UnboundRows() const;

    // Whether the order's result no longer fits its parts or the window's material.
    bool ResultOutOfDate() const;

    // Posts the deferred re-focus: the focused control is left and entered again once pending
    // refreshes have run, so that it shows its refreshed value.
    void PostRefocus();

    // The fixed width of the main panel; it is centred in the window.
    static constexpr int kPanelWidth = 970;
    static constexpr int kMinPanelHeight = 500;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPages();
    void applyLook();
    void openStartFile(const QString& fileName);
    void restoreWindowState();
    void storeWindowState();
    void layoutSideMenu();
    void connectCommands();
    void applyShortcuts();
    bool isActiveShortcut(const QKeyEvent* event) const;
    void showSheetsPage(int index);
    // The Sheets page.
    void startStopCalculation();
    void takeOffDims();
    void returnRests();
    void moveSheet(int step);
    int focusedSheetIndex() const;
    void layoutSheetsPage();
    void redrawSheetView();
    void updateSheetCommands();
    void updateSheetsFigures();
    void showCalculationReport();
    void scrollReportToEnd();
    void updateSheetsControls(TComponent* source, const QString& propName);
    // The Sheets page's mark that the result no longer fits the parts or the material.
    void updateOutOfDateMark();
    void scheduleOutOfDateMark();
    // The VAT boxes and the controls that depend on the supplier paying VAT.
    void bindVATBoxes();
    void updateVATControls();
    // Commands.
    bool saveQuestion(bool material);
    bool saveObject(bool material, bool askName);
    TFileDialogRequest fileRequest(bool material, bool save) const;
    void openObject(bool material);
    void newObject(bool material);
    void deletePart(bool all);
    void deleteDim();
    void saveAsDefault(TPage page);
    // The save dialog of an export of the order: initial name from its file, caption or default.
    TFileDialogRequest exportRequest(const char* titleKey, const char* filterKey,
                                     const QString& extension) const;
    void exportCSV();
    void exportHTML();
    void printDocument(TPage page);
    void importCSV();
    void loadLogo();
    void zoom(int step);
    void commitFocusedControl();
    void refocus();
    // The change handler: writes a bound control's value into its data, reading numbers back.
    void bindControls();
    void buildItemLists();
    void showBinding(const TBinding& binding);
    void refreshBindings(int object);
    // The keys the window handles before its controls; true when the key was used.
    bool handleKey(QWidget* control, QKeyEvent* event);
    bool moveInRow(TItemList* list, QWidget* field, int step);
    TItemList* listOfField(const QObject* field) const;
    void controlChanged(QWidget* control);
    const TBinding* bindingOf(const QObject* control) const;
    TDataComponent* boundObject(int object) const;
    QStackedWidget* menuBlock(TPage page) const;
    template <class T> T* control(const QString& name) const { return findChild<T*>(name); }

    std::unique_ptr<Ui::LNEAppForm> ui_;
    std::unique_ptr<TUserDialogs> dialogs_;
    TMaterial* material_ = nullptr; // owned, made before the order
    TOrder* order_ = nullptr;       // owned
    TWindowDecorations* decorations_ = nullptr;
    std::unique_ptr<TWindowPrintHost> printHost_;
    TItemList* itemsList_ = nullptr;
    TItemList* partsList_ = nullptr;
    TItemList* dimsList_ = nullptr;
    TPage page_ = pgOrder;
    std::vector<QKeySequence> activeShortcuts_;
    bool shown_ = false;
    // The sheet view shows the focused sheet as drawn now.
    bool sheetViewDrawn_ = false;
    // The report changed while its page was hidden: showing the page shows its end, the outcome.
    bool reportEndUnseen_ = false;
    bool outOfDatePending_ = false;
    // While above 0, control events do not write back into the data.
    int updateLock_ = 0;
    struct {
        int amountX = 0, amountLabelX = 0, totalwoVATY = 0, totalwVATY = 0;
    } vatDesign_;
};

} // namespace lintaro
