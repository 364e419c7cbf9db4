#include "print/preview/PrintPreviewForm.h"

#include "foundation/Pictures.h"
#include "foundation/Program.h"
#include "platform/Keyboard.h"
#include "platform/UserSettings.h"
#include "print/preview/ProgressDialog.h"
#include "reports/MarginTest.h"
#include "reports/OrvelCanvas.h"
#include "reports/PaperFormat.h"
#include "reports/ReportMessages.h"
#include "reports/ReportPictures.h"
#include "reports/ReportPrinter.h"
#include "reports/ReportRun.h"
#include "reports/Sestava.h"
#include "widgets/FormUtils.h"
#include "widgets/WindowTexts.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace lintaro {

namespace {

const QString kSection = QStringLiteral("TPrintPreviewForm");
// The page view keeps this distance from its left and top edges.
constexpr int kPageMargin = 10;

struct TIconImage {
    const char* name;
    const char* picture;
    const char* command;
};
// The tool images, their hover pictures and commands.
constexpr TIconImage kIcons[] = {
    {"ImageIconPagePrev", "IconPagePrevD", "PagePrev"}, {"ImageIconPageNext", "IconPageNextC", "PageNext"},
    {"ImageIconZoomOut", "IconZoomOutA", "ZoomOut"},    {"ImageIconZoomIn", "IconZoomInB", "ZoomIn"},
    {"ImageIconPrint", "IconPrintE", "Print"},
};

int textToInt(const QString& text, bool* ok) {
    return text.trimmed().toInt(ok);
}

} // namespace

TPrintPreviewForm::TPrintPreviewForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PrintPreviewForm"));
    setModal(true);
    resize(900, 700);
    ChoosePdfFileName = [this](const QString& proposed) {
        return QFileDialog::getSaveFileName(this, QString(), proposed, QStringLiteral("PDF (*.pdf *.PDF)"));
    };
    ShowMessage = [this](const QString& title, const QString& text) {
        QMessageBox::warning(this, title, text);
    };
    buildControls();
    buildMenus();
    applyLook();
}

TPrintPreviewForm::~TPrintPreviewForm() = default;

QLabel* TPrintPreviewForm::image(const QString& name) const {
    return findChild<QLabel*>(name);
}

