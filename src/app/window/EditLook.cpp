#include "app/window/EditLook.h"

#include "widgets/WindowTexts.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace lintaro {

QString PlaceholderOf(const QWidget* control) {
    return QStringLiteral("\u2022 ") + LongHintOf(control) + QStringLiteral(" \u2022");
}

QString ControlText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return edit->text();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control))
        return memo->toPlainText();
    return {};
}

QString ControlValue(const QWidget* control) {
    const QString text = ControlText(control);
    return text == PlaceholderOf(control) ? QString() : text;
}

void SetTextColour(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::Text, colour);
    control->setPalette(palette);
}

QColor TextColour(const QWidget* control) {
    return control->palette().color(QPalette::Text);
}

void ShowControlValue(QWidget* control, const QString& value) {
    const QString text = value.isEmpty() ? PlaceholderOf(control) : value;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        memo->setPlainText(text);
    } else {
        return;
    }
    if (value.isEmpty() && !control->hasFocus())
        SetTextColour(control, kPlaceholderColour);
    else
        SetTextColour(control, kFilledTextColour);
}

void ShowLeftLook(QWidget* control) {
    SetTextColour(control,
                  ControlText(control) == PlaceholderOf(control) ? kPlaceholderColour : kFilledTextColour);
}

} // namespace lintaro
