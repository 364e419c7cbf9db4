#include "app/window/LNEAppForm.h"
#include "app/window/WorkshopPackCommand.h"

#include "app/window/Bindings.h"
#include "app/window/EditLook.h"
#include "app/window/ItemList.h"
#include "app/window/NumberText.h"
#include "app/window/UserDialogs.h"
#include "app/window/WindowPrintHost.h"
#include "foundation/ConversionError.h"
#include "foundation/Files.h"
#include "foundation/Pictures.h"
#include "foundation/Program.h"
#include "model/Address.h"
#include "model/ApplicationLinks.h"
#include "model/Dimension.h"
#include "model/Material.h"
#include "model/Order.h"
#include "model/OrderItem.h"
#include "model/Part.h"
#include "model/Setup.h"
#include "model/Sheets.h"
#include "platform/Keyboard.h"
#include "platform/UserSettings.h"
#include "platform/WebLinks.h"
#include "widgets/FormUtils.h"
#include "widgets/WindowDecorations.h"
#include "widgets/WindowTexts.h"

#include "ui_LNEAppForm.h"
#include "ui_PageMaterial.h"
#include "ui_PageOrder.h"
#include "ui_PageParts.h"
#include "ui_PageSetup.h"
#include "ui_PageSheets.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

namespace lintaro {

namespace {

const QColor kWindowColour(205, 220, 220);
const QColor kEditColour(255, 252, 236);
const QColor kFilledColour(3, 58, 99);

constexpr int kCollapsedHeight = 36;
// How long a hint stays up.
constexpr int kHintMilliseconds = 4000;
const QString kMakerSite = QStringLiteral("https://lintaro.example.org/");

// A page form's widgets live as long as the window; the Ui structs are only needed to build them.
template <class Form> QWidget* buildPage(QStackedWidget* notebook) {
    auto* page = new QWidget(notebook);
    Form form;
    form.setupUi(page);
    notebook->addWidget(page);
    return page;
}

} // namespace

TLNEAppForm::TLNEAppForm(const QString& startFile, QWidget* parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::LNEAppForm>()),
      dialogs_(std::make_unique<TQtUserDialogs>(this)) {
    ui_->setupUi(this);
    buildPages();
    QApplication::setApplicationName(Version().ProductName);
    applyLook();

    decorations_ = new TWindowDecorations(this);
    decorations_->ReadStoredCounters();
    ApplyWindowTexts(this, MainWindowTextRules(), Texts());
    ApplyPictureRules(this, MainWindowPictureRules(), Pictures());
    decorations_->LoadBanners(TWindowDecorations::DefaultBannerFolder());
    decorations_->Start();
    decorations_->StartIdleTimer();
    connectCommands();
    InstallWorkshopPackCommand(*this);
    bindControls();
    buildItemLists();
    bindVATBoxes();

    printHost_ = std::make_unique<TWindowPrintHost>(this);
    RegisterPrintHost(printHost_.get());
    material_ = new TMaterial();
    order_ = new TOrder();
    TApplicationLinks::SetMaterial(material_);
    TApplicationLinks::SetOrder(order_);
    TApplicationLinks::SetControlsRefresh(
        [this](TComponent* source, const QString& propName) { UpdateControls(source, propName); });

    material_->CreateNew();
    order_->CreateNew();
    SwitchPage(pgOrder);
    openStartFile(startFile);
    UpdateControls(nullptr, {});
    PostRefocus();
}

void TLNEAppForm::PostRefocus() {
    // Queued, so that it runs after the refill that asked for it has finished.
    QMetaObject::invokeMethod(this, &TLNEAppForm::refocus, Qt::QueuedConnection);
}

void TLNEAppForm::refocus() {
    QWidget* focused = QApplication::focusWidget();
    if (!focused || !isAncestorOf(focused) || focused == ui_->ButtonTemp)
        return;
    // Leaving and entering again runs the control's leave and enter steps, so it shows the
    // refreshed value.
    ui_->ButtonTemp->setVisible(true);
    ui_->ButtonTemp->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    focused->setFocus(Qt::OtherFocusReason);
    ui_->ButtonTemp->setVisible(false);
}

TLNEAppForm::~TLNEAppForm() {
    if (PrintHost() == printHost_.get())
        RegisterPrintHost(nullptr);
    TApplicationLinks::SetControlsRefresh({});
    TApplicationLinks::SetOrder(nullptr);
    TApplicationLinks::SetMaterial(nullptr);
    // The settings file is written whatever the keyboard says.
    TApplicationLinks::Setup()->SaveToFile(IniFileName());
    delete order_;
    delete material_;
}

void TLNEAppForm::buildPages() {
    QStackedWidget* main = ui_->NBMain;
    buildPage<Ui::PageOrder>(main);
    buildPage<Ui::PageParts>(main);
    buildPage<Ui::PageMaterial>(main);
    buildPage<Ui::PageSheets>(main);
    buildPage<Ui::PageSetup>(main);
    ui_->ButtonTemp->setVisible(false);
    ui_->ButtonTemp->setGeometry(0, 0, 0, 0);
    for (int i = 0; i < main->count(); ++i)
        main->widget(i)->installEventFilter(this);
}

void TLNEAppForm::applyLook() {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kWindowColour);
    palette.setColor(QPalette::Base, kEditColour);
    palette.setColor(QPalette::Text, kFilledColour);
    setPalette(palette);
    setAutoFillBackground(true);
    setMinimumSize(640, kMinPanelHeight);
    for (QWidget* widget : findChildren<QWidget*>())
        widget->setToolTipDuration(kHintMilliseconds);
    for (QLabel* label : findChildren<QLabel*>())
        if (label->objectName().startsWith(QLatin1String("LabelMenu")) ||
            label->objectName() == QLatin1String("LabelCopyright")) {
            label->setCursor(Qt::PointingHandCursor);
            label->installEventFilter(this);
        }
    for (TPage page : kPages)
        if (QLabel* collapsed = control<QLabel>(QStringLiteral("ImageMenuCollapsed") + PageName(page))) {
            collapsed->setCursor(Qt::PointingHandCursor);
            collapsed->installEventFilter(this);
        }
}