void TPrintPreviewForm::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* top = new QHBoxLayout();
    top->setContentsMargins(4, 4, 4, 4);
    auto* banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("ImageTop"));
    top->addWidget(banner);
    top->addStretch();
    for (const TIconImage& icon : kIcons) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(icon.name));
        label->setFixedSize(36, 36);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        top->addWidget(label);
    }
    layout->addLayout(top);

    auto* setup = new QHBoxLayout();
    setup->setContentsMargins(4, 0, 4, 4);
    auto* setupBanner = new QLabel(this);
    setupBanner->setObjectName(QStringLiteral("ImageTopSetup"));
    setupBanner->setFixedWidth(44);
    setupBanner->setScaledContents(false);
    setup->addWidget(setupBanner);
    const auto addLabel = [&](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        setup->addWidget(label);
    };
    const auto addNumber = [&](const char* name, const char* upDown) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setFixedWidth(48);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { valueEntered(edit); });
        setup->addWidget(edit);
        auto* arrows = new QVBoxLayout();
        arrows->setSpacing(0);
        for (const char* direction : {"Up", "Down"}) {
            auto* arrow = new QLabel(this);
            arrow->setObjectName(
                QStringLiteral("Image%1%2").arg(QLatin1String(upDown), QLatin1String(direction)));
            arrow->setFixedSize(18, 12);
            arrow->setScaledContents(true);
            arrow->setCursor(Qt::PointingHandCursor);
            arrow->installEventFilter(this);
            arrows->addWidget(arrow);
        }
        setup->addLayout(arrows);
        setup->addSpacing(12);
        return edit;
    };
    addLabel("LabelPrinter");
    printers_ = new QComboBox(this);
    printers_->setObjectName(QStringLiteral("CBoxPrinters"));
    printers_->setMinimumWidth(240);
    printers_->installEventFilter(this);
    connect(printers_, &QComboBox::activated, this, [this](int index) {
        if (refreshing_ == 0) {
            printerIndex_ = std::max(0, index);
            refresh(QStringLiteral("PrinterIndex"));
        }
    });
    setup->addWidget(printers_);
    setup->addSpacing(12);
    addLabel("LabelPageFrom");
    pageFrom_ = addNumber("EditPageFrom", "PageFrom");
    addLabel("LabelPageTo");
    pageTo_ = addNumber("EditPageTo", "PageTo");
    addLabel("LabelCopies");
    copies_ = addNumber("EditCopies", "Copies");
    setup->addStretch();
    layout->addLayout(setup);

    scrollBox_ = new QScrollArea(this);
    scrollBox_->setObjectName(QStringLiteral("ScrollBoxPage"));
    scrollBox_->setWidgetResizable(false);
    scrollBox_->setBackgroundRole(QPalette::Dark);
    auto* contents = new QWidget();
    contents->setObjectName(QStringLiteral("ScrollBoxPageContents"));
    panelPage_ = new QWidget(contents);
    panelPage_->setObjectName(QStringLiteral("PanelPage"));
    imagePage_ = new QLabel(panelPage_);
    imagePage_->setObjectName(QStringLiteral("ImagePage"));
    imagePage_->setScaledContents(true);
    scrollBox_->setWidget(contents);
    scrollBox_->installEventFilter(this);
    layout->addWidget(scrollBox_, 1);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar"));
    statusBar_->setSizeGripEnabled(false);
    layout->addWidget(statusBar_);
}

void TPrintPreviewForm::buildMenus() {
    auto* bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenuPrint"));
    static_cast<QVBoxLayout*>(this->layout())->setMenuBar(bar);
    const auto menu = [&](QMenu* parent, const char* name) {
        auto* result = parent ? parent : bar->addMenu(QString());
        result->setObjectName(QLatin1String(name));
        return result;
    };
    const auto item = [this](QMenu* parent, const char* name, const char* command, QKeySequence keys = {}) {
        QAction* action = parent->addAction(QString());
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(QLatin1String(command)); });
        return action;
    };
    QMenu* file = menu(nullptr, "MenuPrintFile");
    item(file, "MenuPrintFilePrint", "Print", QKeySequence::Print);
    // Saving the pages as PDF is what a Linux desktop offers beside printing.
    QAction* pdf = item(file, "MenuPrintFileSavePdf", "SavePdf");
    pdf->setText(tr("Save as &PDF…"));
    file->addSeparator();
    item(file, "MenuPrintFileExit", "Exit");
    QMenu* tools = menu(nullptr, "MenuPrintTools");
    item(tools, "MenuPrintToolsPagePrev", "PagePrev", QKeySequence(Qt::Key_PageUp));
    item(tools, "MenuPrintToolsPageNext", "PageNext", QKeySequence(Qt::Key_PageDown));
    item(tools, "MenuPrintToolsZoomOut", "ZoomOut", QKeySequence::ZoomOut);
    item(tools, "MenuPrintToolsZoomIn", "ZoomIn", QKeySequence::ZoomIn);
    QMenu* help = menu(nullptr, "MenuPrintHelp");
    QAction* about = help->addAction(QString());
    about->setObjectName(QStringLiteral("MenuPrintHelpAbout"));
    connect(about, &QAction::triggered, this, [this] {
        QMessageBox::about(this, Version().ProductName, Version().ProductName + u' ' + Version().VersionText);
    });

    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PUMenuPrint"));
    item(popup_, "PUMenuPrintPrint", "Print");
    item(popup_, "PUMenuPrintPagePrev", "PagePrev");
    item(popup_, "PUMenuPrintPageNext", "PageNext");
    item(popup_, "PUMenuPrintZoomOut", "ZoomOut");
    item(popup_, "PUMenuPrintZoomIn", "ZoomIn");
}

