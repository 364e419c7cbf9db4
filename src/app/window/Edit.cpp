#include "app/window/Edit.h"

#include "app/window/FittedText.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace lintaro {

namespace {

// The background of a disabled field; its text is the system's grey text colour.
const QColor kDisabledColour(236, 236, 236);

} // namespace

void TEdit::paintEvent(QPaintEvent* event) {
    if (hasFocus()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    QPalette look = palette();
    if (!isEnabled())
        look.setColor(QPalette::Base, kDisabledColour);
    panel.palette = look;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);

    QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    const QMargins margins = textMargins();
    area = area.marginsRemoved(margins).adjusted(2, 0, -2, 0);
    QString shown = text();
    if (echoMode() == Password || echoMode() == PasswordEchoOnEdit)
        shown.fill(QChar(0x25cf));
    else if (echoMode() == NoEcho)
        shown.clear();
    // A value with line breaks (a note read from a file) shows on one line, as the edit would.
    shown.replace(u'\n', u' ');
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    const Qt::TextElideMode elide = horizontal & Qt::AlignRight ? Qt::ElideLeft : Qt::ElideRight;
    painter.setFont(font());
    painter.setPen(isEnabled() ? look.color(QPalette::Text) : look.color(QPalette::Disabled, QPalette::Text));
    DrawFittedText(painter, area, int(horizontal | Qt::AlignVCenter), shown, elide);
}

} // namespace lintaro
