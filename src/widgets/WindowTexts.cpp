#include "widgets/WindowTexts.h"

#include "foundation/BarRecord.h"
#include "foundation/Ini.h"
#include "foundation/Pictures.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>

namespace lintaro {

namespace {

const char* const kHintProperty = "lintaroHint";
const QString kLabelPrefix = QStringLiteral("Label");
const QString kImagePrefix = QStringLiteral("Image");

bool startsWith(const QString& name, const QString& prefix) {
    return name.startsWith(prefix, Qt::CaseInsensitive);
}

// Caption and hint from a "caption|hint" record of the labels section.
void applyLabelRecord(QWidget* control, const QString& record) {
    const QString caption = TextWithLineBreaks(GetBarField(record, 0));
    const QString hint = TextWithLineBreaks(GetBarField(record, 1));
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
    control->setToolTip(hint);
    control->setProperty(kHintProperty, hint);
}

void applyHints(QObject* root, const TTextRules& rules, const TINI& texts) {
    const QStringList* section = texts.FindSection(rules.hintSection);
    if (!section)
        return;
    for (QWidget* control : root->findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (name.size() <= rules.hintSkip || (rules.hintsOnImagesOnly && !startsWith(name, kImagePrefix)))
            continue;
        const QString key = name.mid(rules.hintSkip);
        if (IndexOfKey(*section, key) >= 0)
            SetControlHint(control, TextWithLineBreaks(ReadValue(*section, key)));
    }
}

void applyLabels(QObject* root, const TTextRules& rules, const TINI& texts) {
    const QStringList* section = texts.FindSection(rules.labelSection);
    if (!section)
        return;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        const QString name = label->objectName();
        if (!startsWith(name, kLabelPrefix) || name.size() == kLabelPrefix.size())
            continue;
        const QString key = name.mid(kLabelPrefix.size());
        if (IndexOfKey(*section, key) >= 0)
            applyLabelRecord(label, ReadValue(*section, key));
    }
}

void applyMenus(QObject* root, const TTextRules& rules, const TINI& texts) {
    for (const QString& sectionName : rules.menuSections) {
        const QStringList* section = texts.FindSection(sectionName);
        if (!section)
            continue;
        const auto captionOf = [&](const QString& name, QString* caption) {
            if (!startsWith(name, sectionName) || name.size() == sectionName.size())
                return false;
            const QString key = name.mid(sectionName.size());
            if (IndexOfKey(*section, key) < 0)
                return false;
            *caption = TextWithLineBreaks(ReadValue(*section, key));
            return true;
        };
        QString caption;
        // A sub-menu carries the name; its action in the parent menu shows the caption.
        for (QMenu* menu : root->findChildren<QMenu*>())
            if (captionOf(menu->objectName(), &caption))
                menu->setTitle(caption);
        for (QAction* action : root->findChildren<QAction*>())
            if (captionOf(action->objectName(), &caption))
                action->setText(caption);
    }
}

void applyButtons(QObject* root, const TTextRules& rules, const TINI& texts) {
    const QStringList* section = texts.FindSection(rules.labelSection);
    if (!section)
        return;
    const QList<QAbstractButton*> all = root->findChildren<QAbstractButton*>();
    // Check boxes first, then the other buttons.
    for (bool checkBoxes : {true, false})
        for (QAbstractButton* button : all) {
            if ((qobject_cast<QCheckBox*>(button) != nullptr) != checkBoxes || button->objectName().isEmpty())
                continue;
            if (IndexOfKey(*section, button->objectName()) >= 0)
                applyLabelRecord(button, ReadValue(*section, button->objectName()));
        }
}

} // namespace

TTextRules MainWindowTextRules() {
    TTextRules rules;
    rules.hintSection = QStringLiteral("Hints");
    rules.labelSection = QStringLiteral("Labels");
    rules.checkBoxesAndButtons = true;
    rules.menuSections = {QStringLiteral("MenuOrder"), QStringLiteral("MenuParts"),
                          QStringLiteral("MenuMaterial"), QStringLiteral("MenuSheets"),
                          QStringLiteral("MenuSetup")};
    return rules;
}

TTextRules PrintPreviewTextRules() {
    TTextRules rules;
    rules.hintSection = QStringLiteral("PrintHints");
    rules.hintSkip = kImagePrefix.size();
    rules.hintsOnImagesOnly = true;
    rules.labelSection = QStringLiteral("PrintLabels");
    rules.menuSections = {QStringLiteral("MenuPrint"), QStringLiteral("PUMenuPrint")};
    return rules;
}

std::vector<TPictureRule> MainWindowPictureRules() {
    std::vector<TPictureRule> rules = {
        {QStringLiteral("ImageBullet"), true, QStringLiteral("Bullet")},
        {QStringLiteral("ImageTipBkg"), true, QStringLiteral("TipBkg")},
        {QStringLiteral("ImageTop"), false, QStringLiteral("Top")},
        {QStringLiteral("ImageLogo"), false, QStringLiteral("Logo")},
    };
    for (const char* page : {"Order", "Parts", "Material", "Sheets", "Setup"}) {
        const QString p = QLatin1String(page);
        rules.push_back({QStringLiteral("ImageTop") + p, false, QStringLiteral("Top") + p});
        rules.push_back({QStringLiteral("ImageMenuExpanded") + p, false, QStringLiteral("MenuExpanded") + p});
    }
    return rules;
}

void ApplyWindowTexts(QObject* root, const TTextRules& rules, const TINI& texts) {
    if (!root)
        return;
    if (!rules.hintSection.isEmpty())
        applyHints(root, rules, texts);
    if (!rules.labelSection.isEmpty())
        applyLabels(root, rules, texts);
    applyMenus(root, rules, texts);
    if (rules.checkBoxesAndButtons && !rules.labelSection.isEmpty())
        applyButtons(root, rules, texts);
}

void ApplyPictureRules(QObject* root, const std::vector<TPictureRule>& rules, const TPictureList& pictures) {
    if (!root)
        return;
    for (QLabel* image : root->findChildren<QLabel*>()) {
        const QString name = image->objectName();
        for (const TPictureRule& rule : rules) {
            const bool match = rule.prefix ? startsWith(name, rule.objectName)
                                           : name.compare(rule.objectName, Qt::CaseInsensitive) == 0;
            if (!match)
                continue;
            const QImage picture = pictures.Find(rule.picture);
            if (!picture.isNull())
                image->setPixmap(QPixmap::fromImage(picture));
            break;
        }
    }
}

QString TextWithLineBreaks(const QString& text) {
    QString out = text;
    return out.replace(QChar(u'\u00B6'), QChar(u'\n'));
}

QString ShortHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

QString LongHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void SetControlHint(QWidget* control, const QString& hint) {
    if (!control)
        return;
    control->setToolTip(ShortHint(hint));
    control->setProperty(kHintProperty, hint);
}

QString LongHintOf(const QWidget* control) {
    return control ? LongHint(control->property(kHintProperty).toString()) : QString();
}

} // namespace lintaro