void TPrintPreviewForm::applyLook() {
    ApplyWindowTexts(this, PrintPreviewTextRules(), Texts());
    // The menus are named by their place: the texts find "File", "Tools", "Help" and the items.
    const TPictureList& pictures = Pictures();
    image(QStringLiteral("ImageTop"))
        ->setPixmap(QPixmap::fromImage(pictures.Find(QStringLiteral("TopPrint"))));
    const QImage setupPicture = pictures.Find(QStringLiteral("TopPrintSetup"));
    if (!setupPicture.isNull())
        image(QStringLiteral("ImageTopSetup"))
            ->setPixmap(QPixmap::fromImage(
                setupPicture.copy(0, 0, std::min(44, setupPicture.width()), setupPicture.height())));
    for (const TIconImage& icon : kIcons)
        HoverImage(nullptr, image(QLatin1String(icon.name)), QLatin1String(icon.picture));
    for (QLabel* arrow : findChildren<QLabel*>())
        if (arrow->objectName().endsWith(QLatin1String("Up")) ||
            arrow->objectName().endsWith(QLatin1String("Down")))
            HoverImage(nullptr, arrow,
                       arrow->objectName().endsWith(QLatin1String("Up")) ? QStringLiteral("IconArrowUp")
                                                                         : QStringLiteral("IconArrowDown"));
}

void TPrintPreviewForm::SetPages(TPreviewPages pages, int printerIndex) {
    pagesReport_ = std::make_unique<TSestava>();
    pagesReport_->Popis = pages.Title;
    pages_ = std::move(pages);
    report_ = pagesReport_.get();
    printerIndex_ = std::max(0, printerIndex);
    imagePage_->clear();
    output_.Clear();
    for (int i = 0; i < pages_->Count; ++i)
        output_.AddPage();
    background_ = TPageBackground();
    page_ = std::min(1, output_.PageCount());
    pageImage_ = QImage();
    refresh();
}

void TPrintPreviewForm::SetReport(TSestava* report, int printerIndex) {
    if (report != pagesReport_.get())
        pages_.reset();
    report_ = report;
    printerIndex_ = std::max(0, printerIndex);
    imagePage_->clear();
    output_.Clear();
    if (report_) {
        TProgressDialog progress(this);
        TReportRun run(*report_, output_, &progress);
        // Nothing to show, a page that cannot be laid out, or more than a report can hold: the engine
        // says why. The pages of a report stopped for its size are not the whole report, and are not
        // shown to be printed as if they were.
        const int code = run.Run();
        if ((code == ReportMessages::rrNothingDone || code == ReportMessages::rrNotLoaded ||
             code == ReportMessages::rrOutputError) &&
            ShowMessage)
            ShowMessage(Version().ProductName, run.Message());
        if (code == ReportMessages::rrOutputError)
            output_.Clear();
        progress.Hide();
    }
    background_ = report_ ? ResolveBackground(*report_) : TPageBackground();
    page_ = std::min(1, output_.PageCount());
    pageImage_ = QImage();
    refresh();
}

void TPrintPreviewForm::refresh(const QString& name) {
    ++refreshing_;
    const bool all = name.isEmpty();
    const auto is = [&](const char* key) { return all || name == QLatin1String(key); };
    if (all) {
        setWindowTitle(report_ ? report_->Popis : QString());
        printers_->clear();
        printers_->addItem(GetText(kSection, QStringLiteral("DefaultPrinterCaption")));
        printers_->addItems(PrinterNames());
    }
    if (is("PrinterIndex"))
        printers_->setCurrentIndex(std::min(printerIndex_, printers_->count() - 1));
    if (report_) {
        if (is("PageFrom"))
            pageFrom_->setText(QString::number(report_->StartPage));
        if (is("PageTo"))
            pageTo_->setText(QString::number(std::min(report_->EndPage, PageCount())));
        if (is("Copies"))
            copies_->setText(QString::number(report_->PrintCopies));
    }
    if (is("CurrentPage"))
        refreshPage();
    else if (is("Zoom"))
        refreshZoom();
    refreshCommands();
    --refreshing_;
}

