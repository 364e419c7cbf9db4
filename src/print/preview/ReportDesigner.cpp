#include "print/preview/ReportDesigner.h"

#include "reports/OddilSestavy.h"
#include "reports/OrvelCanvas.h"
#include "reports/PaperFormat.h"
#include "reports/ReportRun.h"
#include "reports/Sestava.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lintaro {

namespace {

constexpr int kPageRole = Qt::UserRole;
constexpr int kSectionRole = Qt::UserRole + 1;
constexpr int kElementRole = Qt::UserRole + 2;
// Sizes and positions in hundredths of an inch; a template never needs more than a large page.
constexpr int kMaxUnits = 10000;

QString sectionName(int typeIndex) {
    static const char* const names[] = {"Report start", "Page head", "Body", "Report end", "Page foot"};
    if (typeIndex >= 0 && typeIndex < 5)
        return QString::fromLatin1(names[typeIndex]);
    const int group = (typeIndex - 5) / 2 + 1;
    return QStringLiteral("Group %1 %2")
        .arg(group)
        .arg((typeIndex - 5) % 2 == 0 ? QStringLiteral("start") : QStringLiteral("end"));
}

QString kindName(int kind) {
    switch (kind) {
    case ekText:
        return QStringLiteral("Text");
    case ekDataItem:
        return QStringLiteral("Data item");
    case ekDataLabel:
        return QStringLiteral("Data label");
    case ekParameter:
        return QStringLiteral("Parameter");
    case ekVariable:
        return QStringLiteral("Variable");
    case ekFunction:
        return QStringLiteral("Function");
    case ekLine:
        return QStringLiteral("Line");
    case ekRectangle:
        return QStringLiteral("Rectangle");
    case ekRoundRect:
        return QStringLiteral("Rounded rectangle");
    case ekEllipse:
        return QStringLiteral("Ellipse");
    case ekPicture:
        return QStringLiteral("Picture");
    case ekBarcode:
        return QStringLiteral("Barcode");
    case ekPaintBox:
        return QStringLiteral("Drawing area");
    case ekSubReport:
        return QStringLiteral("Sub-report");
    }
    return QStringLiteral("Element %1").arg(kind);
}

QString elementCaption(const TSiReportElement& e) {
    QString text = kindName(e.Kind);
    if (e.Kind == ekText && !e.Text.isEmpty())
        text += QStringLiteral(" \u201c%1\u201d").arg(e.Text.left(30));
    else if (e.Kind == ekPicture || e.Kind == ekBarcode)
        text += u' ' + e.FileName.left(30);
    else if (e.Kind >= ekDataItem && e.Kind <= ekFunction)
        text += QStringLiteral(" %1").arg(e.ReferenceName.isEmpty() ? QString::number(e.Reference)
                                                                    : e.ReferenceName);
    return text + QStringLiteral("  (%1, %2)").arg(e.Left).arg(e.Top);
}

} // namespace