QStackedWidget* TLNEAppForm::menuBlock(TPage page) const {
    return control<QStackedWidget>(QStringLiteral("NBMenu") + PageName(page));
}

void TLNEAppForm::SwitchPage(TPage page) {
    page_ = page;
    for (TPage other : kPages) {
        QStackedWidget* block = menuBlock(other);
        if (!block)
            continue;
        const bool expanded = other == page;
        block->setCurrentIndex(expanded ? 1 : 0);
        int height = kCollapsedHeight;
        if (expanded) {
            const QImage picture = Pictures().Find(QStringLiteral("MenuExpanded") + PageName(other));
            height = picture.isNull() ? 208 : picture.height();
        }
        block->resize(block->width(), height);
    }
    layoutSideMenu();
    if (page == pgSheets)
        updateOutOfDateMark();
    ui_->NBMain->setCurrentIndex(page);
    PostRefocus();
    const QString prefix = QStringLiteral("Menu") + PageName(page);
    for (QMenu* menu : ui_->MenuBar->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        menu->menuAction()->setVisible(menu->objectName().startsWith(prefix));
    applyShortcuts();
}

void TLNEAppForm::layoutSideMenu() {
    int top = ui_->ImageTop->geometry().bottom() + 1;
    for (TPage page : kPages)
        if (QStackedWidget* block = menuBlock(page)) {
            block->move(block->x(), top);
            top += block->height();
        }
    ui_->LabelCopyright->move(ui_->LabelCopyright->x(), top + 8);
}

void TLNEAppForm::openStartFile(const QString& fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return;
    const QString file = QFileInfo(fileName).absoluteFilePath();
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("LNO"), Qt::CaseInsensitive) == 0) {
        if (order_->LoadFromFile(file))
            SwitchPage(pgOrder);
    } else if (suffix.compare(QLatin1String("LNM"), Qt::CaseInsensitive) == 0) {
        if (material_->LoadFromFile(file))
            SwitchPage(pgMaterial);
    }
}

