#pragma once
// The look of the window's edits and memos: an empty value shows the placeholder "• long hint •"
// in grey (dark blue while focused), a filled value is dark blue, typed text black.
#include <QColor>
#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

namespace lintaro {

inline const QColor kFilledTextColour(3, 58, 99);
inline const QColor kPlaceholderColour(174, 174, 174);
inline const QColor kTypedTextColour(0, 0, 0);

// "• " + the control's long hint + " •".
QString PlaceholderOf(const QWidget* control);
// The control's text (line edit or plain-text memo); empty for other widgets.
QString ControlText(const QWidget* control);
// The text as a value: empty when it is the placeholder.
QString ControlValue(const QWidget* control);
// Shows a value: the placeholder (grey unless focused) when it is empty, else the text in dark blue.
void ShowControlValue(QWidget* control, const QString& value);
void SetTextColour(QWidget* control, const QColor& colour);
QColor TextColour(const QWidget* control);
// After leaving: dark blue when the text differs from the placeholder, grey otherwise.
void ShowLeftLook(QWidget* control);

} // namespace lintaro
