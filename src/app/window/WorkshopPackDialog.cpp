#include "app/window/WorkshopPackDialog.h"

#include "foundation/Program.h"
#include "platform/UserSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace lintaro {

namespace {

using workshop::TLabelStock;
using workshop::TPackPaper;

QString text(const char* key) {
    return GetText(QStringLiteral("Workshop"), QString::fromLatin1(key));
}

struct TChoice {
    int value;
    const char* key;
};

// In the order the lists show them.
constexpr TChoice kPapers[] = {
    {workshop::ppA4, "PaperA4"}, {workshop::ppA3, "PaperA3"}, {workshop::ppLetter, "PaperLetter"}};
constexpr TChoice kLabels[] = {{workshop::lsA4_3x8, "LabelsA4_3x8"},
                               {workshop::lsA4_2x7, "LabelsA4_2x7"},
                               {workshop::lsRoll62x29, "LabelsRoll62x29"},
                               {workshop::lsRoll100x50, "LabelsRoll100x50"},
                               {workshop::lsNone, "LabelsNone"}};

template <size_t N> void fill(QComboBox* box, const TChoice (&choices)[N]) {
    for (const TChoice& c : choices)
        box->addItem(text(c.key), c.value);
}

template <size_t N> bool known(int value, const TChoice (&choices)[N]) {
    for (const TChoice& c : choices)
        if (c.value == value)
            return true;
    return false;
}

void select(QComboBox* box, int value) {
    const int at = box->findData(value);
    if (at >= 0)
        box->setCurrentIndex(at);
}

const QString kPaperKey = QStringLiteral("WorkshopPaper");
const QString kLabelsKey = QStringLiteral("WorkshopLabels");
const QString kSequenceKey = QStringLiteral("WorkshopSequence");

} // namespace

TWorkshopPackDialog::TWorkshopPackDialog(QWidget* parent)
    : QDialog(parent), paper_(new QComboBox(this)), labels_(new QComboBox(this)),
      sequence_(new QCheckBox(text("OptionSequence"), this)) {
    setObjectName(QStringLiteral("WorkshopPackDialog"));
    setWindowTitle(text("CoverTitle"));
    paper_->setObjectName(QStringLiteral("ComboPackPaper"));
    labels_->setObjectName(QStringLiteral("ComboPackLabels"));
    sequence_->setObjectName(QStringLiteral("CheckPackSequence"));
    fill(paper_, kPapers);
    fill(labels_, kLabels);

    auto* form = new QFormLayout;
    form->addRow(text("OptionPaper"), paper_);
    form->addRow(text("OptionLabels"), labels_);
    form->addRow(QString(), sequence_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ButtonPackOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ButtonPackCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    SetOptions(workshop::TPackOptions{});
    paper_->setFocus();
}

workshop::TPackOptions TWorkshopPackDialog::Options() const {
    workshop::TPackOptions o;
    o.Paper = TPackPaper(paper_->currentData().toInt());
    o.Labels = TLabelStock(labels_->currentData().toInt());
    o.Sequence = sequence_->isChecked();
    return o;
}

void TWorkshopPackDialog::SetOptions(const workshop::TPackOptions& options) {
    select(paper_, options.Paper);
    select(labels_, options.Labels);
    sequence_->setChecked(options.Sequence);
}

workshop::TPackOptions TWorkshopPackDialog::StoredOptions() {
    workshop::TPackOptions o;
    TUserSettings settings;
    if (!settings.Open(false))
        return o;
    // A value written by another version, or edited by hand, that names no choice keeps the default.
    if (const auto paper = settings.ReadInteger(kPaperKey); paper && known(*paper, kPapers))
        o.Paper = TPackPaper(*paper);
    if (const auto labels = settings.ReadInteger(kLabelsKey); labels && known(*labels, kLabels))
        o.Labels = TLabelStock(*labels);
    if (const auto sequence = settings.ReadBool(kSequenceKey))
        o.Sequence = *sequence;
    return o;
}

bool TWorkshopPackDialog::StoreOptions(const workshop::TPackOptions& options) {
    TUserSettings settings;
    if (!settings.Open(true))
        return false;
    settings.WriteInteger(kPaperKey, options.Paper);
    settings.WriteInteger(kLabelsKey, options.Labels);
    settings.WriteBool(kSequenceKey, options.Sequence);
    return settings.Close();
}

} // namespace lintaro