void TLNEAppForm::UpdateControls(TComponent* source, const QString& propName) {
    if (!order_ || !material_)
        return;
    auto* data = dynamic_cast<TDataComponent*>(source);
    if (!source || source == order_) {
        const QString file = order_->FileName();
        setWindowTitle(file.isEmpty()
                           ? Version().ProductName
                           : Version().ProductName + QStringLiteral(" - ") + QFileInfo(file).fileName());
        SetStatusText(statusBar(), file, 0);
    }
    const std::array<std::pair<TItemList*, TBoundObject>, 3> lists = {
        {{itemsList_, boOrderItem}, {partsList_, boPart}, {dimsList_, boDim}}};
    for (const auto& [list, kind] : lists) {
        if (source && !list->Concerns(data))
            continue;
        TDataComponentList* items = list->List();
        ++updateLock_;
        if (!source || source == items) {
            if (propName.isEmpty() || propName.compare(QLatin1String("Items"), Qt::CaseInsensitive) == 0 ||
                list->Model().rowCount() != items->ItemCount())
                list->Rebuild();
            else
                list->ShowFocused();
            refreshBindings(kind);
            PostRefocus();
        } else {
            if (list->Model().rowCount() != items->ItemCount())
                list->Rebuild();
            else
                list->Model().RowChanged(items->IndexOf(data));
            if (data == items->ItemFocused())
                refreshBindings(kind);
        }
        --updateLock_;
    }
    for (const TBinding& binding : WindowBindings()) {
        TDataComponent* object = boundObject(binding.object);
        if (!object || (source && source != object))
            continue;
        if (!propName.isEmpty() && propName.compare(binding.property, Qt::CaseInsensitive) != 0)
            continue;
        showBinding(binding);
    }
    updateSheetsControls(source, propName);
    if (!source || source == order_ || source == order_->Sheets() || source == material_ ||
        partsList_->Concerns(data) || dimsList_->Concerns(data))
        scheduleOutOfDateMark();
    TSetup* setup = TApplicationLinks::Setup();
    const bool vat = propName.isEmpty() ||
                     propName.compare(QLatin1String("VATMode"), Qt::CaseInsensitive) == 0 ||
                     propName.compare(QLatin1String("IsNotVATPayer"), Qt::CaseInsensitive) == 0;
    if (vat && (!source || source == order_ || source == material_ || source == setup->Supplier()))
        updateVATControls();
}

void TLNEAppForm::refreshBindings(int object) {
    for (const TBinding& binding : WindowBindings())
        if (binding.object == object)
            showBinding(binding);
}

void TLNEAppForm::showBinding(const TBinding& binding) {
    TDataComponent* object = boundObject(binding.object);
    QWidget* widget = control<QWidget>(binding.control);
    if (!object || !widget)
        return;
    ++updateLock_;
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        if (binding.IsFlag())
            box->setChecked(binding.flag(*object));
    } else if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget)) {
        ShowControlValue(widget, object->GetPropAsString(binding.property));
    }
    --updateLock_;
}

