#pragma once
// The single-line edit of every field of the main window. Without the focus it paints its text
// itself, whole from its alignment's side (a plain line edit shows a long number scrolled to its
// cursor); with the focus it is a plain line edit.
#include <QLineEdit>

namespace lintaro {

class TEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace lintaro
