// The commands of the main window: files, questions, deletions, defaults and the sheet view.
#include "app/window/ItemList.h"
#include "app/window/LNEAppForm.h"
#include "app/window/UserDialogs.h"
#include "foundation/Files.h"
#include "foundation/Ini.h"
#include "foundation/Program.h"
#include "foundation/TextFormat.h"
#include "model/ApplicationLinks.h"
#include "model/CuttingSheet.h"
#include "model/Dimension.h"
#include "model/HtmlExport.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "widgets/WindowTexts.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QStackedWidget>

namespace lintaro {

namespace {

// "Orders (*.LNO)|*.LNO;*.lno|All files (*)|*" as the file dialog's "Orders (*.LNO *.lno);;All files (*)".
QString DialogFilter(const QString& text) {
    const QStringList parts = text.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        const qsizetype bracket = description.indexOf(u'(');
        if (bracket >= 0)
            description = description.left(bracket).trimmed();
        filters << description + QStringLiteral(" (") + QString(parts[i + 1]).replace(u';', u' ') + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

// "/path/x.LNO: reason"; a reason that already names the file stays as it is.
QString fileMessage(const QString& file, const QString& reason) {
    if (reason.contains(file))
        return reason;
    return reason.isEmpty() ? file : file + QStringLiteral(": ") + reason;
}

// Whether loading the order file would load a material too.
bool orderNamesMaterial(const QString& file) {
    TINI ini;
    return ini.LoadFromFile(file) &&
           !ini.ReadString(QStringLiteral("Order"), QStringLiteral("Material")).isEmpty();
}

QString orderSection(bool material) {
    return material ? QStringLiteral("Material") : QStringLiteral("Order");
}

} // namespace

QString TLNEAppForm::CommandOf(const QString& name) {
    QString rest;
    for (const char* prefix : {"LabelMenu", "ImageIcon", "Menu"})
        if (name.startsWith(QLatin1String(prefix))) {
            rest = name.mid(int(qstrlen(prefix)));
            break;
        }
    if (rest.isEmpty() || name.startsWith(QLatin1String("ImageMenu")))
        return {};
    if (name.startsWith(QLatin1String("Menu"))) {
        // Menu items: page + menu + item; the menus themselves have no command.
        for (TPage page : kPages)
            for (const char* menu : {"File", "Edit", "View", "Help"}) {
                const QString head = PageName(page) + QLatin1String(menu);
                if (rest.startsWith(head) && rest.size() > head.size()) {
                    const QString item = rest.mid(head.size());
                    if (item == QLatin1String("Exit") || item == QLatin1String("About"))
                        return item;
                    return PageName(page) + item;
                }
            }
        return {};
    }
    return rest;
}

void TLNEAppForm::SetUserDialogs(std::unique_ptr<TUserDialogs> dialogs) {
    dialogs_ = std::move(dialogs);
}

void TLNEAppForm::commitFocusedControl() {
    QWidget* focused = QApplication::focusWidget();
    if (focused && (qobject_cast<QLineEdit*>(focused) || qobject_cast<QPlainTextEdit*>(focused)) &&
        isAncestorOf(focused))
        controlChanged(focused);
}

void TLNEAppForm::RunCommand(const QString& command) {
    if (order_->Sheets()->State() == ssCalculating && command != QLatin1String("SheetsStartStop"))
        return;
    commitFocusedControl();
    const auto is = [&](const char* name) { return command == QLatin1String(name); };
    if (is("OrderNew"))
        newObject(false);
    else if (is("OrderOpen"))
        openObject(false);
    else if (is("OrderSave") || is("PartsSave"))
        saveObject(false, false);
    else if (is("OrderSaveAs"))
        saveObject(false, true);
    else if (is("MaterialNew"))
        newObject(true);
    else if (is("MaterialOpen"))
        openObject(true);
    else if (is("MaterialSave"))
        saveObject(true, false);
    else if (is("MaterialSaveAs"))
        saveObject(true, true);
    else if (is("PartsDelete"))
        deletePart(false);
    else if (is("PartsDeleteAll"))
        deletePart(true);
    else if (is("MaterialDelete"))
        deleteDim();
    else if (command.endsWith(QLatin1String("Print"))) {
        for (TPage page : kPages)
            if (command == PageName(page) + QLatin1String("Print"))
                printDocument(page);
    } else if (is("OrderSaveAsHTML"))
        exportHTML();
    else if (is("PartsSaveAsCSV"))
        exportCSV();
    else if (is("PartsLoadAsCSV"))
        importCSV();
    else if (is("OrderSaveAsDefault"))
        saveAsDefault(pgOrder);
    else if (is("PartsSaveAsDefault"))
        saveAsDefault(pgParts);
    else if (is("MaterialSaveAsDefault"))
        saveAsDefault(pgMaterial);
    else if (is("SheetsSaveAsDefault"))
        saveAsDefault(pgSheets);
    else if (is("SheetsParams"))
        showSheetsPage(0);
    else if (is("SheetsSheets"))
        showSheetsPage(1);
    else if (is("SheetsResults"))
        showSheetsPage(2);
    else if (is("SheetsStartStop"))
        startStopCalculation();
    else if (is("SheetsTakeOffDims"))
        takeOffDims();
    else if (is("SheetsBackRests"))
        returnRests();
    else if (is("SheetsPrev"))
        moveSheet(-1);
    else if (is("SheetsNext"))
        moveSheet(1);
    else if (is("SheetsZoomIn"))
        zoom(100);
    else if (is("SheetsZoomOut"))
        zoom(-100);
    else if (is("SetupSave"))
        TApplicationLinks::Setup()->SaveToFile(IniFileName());
    else if (is("SetupLoadLogo"))
        loadLogo();
    else if (is("About"))
        dialogs_->ShowAbout();
    else if (is("Exit"))
        close();
}

TFileDialogRequest TLNEAppForm::fileRequest(bool material, bool save) const {
    const QString section = orderSection(material);
    TFileDialogRequest request;
    request.filter = DialogFilter(GetText(section, QStringLiteral("FileFilter")));
    request.defaultExtension = material ? QStringLiteral("LNM") : QStringLiteral("LNO");
    if (!save) {
        request.title = GetText(section, QStringLiteral("OpenDialogTitle"));
        request.initialName = QStringLiteral("*.") + request.defaultExtension;
        return request;
    }
    request.title = GetText(section, QStringLiteral("SaveDialogTitle"));
    const TDataComponent* object = material ? static_cast<TDataComponent*>(material_) : order_;
    const QString file = material ? material_->FileName() : order_->FileName();
    request.initialName = !file.isEmpty()                ? file
                          : !object->Caption().isEmpty() ? object->Caption()
                                                         : object->DefaultCaption();
    return request;
}

bool TLNEAppForm::saveObject(bool material, bool askName) {
    QString file = material ? material_->FileName() : order_->FileName();
    if (askName || file.isEmpty()) {
        file = dialogs_->SaveFileName(fileRequest(material, true));
        if (file.isEmpty())
            return false;
    }
    const bool saved = material ? material_->SaveToFile(file) : order_->SaveToFile(file);
    if (!saved) {
        // The object stays modified with its old name; say why, and of which file.
        dialogs_->ShowError(fileMessage(file, material ? material_->ErrorString() : order_->ErrorString()));
        return false;
    }
    if (material)
        material_->SetFileName(file);
    else
        order_->SetFileName(file);
    return true;
}

bool TLNEAppForm::saveQuestion(bool material) {
    const TDataComponent* object = material ? static_cast<TDataComponent*>(material_) : order_;
    if (!object->GetModified())
        return true;
    const QMessageBox::StandardButton answer =
        dialogs_->Ask(GetText(QStringLiteral("Common"), QStringLiteral("Question")),
                      TextWithLineBreaks(GetText(orderSection(material), QStringLiteral("SaveQuestion"))),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No)
        return true;
    if (answer != QMessageBox::Yes)
        return false;
    return saveObject(material, false);
}

void TLNEAppForm::newObject(bool material) {
    if (saveQuestion(material)) {
        if (material) {
            material_->CreateNew();
            dimsList_->View()->setFocus();
        } else {
            order_->CreateNew();
            control<QWidget>(QStringLiteral("EditOrderCustomerCaption"))->setFocus();
        }
    }
    if (!material)
        control<QStackedWidget>(QStringLiteral("NBSheets"))->setCurrentIndex(0);
}

void TLNEAppForm::openObject(bool material) {
    if (saveQuestion(material)) {
        const QString file = dialogs_->OpenFileName(fileRequest(material, false));
        // An order brings its material along, which would throw away unsaved stock changes: the
        // material's question comes first.
        if (!file.isEmpty() && (material || !orderNamesMaterial(file) || saveQuestion(true))) {
            const bool loaded = material ? material_->LoadFromFile(file) : order_->LoadFromFile(file);
            if (!loaded)
                dialogs_->ShowError(
                    fileMessage(file, material ? material_->ErrorString() : order_->ErrorString()));
            else if (!material && !order_->MaterialProblem().isEmpty())
                dialogs_->ShowError(order_->MaterialProblem());
        }
    }
    if (!material)
        control<QStackedWidget>(QStringLiteral("NBSheets"))->setCurrentIndex(0);
}

void TLNEAppForm::deletePart(bool all) {
    TPartList* parts = order_->Parts();
    TDataComponent* focused = parts->ItemFocused();
    if (!focused || (!all && parts->ItemCount() <= 1))
        return;
    const QString key = all ? QStringLiteral("DeleteParts") : QStringLiteral("DeletePart");
    const QString text =
        FormatText(GetText(QStringLiteral("Parts"), key + QStringLiteral("Question")), {focused->Caption()});
    if (dialogs_->Ask(GetText(QStringLiteral("Parts"), key + QStringLiteral("Title")), text,
                      QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    if (!all) {
        parts->ItemDelete(focused);
        return;
    }
    // A part that refuses to go stops the command rather than looping on it.
    while (parts->ItemCount() > 1 && parts->ItemDelete(parts->Item(0))) {
    }
}

void TLNEAppForm::deleteDim() {
    TDimensionList* dims = material_->Dims();
    auto* focused = static_cast<TDimension*>(dims->ItemFocused());
    if (!focused || dims->ItemCount() <= 1 || !focused->IsValid())
        return;
    const QString text = FormatText(GetText(QStringLiteral("Material"), QStringLiteral("DeleteDimQuestion")),
                                    {focused->Caption()});
    if (dialogs_->Ask(GetText(QStringLiteral("Material"), QStringLiteral("DeleteDimTitle")), text,
                      QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        dims->ItemDelete(focused);
}

void TLNEAppForm::saveAsDefault(TPage page) {
    TSetup* setup = TApplicationLinks::Setup();
    switch (page) {
    case pgOrder:
        setup->SetPropAsString(QStringLiteral("OrderNote1"),
                               order_->GetPropAsString(QStringLiteral("Note1")));
        setup->SetPropAsString(QStringLiteral("OrderNote2"),
                               order_->GetPropAsString(QStringLiteral("Note2")));
        setup->SetOrderVATMode(order_->VATMode());
        break;
    case pgParts:
        setup->SetOrderAddAutoPartsArea(order_->AddAutoPartsArea());
        setup->SetOrderAddAutoPartsCircuit(order_->AddAutoPartsCircuit());
        if (auto* part = static_cast<TPart*>(order_->Parts()->ItemFocused()))
            setup->SetPartOrientation(part->Orientation());
        break;
    case pgMaterial: {
        // Value by value through the typed setters: the shown texts carry digit groups and unit
        // texts that are not part of the numbers.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        setup->SetMaterialPrice(material_->Price());
        setup->SetMaterialVATMode(material_->VATMode());
        setup->SetMaterialVATRate(material_->VATRate());
        setup->SetMaterialCutWidth(material_->CutWidth());
        setup->SetMaterialHasOrientation(material_->HasOrientation());
        setup->SetMaterialMinRecyArea(material_->MinRecyArea());
        setup->SetMaterialMinRecyDim(material_->MinRecyDim());
        QApplication::restoreOverrideCursor();
        break;
    }
    case pgSheets:
        setup->SetSheetsAddExtractToOrder(order_->Sheets()->AddExtractToOrder());
        break;
    case pgSetup:
        break;
    }
}

TFileDialogRequest TLNEAppForm::exportRequest(const char* titleKey, const char* filterKey,
                                              const QString& extension) const {
    TFileDialogRequest request;
    request.title = GetText(QStringLiteral("Common"), QLatin1String(titleKey));
    request.filter = DialogFilter(GetText(QStringLiteral("Common"), QLatin1String(filterKey)));
    request.defaultExtension = extension;
    const QString file = order_->FileName();
    request.initialName = (!file.isEmpty()                ? StripExtension(file)
                           : !order_->Caption().isEmpty() ? order_->Caption()
                                                          : order_->DefaultCaption()) +
                          u'.' + extension;
    return request;
}

void TLNEAppForm::exportCSV() {
    const QString chosen =
        dialogs_->SaveFileName(exportRequest("CSVSaveDialogTitle", "CSVFileFilter", QStringLiteral("CSV")));
    if (!chosen.isEmpty())
        order_->Parts()->SaveAsCSV(chosen);
}

void TLNEAppForm::exportHTML() {
    const QString chosen =
        dialogs_->SaveFileName(exportRequest("HTMLSaveDialogTitle", "HTMLFileFilter", QStringLiteral("HTM")));
    QString error;
    // A failed export says why rather than leaving the user with no page and no word.
    if (!chosen.isEmpty() && !SaveOrderToHTML(*order_, chosen, &error))
        dialogs_->ShowError(error);
}

void TLNEAppForm::importCSV() {
    TFileDialogRequest request;
    request.title = GetText(QStringLiteral("Common"), QStringLiteral("CSVOpenDialogTitle"));
    request.filter = DialogFilter(GetText(QStringLiteral("Common"), QStringLiteral("CSVFileFilter")));
    request.defaultExtension = QStringLiteral("CSV");
    request.initialName = QStringLiteral("*.csv");
    const QString chosen = dialogs_->OpenFileName(request);
    if (!chosen.isEmpty())
        order_->Parts()->LoadAsCSV(chosen);
}

void TLNEAppForm::loadLogo() {
    TSetup* setup = TApplicationLinks::Setup();
    TFileDialogRequest request;
    request.title = GetText(QStringLiteral("Common"), QStringLiteral("BMPOpenDialogTitle"));
    request.filter = DialogFilter(GetText(QStringLiteral("Common"), QStringLiteral("BMPFileFilter")));
    request.defaultExtension = QStringLiteral("BMP");
    request.initialName = setup->GetPropAsString(QStringLiteral("SupplierLogoFileName"));
    const QString chosen = dialogs_->OpenFileName(request);
    if (!chosen.isEmpty())
        setup->SetPropAsString(QStringLiteral("SupplierLogoFileName"), chosen);
}

void TLNEAppForm::zoom(int step) {
    TSetup* setup = TApplicationLinks::Setup();
    setup->SetSheetsZoom(std::clamp(setup->SheetsZoom() + step, 100, 600));
}

} // namespace lintaro