void TLNEAppForm::buildItemLists() {
    const auto columns = [this](std::initializer_list<std::pair<const char*, const char*>> fields) {
        std::vector<TItemColumn> result;
        for (const auto& [name, property] : fields) {
            auto* field = control<QWidget>(QLatin1String(name));
            Qt::Alignment alignment = Qt::AlignLeft;
            if (auto* edit = qobject_cast<QLineEdit*>(field))
                alignment = edit->alignment() & Qt::AlignHorizontal_Mask;
            result.push_back({field, QLatin1String(property), alignment});
        }
        return result;
    };
    auto* items = control<QListView>(QStringLiteral("LBOrderItems"));
    itemsList_ = new TItemList(
        items, control<QWidget>(QStringLiteral("PanelOrderItemEdit")),
        columns({{"EditOrderItemCaption", "Caption"},
                 {"EditOrderItemPrice", "Price"},
                 {"EditOrderItemVATRate", "VATRate"},
                 {"EditOrderItemAmount", "Amount"},
                 {"EditOrderItemMU", "MU"},
                 {"EditOrderItemPriceTotal", "PriceTotal"}}),
        [this] { return static_cast<TDataComponentList*>(order_->OrderItems()); },
        [](const TDataComponent* item) {
            const auto* orderItem = static_cast<const TOrderItem*>(item);
            return !orderItem->Caption().isEmpty() || orderItem->PriceTotal().raw() != 0;
        },
        0);
    itemsList_->SetPlaceholder(PlaceholderOf(control<QWidget>(QStringLiteral("EditOrderItemCaption"))));
    auto* parts = control<QListView>(QStringLiteral("LBParts"));
    partsList_ = new TItemList(
        parts, control<QWidget>(QStringLiteral("PanelPartsEdit")),
        columns({{"EditPartsID", "ID"},
                 {"EditPartsCaption", "Caption"},
                 {"EditPartsX", "X"},
                 {"EditPartsY", "Y"},
                 {"EditPartsOrient", "Orientation"},
                 {"EditPartsCount", "Count"}}),
        [this] { return static_cast<TDataComponentList*>(order_->Parts()); },
        [](const TDataComponent* item) { return static_cast<const TPart*>(item)->IsValid(); },
        parts->height());
    auto* dims = control<QListView>(QStringLiteral("LBDims"));
    dimsList_ = new TItemList(
        dims, control<QWidget>(QStringLiteral("PanelMaterialEdit")),
        columns({{"EditMaterialDimCaption", "Caption"},
                 {"EditMaterialDimY", "Y"},
                 {"EditMaterialDimX", "X"},
                 {"EditMaterialDimOrientation", "Orientation"},
                 {"EditMaterialDimCount", "Count"},
                 {"CBMaterialDimIsRest", "IsRDPS"}}),
        [this] { return static_cast<TDataComponentList*>(material_->Dims()); },
        [](const TDataComponent* item) { return static_cast<const TDimension*>(item)->IsValid(); },
        dims->height());
    // The check boxes of the dimension row are cells under their column labels; the text cell of
    // the drawn rows spans all four.
    for (QCheckBox* box : dimsList_->Panel()->findChildren<QCheckBox*>())
        box->setText(QString());
    QWidget* restBox = control<QWidget>(QStringLiteral("CBMaterialDimIsRest"));
    dimsList_->SetColumnWidth(static_cast<int>(dimsList_->Columns().size()) - 1,
                              dimsList_->Panel()->width() - restBox->x());
    for (TItemList* list : {itemsList_, partsList_, dimsList_}) {
        list->View()->installEventFilter(this);
        for (const TItemColumn& column : list->Columns())
            column.field->installEventFilter(this);
        for (QWidget* field : list->Panel()->findChildren<QWidget*>())
            field->installEventFilter(this);
    }
}

TItemList* TLNEAppForm::listOfField(const QObject* field) const {
    for (TItemList* list : {itemsList_, partsList_, dimsList_})
        if (list && field && field->parent() == list->Panel())
            return list;
    return nullptr;
}

bool TLNEAppForm::moveInRow(TItemList* list, QWidget* field, int step) {
    const int column = list->ColumnOf(field);
    const auto& columns = list->Columns();
    if (column < 0)
        return true;
    // Hidden fields (the VAT rate of a supplier who pays none) are passed over; a read-only one
    // (the part's ID, the dimension's caption) is the end of the row.
    for (int target = column + step; target >= 0 && target < static_cast<int>(columns.size());
         target += step) {
        QWidget* next = columns[static_cast<size_t>(target)].field;
        if (next->isHidden())
            continue;
        auto* edit = qobject_cast<QLineEdit*>(next);
        if (next->isEnabled() && !(edit && edit->isReadOnly()))
            next->setFocus(Qt::OtherFocusReason);
        break;
    }
    return true;
}