void TPrintPreviewForm::refreshPage() {
    SetStatusText(
        statusBar_,
        GetText(kSection, QStringLiteral("Page")) + QStringLiteral(": %1/%2").arg(page_).arg(PageCount()), 0);
    // The page at 3 × the screen's 100 units per inch, so that zooming in stays sharp; the
    // background shows in the preview whether or not it is printed.
    constexpr int kDetail = 3;
    pageImage_ = pages_ && page_ >= 1 ? pages_->Render(page_ - 1, 100.0 * kDetail)
                 : report_ && page_ >= 1
                     ? PageImage(output_, page_ - 1, report_->PageSetup, &background_, kDetail)
                     : QImage();
    imagePage_->setPixmap(QPixmap::fromImage(pageImage_));
    refreshZoom();
}

void TPrintPreviewForm::refreshZoom() {
    // Our page pictures have 100 units per inch, so the page shows at the screen's usual size at
    // zoom 100.
    QSize size(100, 100);
    if (pages_ && page_ >= 1)
        size = (pages_->SizeMm(page_ - 1) / 25.4 * 100).toSize();
    else if (report_)
        size = PaperSize(report_->PageSetup);
    size = size * zoom_ / 100;
    panelPage_->resize(size);
    imagePage_->setGeometry(0, 0, size.width(), size.height());
    imagePage_->setVisible(!pageImage_.isNull());
    QWidget* view = scrollBox_->viewport();
    const int left = std::max(kPageMargin, (view->width() - size.width()) / 2);
    const int top = std::max(kPageMargin, (view->height() - size.height()) / 2);
    panelPage_->move(left, top);
    scrollBox_->widget()->resize(std::max(view->width(), left + size.width() + kPageMargin),
                                 std::max(view->height(), top + size.height() + kPageMargin));
    SetStatusText(statusBar_, GetText(kSection, QStringLiteral("Zoom")) + QStringLiteral(": %1%").arg(zoom_),
                  1);
}

void TPrintPreviewForm::refreshCommands() {
    const bool prev = page_ > 1;
    const bool next = page_ < PageCount();
    const bool zoomIn = zoom_ < kMaxZoom;
    const bool zoomOut = zoom_ > kMinZoom;
    const std::pair<const char*, bool> states[] = {
        {"PagePrev", prev}, {"PageNext", next}, {"ZoomIn", zoomIn}, {"ZoomOut", zoomOut}};
    for (const auto& [command, enabled] : states) {
        if (QLabel* icon = image(QStringLiteral("ImageIcon") + QLatin1String(command)))
            icon->setEnabled(enabled);
        for (const char* prefix : {"MenuPrintTools", "PUMenuPrint"})
            if (auto* action = findChild<QAction*>(QLatin1String(prefix) + QLatin1String(command)))
                action->setEnabled(enabled);
    }
    for (const TIconImage& icon : kIcons)
        HoverImage(nullptr, image(QLatin1String(icon.name)), QLatin1String(icon.picture));
}

void TPrintPreviewForm::showPage(int page) {
    page = std::clamp(page, std::min(1, PageCount()), PageCount());
    if (page == page_ && !pageImage_.isNull())
        return;
    page_ = page;
    refresh(QStringLiteral("CurrentPage"));
}

void TPrintPreviewForm::setPageFrom(int value) {
    if (!report_)
        return;
    const int to = std::min(report_->EndPage, PageCount());
    if (value <= 0)
        value = 1;
    if (value > to)
        value = to;
    report_->StartPage = value;
    refresh(QStringLiteral("PageFrom"));
}

