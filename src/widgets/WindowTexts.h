#pragma once
// Gives the controls of a window their captions, hints and pictures from the text file and the
// picture strip, by the controls' object names. Works on any widget tree: the main window and the
// print preview use it with their own sections.
//
// Hints follow the convention "short|long": the tool-tip shows the short part; the long part (the
// whole hint when there is no "|") is kept on the control for its empty-field placeholder. "¶" in a
// text is a line break. A missing section, key or picture leaves the control as it was.
#include <QString>
#include <QStringList>

#include <vector>

QT_BEGIN_NAMESPACE
class QObject;
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

class TINI;
class TPictureList;

struct TTextRules {
    // Section of the hints, looked up by the control's name without its first hintSkip characters;
    // hintsOnImagesOnly limits them to images (controls named "Image…").
    QString hintSection;
    int hintSkip = 0;
    bool hintsOnImagesOnly = false;
    // Section of the label captions and hints ("caption|hint"), looked up by the label's name
    // without "Label"; check boxes and buttons are looked up by their full name when
    // checkBoxesAndButtons is set.
    QString labelSection;
    bool checkBoxesAndButtons = false;
    // Menu sections: a menu or menu action whose name begins with a section's name takes the
    // value of the rest of its name as its caption.
    QStringList menuSections;
};

// A picture given to images whose name equals objectName, or begins with it when prefix is set.
struct TPictureRule {
    QString objectName;
    bool prefix = false;
    QString picture;
};

TTextRules MainWindowTextRules();
TTextRules PrintPreviewTextRules();
// Bullets, tip backgrounds, the top strip, the logo, the page headers and the expanded side-menu
// blocks of the main window.
std::vector<TPictureRule> MainWindowPictureRules();

// Applies hints, labels, menu captions, check-box and button captions, in that order.
void ApplyWindowTexts(QObject* root, const TTextRules& rules, const TINI& texts);
// Sets the pictures of the rules on the images (QLabel) of the tree.
void ApplyPictureRules(QObject* root, const std::vector<TPictureRule>& rules, const TPictureList& pictures);

// "¶" as line breaks.
QString TextWithLineBreaks(const QString& text);
// The part before "|", the whole text when there is none.
QString ShortHint(const QString& hint);
// The part after "|", the whole text when there is none.
QString LongHint(const QString& hint);
// Sets a control's hint: tool-tip from the short part, the whole hint kept for LongHintOf.
void SetControlHint(QWidget* control, const QString& hint);
// The long hint of a control as set by SetControlHint; empty when it has none.
QString LongHintOf(const QWidget* control);

} // namespace lintaro