bool TLNEAppForm::handleKey(QWidget* widget, QKeyEvent* event) {
    TItemList* list = listOfField(widget);
    const int key = event->key();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (qobject_cast<QPlainTextEdit*>(widget))
            return false;
        static const std::array<std::pair<const char*, const char*>, 3> rowEnds = {
            {{"EditOrderItemPriceTotal", "EditOrderItemCaption"},
             {"EditPartsCount", "EditPartsCaption"},
             {"CBMaterialDimIsRest", "EditMaterialDimY"}}};
        for (const auto& [last, first] : rowEnds) {
            if (widget->objectName() != QLatin1String(last) || !list)
                continue;
            TDataComponentList* items = list->List();
            const int row = items->IndexOf(items->ItemFocused());
            controlChanged(widget);
            if (row >= 0 && row + 1 < items->ItemCount()) {
                items->SetItemFocused(items->Item(row + 1));
                control<QWidget>(QLatin1String(first))->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (list == dimsList_) {
                control<QWidget>(QStringLiteral("EditMaterialCaption"))->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        focusNextChild();
        return true;
    }
    if (!list)
        return false;
    if (ctrl && (key == Qt::Key_Left || key == Qt::Key_Right))
        return moveInRow(list, widget, key == Qt::Key_Left ? -1 : 1);
    if (key == Qt::Key_Up || key == Qt::Key_PageUp || key == Qt::Key_Down || key == Qt::Key_PageDown) {
        TDataComponentList* items = list->List();
        const int row = items->IndexOf(items->ItemFocused());
        const int target = row + ((key == Qt::Key_Up || key == Qt::Key_PageUp) ? -1 : 1);
        if (row >= 0 && target >= 0 && target < items->ItemCount()) {
            controlChanged(widget);
            items->SetItemFocused(items->Item(target));
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                edit->selectAll();
        }
        return true;
    }
    return false;
}

TDataComponent* TLNEAppForm::boundObject(int object) const {
    TSetup* setup = TApplicationLinks::Setup();
    switch (static_cast<TBoundObject>(object)) {
    case boOrder:
        return order_;
    case boCustomer:
        return order_->Customer();
    case boMaterial:
        return material_;
    case boSupplier:
        return setup->Supplier();
    case boSetup:
        return setup;
    case boSheets:
        return order_->Sheets();
    case boPartList:
        return order_->Parts();
    case boOrderItem:
        return order_->OrderItems()->ItemFocused();
    case boPart:
        return order_->Parts()->ItemFocused();
    case boDim:
        return material_->Dims()->ItemFocused();
    }
    return nullptr;
}

const TBinding* TLNEAppForm::bindingOf(const QObject* control) const {
    for (const TBinding& binding : WindowBindings())
        if (binding.control == control->objectName())
            return &binding;
    return nullptr;
}

QStringList TLNEAppForm::UnboundRows() const {
    QStringList missing;
    for (const TBinding& binding : WindowBindings()) {
        QWidget* widget = control<QWidget>(binding.control);
        const bool box = qobject_cast<QCheckBox*>(widget) != nullptr;
        if (!widget || box != binding.IsFlag())
            missing << binding.control;
    }
    return missing;
}

void TLNEAppForm::bindControls() {
    // A row that finds no control of its kind would leave a field that writes nothing; the forms
    // and the table ship together, so that is a fault of the program and it stops right here.
    if (const QStringList missing = UnboundRows(); !missing.isEmpty())
        qFatal("The binding table names controls the forms lack: %s", qPrintable(missing.join(u' ')));
    for (const TBinding& binding : WindowBindings()) {
        QWidget* widget = control<QWidget>(binding.control);
        widget->installEventFilter(this);
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            connect(box, &QCheckBox::clicked, this, [this, box] { controlChanged(box); });
            continue;
        }
        // Tab moves on from a memo too; a tab character would be saved and printed.
        if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
            memo->setTabChangesFocus(true);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            connect(edit, &QLineEdit::textEdited, this, [edit] { SetTextColour(edit, kTypedTextColour); });
    }
}

void TLNEAppForm::controlChanged(QWidget* widget) {
    const TBinding* binding = bindingOf(widget);
    if (updateLock_ > 0 || !binding || !order_)
        return;
    TDataComponent* object = boundObject(binding->object);
    if (!object)
        return;
    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && edit->isReadOnly())
        return;
    ++updateLock_;
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        binding->setFlag(*object, box->isChecked());
        // The data may refuse the value; the box shows what it holds.
        box->setChecked(binding->flag(*object));
        --updateLock_;
        return;
    }
    try {
        QString value = ControlValue(widget);
        if (IsNumberBinding(*binding)) {
            value = NormalisedNumberText(value);
            if (const QString message = UnreadableNumberMessage(value); !message.isEmpty())
                throw ConversionError(message);
        }
        object->SetPropAsString(binding->property, value);
    } catch (const ConversionError& error) {
        dialogs_->ShowError(QString::fromUtf8(error.what()));
        ShowControlValue(widget, object->GetPropAsString(binding->property));
    }
    // The data may have refused or normalised the value; show what it holds now.
    if (binding->readBack)
        ShowControlValue(widget, object->GetPropAsString(binding->property));
    --updateLock_;
    ShowLeftLook(widget);
}