void TPrintPreviewForm::setPageTo(int value) {
    if (!report_)
        return;
    value = std::max(value, report_->StartPage);
    value = std::min(value, PageCount());
    report_->EndPage = value;
    refresh(QStringLiteral("PageTo"));
}

void TPrintPreviewForm::setCopies(int value) {
    if (!report_)
        return;
    report_->PrintCopies = std::clamp(value, 1, 99);
    refresh(QStringLiteral("Copies"));
}

void TPrintPreviewForm::valueEntered(QLineEdit* edit) {
    if (refreshing_ > 0 || !report_)
        return;
    bool ok = false;
    const int value = textToInt(edit->text(), &ok);
    // Not a number: the field shows the current value again.
    if (edit == pageFrom_)
        ok ? setPageFrom(value) : refresh(QStringLiteral("PageFrom"));
    else if (edit == pageTo_)
        ok ? setPageTo(value) : refresh(QStringLiteral("PageTo"));
    else if (edit == copies_)
        ok ? setCopies(value) : refresh(QStringLiteral("Copies"));
}

void TPrintPreviewForm::step(QLineEdit* edit, int delta) {
    if (!report_)
        return;
    if (edit == pageFrom_)
        setPageFrom(report_->StartPage + delta);
    else if (edit == pageTo_)
        setPageTo(std::min(report_->EndPage, PageCount()) + delta);
    else if (edit == copies_)
        setCopies(report_->PrintCopies + delta);
}

void TPrintPreviewForm::RunCommand(const QString& command) {
    if (command == QLatin1String("PagePrev"))
        showPage(page_ - 1);
    else if (command == QLatin1String("PageNext"))
        showPage(page_ + 1);
    else if (command == QLatin1String("ZoomIn") && zoom_ < kMaxZoom) {
        zoom_ = std::min(kMaxZoom, zoom_ + (zoom_ < 100 ? 10 : 25));
        refresh(QStringLiteral("Zoom"));
    } else if (command == QLatin1String("ZoomOut") && zoom_ > kMinZoom) {
        zoom_ = std::max(kMinZoom, zoom_ - (zoom_ <= 100 ? 10 : 25));
        refresh(QStringLiteral("Zoom"));
    } else if (command == QLatin1String("Print"))
        print();
    else if (command == QLatin1String("SavePdf"))
        savePdf();
    else if (command == QLatin1String("Exit"))
        close();
}

void TPrintPreviewForm::print() {
    if (!report_)
        return;
    for (QLineEdit* edit : {pageFrom_, pageTo_, copies_})
        valueEntered(edit);
    if (pages_) {
        QString error;
        if (!pages_->Print(printerIndex_, report_->StartPage - 1, std::min(report_->EndPage, PageCount()) - 1,
                           report_->PrintCopies, error))
            ShowMessage(PrinterMessages::WarningTitle(), error);
        return;
    }
    if (!report_->AskYesNo)
        report_->AskYesNo = [this](const QString& question) {
            return QMessageBox::question(this, Version().ProductName, question) == QMessageBox::Yes;
        };
    // Margins raised to what the printer can print move the contents: the pages are built again.
    if (TestMargins(*report_, printerIndex_ - 1) == mtRaised) {
        const int page = page_;
        SetReport(report_, printerIndex_);
        showPage(page);
    }
    TProgressDialog progress(this);
    QString message;
    const int result = PrintPages(*report_, output_, printerIndex_ - 1, &progress, message);
    progress.Hide();
    if (result == 2)
        ShowMessage(PrinterMessages::WarningTitle(),
                    message.isEmpty() ? PrinterMessages::NoPrinter() : message);
    else if (result != 0 && result != 3 && !message.isEmpty())
        ShowMessage(Version().ProductName, message);
}