TReportDesigner::TReportDesigner(TSestava& report, QWidget* parent) : QDialog(parent), report_(report) {
    setObjectName(QStringLiteral("ReportDesigner"));
    setWindowTitle(report.Popis.isEmpty() ? QStringLiteral("Design") : report.Popis);
    resize(1100, 760);
    Ask = [this](const QString& title, const QString& text) {
        return int(QMessageBox::question(this, title, text,
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
    };
    ShowError = [this](const QString& text) { QMessageBox::warning(this, windowTitle(), text); };

    auto* layout = new QVBoxLayout(this);
    auto* splitter = new QSplitter(this);
    tree_ = new QTreeWidget(splitter);
    tree_->setObjectName(QStringLiteral("TreeTemplate"));
    tree_->setHeaderHidden(true);
    auto* middle = new QWidget(splitter);
    auto* middleLayout = new QVBoxLayout(middle);
    form_ = new QWidget(middle);
    form_->setObjectName(QStringLiteral("PanelProperties"));
    formLayout_ = new QFormLayout(form_);
    middleLayout->addWidget(form_);
    middleLayout->addStretch();
    auto* scroll = new QScrollArea(splitter);
    page_ = new QLabel();
    page_->setObjectName(QStringLiteral("ImageFirstPage"));
    scroll->setWidget(page_);
    scroll->setBackgroundRole(QPalette::Dark);
    splitter->setStretchFactor(2, 1);
    layout->addWidget(splitter, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QDialogButtonBox::Save);
    save->setObjectName(QStringLiteral("ButtonSave"));
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("ButtonClose"));
    for (QPushButton* button : {save, close})
        button->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, [this] { Save(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) { showProperties(item); });
    fillTree();
    renderFirstPage();
}

TReportDesigner::~TReportDesigner() = default;

void TReportDesigner::fillTree() {
    tree_->clear();
    auto* page = new QTreeWidgetItem(tree_, {QStringLiteral("Page set-up")});
    page->setData(0, kPageRole, true);
    const TListOddilu& sections = report_.Oddily();
    for (int s = 0; s < sections.Count(); ++s) {
        const TOddilSestavy& section = sections.Item(s);
        if (!section.Visible && section.Elements.empty())
            continue;
        auto* node = new QTreeWidgetItem(tree_, {QStringLiteral("%1 [%2], height %3")
                                                     .arg(sectionName(s), TOddilSestavy::Tag(s))
                                                     .arg(section.Height)});
        node->setData(0, kSectionRole, s);
        for (size_t e = 0; e < section.Elements.size(); ++e) {
            auto* leaf = new QTreeWidgetItem(node, {elementCaption(section.Elements[e])});
            leaf->setData(0, kSectionRole, s);
            leaf->setData(0, kElementRole, static_cast<int>(e));
        }
        node->setExpanded(true);
    }
    tree_->setCurrentItem(page);
}

void TReportDesigner::showProperties(QTreeWidgetItem* item) {
    while (formLayout_->rowCount() > 0)
        formLayout_->removeRow(0);
    if (!item)
        return;
    if (item->data(0, kPageRole).toBool())
        showPageForm();
    else if (item->data(0, kElementRole).isValid())
        showElementForm(item->data(0, kSectionRole).toInt(), item->data(0, kElementRole).toInt());
}

void TReportDesigner::showPageForm() {
    TPageSetup& setup = report_.PageSetup;
    auto* orientation = new QComboBox(form_);
    orientation->setObjectName(QStringLiteral("CBoxOrientation"));
    orientation->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    orientation->setCurrentIndex(setup.Orientation == 1 ? 1 : 0);
    connect(orientation, &QComboBox::activated, this, [this](int index) {
        report_.PageSetup.Orientation = index;
        changed();
    });
    formLayout_->addRow(QStringLiteral("Orientation"), orientation);
    const std::pair<const char*, int TPageSetup::*> fields[] = {
        {"Width", &TPageSetup::Width}, {"Height", &TPageSetup::Height}, {"Left", &TPageSetup::Left},
        {"Right", &TPageSetup::Right}, {"Top", &TPageSetup::Top},       {"Bottom", &TPageSetup::Bottom},
    };
    for (const auto& [name, member] : fields) {
        auto* spin = new QSpinBox(form_);
        spin->setObjectName(QStringLiteral("Spin") + QLatin1String(name));
        spin->setRange(0, kMaxUnits);
        spin->setValue(setup.*member);
        connect(spin, &QSpinBox::editingFinished, this, [this, spin, member] {
            if (report_.PageSetup.*member != spin->value()) {
                report_.PageSetup.*member = spin->value();
                changed();
            }
        });
        formLayout_->addRow(QLatin1String(name) + QStringLiteral(" (1/100 in)"), spin);
    }
}

void TReportDesigner::showElementForm(int section, int element) {
    auto get = [this, section, element]() -> TSiReportElement& {
        return report_.Oddily().Item(section).Elements[static_cast<size_t>(element)];
    };
    formLayout_->addRow(QStringLiteral("Kind"), new QLabel(kindName(get().Kind), form_));
    const std::pair<const char*, int TSiReportElement::*> boxes[] = {
        {"Left", &TSiReportElement::Left},
        {"Top", &TSiReportElement::Top},
        {"Width", &TSiReportElement::Width},
        {"Height", &TSiReportElement::Height},
    };
    for (const auto& [name, member] : boxes) {
        auto* spin = new QSpinBox(form_);
        spin->setObjectName(QStringLiteral("Spin") + QLatin1String(name));
        spin->setRange(-kMaxUnits, kMaxUnits);
        spin->setValue(get().*member);
        connect(spin, &QSpinBox::editingFinished, this, [this, spin, member, get] {
            if (get().*member != spin->value()) {
                get().*member = spin->value();
                changed();
            }
        });
        formLayout_->addRow(QLatin1String(name) + QStringLiteral(" (1/100 in)"), spin);
    }
    const auto addText = [&](const char* name, const char* caption, QString TSiReportElement::*member) {
        auto* edit = new QLineEdit(get().*member, form_);
        edit->setObjectName(QStringLiteral("Edit") + QLatin1String(name));
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, member, get] {
            if (get().*member != edit->text()) {
                get().*member = edit->text();
                changed();
            }
        });
        formLayout_->addRow(QLatin1String(caption), edit);
    };
    if (get().IsTextKind()) {
        if (get().Kind == ekText)
            addText("Text", "Text", &TSiReportElement::Text);
        addText("FontName", "Font", &TSiReportElement::FontName);
        auto* size = new QSpinBox(form_);
        size->setObjectName(QStringLiteral("SpinFontSize"));
        size->setRange(1, 200);
        size->setValue(std::max(1, int(get().FontPoints())));
        connect(size, &QSpinBox::editingFinished, this, [this, size, get] {
            if (get().FontSize != size->value()) {
                get().FontSize = size->value();
                changed();
            }
        });
        formLayout_->addRow(QStringLiteral("Font size (pt)"), size);
        auto* alignment = new QComboBox(form_);
        alignment->setObjectName(QStringLiteral("CBoxAlignment"));
        alignment->addItems({QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Centre")});
        alignment->setCurrentIndex(std::clamp(get().Alignment & eaHorizontalMask, 0, 2));
        connect(alignment, &QComboBox::activated, this, [this, get](int index) {
            get().Alignment = (get().Alignment & ~eaHorizontalMask) | index;
            changed();
        });
        formLayout_->addRow(QStringLiteral("Alignment"), alignment);
    } else if (get().Kind == ekPicture || get().Kind == ekBarcode) {
        addText("FileName", get().Kind == ekPicture ? "Picture" : "Content", &TSiReportElement::FileName);
    }
}

void TReportDesigner::changed() {
    modified_ = true;
    setWindowTitle(report_.Popis + QStringLiteral(" *"));
    if (QTreeWidgetItem* item = tree_->currentItem(); item && item->data(0, kElementRole).isValid()) {
        const TSiReportElement& e = report_.Oddily()
                                        .Item(item->data(0, kSectionRole).toInt())
                                        .Elements[static_cast<size_t>(item->data(0, kElementRole).toInt())];
        item->setText(0, elementCaption(e));
    }
    renderFirstPage();
}

void TReportDesigner::renderFirstPage() {
    // The run reads the parsed template: the edits are written into it first.
    report_.SetPredloha(report_.WritePredloha());
    TSestVystup output;
    TReportRun(report_, output).Run();
    firstPage_ = PageImage(output, 0, report_.PageSetup);
    if (firstPage_.isNull()) {
        firstPage_ = QImage(PaperSize(report_.PageSetup).expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        firstPage_.fill(Qt::white);
    }
    page_->setPixmap(QPixmap::fromImage(firstPage_));
    page_->resize(firstPage_.size());
}

bool TReportDesigner::Save() {
    report_.SetPredloha(report_.WritePredloha());
    if (report_.UlozPredlohu() != 0) {
        ShowError(SaveFailedText());
        return false;
    }
    modified_ = false;
    setWindowTitle(report_.Popis);
    return true;
}

bool TReportDesigner::confirmClose() {
    if (!modified_)
        return true;
    const int answer = Ask(QuestionTitle(), UnsavedQuestion());
    if (answer == QMessageBox::Yes)
        return Save();
    return answer == QMessageBox::No;
}

void TReportDesigner::keyPressEvent(QKeyEvent* event) {
    // Enter confirms a value in the form; it must not save the template as well.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TReportDesigner::reject() {
    if (confirmClose())
        QDialog::reject();
}

} // namespace lintaro