QKeySequence TLNEAppForm::ShortcutOf(const QString& command) {
    static const std::array<std::pair<const char*, QKeyCombination>, 17> keys = {{
        {"OrderNew", Qt::CTRL | Qt::Key_N},
        {"OrderOpen", Qt::CTRL | Qt::Key_O},
        {"OrderSave", Qt::CTRL | Qt::Key_S},
        {"OrderPrint", Qt::CTRL | Qt::Key_P},
        {"PartsSave", Qt::CTRL | Qt::Key_S},
        {"PartsPrint", Qt::CTRL | Qt::Key_P},
        {"PartsDelete", Qt::CTRL | Qt::Key_Delete},
        {"MaterialNew", Qt::CTRL | Qt::Key_N},
        {"MaterialOpen", Qt::CTRL | Qt::Key_O},
        {"MaterialSave", Qt::CTRL | Qt::Key_S},
        {"MaterialPrint", Qt::CTRL | Qt::Key_P},
        {"MaterialDelete", Qt::CTRL | Qt::Key_Delete},
        {"SheetsPrint", Qt::CTRL | Qt::Key_P},
        {"SetupSave", Qt::CTRL | Qt::Key_S},
        {"SetupLoadLogo", Qt::CTRL | Qt::Key_O},
        {"SetupPrint", Qt::CTRL | Qt::Key_P},
        {"Exit", Qt::ALT | Qt::Key_F4},
    }};
    for (const auto& [name, key] : keys)
        if (command == QLatin1String(name))
            return QKeySequence(key);
    return {};
}

void TLNEAppForm::applyShortcuts() {
    // The same keys stand for other commands on other pages, so only the active page's menu items
    // carry theirs; an ambiguous key would run nothing.
    const QString prefix = QStringLiteral("Menu") + PageName(page_);
    activeShortcuts_.clear();
    for (QAction* action : findChildren<QAction*>()) {
        const QKeySequence key = ShortcutOf(CommandOf(action->objectName()));
        if (key.isEmpty())
            continue;
        const bool active = action->objectName().startsWith(prefix);
        action->setShortcut(active ? key : QKeySequence());
        if (active)
            activeShortcuts_.push_back(key);
    }
}

bool TLNEAppForm::isActiveShortcut(const QKeyEvent* event) const {
    const QKeySequence pressed(event->keyCombination());
    for (const QKeySequence& key : activeShortcuts_)
        if (key == pressed)
            return true;
    return false;
}

void TLNEAppForm::connectCommands() {
    for (QAction* action : findChildren<QAction*>()) {
        const QString command = CommandOf(action->objectName());
        if (!command.isEmpty())
            connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        action->setShortcutContext(Qt::WindowShortcut);
    }
    for (QLabel* label : findChildren<QLabel*>())
        if (!CommandOf(label->objectName()).isEmpty()) {
            label->installEventFilter(this);
            label->setCursor(Qt::PointingHandCursor);
        }
    if (QAction* exportItem = findChild<QAction*>(QStringLiteral("MenuSheetsFileExport")))
        exportItem->setEnabled(false);
    const std::array<std::pair<const char*, const char*>, 3> buttons = {{
        {"ButtonSheetsStartStop", "SheetsStartStop"},
        {"ButtonSheetsMaterialTakeOffDims", "SheetsTakeOffDims"},
        {"ButtonSheetsMaterialBackRests", "SheetsBackRests"},
    }};
    for (const auto& [name, command] : buttons)
        connect(control<QAbstractButton>(QLatin1String(name)), &QAbstractButton::clicked, this,
                [this, command = QLatin1String(command)] { RunCommand(command); });
}

