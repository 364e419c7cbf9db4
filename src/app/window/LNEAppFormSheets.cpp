// The Sheets page of the main window: the calculation with its progress, the figures of the
// parameters page, the sheet view with zoom and sheet navigation, and booking the result against
// the material's stock.
#include "app/window/LNEAppForm.h"
#include "calc/SheetDrawing.h"
#include "foundation/Program.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Material.h"
#include "model/MaterialStock.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>

namespace lintaro {

namespace {

constexpr int kSheetViewPage = 1;
constexpr int kResultsPage = 2;
// The inner notebook's width beside the tips; the sheet view takes the whole page.
constexpr int kSheetsNotebookWidth = 600;
// The Sheets page's bottom banner needs this much height of the inner notebook.
constexpr int kBannerNotebookHeight = 430;

} // namespace

void TLNEAppForm::startStopCalculation() {
    TSheets* sheets = order_->Sheets();
    if (sheets->State() == ssCalculating) {
        sheets->RequestStop();
        return;
    }
    sheets->Calculate();
}

int TLNEAppForm::focusedSheetIndex() const {
    // Until the user picks a sheet, the view shows the first.
    const TCuttingSheetList* result = order_->Sheets()->CuttingSheets();
    const int index = result->IndexOf(result->ItemFocused());
    return index >= 0 ? index : result->ItemCount() > 0 ? 0 : -1;
}

void TLNEAppForm::takeOffDims() {
    if (CanTakeOffDimensions(*order_->Sheets(), *material_))
        TakeOffDimensions(*order_->Sheets(), *material_);
}

void TLNEAppForm::returnRests() {
    if (CanReturnRests(*order_->Sheets(), *material_))
        ReturnRests(*order_->Sheets(), *material_);
}

void TLNEAppForm::moveSheet(int step) {
    auto* notebook = control<QStackedWidget>(QStringLiteral("NBSheets"));
    if (notebook->currentIndex() != kSheetViewPage) {
        showSheetsPage(kSheetViewPage);
        return;
    }
    TCuttingSheetList* result = order_->Sheets()->CuttingSheets();
    const int index = focusedSheetIndex() + step;
    if (index >= 0 && index < result->ItemCount())
        result->SetItemFocused(result->Item(index));
}

void TLNEAppForm::showSheetsPage(int index) {
    if (page_ != pgSheets)
        SwitchPage(pgSheets);
    auto* notebook = control<QStackedWidget>(QStringLiteral("NBSheets"));
    notebook->setCurrentIndex(index);
    // The sheet view takes the tips' and banner's place on the right.
    const bool view = index == kSheetViewPage;
    for (const char* name : {"ImageTipBkgSheets", "ImageTipSheets", "LabelTipSheets", "ImageTipPrevSheets",
                             "ImageTipNextSheets", "ImageRBSheets"})
        if (QWidget* widget = control<QWidget>(QLatin1String(name)))
            widget->setVisible(!view);
    QWidget* page = notebook->parentWidget();
    notebook->resize(view ? page->width() - notebook->x() - 2 : kSheetsNotebookWidth, notebook->height());
    if (view && !sheetViewDrawn_)
        redrawSheetView();
    if (index == kResultsPage && reportEndUnseen_) {
        reportEndUnseen_ = false;
        scrollReportToEnd();
    }
    updateSheetCommands();
}

void TLNEAppForm::scrollReportToEnd() {
    auto* memo = control<QPlainTextEdit>(QStringLiteral("MemoSheetsResults"));
    if (!memo->isVisible()) {
        // A hidden memo has no height yet to scroll by.
        reportEndUnseen_ = true;
        return;
    }
    memo->moveCursor(QTextCursor::End);
    memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
}

void TLNEAppForm::layoutSheetsPage() {
    auto* notebook = control<QStackedWidget>(QStringLiteral("NBSheets"));
    QWidget* page = notebook->parentWidget();
    QWidget* banner = control<QWidget>(QStringLiteral("ImageBBSheets"));
    const int available = page->height() - notebook->y() - 4;
    const int bannerSpace = banner ? banner->height() + 8 : 0;
    const bool withBanner = banner && available - bannerSpace > kBannerNotebookHeight;
    notebook->resize(notebook->width(), std::max(200, withBanner ? available - bannerSpace : available));
    if (banner) {
        banner->move(banner->x(), notebook->geometry().bottom() + 6);
        banner->setVisible(withBanner);
    }
}

void TLNEAppForm::redrawSheetView() {
    auto* view = control<QLabel>(QStringLiteral("ImageSheetsView"));
    view->clear();
    view->resize(100, 100);
    view->parentWidget()->resize(100, 100);
    const TCuttingSheetList* result = order_->Sheets()->CuttingSheets();
    const int index = focusedSheetIndex();
    sheetViewDrawn_ = true;
    if (index < 0)
        return;
    const TCuttingSheet* sheet = result->Sheet(index);
    const QImage image = RenderSheetPicture(GetImage(*sheet));
    if (image.isNull())
        return;
    view->setPixmap(QPixmap::fromImage(image));
    view->resize(image.size());
    view->parentWidget()->resize(image.size());
}

void TLNEAppForm::updateSheetCommands() {
    TSheets* sheets = order_->Sheets();
    const bool calculating = sheets->State() == ssCalculating;
    control<QAbstractButton>(QStringLiteral("ButtonSheetsMaterialTakeOffDims"))
        ->setEnabled(!calculating && CanTakeOffDimensions(*sheets, *material_));
    control<QAbstractButton>(QStringLiteral("ButtonSheetsMaterialBackRests"))
        ->setEnabled(!calculating && CanReturnRests(*sheets, *material_));
    const bool view = control<QStackedWidget>(QStringLiteral("NBSheets"))->currentIndex() == kSheetViewPage;
    const int zoom = TApplicationLinks::Setup()->SheetsZoom();
    const TCuttingSheetList* result = sheets->CuttingSheets();
    const int index = focusedSheetIndex();
    const std::array<std::pair<const char*, bool>, 4> icons = {{
        {"ImageIconSheetsZoomOut", view && zoom > 100},
        {"ImageIconSheetsZoomIn", zoom < 600},
        {"ImageIconSheetsPrev", view && index > 0},
        {"ImageIconSheetsNext", view && index >= 0 && index + 1 < result->ItemCount()},
    }};
    for (const auto& [name, enabled] : icons)
        if (QWidget* icon = control<QWidget>(QLatin1String(name)))
            icon->setEnabled(enabled);
}

void TLNEAppForm::updateSheetsFigures() {
    TSheets* sheets = order_->Sheets();
    const bool calculated = sheets->State() != ssNone;
    TPartList* parts = order_->Parts();
    const TMaterial* material = calculated && sheets->Material() ? sheets->Material() : material_;
    const auto set = [this](const char* name, const QString& text) {
        control<QLineEdit>(QLatin1String(name))->setText(text);
    };
    set("EditSheetsOrderCaption", order_->Caption());
    set("EditSheetsMaterialCaption", material->Caption());
    set("EditSheetsPartsCount", calculated ? sheets->GetPropAsString(QStringLiteral("PartsInCount"))
                                           : parts->GetPropAsString(QStringLiteral("PartsCount")));
    set("EditSheetsPartsArea", calculated ? sheets->GetPropAsString(QStringLiteral("PartsInArea"))
                                          : parts->GetPropAsString(QStringLiteral("Area")));
    set("EditSheetsMaterialCutWidth", material->GetPropAsString(QStringLiteral("CutWidth")));
    set("EditSheetsMaterialMinRecyArea", material->GetPropAsString(QStringLiteral("MinRecyArea")));
    set("EditSheetsMaterialMinRecyDim", material->GetPropAsString(QStringLiteral("MinRecyDim")));
    for (const char* property : {"PartsUnusedCount", "PartsUnusedArea", "ExtractBrutto", "ExtractNetto"})
        set(QStringLiteral("EditSheets%1").arg(QLatin1String(property)).toLatin1().constData(),
            sheets->GetPropAsString(QLatin1String(property)));
}

void TLNEAppForm::showCalculationReport() {
    TSheets* sheets = order_->Sheets();
    QStringList lines = sheets->CalculationReport();
    lines << TSheets::StateText(sheets->State());
    auto* memo = control<QPlainTextEdit>(QStringLiteral("MemoSheetsResults"));
    memo->setPlainText(lines.join(u'\n'));
    scrollReportToEnd();
}

void TLNEAppForm::updateSheetsControls(TComponent* source, const QString& propName) {
    TSheets* sheets = order_->Sheets();
    const auto is = [&](const char* name) {
        return propName.isEmpty() || propName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    const bool all = !source;
    if (all || source == sheets) {
        if (is("State")) {
            const bool calculating = sheets->State() == ssCalculating;
            control<QAbstractButton>(QStringLiteral("ButtonSheetsStartStop"))
                ->setText(GetText(QStringLiteral("TSheets"), calculating
                                                                 ? QStringLiteral("ButtonCalculationStop")
                                                                 : QStringLiteral("ButtonCalculationStart")));
            if (!all) {
                auto* memo = control<QPlainTextEdit>(QStringLiteral("MemoSheetsResults"));
                memo->appendPlainText(TSheets::StateText(sheets->State()));
                reportEndUnseen_ = reportEndUnseen_ || !memo->isVisible();
            }
        }
        if (is("CalculationPhase") || is("State")) {
            // Once a run has ended, its outcome is what the phase field says ("Ready" would hide
            // that it was stopped).
            const bool ended = sheets->State() == ssCalculatedOK || sheets->State() == ssCalculatedError;
            control<QLineEdit>(QStringLiteral("EditSheetsPhase"))
                ->setText(ended && sheets->CalculationPhase() == scpNone
                              ? TSheets::StateText(sheets->State())
                              : TSheets::PhaseText(sheets->CalculationPhase()));
        }
        if (is("CalculationSheetProgress"))
            control<QProgressBar>(QStringLiteral("ProgressBarSheetsSheet"))
                ->setValue(std::clamp(sheets->CalculationSheetProgress(), 0, 100));
        if (is("CalculationTotalProgress"))
            control<QProgressBar>(QStringLiteral("ProgressBarSheetsTotal"))
                ->setValue(std::clamp(sheets->CalculationTotalProgress(), 0, 100));
        if (is("CalculationReport") && (all || sheets->State() != ssCalculating || propName.isEmpty()))
            showCalculationReport();
        else if (is("CalculationReport") && !sheets->CalculationReport().isEmpty()) {
            auto* memo = control<QPlainTextEdit>(QStringLiteral("MemoSheetsResults"));
            memo->appendPlainText(sheets->CalculationReport().constLast());
            reportEndUnseen_ = reportEndUnseen_ || !memo->isVisible();
        }
        if (is("State") || is("DimsTakedOff") || is("RestReturned"))
            updateSheetCommands();
        if (is("State") || is("PartsInArea") || is("PartsInCount") || is("PartsUnusedArea") ||
            is("PartsUnusedCount") || is("ExtractBrutto") || is("ExtractNetto"))
            updateSheetsFigures();
    }
    const TCuttingSheetList* result = sheets->CuttingSheets();
    if (all || source == result || (source && source->Owner() == result)) {
        if (all || propName.isEmpty() || is("ItemFocused") || is("Items")) {
            sheetViewDrawn_ = false;
            if (control<QStackedWidget>(QStringLiteral("NBSheets"))->currentIndex() == kSheetViewPage)
                redrawSheetView();
            updateSheetCommands();
        }
    }
    TSetup* setup = TApplicationLinks::Setup();
    if (all || source == setup) {
        if (is("SheetsZoom") || is("SheetsErlangeFont") || is("SheetsShowCaptionsOnParts")) {
            sheetViewDrawn_ = false;
            if (control<QStackedWidget>(QStringLiteral("NBSheets"))->currentIndex() == kSheetViewPage)
                redrawSheetView();
            updateSheetCommands();
        }
    }
    if (!all && (source == order_ || source == material_ || source == order_->Parts() ||
                 source == sheets->Material()))
        updateSheetsFigures();
    else if (all)
        updateSheetsFigures();
    if (source == material_ || (source && source->Owner() == material_->Dims()) ||
        source == material_->Dims())
        updateSheetCommands();
}

void TLNEAppForm::scheduleOutOfDateMark() {
    // A change of many parts (a CSV import) announces itself part by part; the mark is worked out
    // once they are through, not for every announcement.
    if (outOfDatePending_)
        return;
    outOfDatePending_ = true;
    QMetaObject::invokeMethod(this, &TLNEAppForm::updateOutOfDateMark, Qt::QueuedConnection);
}

void TLNEAppForm::updateOutOfDateMark() {
    outOfDatePending_ = false;
    if (QLabel* mark = control<QLabel>(QStringLiteral("LabelSheetsOutOfDate")))
        mark->setVisible(order_->Sheets()->ResultOutOfDate(material_));
}

bool TLNEAppForm::ResultOutOfDate() const {
    return order_->Sheets()->ResultOutOfDate(material_);
}

} // namespace lintaro
