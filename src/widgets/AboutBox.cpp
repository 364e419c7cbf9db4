#include "widgets/AboutBox.h"

#include "foundation/Program.h"
#include "widgets/FormUtils.h"
#include "widgets/WindowTexts.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lintaro {

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, const QRect& box, int pixelSize,
                 bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAutoFillBackground(false); // transparent, in the window-text colour
    label->setGeometry(box);
    return label;
}

} // namespace

TAboutTexts AboutTextsFromResources() {
    const QString section = QStringLiteral("About");
    return {GetText(section, QStringLiteral("Title")), GetText(section, QStringLiteral("VersionCapt")),
            GetText(section, QStringLiteral("ButtonCapt")), GetText(section, QStringLiteral("CopyrightNote")),
            GetText(section, QStringLiteral("Note"))};
}

std::unique_ptr<QDialog> BuildAboutBox(const TAboutTexts& texts, QWidget* parent) {
    auto box =
        std::make_unique<QDialog>(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setWindowTitle(texts.title);
    // Where the classic dialog font is missing, the metric-compatible sans serif of the system.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    font.setPointSize(8);
    box->setFont(font);
    box->setFixedSize(413, 289);

    auto* icon = new QLabel(box.get());
    icon->setObjectName(QStringLiteral("AboutIcon"));
    // The program's icon; the shipped picture "Icon" while the application has none of its own.
    QPixmap pixmap = QApplication::windowIcon().pixmap(32, 32);
    if (pixmap.isNull())
        pixmap = QPixmap::fromImage(FindPicture(QStringLiteral("Icon")));
    icon->setGeometry(48, 24, 64, 64);
    if (!pixmap.isNull())
        icon->setPixmap(pixmap.scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    const TVersionInfo& version = Version();
    addLabel(box.get(), "AboutProductName", version.ProductName, QRect(124, 4, 280, 20), 16, true);
    // The build's word ("sestavení" in the version text) in the texts file's language when it has one.
    const QString build = GetText(QStringLiteral("About"), QStringLiteral("BuildCapt"));
    const QString versionText =
        build.isEmpty() ? version.VersionText
                        : QString(version.VersionText).replace(QString::fromUtf8("sestavení"), build);
    addLabel(box.get(), "AboutVersion", texts.versionCaption + u' ' + versionText, QRect(124, 28, 280, 13),
             11, false);
    addLabel(box.get(), "AboutComments", version.Comments, QRect(124, 44, 280, 13), 11, false);

    auto* note = new QLabel(TextWithLineBreaks(texts.note), box.get());
    note->setObjectName(QStringLiteral("AboutNote"));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    note->setGeometry(8, 136, 397, 45);

    auto* notice = new QPlainTextEdit(TextWithLineBreaks(texts.notice), box.get());
    notice->setObjectName(QStringLiteral("AboutNotice"));
    notice->setReadOnly(true);
    notice->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    notice->setGeometry(8, 184, 397, 57);

    auto* panel = new QFrame(box.get());
    panel->setObjectName(QStringLiteral("AboutPanel"));
    panel->setGeometry(0, 289 - 41, 413, 41);
    auto* button = new QPushButton(texts.buttonCaption, panel);
    button->setObjectName(QStringLiteral("AboutButton"));
    button->setGeometry(328, 8, 75, 25);
    // Default and cancel button at once: Enter and Escape both close the box.
    button->setDefault(true);
    button->setAutoDefault(true);
    QObject::connect(button, &QPushButton::clicked, box.get(), &QDialog::accept);

    CenterForm(box.get());
    return box;
}

void ShowAboutBox(const QString& title, const QString& versionCaption, const QString& buttonCaption,
                  const QString& notice, const QString& note, QWidget* parent) {
    const std::unique_ptr<QDialog> box =
        BuildAboutBox({title, versionCaption, buttonCaption, notice, note}, parent);
    box->exec();
}

} // namespace lintaro