bool TLNEAppForm::eventFilter(QObject* watched, QEvent* event) {
    // The pages take the window's height; their lists and the sheet view grow with them.
    if (event->type() == QEvent::Resize && watched->parent() == ui_->NBMain) {
        const int height = static_cast<QWidget*>(watched)->height();
        if (watched == ui_->NBMain->widget(pgParts) && partsList_)
            partsList_->FitInto(height);
        else if (watched == ui_->NBMain->widget(pgMaterial) && dimsList_)
            dimsList_->FitInto(height);
        else if (watched == ui_->NBMain->widget(pgSheets))
            layoutSheetsPage();
        return false;
    }
    // The window sees keys before its controls: a command's key is not taken by an edit (Ctrl+Del
    // deletes the part, not a word). Left unaccepted, the override lets the shortcut run.
    if (event->type() == QEvent::ShortcutOverride && isActiveShortcut(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        (bindingOf(watched) || listOfField(watched)))
        if (handleKey(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event)))
            return true;
    if (event->type() == QEvent::FocusIn) {
        // Entering a list moves on to the first editable field of its row editor.
        // A click into a row's cell moves on to that cell's field instead.
        for (TItemList* list : {itemsList_, partsList_, dimsList_})
            if (list && watched == list->View() && list->Panel()->isVisible()) {
                QWidget* first = nullptr;
                for (const TItemColumn& column : list->Columns())
                    if (auto* edit = qobject_cast<QLineEdit*>(column.field); edit && !edit->isReadOnly()) {
                        first = edit;
                        break;
                    }
                if (first)
                    QTimer::singleShot(0, first, [list, first] {
                        QWidget* target = list->TakeClickedField();
                        auto* edit = qobject_cast<QLineEdit*>(target);
                        if (!target || !target->isEnabled() || (edit && edit->isReadOnly()))
                            target = first;
                        target->setFocus(Qt::TabFocusReason);
                    });
                return false;
            }
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (bindingOf(watched)) {
            auto* widget = static_cast<QWidget*>(watched);
            if (event->type() == QEvent::FocusOut) {
                controlChanged(widget);
            } else {
                SetTextColour(widget,
                              qobject_cast<QPlainTextEdit*>(widget) ? kTypedTextColour : kFilledTextColour);
                if (auto* edit = qobject_cast<QLineEdit*>(widget))
                    QTimer::singleShot(0, edit, &QLineEdit::selectAll);
            }
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const QString name = watched->objectName();
        for (TPage page : kPages)
            if (name == QStringLiteral("ImageMenuCollapsed") + PageName(page)) {
                SwitchPage(page);
                return true;
            }
        if (name == QLatin1String("LabelCopyright")) {
            OpenWebLink(kMakerSite);
            return true;
        }
        const QString command = CommandOf(name);
        if (!command.isEmpty() && static_cast<QWidget*>(watched)->isEnabled()) {
            RunCommand(command);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TLNEAppForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    QWidget* panel = ui_->PanelMain;
    const int clientWidth = centralWidget()->width();
    const int left = std::max(0, (clientWidth - kPanelWidth) / 2);
    panel->setGeometry(left, 0, kPanelWidth, std::max(centralWidget()->height(), kMinPanelHeight));
    ui_->NBMain->resize(ui_->NBMain->width(), panel->height() - ui_->NBMain->y() - 4);
    layoutSheetsPage();
}

void TLNEAppForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    restoreWindowState();
}

void TLNEAppForm::restoreWindowState() {
    CenterForm(this);
    if (Keyboard::ShiftHeld())
        return;
    TUserSettings settings;
    if (!settings.Open(false))
        return;
    RestoreFormPlacement(this, settings, QStringLiteral("WindowMaximized"), QString());
}

void TLNEAppForm::storeWindowState() {
    if (Keyboard::ShiftHeld())
        return;
    TUserSettings settings;
    if (!settings.Open(true))
        return;
    StoreFormPlacement(this, settings, QStringLiteral("WindowMaximized"), QString());
    decorations_->WriteCounters(settings);
    settings.Close();
}

void TLNEAppForm::closeEvent(QCloseEvent* event) {
    commitFocusedControl();
    if (!saveQuestion(true) || !saveQuestion(false)) {
        event->ignore();
        return;
    }
    storeWindowState();
    event->accept();
}

} // namespace lintaro
