// The print commands of the main window: each page prints its document through its printer module,
// previewed first; with Shift and Ctrl held the template designer opens instead.
#include "app/window/LNEAppForm.h"
#include "app/window/UserDialogs.h"
#include "foundation/Program.h"
#include "model/Order.h"
#include "platform/Keyboard.h"
#include "print/MaterialPrinter.h"
#include "print/OrderPrinter.h"
#include "print/PartsPrinter.h"
#include "print/SetupPrinter.h"
#include "print/SheetsPrinter.h"
#include "widgets/WindowTexts.h"

#include <QStackedWidget>

#include <memory>

namespace lintaro {

void TLNEAppForm::printDocument(TPage page) {
    std::unique_ptr<TDocumentPrinter> printer;
    switch (page) {
    case pgOrder: {
        auto order = std::make_unique<TOrderPrinter>();
        order->Order = order_;
        printer = std::move(order);
        break;
    }
    case pgParts: {
        auto parts = std::make_unique<TPartsPrinter>();
        parts->Order = order_;
        printer = std::move(parts);
        break;
    }
    case pgMaterial: {
        auto material = std::make_unique<TMaterialPrinter>();
        material->Material = material_;
        printer = std::move(material);
        break;
    }
    case pgSheets: {
        // A plan that no longer fits the parts or the stock is printed only when the user says so.
        if (ResultOutOfDate() &&
            dialogs_->Ask(
                GetText(QStringLiteral("Common"), QStringLiteral("Question")),
                TextWithLineBreaks(GetText(QStringLiteral("TSheets"), QStringLiteral("OutOfDateQuestion"))),
                QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        auto sheets = std::make_unique<TSheetsPrinter>();
        sheets->Order = order_;
        sheets->Material = material_;
        const int inner = control<QStackedWidget>(QStringLiteral("NBSheets"))->currentIndex();
        sheets->SheetsPage = inner >= 0 && inner <= 2 ? inner : 0;
        printer = std::move(sheets);
        break;
    }
    case pgSetup:
        printer = std::make_unique<TSetupPrinter>();
        break;
    }
    if (Keyboard::ShiftHeld() && Keyboard::CtrlHeld())
        printer->Design();
    else
        printer->Preview();
}

} // namespace lintaro
