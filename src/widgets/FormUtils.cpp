#include "widgets/FormUtils.h"

#include "foundation/Pictures.h"
#include "foundation/Program.h"
#include "platform/UserSettings.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

namespace lintaro {

namespace {

const char* const kHoverProperty = "lintaroHoverState";
constexpr char kPictureSuffixProperty[] = "lintaroPictureSuffix";
const QColor kLinkColour(0, 0, 128);

QString panelName(int index) {
    return QStringLiteral("StatusPanel%1").arg(index);
}

} // namespace

void CenterForm(QWidget* form) {
    if (!form)
        return;
    QRect over;
    QWidget* active = QApplication::activeWindow();
    if (active && active != form && active->window() != form->window())
        over = active->frameGeometry();
    else if (const QScreen* screen = form->screen() ? form->screen() : QGuiApplication::primaryScreen())
        over = screen->geometry();
    const QSize size = form->frameGeometry().size();
    const int left = std::max(0, over.left() + (over.width() - size.width()) / 2);
    const int top = std::max(0, over.top() + (over.height() - size.height()) / 2);
    form->move(left, top);
}

QLabel* StatusPanel(QStatusBar* bar, int index) {
    return bar ? bar->findChild<QLabel*>(panelName(index), Qt::FindDirectChildrenOnly) : nullptr;
}

void SetStatusText(QStatusBar* bar, const QString& text, int index) {
    if (!bar || index < 0)
        return;
    for (int i = 0; i <= index; ++i)
        if (!StatusPanel(bar, i)) {
            auto* panel = new QLabel(bar);
            panel->setObjectName(panelName(i));
            panel->setFixedWidth(0);
            bar->addWidget(panel);
        }
    QLabel* panel = StatusPanel(bar, index);
    int width = 0;
    if (!text.isEmpty())
        width = bar->parentWidget() ? QFontMetrics(bar->font()).horizontalAdvance(text) + 10
                                    : static_cast<int>(text.size()) * 5 + 10;
    panel->setFixedWidth(width);
    panel->setText(text);
}

THoverState HoverStateOf(const QObject* control) {
    return control ? static_cast<THoverState>(control->property(kHoverProperty).toInt()) : hsNone;
}

void RestoreFormPlacement(QWidget* form, const TUserSettings& settings, const QString& maximizedKey,
                          const QString& prefix) {
    if (settings.ReadBool(maximizedKey).value_or(false)) {
        form->setWindowState(form->windowState() | Qt::WindowMaximized);
        return;
    }
    QRect frame = form->geometry();
    if (auto left = settings.ReadInteger(prefix + QStringLiteral("Left")))
        frame.moveLeft(*left);
    if (auto top = settings.ReadInteger(prefix + QStringLiteral("Top")))
        frame.moveTop(*top);
    if (auto width = settings.ReadInteger(prefix + QStringLiteral("Width")))
        frame.setWidth(*width);
    if (auto height = settings.ReadInteger(prefix + QStringLiteral("Height")))
        frame.setHeight(*height);
    form->setGeometry(frame);
}

void StoreFormPlacement(const QWidget* form, TUserSettings& settings, const QString& maximizedKey,
                        const QString& prefix) {
    const bool maximized = form->isMaximized();
    settings.WriteBool(maximizedKey, maximized);
    if (maximized)
        return;
    const QRect frame = form->geometry();
    settings.WriteInteger(prefix + QStringLiteral("Left"), frame.left());
    settings.WriteInteger(prefix + QStringLiteral("Top"), frame.top());
    settings.WriteInteger(prefix + QStringLiteral("Width"), frame.width());
    settings.WriteInteger(prefix + QStringLiteral("Height"), frame.height());
}

void HoverLabel(const QObject* sender, QLabel* label) {
    if (!label)
        return;
    const THoverState wanted = sender == label ? hsHot : hsNormal;
    if (HoverStateOf(label) == wanted)
        return;
    QFont font = label->font();
    font.setUnderline(wanted == hsHot);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLinkColour);
    label->setPalette(palette);
    label->setProperty(kHoverProperty, static_cast<int>(wanted));
}

void HoverImage(const QObject* sender, QLabel* image, const QString& name) {
    HoverImage(sender, image, name, Pictures());
}

void HoverImage(const QObject* sender, QLabel* image, const QString& name, const TPictureList& pictures) {
    if (!image)
        return;
    const THoverState wanted = sender == image ? hsHot : hsNormal;
    const QString suffix = !image->isEnabled() ? QStringLiteral("3")
                           : wanted == hsHot   ? QStringLiteral("2")
                                               : QStringLiteral("1");
    // Drawn again when the hover state or the enabled state changed.
    if (HoverStateOf(image) == wanted && image->property(kPictureSuffixProperty).toString() == suffix)
        return;
    image->setProperty(kPictureSuffixProperty, suffix);
    const QImage picture = pictures.Find(name + suffix);
    if (picture.isNull())
        image->clear();
    else
        image->setPixmap(QPixmap::fromImage(picture));
    image->setProperty(kHoverProperty, static_cast<int>(wanted));
}

} // namespace lintaro
