#include "app/window/WorkshopPackCommand.h"

#include "app/window/LNEAppForm.h"
#include "app/window/UserDialogs.h"
#include "app/window/WorkshopPackDialog.h"
#include "foundation/Program.h"
#include "model/CuttingSheet.h"
#include "model/Order.h"
#include "model/Sheets.h"
#include "print/preview/PrintPreviewForm.h"
#include "reports/ReportPrinter.h"
#include "widgets/WindowTexts.h"
#include "workshop/PackOutput.h"
#include "workshop/WorkshopPack.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPrinterInfo>

#include <memory>

namespace lintaro {

QAction* InstallWorkshopPackCommand(TLNEAppForm& window) {
    auto* action =
        new QAction(GetText(QStringLiteral("MenuSheets"), QStringLiteral("FileWorkshopPack")), &window);
    action->setObjectName(QStringLiteral("MenuSheetsFileWorkshopPack"));
    QObject::connect(action, &QAction::triggered, &window, [&window] { ShowWorkshopPack(window); });
    QAction* print = window.findChild<QAction*>(QStringLiteral("MenuSheetsFilePrint"));
    if (auto* menu = window.findChild<QMenu*>(QStringLiteral("MenuSheetsFile"))) {
        const QList<QAction*> actions = menu->actions();
        const qsizetype at = actions.indexOf(print);
        menu->insertAction(at >= 0 && at + 1 < actions.size() ? actions[at + 1] : nullptr, action);
    }
    // The pop-up menu of the cutting sheets: print and the pack.
    if (auto* page = window.findChild<QWidget*>(QStringLiteral("PageSheetsView"))) {
        page->setContextMenuPolicy(Qt::ActionsContextMenu);
        if (print)
            page->addAction(print);
        page->addAction(action);
    }
    return action;
}

void ShowWorkshopPack(TLNEAppForm& window) {
    TOrder* order = window.Order();
    if (!order || order->Sheets()->State() == ssCalculating)
        return;
    if (order->Sheets()->CuttingSheets()->ItemCount() == 0) {
        QMessageBox::information(&window, Version().ProductName,
                                 GetText(QStringLiteral("Workshop"), QStringLiteral("NothingCalculated")));
        return;
    }
    // A pack of a plan that no longer fits the parts or the stock is made only when the user says so.
    if (window.ResultOutOfDate() &&
        window.UserDialogs().Ask(
            GetText(QStringLiteral("Common"), QStringLiteral("Question")),
            TextWithLineBreaks(GetText(QStringLiteral("TSheets"), QStringLiteral("OutOfDateQuestion"))),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    TWorkshopPackDialog choice(&window);
    choice.SetOptions(TWorkshopPackDialog::StoredOptions());
    if (choice.exec() != QDialog::Accepted)
        return;
    const workshop::TPackOptions options = choice.Options();
    // The choice is a convenience: a settings file that cannot be written does not stop the pack.
    TWorkshopPackDialog::StoreOptions(options);
    auto pack = std::make_shared<const workshop::TWorkshopPack>(*order, options);
    if (pack->PageCount() == 0) {
        QMessageBox::information(&window, Version().ProductName, pack->Problem());
        return;
    }
    TPreviewPages pages;
    pages.Title = GetText(QStringLiteral("Workshop"), QStringLiteral("CoverTitle")) + QStringLiteral(" — ") +
                  pack->Data().OrderNumber;
    pages.Count = pack->PageCount();
    pages.SizeMm = [pack](int page) { return pack->Page(page).SizeMm; };
    pages.Render = [pack](int page, double dpi) { return workshop::RenderPackPage(*pack, page, dpi); };
    pages.Print = [pack](int printerIndex, int from, int to, int copies, QString& error) {
        const QPrinterInfo printer = PrinterAt(printerIndex - 1);
        if (printer.isNull()) {
            error = PrinterMessages::NoPrinter();
            return false;
        }
        workshop::TPackOutputOptions options;
        options.FirstPage = from + 1;
        options.LastPage = to + 1;
        options.Copies = copies;
        return workshop::PrintPack(*pack, printer.printerName(), options, &error);
    };
    pages.SavePdf = [pack](const QString& file, int from, int to, QString& error) {
        workshop::TPackOutputOptions options;
        options.FirstPage = from + 1;
        options.LastPage = to + 1;
        return workshop::WritePackPdf(*pack, file, options, &error);
    };
    TPrintPreviewForm form(&window);
    form.SetPages(std::move(pages));
    form.exec();
}

} // namespace lintaro