void TPrintPreviewForm::savePdf() {
    if (!report_)
        return;
    QString proposed = report_->Popis.isEmpty() ? QStringLiteral("report") : report_->Popis;
    proposed.replace(u'/', u'-');
    const QString file = ChoosePdfFileName(proposed + QStringLiteral(".pdf"));
    if (file.isEmpty())
        return;
    QString error;
    if (pages_) {
        if (!pages_->SavePdf(file, report_->StartPage - 1, std::min(report_->EndPage, PageCount()) - 1,
                             error))
            ShowMessage(Version().ProductName, error);
        return;
    }
    if (!ExportPdf(output_, report_->PageSetup, file, report_->Popis, error, report_->StartPage,
                   std::min(report_->EndPage, PageCount()), &background_))
        ShowMessage(Version().ProductName, error);
}

void TPrintPreviewForm::restoreSettings() {
    CenterForm(this);
    zoom_ = 100;
    if (Keyboard::ShiftHeld())
        return;
    TUserSettings settings;
    if (!settings.Open(false))
        return;
    RestoreFormPlacement(this, settings, QStringLiteral("PreviewWindowMaximized"),
                         QStringLiteral("PreviewWindow"));
    if (auto zoom = settings.ReadInteger(QStringLiteral("PreviewZoom")))
        zoom_ = std::clamp(*zoom, kMinZoom, kMaxZoom);
}

void TPrintPreviewForm::storeSettings() {
    if (Keyboard::ShiftHeld())
        return;
    TUserSettings settings;
    if (!settings.Open(true))
        return;
    StoreFormPlacement(this, settings, QStringLiteral("PreviewWindowMaximized"),
                       QStringLiteral("PreviewWindow"));
    settings.WriteInteger(QStringLiteral("PreviewZoom"), zoom_);
    settings.Close();
}

void TPrintPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (settingsRead_)
        return;
    settingsRead_ = true;
    restoreSettings();
    refresh();
}

void TPrintPreviewForm::hideEvent(QHideEvent* event) {
    if (settingsRead_)
        storeSettings();
    settingsRead_ = false;
    QDialog::hideEvent(event);
}

void TPrintPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    refreshZoom();
}

void TPrintPreviewForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (!printers_->view()->isVisible())
            close();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TPrintPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    const QString name = watched->objectName();
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter goes round the inputs: printer, first page, last page, copies.
            QWidget* order[] = {printers_, pageFrom_, pageTo_, copies_};
            for (size_t i = 0; i < std::size(order); ++i)
                if (watched == order[i]) {
                    if (auto* edit = qobject_cast<QLineEdit*>(order[i]))
                        valueEntered(edit);
                    order[(i + 1) % std::size(order)]->setFocus(Qt::TabFocusReason);
                    return true;
                }
        }
    }
    if (event->type() == QEvent::ContextMenu && watched == scrollBox_) {
        popup_->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(watched)) {
        for (const TIconImage& icon : kIcons)
            if (name == QLatin1String(icon.name)) {
                if (event->type() == QEvent::Enter || event->type() == QEvent::Leave ||
                    event->type() == QEvent::EnabledChange)
                    HoverImage(event->type() == QEvent::Enter ? watched : nullptr, label,
                               QLatin1String(icon.picture));
                if (event->type() == QEvent::MouseButtonRelease && label->isEnabled()) {
                    RunCommand(QLatin1String(icon.command));
                    return true;
                }
            }
        if (event->type() == QEvent::MouseButtonRelease && name.startsWith(QLatin1String("Image"))) {
            const bool up = name.endsWith(QLatin1String("Up"));
            const bool down = name.endsWith(QLatin1String("Down"));
            if (up || down) {
                const QString field = name.mid(5, name.size() - 5 - (up ? 2 : 4));
                if (auto* edit = findChild<QLineEdit*>(QStringLiteral("Edit") + field))
                    step(edit, up ? 1 : -1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lintaro
