#pragma once
// Small helpers shared by the main window and the print preview: centring a form, status-bar
// panels, and the hover look of link labels and link images.
#include <QString>

QT_BEGIN_NAMESPACE
class QLabel;
class QObject;
class QStatusBar;
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

class TUserSettings;

class TPictureList;

// Centres the form over the application's active window, or on the screen when there is none (or
// the form is the active one); left and top are never below 0.
void CenterForm(QWidget* form);
// A form's place as the user left it: maximised when maximizedKey says so, else the values of
// prefix + "Left", "Top", "Width", "Height" that exist. Store writes the same keys (the place only
// when the form is not maximised).
void RestoreFormPlacement(QWidget* form, const TUserSettings& settings, const QString& maximizedKey,
                          const QString& prefix);
void StoreFormPlacement(const QWidget* form, TUserSettings& settings, const QString& maximizedKey,
                        const QString& prefix);

// Status-bar panels are labels inside the bar, named "StatusPanel" + index. Adds panels of width 0
// until panel `index` exists, sets its width to the text's width on the bar + 10 (length × 5 + 10
// while the bar has no parent; 0 for an empty text) and shows the text.
void SetStatusText(QStatusBar* bar, const QString& text, int index);
// The panel `index` of the bar, or nullptr.
QLabel* StatusPanel(QStatusBar* bar, int index);

// The hover state kept on a link label or image.
enum THoverState { hsNone = 0, hsNormal = 1, hsHot = 2 };
THoverState HoverStateOf(const QObject* control);

// Link label: when sender is the label, it turns navy and underlined (hot); for any other sender it
// turns navy without underline (normal). Nothing happens when the label is already in that state.
void HoverLabel(const QObject* sender, QLabel* label);
// Link image: picture name + "2" when hot, + "1" when normal, + "3" in both cases while the image is
// disabled. Pictures come from `pictures` (the program's store by default).
void HoverImage(const QObject* sender, QLabel* image, const QString& name);
void HoverImage(const QObject* sender, QLabel* image, const QString& name, const TPictureList& pictures);

} // namespace lintaro
